#include "base/Text.h"
#include "platform/WindowSystem.h"

#include <gtest/gtest.h>

namespace netvane {
namespace {

using Pieces = std::vector<std::string>;

TEST(SplitText, EmptyTextAndFinalSeparatorGiveNoPiece) {
  EXPECT_EQ(SplitText("", "\r\n"), Pieces{});
  EXPECT_EQ(SplitText("a\r\nb\r\n", "\r\n"), (Pieces{"a", "b"}));
  EXPECT_EQ(SplitText("a\r\n\r\nb", "\r\n"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(SplitText(",9.9.9.9", ","), (Pieces{"", "9.9.9.9"}));
  EXPECT_EQ(SplitText(",", ","), Pieces{""});
  EXPECT_EQ(SplitText("whole text", ","), Pieces{"whole text"});
}

TEST(SplitText, MaximumCountKeepsTheFirstPieces) {
  EXPECT_EQ(SplitText("m1\r\nm2\r\nm3", "\r\n", 1), Pieces{"m1"});
  EXPECT_EQ(SplitText("m1\r\nm2", "\r\n", 0), Pieces{});
  EXPECT_EQ(SplitText("1.2.3.4.5", ".", 4), (Pieces{"1", "2", "3", "4"}));
}

TEST(IntegerValue, ReadsTheLeadingNumberLikeANumberBox) {
  const std::pair<const char*, std::int64_t> rows[] = {
      {"20", 20}, {"019", 19}, {"  -7x", -7}, {"+5", 5}, {"", 0}, {"自动", 0}, {"12abc34", 12},
      {"99999999999999999999999", INT64_MAX}, {"-99999999999999999999999", INT64_MIN}};
  for (const auto& [text, value] : rows) EXPECT_EQ(IntegerValue(text), value) << text;
}

TEST(TrimSpaces, RemovesOuterSpacesOnly) {
  EXPECT_EQ(TrimSpaces("  Realtek  PCI  "), "Realtek  PCI");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(TrimSpaces("\tx"), "\tx");
}

// An IP-address box holds four fields of up to three digits each, and nothing when all are empty.
TEST(IpAddressText, KeepsFourFieldsOfUpToThreeDigits) {
  const std::pair<const char*, const char*> rows[] = {
      {"192.168.16.5", "192.168.16.5"}, {"1234.5.x6.7.8", "123.5.6.7"}, {"192.168..", "192.168.."}, {"...", ""}};
  for (const auto& [text, shown] : rows) EXPECT_EQ(IpAddressText(text), shown) << text;
}

}  // namespace
}  // namespace netvane
