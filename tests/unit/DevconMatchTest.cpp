#include "tools/devcon/DevconMatch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace netvane::devcon {
namespace {

TEST(DevconMatch, PatternsIgnoreCaseAndStarsMatchAnyRunWithBacktracking) {
  const char* realtek = "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10";
  const struct { const char *pattern, *id; bool matches; } rows[] = {
      {"pci\\ven_10ec&dev_8139", "PCI\\VEN_10EC&DEV_8139", true}, {"PCI\\VEN_10EC&Z", "pci\\ven_10ec&z", true},
      {"pci\\ven_10ec&dev_8139", realtek, false}, {"pci\\ven_10ec&dev_8139", "PCI\\VEN_10EC&DEV_813", false},
      {"pci*", realtek, true}, {"pci*", "PCI", true}, {"pci*", "ROOT\\PCI", false},
      {"*dev_8139*", realtek, true}, {"*rev_10", realtek, true}, {"*rev_1", realtek, false},
      {"pci\\ven_10ec*rev_10", realtek, true}, {"pci\\ven_8086*rev_10", realtek, false},
      {"pci*8139*10ec", realtek, false}, {"**", realtek, true}, {"*", "", true},
      {"*10*rev_10", realtek, true},  // the first "10" seen is not the one that lets the rest match
      {"a*b*c", "aXbYbZc", true}, {"a*b*c", "aXbYbZ", false}, {"", realtek, false}, {"", "", true},
      {"pci", "", false}, {"pci?ven", "PCI\\VEN", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(MatchesHardwareIdPattern(row.pattern, row.id, std::strlen(row.id)), row.matches)
        << row.pattern << " / " << row.id;
  }
}

TEST(DevconMatch, EveryIdOfTheMultiStringMeetsEveryPatternUpToTheBuffersEnd) {
  const char ids[] = "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC\0PCI\\CC_020000\0\0usb\\x";
  const char* patterns[] = {"usb*", "pci\\cc_0200*", "pci\\ven_8086*"};
  EXPECT_TRUE(AnyIdMatches(patterns, 2, ids, sizeof ids));
  EXPECT_FALSE(AnyIdMatches(patterns, 1, ids, sizeof ids));  // the list ends at its empty string
  EXPECT_FALSE(AnyIdMatches(patterns + 2, 1, ids, sizeof ids));
  const char* star[] = {"*cc_0200"};  // an unterminated last string is read to the end only
  EXPECT_TRUE(AnyIdMatches(star, 1, ids, 49));
  EXPECT_FALSE(AnyIdMatches(star, 1, ids, 48));
}

TEST(DevconMatch, ArgumentsNameACommandAnOptionalClassAndPatterns) {
  const auto parse = [](std::initializer_list<const char*> words, Arguments* args) {
    return ParseArguments(static_cast<int>(words.size()), words.begin(), args);
  };
  Arguments args;
  ASSERT_EQ(parse({"disable", "=net", "pci*", "usb*"}, &args), ParseError::kNone);
  EXPECT_EQ(args.command, Command::kDisable);
  EXPECT_STREQ(args.className, "net");
  ASSERT_EQ(args.patternCount, 2);
  EXPECT_STREQ(args.patterns[1], "usb*");
  ASSERT_EQ(parse({"ENABLE", "pci\\ven_10ec"}, &args), ParseError::kNone);
  EXPECT_EQ(args.command, Command::kEnable);
  EXPECT_EQ(args.className, nullptr);
  EXPECT_STREQ(args.patterns[0], "pci\\ven_10ec");
  const std::pair<std::initializer_list<const char*>, ParseError> bad[] = {
      {{}, ParseError::kNoCommand}, {{"remove", "pci*"}, ParseError::kUnknownCommand},
      {{"disabled", "pci*"}, ParseError::kUnknownCommand}, {{"disable"}, ParseError::kNoPattern},
      {{"disable", "=net"}, ParseError::kNoPattern}, {{"enable", "=", "pci*"}, ParseError::kNoClass},
      {{"enable", "=net", "pci*", ""}, ParseError::kEmptyPattern}};
  for (const auto& [words, error] : bad) EXPECT_EQ(parse(words, &args), error) << words.size();
  EXPECT_STREQ(ParseErrorText(ParseError::kNoPattern), "No hardware id pattern given.");
}

}  // namespace
}  // namespace netvane::devcon
