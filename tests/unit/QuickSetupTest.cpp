// The café quick setup against the in-memory machine: ipset.ini loaded and saved, and the
// machine number turned into a client's name, address and IPX number, or refused.
#include "quicksetup/QuickSetup.h"

#include <gtest/gtest.h>

#include "app/Application.h"
#include "tests/doubles/TestMachine.h"

namespace netvane {
namespace {

using namespace netvane::testing;
using C = MainControl;
constexpr RootKey HKLM = RootKey::LocalMachine;
const std::string kIni = "C:\\Netcafe\\ipset.ini";
const std::string kTcpip = std::string(kTcpipInterfacesKey) + "{A1}";

class QuickSetupTest : public ::testing::Test, protected TestMachine {
 protected:
  void Start(const char* ini) {
    if (ini) files.Store(kIni, ini);
    const std::string cls = std::string(kAdapterClassKey) + "0000";
    registry.PutMulti(HKLM, cls + "\\Linkage", "UpperBind", {"Tcpip"});
    registry.PutText(HKLM, cls + "\\Ndi\\Interfaces", "LowerRange", "ethernet");
    registry.PutText(HKLM, cls, "NetCfgInstanceId", "{A1}");
    registry.PutText(HKLM, std::string(kNetworkConnectionsKey) + "{A1}\\Connection", "PnpInstanceID", "P\\1");
    registry.PutText(HKLM, std::string(kDeviceEnumKey) + "P\\1\\Control", "ActiveService", "E1");
    registry.PutNumber(HKLM, kTcpip, "EnableDHCP", 1);
    registry.PutText(HKLM, "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx", "DisplayName", "IPX");
    registry.CreateKey(HKLM, "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx\\Parameters");
    registry.CreateKey(HKLM, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName");
    app.Start();
  }
  std::vector<std::string> Page1() {
    std::vector<std::string> texts;
    for (C c : {C::机器名框2, C::地址框2, C::掩码框2, C::网关框2, C::用户框2, C::密码框2, C::首选框2, C::备用框2}) {
      texts.push_back(windows.Text(c));
    }
    texts.push_back(windows.Checked(C::增位框) ? "ticked" : "");
    return texts;
  }
  // Enter, the number, Enter: as the operator does it on an armed client.
  void EnterNumber(const char* number) {
    windows.SelectPage(C::功能选择夹, 0);
    windows.PressEnter(WindowId::Main);
    windows.SetText(C::机器数框, "");
    windows.Type(C::机器数框, number);
    windows.PressEnter(WindowId::Main);
  }
  std::string Stored(const char* name) {
    const auto value = registry.Get(HKLM, kTcpip, name);
    return value ? value->data : "<absent>";
  }
  Application app{services, "MZ"};
};

TEST_F(QuickSetupTest, LoadGivesDefaultsUnarmedOrTheFileArmedAndOnlyTrueTicks) {
  Start(nullptr);
  EXPECT_EQ(Page1(), (std::vector<std::string>{"User", "192.168.16.", "255.255.255.0", "192.168.16.254",
                                               "China", "", "202.96.128.86", "202.96.134.133", ""}));
  EXPECT_FALSE(app.state().quickSetupLoaded);
  for (const char* value : {"真", "\" 真\"", "1", "TRUE", "假"}) {
    files.Store(kIni, std::string("[配置]\r\n机器=WB\r\n增位=") + value + "\r\n");
    app.mainWindow().actions().loadQuickSetup();
    EXPECT_EQ(Page1(), (std::vector<std::string>{"WB", "", "", "", "", "", "", "",
                                                 value == std::string("真") ? "ticked" : ""})) << value;
    EXPECT_TRUE(app.state().quickSetupLoaded);
  }
}

TEST_F(QuickSetupTest, SaveKeepsUnknownLinesConfirmsAndReportsAFolderInTheWay) {
  Start("; café 12\r\n[其他]\r\nx=1\r\n");
  windows.SelectPage(C::功能选择夹, 1);
  windows.Type(C::密码框2, "secret");
  windows.Click(C::增位框);
  windows.Click(C::保存按钮);
  const std::string saved = *files.Read(kIni);
  const std::string unknown = "; café 12\r\n[其他]\r\nx=1\r\n";
  EXPECT_EQ(saved.substr(0, unknown.size()), unknown);
  EXPECT_NE(saved.find("密码=secret"), std::string::npos);
  const std::vector<std::string> before = Page1();
  app.mainWindow().actions().loadQuickSetup();
  EXPECT_EQ(Page1(), before);
  EXPECT_TRUE(app.state().quickSetupLoaded);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_EQ(windows.messages[0].title, "提示");
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);

