#include "tools/devcon/DevconMatch.h"

#include <gtest/gtest.h>

namespace netvane::devcon {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kRealtekId = "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10";

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

TEST(AnyIdMatches, ChecksEveryIdAgainstEveryPattern) {
  const Strings ids = {kRealtekId, "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC",
                       "PCI\\CC_020000"};
  EXPECT_TRUE(AnyIdMatches({"pci*"}, ids));
  EXPECT_TRUE(AnyIdMatches({"usb*", "pci\\cc_0200*"}, ids));
  EXPECT_FALSE(AnyIdMatches({"usb*", "pci\\ven_8086*"}, ids));
  EXPECT_FALSE(AnyIdMatches({}, ids));
  EXPECT_FALSE(AnyIdMatches({"*"}, {}));
}

TEST(SplitMultiString, StopsAtTheEmptyStringOrTheEnd) {
  const char data[] = "PCI\\A\0PCI\\B\0\0ignored";
  EXPECT_EQ(SplitMultiString(data, sizeof data), (Strings{"PCI\\A", "PCI\\B"}));
  EXPECT_EQ(SplitMultiString("ab\0cd", 5), (Strings{"ab", "cd"}));
  EXPECT_EQ(SplitMultiString("", 0), Strings{});
  EXPECT_EQ(SplitMultiString("\0", 1), Strings{});
}

TEST(ParseArguments, ClassFilterAndPatterns) {
  const auto args = ParseArguments({"disable", "=net", "pci*", "usb*"});
  ASSERT_TRUE(args);
  EXPECT_EQ(args->command, Command::kDisable);
  EXPECT_EQ(args->className, "net");
  EXPECT_EQ(args->patterns, (Strings{"pci*", "usb*"}));
}

TEST(ParseArguments, OneHardwareIdAlone) {
  const auto args = ParseArguments({"ENABLE", "pci\\ven_10ec&dev_8139"});
  ASSERT_TRUE(args);
  EXPECT_EQ(args->command, Command::kEnable);
  EXPECT_FALSE(args->className);
  EXPECT_EQ(args->patterns, Strings{"pci\\ven_10ec&dev_8139"});
}

TEST(ParseArguments, BadCommandLines) {
  std::string error;
  EXPECT_FALSE(ParseArguments({}, &error));
  EXPECT_EQ(error, "No command given.");
  EXPECT_FALSE(ParseArguments({"remove", "pci*"}, &error));
  EXPECT_EQ(error, "Unknown command 'remove'.");
  EXPECT_FALSE(ParseArguments({"disable"}, &error));
  EXPECT_EQ(error, "No hardware id pattern given.");
  EXPECT_FALSE(ParseArguments({"disable", "=net"}, &error));
  EXPECT_EQ(error, "No hardware id pattern given.");
  EXPECT_FALSE(ParseArguments({"enable", "=", "pci*"}, &error));
  EXPECT_EQ(error, "No setup class after '='.");
  EXPECT_FALSE(ParseArguments({"enable", "=net", ""}, &error));
  EXPECT_EQ(error, "Empty hardware id pattern.");
  EXPECT_TRUE(ParseArguments({"enable", "pci*"}, nullptr));  // the reason is optional
}

}  // namespace
}  // namespace netvane::devcon
