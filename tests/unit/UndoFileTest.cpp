// The undo file: its REGEDIT4 text, and the values read back from it.
#include "config/UndoFile.h"

#include <gtest/gtest.h>

namespace netvane {
namespace {

constexpr RootKey HKLM = RootKey::LocalMachine;

TEST(UndoFile, RendersRegedit4ThatReadsBackToTheSameValues) {
  const std::vector<PlannedValue> previous = {
      {HKLM, "SYSTEM\\T\\{A1}\\EnableDHCP", NumberValue(0xFFFFFFFF)},
      {HKLM, "SYSTEM\\T\\{A1}\\IPAddress", MultiStringValue("10.0.0.1\r\n")},
      {HKLM, "SYSTEM\\T\\{A1}\\DefaultGateway", std::nullopt},
      {HKLM, "SYSTEM\\C\\ComputerName", TextValue("网吧\xD5\x5C" "\\PC \"1\"")},  // 0x5C ends a character
      {HKLM, "SYSTEM\\C\\Odd", RegistryValue{regtype::kBinary, std::string("\0\xff", 2)}},
      {HKLM, "SYSTEM\\C\\Short", RegistryValue{regtype::kDword, "\x01"}},
      {HKLM, "SYSTEM\\C\\Wide", RegistryValue{11, "\x02"}},  // REG_QWORD: its type in hexadecimal
      {HKLM, "SYSTEM\\C\\Note", TextValue("a\r\nb")},  // a quoted line break would end the line
      {RootKey::CurrentUser, "Software\\Main\\Start Page", TextValue("")},
  };
  const std::string text = RenderUndoFile(previous);
  EXPECT_EQ(text,
            "REGEDIT4\r\n"
            "\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\{A1}]\r\n"
            "\"EnableDHCP\"=dword:ffffffff\r\n"
            "\"IPAddress\"=hex(7):31,30,2e,30,2e,30,2e,31,00,00,00\r\n"
            "\"DefaultGateway\"=-\r\n"
            "\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\C]\r\n"
            "\"ComputerName\"=\"网吧\xD5\x5C" "\\\\PC \\\"1\\\"\"\r\n"
            "\"Odd\"=hex:00,ff\r\n"
            "\"Short\"=hex(4):01\r\n"
            "\"Wide\"=hex(b):02\r\n"
            "\"Note\"=hex(1):61,0d,0a,62,00\r\n"
            "\r\n[HKEY_CURRENT_USER\\Software\\Main]\r\n"
            "\"Start Page\"=\"\"\r\n");
  EXPECT_EQ(ParseUndoFile(text), previous);
  // Only a lead byte (81 to FE) and a second byte (40 to FE but 7F) make one character.
  const std::pair<const char*, const char*> bytes[] = {
      {"\x81\x5C", "\"\x81\x5C\""}, {"\xFE\x5C", "\"\xFE\x5C\""}, {"\xD5\xFE\x5C", "\"\xD5\xFE\\\\\""},
      {"\xD5\x7F\x5C", "\"\xD5\x7F\\\\\""}, {"\xD5\"", "\"\xD5\\\"\""}, {"\x80\x5C", "\"\x80\\\\\""}};
  for (const auto& [data, quoted] : bytes) {
    const std::string line = RenderUndoFile({{HKLM, "K\\V", TextValue(data)}});
    EXPECT_EQ(line.substr(line.find("\"V\"=") + 4), quoted + std::string("\r\n")) << data;
  }
  const auto upper = ParseUndoFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"A\"=hex:0A,Ff,99\r\n");
  ASSERT_TRUE(upper);
  EXPECT_EQ(upper->at(0).value->data, "\x0a\xff\x99");
}

TEST(UndoFile, ReadsNothingFromWhatIsNoUndoFile) {
  for (const char* text : {"", "REGEDIT5\n", "REGEDIT4\n\"A\"=\"x\"", "REGEDIT4\n[HKEY_USERS\\X]",
                           "REGEDIT4\n[HKEY_CURRENT_USER\\X\n\"A\"=\"x\""}) {
    EXPECT_FALSE(ParseUndoFile(text)) << text;
  }
  for (const char* line : {"\"A\"=dword:123456789", "\"A\"=hex(7):3", "\"A\"=hex:0g", "\"A\"=hex:0a0b", "\"A\"=\"open",
                           "\"A\"=\"x\"y", "=\"x\"", "A=\"x\"", "X\"=\"x\""}) {
    EXPECT_FALSE(ParseUndoFile(std::string("REGEDIT4\n[HKEY_CURRENT_USER\\X]\n") + line)) << line;
  }
}

}  // namespace
}  // namespace netvane