  MemoryFileSystem blocked;
  blocked.MakeDirectory("C:\\Netcafe\\ipset.ini");  // a folder where the file should be
  MemoryIniFile blockedIni{blocked};
  Services other{layer, blockedIni, blocked, processes, systemAdapters, clock, input, windows};
  MainWindow shell(app.state(), other, "");
  AdapterApply apply(app.state(), other, shell, *static_cast<MachineIdentity*>(nullptr),
                     *static_cast<AdapterDiscovery*>(nullptr));
  QuickSetup(app.state(), other, shell, apply).SaveQuickSetup();
  ASSERT_EQ(windows.messages.size(), 2u);
  EXPECT_EQ(windows.messages[1].text, "配置信息保存失败！");
  EXPECT_EQ(windows.messages[1].icon, MessageIcon::Exclamation);
}

TEST_F(QuickSetupTest, MachineNumberDerivesNameAddressAndIpxThenApplies) {
  Start("[配置]\r\n机器=User\r\n地址=192.168.16.\r\n掩码=255.255.255.0\r\n网关=192.168.16.254\r\n"
        "用户=China\r\n首选=202.96.128.86\r\n");
  EnterNumber("019");
  EXPECT_EQ(windows.Text(C::机器名框), "User019");
  EXPECT_EQ(Stored("IPAddress"), std::string("192.168.16.19\0\0\0", 16));
  EXPECT_EQ(Stored("NameServer"), std::string("202.96.128.86\0", 14));
  EXPECT_EQ(Stored("SubnetMask"), std::string("255.255.255.0\0\0\0", 16));
  EXPECT_EQ(Stored("DefaultGateway"), std::string("192.168.16.254\0\0\0", 17));
  EXPECT_EQ(windows.Text(C::网络号框), "19");  // the decimal text, stored as hexadecimal 0x19
  EXPECT_EQ(registry.Get(HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "AutoAdminLogon"),
            std::nullopt);  // no such key here: the write failed and said so
  EXPECT_EQ(processes.started.size(), 4u);
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);

  windows.SelectPage(C::功能选择夹, 1);
  windows.Click(C::增位框);
  EnterNumber("0");
  EXPECT_EQ(Stored("IPAddress"), std::string("192.168.16.10\0\0\0", 16));
  EXPECT_EQ(windows.Text(C::机器名框), "User0");
}

TEST_F(QuickSetupTest, ADerivedFaultIsRefusedOnPageOneAndNothingIsApplied) {
  Start("[配置]\r\n机器=User\r\n地址=192.168.16.\r\n掩码=255.255.255.0\r\n网关=192.168.16.254\r\n");
  const std::pair<const char*, const char*> faults[] = {
      {"300", "IP 地址无效：192.168.16.300"}, {"1234567890", "机器号无效：1234567890"}};
  for (const auto& [number, message] : faults) {
    registry.ClearWrites();
    windows.messages.clear();
    EnterNumber(number);
    ASSERT_EQ(windows.messages.size(), 1u);
    EXPECT_EQ(windows.messages[0].text, message);
    EXPECT_TRUE(registry.Writes().empty());
    EXPECT_EQ(windows.Page(C::功能选择夹), 1);
    EXPECT_TRUE(windows.Enabled(C::网吧按钮));
  }
  windows.SetText(C::网关框2, "");
  EnterNumber("5");
  EXPECT_EQ(windows.messages.back().text, "默认网关无效：");
  EXPECT_TRUE(processes.started.empty());
}

}  // namespace
}  // namespace netvane
