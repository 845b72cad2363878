// Computer name, automatic logon and IPX network number against the in-memory registry, and
// the base conversion the IPX number is shown and typed through.
#include "config/MachineIdentity.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/doubles/MemoryRegistry.h"
#include "tests/doubles/MemoryWindowSystem.h"

namespace netvane {
namespace {

using testing::MemoryRegistry;
using testing::MemoryWindowSystem;
constexpr RootKey HKLM = RootKey::LocalMachine;
constexpr ControlRef kBox = MainControl::网络号框;
const std::string kIpxService = "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx";
const std::string kIpxParameters = kIpxService + "\\Parameters";
const std::string kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::vector<std::string> kNameKeys = {
    "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters",
    "SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName",
    "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters",
};

// ---- ConvertBase ----

TEST(ConvertBaseTest, ConvertsBetweenHexAndDecimalWhateverTheLetterCase) {
  EXPECT_EQ(ConvertBase("FF", 16, 10), "255");
  EXPECT_EQ(ConvertBase("ff", 16, 10), "255");
  EXPECT_EQ(ConvertBase("255", 10, 16), "FF");
  EXPECT_EQ(ConvertBase("7FFFFFFF", 16, 10), "2147483647");
  EXPECT_EQ(ConvertBase("2147483647", 10, 16), "7FFFFFFF");
  EXPECT_EQ(ConvertBase("0", 10, 16), "0");
  EXPECT_EQ(ConvertBase("", 16, 10), "0");
  EXPECT_EQ(ConvertBase("000A", 16, 10), "10");
  EXPECT_EQ(ConvertBase("zz", 36, 2), "10100001111");
}

TEST(ConvertBaseTest, EqualBasesGiveTheTextBackUntouched) {
  EXPECT_EQ(ConvertBase("1A", 16, 16), "1A");
  EXPECT_EQ(ConvertBase("1a", 16, 16), "1a");
  EXPECT_EQ(ConvertBase(" x "), " x ");
}

TEST(ConvertBaseTest, DigitsAreNotCheckedAgainstTheBase) {
  EXPECT_EQ(ConvertBase("G", 16, 10), "16");
  EXPECT_EQ(ConvertBase("1G", 16, 10), "32");
  EXPECT_EQ(ConvertBase("19", 8, 10), "17");
}

TEST(ConvertBaseTest, TheUpperHalfOfThe32BitRangeConvertsBothWays) {
  EXPECT_EQ(ConvertBase("80000000", 16, 10), "2147483648");
  EXPECT_EQ(ConvertBase("FFFFFFFF", 16, 10), "4294967295");
  EXPECT_EQ(ConvertBase("4294967295", 10, 16), "FFFFFFFF");
  EXPECT_EQ(ConvertBase("2147483648", 10, 16), "80000000");
}

TEST(ConvertBaseTest, ValuesBeyond32BitsWrapAsTheStoredDwordWould) {
  EXPECT_EQ(ConvertBase("100000000", 16, 10), "0");
  EXPECT_EQ(ConvertBase("1FFFFFFFF", 16, 10), "4294967295");
  EXPECT_EQ(ConvertBase("4294967297", 10, 16), "1");
  // Far beyond 64 bits too: still the value modulo 2^32 (2^32 - 1 is all ones in hex).
  EXPECT_EQ(ConvertBase(std::string(40, 'F'), 16, 10), "4294967295");
  EXPECT_EQ(ConvertBase(std::string(30, 'Z'), 36, 16), ConvertBase(std::string(30, 'z'), 36, 16));
}

TEST(ConvertBaseTest, CharactersOutsideTheAlphabetCountZeroAndBadBasesGiveNothing) {
  EXPECT_EQ(ConvertBase("-1", 10, 10), "-1");
  EXPECT_EQ(ConvertBase("-1", 10, 16), "1");
  EXPECT_EQ(ConvertBase("1 F", 16, 10), "271");
  EXPECT_EQ(ConvertBase("未", 16, 10), "0");
  EXPECT_EQ(ConvertBase("10", 10, 1), "");
  EXPECT_EQ(ConvertBase("10", 10, 0), "");
  EXPECT_EQ(ConvertBase("10", 37, 10), "");
  EXPECT_EQ(ConvertBase("10", 10, 37), "");
}

TEST(IsHexNetworkNumberTest, AcceptsOneToEightHexDigitsOnly) {
  for (const char* good : {"0", "1F", "1f", "7FFFFFFF", "ffffffff", "00000000"}) {
    EXPECT_TRUE(IsHexNetworkNumber(good)) << good;
  }
  for (const char* bad : {"", "123456789", "1G", " 1F", "1F ", "-1", "0x1F", "未安装IPX协议"}) {
    EXPECT_FALSE(IsHexNetworkNumber(bad)) << bad;
  }
}

// ---- Registry readers and writers ----

class MachineIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows.OpenModeless(WindowId::Main);
    for (const std::string& key : kNameKeys) registry.CreateKey(HKLM, key);
    registry.CreateKey(HKLM, kWinlogon);
    registry.CreateKey(HKLM, kIpxParameters);
  }
  void InstallIpx() { registry.PutText(HKLM, kIpxService, "DisplayName", "NWLink IPX/SPX"); }
  std::vector<std::string> WrittenPaths() {
    std::vector<std::string> paths;
    for (const auto& write : registry.Writes()) paths.push_back(write.path);
    return paths;
  }
  std::optional<std::uint32_t> StoredNetworkNumber() {
    const auto value = registry.Get(HKLM, kIpxParameters, "VirtualNetworkNumber");
    if (!value || value->type != regtype::kDword || value->data.size() != 4) return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value->data[i]);
    return number;
  }

  MemoryRegistry registry;
  RegistryLayer layer{registry};
  MemoryWindowSystem windows;
  MachineIdentity identity{layer, windows};
};

