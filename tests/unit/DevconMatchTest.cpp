#include "tools/devcon/DevconMatch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace netvane::devcon {
namespace {

constexpr const char* kRealtekId = "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10";

bool MatchesHardwareIdPattern(const char* pattern, const char* id) {
  return devcon::MatchesHardwareIdPattern(pattern, id, std::strlen(id));
}

ParseError Parse(std::initializer_list<const char*> words, Arguments* args) {
  return ParseArguments(static_cast<int>(words.size()), words.begin(), args);
}

TEST(MatchesHardwareIdPattern, ExactIdIgnoringCase) {
  EXPECT_TRUE(MatchesHardwareIdPattern("pci\\ven_10ec&dev_8139", "PCI\\VEN_10EC&DEV_8139"));
  EXPECT_TRUE(MatchesHardwareIdPattern("PCI\\VEN_10EC&DEV_8139", "pci\\ven_10ec&dev_8139"));
  EXPECT_FALSE(MatchesHardwareIdPattern("pci\\ven_10ec&dev_8139", kRealtekId));
  EXPECT_FALSE(MatchesHardwareIdPattern("pci\\ven_10ec&dev_8139", "PCI\\VEN_10EC&DEV_813"));
}

TEST(MatchesHardwareIdPattern, StarAtTheEnd) {
  EXPECT_TRUE(MatchesHardwareIdPattern("pci*", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("pci*", "PCI"));
  EXPECT_FALSE(MatchesHardwareIdPattern("pci*", "USB\\VID_0BDA&PID_8150&REV_2000"));
  EXPECT_FALSE(MatchesHardwareIdPattern("pci*", "ROOT\\PCI"));
  EXPECT_TRUE(MatchesHardwareIdPattern("pci\\ven_10ec&dev_8139*", kRealtekId));
}

TEST(MatchesHardwareIdPattern, StarAtTheStartAndInTheMiddle) {
  EXPECT_TRUE(MatchesHardwareIdPattern("*dev_8139*", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("*rev_10", kRealtekId));
  EXPECT_FALSE(MatchesHardwareIdPattern("*rev_1", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("pci\\ven_10ec*rev_10", kRealtekId));
  EXPECT_FALSE(MatchesHardwareIdPattern("pci\\ven_8086*rev_10", kRealtekId));
}

TEST(MatchesHardwareIdPattern, SeveralStars) {
  EXPECT_TRUE(MatchesHardwareIdPattern("pci*10ec*8139*", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("**", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("*", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("*", ""));
  EXPECT_FALSE(MatchesHardwareIdPattern("pci*8139*10ec", kRealtekId));
  // Backtracking: the first "10" seen is not the one that lets the rest match.
  EXPECT_TRUE(MatchesHardwareIdPattern("*10*rev_10", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(MatchesHardwareIdPattern("a*b*c", "aXbYbZ"));
}

TEST(MatchesHardwareIdPattern, EmptyPatternMatchesOnlyAnEmptyId) {
  EXPECT_FALSE(MatchesHardwareIdPattern("", kRealtekId));
  EXPECT_TRUE(MatchesHardwareIdPattern("", ""));
  EXPECT_FALSE(MatchesHardwareIdPattern("pci", ""));
}

TEST(MatchesHardwareIdPattern, OtherCharactersAreLiteral) {
  EXPECT_FALSE(MatchesHardwareIdPattern("pci?ven_10ec", "PCI\\VEN_10EC"));
  EXPECT_TRUE(MatchesHardwareIdPattern("pci\\ven_10ec&dev_8139&subsys_813910ec&rev_10",
                                       kRealtekId));
}

TEST(AnyIdMatches, ChecksEveryIdOfTheMultiStringAgainstEveryPattern) {
  const char ids[] = "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC\0PCI\\CC_020000\0\0usb\\x";
  const char* patterns[] = {"usb*", "pci\\cc_0200*", "pci\\ven_8086*"};
  EXPECT_TRUE(AnyIdMatches(patterns, 2, ids, sizeof ids));
  EXPECT_FALSE(AnyIdMatches(patterns, 1, ids, sizeof ids));  // the list ends at its empty string
  EXPECT_FALSE(AnyIdMatches(patterns + 2, 1, ids, sizeof ids));
  EXPECT_FALSE(AnyIdMatches(patterns, 0, ids, sizeof ids));
  // An unterminated last string is read up to the buffer's end only.
  const char* star[] = {"*cc_0200"};
  EXPECT_TRUE(AnyIdMatches(star, 1, ids, 49));
  EXPECT_FALSE(AnyIdMatches(star, 1, ids, 48));
  EXPECT_FALSE(AnyIdMatches(star, 1, ids, 0));
}

TEST(ParseArguments, ClassFilterAndPatterns) {
  Arguments args;
  ASSERT_EQ(Parse({"disable", "=net", "pci*", "usb*"}, &args), ParseError::kNone);
  EXPECT_EQ(args.command, Command::kDisable);
  EXPECT_STREQ(args.className, "net");
  ASSERT_EQ(args.patternCount, 2);
  EXPECT_STREQ(args.patterns[0], "pci*");
  EXPECT_STREQ(args.patterns[1], "usb*");
}

TEST(ParseArguments, OneHardwareIdAlone) {
  Arguments args;
  ASSERT_EQ(Parse({"ENABLE", "pci\\ven_10ec&dev_8139"}, &args), ParseError::kNone);
  EXPECT_EQ(args.command, Command::kEnable);
  EXPECT_EQ(args.className, nullptr);
  ASSERT_EQ(args.patternCount, 1);
  EXPECT_STREQ(args.patterns[0], "pci\\ven_10ec&dev_8139");
}

TEST(ParseArguments, BadCommandLines) {
  Arguments args;
  EXPECT_EQ(Parse({}, &args), ParseError::kNoCommand);
  EXPECT_EQ(Parse({"remove", "pci*"}, &args), ParseError::kUnknownCommand);
  EXPECT_EQ(Parse({"disabled", "pci*"}, &args), ParseError::kUnknownCommand);
  EXPECT_EQ(Parse({"disable"}, &args), ParseError::kNoPattern);
  EXPECT_EQ(Parse({"disable", "=net"}, &args), ParseError::kNoPattern);
  EXPECT_EQ(Parse({"enable", "=", "pci*"}, &args), ParseError::kNoClass);
  EXPECT_EQ(Parse({"enable", "=net", "pci*", ""}, &args), ParseError::kEmptyPattern);
  EXPECT_STREQ(ParseErrorText(ParseError::kNoPattern), "No hardware id pattern given.");
}

}  // namespace
}  // namespace netvane::devcon
