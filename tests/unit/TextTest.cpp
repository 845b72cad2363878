#include "base/Text.h"
#include "platform/WindowSystem.h"

#include <gtest/gtest.h>

namespace netvane {
namespace {

using Pieces = std::vector<std::string>;

// A piece is cut at each separator; a final separator and an empty text give no piece.
TEST(SplitText, KeepsAtMostTheFirstMaximumCountPieces) {
  EXPECT_EQ(SplitText("m1\r\n\r\nm3\r\n", "\r\n"), (Pieces{"m1", "", "m3"}));
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

// An IP-address box holds four fields of up to three digits each, and nothing when all are empty.
TEST(IpAddressText, KeepsFourFieldsOfUpToThreeDigits) {
  const std::pair<const char*, const char*> rows[] = {
      {"192.168.16.5", "192.168.16.5"}, {"1234.5.x6.7.8", "123.5.6.7"}, {"192.168..", "192.168.."}, {"...", ""}, {".5..", ".5.."}};
  for (const auto& [text, shown] : rows) EXPECT_EQ(IpAddressText(text), shown) << text;
}

}  // namespace
}  // namespace netvane