TEST_F(MachineIdentityTest, TheComputerNameGoesToFourPlacesInOrderAsTyped) {
  EXPECT_EQ(identity.ReadComputerName(), "");
  EXPECT_TRUE(identity.WriteComputerName("Cafe-07"));
  EXPECT_EQ(WrittenPaths(),
            (std::vector<std::string>{kNameKeys[0] + "\\ComputerName", kNameKeys[1] + "\\NV Hostname",
                                      kNameKeys[2] + "\\ComputerName", kNameKeys[3] + "\\NV Hostname"}));
  EXPECT_EQ(layer.ReadRegistryText(HKLM, kNameKeys[3] + "\\NV Hostname"), "Cafe-07");
  EXPECT_EQ(identity.ReadComputerName(), "Cafe-07");
}

TEST_F(MachineIdentityTest, ARefusedNameWriteFailsButTheOtherPlacesAreStillWritten) {
  registry.RefuseWritesUnder(HKLM, "SYSTEM\\ControlSet001");
  EXPECT_FALSE(identity.WriteComputerName("PC1"));
  EXPECT_EQ(WrittenPaths().size(), 2u);
  EXPECT_EQ(identity.ReadComputerName(), "PC1");
}

TEST_F(MachineIdentityTest, AutoLogonWritesTheSwitchFirstThenUserPasswordAndDomain) {
  EXPECT_TRUE(identity.WriteAutoLogon("U", "W", "N"));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"AutoAdminLogon", "1"},   {"DefaultUserName", "U"},    {"DefaultPassword", "W"},
      {"DefaultDomainName", "N"}, {"AltDefaultUserName", "U"}, {"AltDefaultDomainName", "N"}};
  ASSERT_EQ(registry.Writes().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(registry.Writes()[i].path, kWinlogon + "\\" + expected[i].first);
    EXPECT_EQ(layer.ReadRegistryText(HKLM, kWinlogon + "\\" + expected[i].first), expected[i].second);
  }
  registry.RefuseWritesUnder(HKLM, kWinlogon);
  EXPECT_FALSE(identity.WriteAutoLogon("U", "W", "N"));
}

TEST_F(MachineIdentityTest, WithoutIpxTheBoxSaysSoInRedAndIsNeverWrittenBack) {
  registry.PutNumber(HKLM, kIpxParameters, "VirtualNetworkNumber", 5);
  identity.ShowIpxNetworkNumber(kBox);
  EXPECT_EQ(windows.Text(kBox), "未安装IPX协议");
  EXPECT_TRUE(windows.ReadOnly(kBox));
  EXPECT_EQ(windows.TextColor(kBox), (Rgb{255, 0, 0}));
  registry.ClearWrites();
  EXPECT_TRUE(identity.WriteIpxNetworkNumber(kBox));
  EXPECT_TRUE(registry.Writes().empty());
  EXPECT_EQ(StoredNetworkNumber(), 5u);
}

TEST_F(MachineIdentityTest, AMissingNumberShowsZeroEditableInBlue) {
  identity.ShowIpxNetworkNumber(kBox);  // first the not-installed look
  InstallIpx();
  identity.ShowIpxNetworkNumber(kBox);
  EXPECT_EQ(windows.Text(kBox), "0");
  EXPECT_FALSE(windows.ReadOnly(kBox));
  EXPECT_EQ(windows.TextColor(kBox), (Rgb{0, 96, 192}));
}

TEST_F(MachineIdentityTest, BoxTextIsStoredAsItsHexValueAndShownBackTheSame) {
  InstallIpx();
  struct Case {
    std::string typed;
    std::uint32_t stored;
    std::string shown;
  };
  for (const Case& c : std::vector<Case>{{"1F", 31, "1F"},
                                         {"15", 21, "15"},
                                         {"7FFFFFFF", 0x7FFFFFFF, "7FFFFFFF"},
                                         {"80000000", 0x80000000, "80000000"},
                                         {"FFFFFFFF", 0xFFFFFFFF, "FFFFFFFF"},
                                         {"00ab", 0xAB, "AB"}}) {
    windows.SetText(kBox, c.typed);
    EXPECT_TRUE(identity.WriteIpxNetworkNumber(kBox)) << c.typed;
    EXPECT_EQ(StoredNetworkNumber(), c.stored) << c.typed;
    windows.SetText(kBox, "");
    identity.ShowIpxNetworkNumber(kBox);
    EXPECT_EQ(windows.Text(kBox), c.shown);
  }
}

TEST_F(MachineIdentityTest, TextsThatAreNoNetworkNumberStoreNothing) {
  InstallIpx();
  registry.PutNumber(HKLM, kIpxParameters, "VirtualNetworkNumber", 7);
  registry.ClearWrites();
  for (const char* refused : {"", "123456789", "1G", " 1F", "-1", "未安装"}) {
    windows.SetText(kBox, refused);
    EXPECT_FALSE(identity.WriteIpxNetworkNumber(kBox)) << refused;
  }
  EXPECT_TRUE(registry.Writes().empty());
  EXPECT_EQ(StoredNetworkNumber(), 7u);
}

TEST_F(MachineIdentityTest, ARefusedNumberWriteFails) {
  registry.RefuseWritesUnder(HKLM, kIpxService);
  windows.SetText(kBox, "1F");
  EXPECT_FALSE(identity.WriteIpxNetworkNumber(kBox));
}

}  // namespace
}  // namespace netvane
