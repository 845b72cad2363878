// Machine identity against the in-memory registry: the base conversion, the computer name and
// automatic logon in their places and order, and the IPX number's round trip.
#include "config/MachineIdentity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/MemoryRegistry.h"

namespace netvane {
namespace {

using testing::MemoryRegistry;
constexpr RootKey HKLM = RootKey::LocalMachine;
const std::string kIpxService = "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx";
const std::string kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::vector<std::string> kNamePaths = {
    "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName\\ComputerName",
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\NV Hostname",
    "SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName\\ComputerName",
    "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\NV Hostname",
};

TEST(ConvertBaseTest, ConvertsWithinAndBeyondThe32BitRange) {
  const struct { std::string text; int from, to; const char* result; } rows[] = {
      {"FF", 16, 10, "255"},   {"ff", 16, 10, "255"},           {"2550", 10, 16, "9F6"},
      {"0", 10, 16, "0"},      {"", 16, 10, "0"},               {"1a", 16, 16, "1a"},
      {"G", 16, 10, "16"},     {"1 F", 16, 10, "271"},          {"-1", 10, 16, "1"},
      {"zz", 36, 2, "10100001111"}, {"7FFFFFFF", 16, 10, "2147483647"},
      {"FFFFFFFF", 16, 10, "4294967295"}, {"2147483648", 10, 16, "80000000"},
      {"1FFFFFFFF", 16, 10, "4294967295"}, {std::string(40, 'F'), 16, 10, "4294967295"},
      {"4294967297", 10, 16, "1"}, {"10", 10, 1, ""},           {"10", 37, 10, ""},
      {"A", 16, 10, "10"},     {"Z", 36, 10, "35"},
  };
  for (const auto& row : rows) EXPECT_EQ(ConvertBase(row.text, row.from, row.to), row.result) << row.text;
  EXPECT_EQ(ConvertBase(" x "), " x ");
}

TEST(ConvertBaseTest, UpToEightHexDigitsNameANetworkNumber) {
  for (const char* good : {"", "0", "1f", "A", "ffffffff"}) EXPECT_TRUE(IsHexNetworkNumber(good)) << good;
  for (const char* bad : {"123456789", "1G", " 1F", "0x1F"}) EXPECT_FALSE(IsHexNetworkNumber(bad)) << bad;
}

class MachineIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string& path : kNamePaths) registry.CreateKey(HKLM, path.substr(0, path.rfind('\\')));
    registry.CreateKey(HKLM, kWinlogon);
    registry.CreateKey(HKLM, kIpxService + "\\Parameters");
  }
  std::vector<std::string> Written() {
    std::vector<std::string> paths;
    for (const auto& write : registry.Writes()) paths.push_back(write);
    return paths;
  }
  MemoryRegistry registry;
  RegistryLayer layer{registry};
  MachineIdentity identity{layer};
};

TEST_F(MachineIdentityTest, NameAndLogonGoToTheirPlacesInOrderAndAFailureIsReported) {
  EXPECT_TRUE(identity.WriteComputerName("Cafe-07"));
  EXPECT_EQ(Written(), kNamePaths);
  EXPECT_EQ(identity.ReadComputerName(), "Cafe-07");
  registry.ClearWrites();
  EXPECT_TRUE(identity.WriteAutoLogon("U", "W", "N"));
  const char* logon[][2] = {{"AutoAdminLogon", "1"},   {"DefaultUserName", "U"},    {"DefaultPassword", "W"},
                            {"DefaultDomainName", "N"}, {"AltDefaultUserName", "U"}, {"AltDefaultDomainName", "N"}};
  ASSERT_EQ(Written().size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(Written()[i], kWinlogon + "\\" + logon[i][0]);
    EXPECT_EQ(layer.ReadRegistryText(HKLM, Written()[i]), logon[i][1]);
  }
  registry.RefuseWritesUnder(HKLM, "SYSTEM\\ControlSet001");
  registry.RefuseWritesUnder(HKLM, kWinlogon);
  EXPECT_FALSE(identity.WriteComputerName("PC1"));
  EXPECT_EQ(identity.ReadComputerName(), "PC1");  // the other places are still written
  EXPECT_FALSE(identity.WriteAutoLogon("U", "W", "N"));
}

TEST_F(MachineIdentityTest, TheIpxNumberRoundTripsInHexAndOnlyANumberIsStored) {
  registry.PutNumber(HKLM, kIpxService + "\\Parameters", "VirtualNetworkNumber", 5);
  EXPECT_EQ(identity.ReadIpxNetworkNumber(), kIpxNotInstalled);
  EXPECT_TRUE(identity.WriteIpxNetworkNumber(kIpxNotInstalled));
  registry.PutText(HKLM, kIpxService, "DisplayName", "NWLink IPX/SPX");
  registry.ClearWrites();
  for (const char* refused : {"123456789", "1G", "未安装"}) EXPECT_FALSE(identity.WriteIpxNetworkNumber(refused));
  EXPECT_TRUE(registry.Writes().empty());
  for (const auto& [typed, shown] : {std::pair{"1F", "1F"}, {"15", "15"}, {"80000000", "80000000"},
                                     {"FFFFFFFF", "FFFFFFFF"}, {"", "0"}, {"00ab", "AB"}}) {
    EXPECT_TRUE(identity.WriteIpxNetworkNumber(typed));
    EXPECT_EQ(identity.ReadIpxNetworkNumber(), shown);
  }
  EXPECT_EQ(registry.Get(HKLM, kIpxService + "\\Parameters", "VirtualNetworkNumber")->data, std::string("\xAB\0\0\0", 4));
  registry.RefuseWritesUnder(HKLM, kIpxService);
  EXPECT_FALSE(identity.WriteIpxNetworkNumber("1F"));
}

}  // namespace
}  // namespace netvane
