// End-to-end: 修改按钮 writes what page 0 shows into the registry, restarts the adapters through
// the device console tool (here a recorder in its place) and refreshes from the registry.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "ui/Controls.h"
#include "app/Layout.h"
#include "base/Text.h"
#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

using C = MainControl;
const std::string kSystem = "HKEY_LOCAL_MACHINE\\SYSTEM\\";
const std::string kClassKey =
    kSystem + "CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}\\0000";
const std::string kGuid = "{E2E0A991-0000-4000-8000-000000000001}";
const std::string kConnection =
    kSystem + "CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + kGuid;
const std::string kTcpip = kSystem + "CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" + kGuid;
const std::string kDevice = "PCI\\VEN_E2E1&DEV_0001\\4&E2E&0&00";
const std::string kNameKeys[] = {
    kSystem + "CurrentControlSet\\Control\\ComputerName\\ComputerName|ComputerName",
    kSystem + "CurrentControlSet\\Services\\Tcpip\\Parameters|NV Hostname",
    kSystem + "ControlSet001\\Control\\ComputerName\\ComputerName|ComputerName",
    kSystem + "ControlSet001\\Services\\Tcpip\\Parameters|NV Hostname",
};

const std::string kIpxKey = kSystem + "CurrentControlSet\\Services\\NwlnkIpx";
const std::string kWinlogon = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

std::string SystemFile(const char* name) { return SystemDirectory() + "\\" + name; }
std::string AppFile(const char* name) { return WorkingDirectory() + "\\e2e-app\\" + name; }
std::string SettingsFile() { return AppFile("ipset.ini"); }

class ApplyE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    devconBefore_ = ReadWholeFile(SystemFile("devcon.exe"));
    const std::string recorder = PathFromEnvironment("NETVANE_RECORDER");
    ASSERT_TRUE(CopyFileA(recorder.c_str(), SystemFile("devcon.exe").c_str(), FALSE)) << recorder;
    DeleteFileA(SystemFile("devcon-calls.log").c_str());
    original_ = QueryRegistryValue(kNameKeys[0].substr(0, kNameKeys[0].find('|')), "ComputerName");
    RegistrySeed seed;
    seed.Key(kClassKey).String("DriverDesc", "Netvane E2E Apply NIC")
        .String("NetCfgInstanceId", kGuid).String("MatchingDeviceId", "pci\\ven_e2e1&dev_0001")
        .Key(kClassKey + "\\Linkage").Strings("UpperBind", {"Tcpip"})
        .Key(kClassKey + "\\Ndi\\Interfaces").String("LowerRange", "ethernet")
        .Key(kConnection + "\\Connection").String("Name", "本地连接").String("PnpInstanceID", kDevice)
        .Key(kSystem + "CurrentControlSet\\Enum\\" + kDevice + "\\Control").String("ActiveService", "E1")
        .Key(kTcpip).Dword("EnableDHCP", 1).String("DhcpIPAddress", "10.9.8.7")
        .String("DhcpSubnetMask", "255.0.0.0");
    for (const std::string& path : kNameKeys) seed.Key(path.substr(0, path.find('|')));
    seed.Key(kWinlogon).Key(kIpxKey).String("DisplayName", "NWLink IPX").Key(kIpxKey + "\\Parameters");
    std::string error;
    ASSERT_TRUE(seed.Import(&error)) << error;
  }
  void Start() {
    ASSERT_TRUE(app_.Start(WorkingDirectory() + "\\e2e-app\\netvane.exe").empty());
    main_ = app_.WaitForWindow(LayoutOf(WindowId::Main).caption);
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Status() == "通过DHCP指派" && Enabled(Control(C::修改按钮)); },
                          kStartTimeout));
  }
  void TearDown() override {
    app_.Terminate();
    if (devconBefore_) WriteWholeFile(SystemFile("devcon.exe"), *devconBefore_);
    else DeleteFileA(SystemFile("devcon.exe").c_str());
    DeleteFileA(SystemFile("devcon-calls.log").c_str());
    DeleteFileA(SystemFile("devcon-sleep.txt").c_str());
    for (const char* name : {"ipset.ini", "netvane.log", "netvane-undo.reg"}) DeleteFileA(AppFile(name).c_str());
    RegistrySeed cleanup;
    cleanup.Remove(kIpxKey).Remove(kClassKey).Remove(kConnection).Remove(kTcpip)
        .Remove(kSystem + "CurrentControlSet\\Enum\\PCI\\VEN_E2E1&DEV_0001");
    if (original_) cleanup.Key(kNameKeys[0].substr(0, kNameKeys[0].find('|'))).String("ComputerName", original_->data);
    EXPECT_TRUE(cleanup.Import());
  }
  // Enter, the machine number typed digit by digit into whatever has the focus (机器数框 on an
  // armed client), Enter: keystrokes posted to the window's thread as the keyboard delivers them.
  void EnterMachineNumber(const std::string& number) {
    PressEnter(main_);
    ASSERT_TRUE(WaitUntil([&] { return Visible(Control(C::网吧修改框)) && app_.WaitForIdle(main_); }));
    SendMessageA(Control(C::机器数框), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    HWND focused = FocusedControl(main_);
    for (char digit : number) PressKey(focused ? focused : main_, static_cast<UINT>(digit));
    if (focused == Control(C::机器数框)) {
      ASSERT_TRUE(WaitUntil([&] { return Text(focused) == number; }));
    } else {
      Sleep(500);  // keys for no box: nothing to see them arrive by
    }
    PressEnter(main_);
  }
  HWND Control(C id) const { return GetDlgItem(main_, static_cast<int>(id)); }
  std::string Status() const { return Text(Control(C::提示标签)); }
  std::string Value(const std::string& key, const char* name) const {
    const auto value = QueryRegistryValue(key, name);
    return value ? value->type + " " + value->data : "absent";
  }
  void SetAddress(C box, BYTE a, BYTE b, BYTE c, BYTE d) {
    SendMessageA(Control(box), IPM_SETADDRESS, 0, MAKEIPADDRESS(a, b, c, d));
  }
  // Presses 修改按钮 (posted: the apply outlasts any send timeout) and follows the status from
  // `during` until the refresh has shown `after` and ended the busy state.
  void Apply(const std::string& during, const std::string& after, bool click = true) {
    if (click) PostMessageA(Control(C::修改按钮), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Status() == during; }, kStartTimeout)) << Status();
    EXPECT_FALSE(Enabled(Control(C::修改按钮)));
    EXPECT_TRUE(WaitUntil([&] { return Status() == after && Enabled(Control(C::修改按钮)); },
                          kStartTimeout)) << Status();
  }
  // Each list is stored as its items, a NUL after each, then two more: reg.exe shows one "\0".
  std::vector<std::string> Calls() const {
    std::istringstream log(ReadWholeFile(SystemFile("devcon-calls.log")).value_or(""));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line.substr(0, line.find('\r')));
    std::sort(lines.begin(), lines.end());  // 1 and 3 are not waited for: any order
    return lines;
  }

  std::optional<std::string> devconBefore_;
  std::optional<RegistryValue> original_;
  AppProcess app_;
  HWND main_ = nullptr;
};

TEST_F(ApplyE2e, ModifyWritesStaticThenDhcpAndReportsAFailedWrite) {
  ASSERT_NO_FATAL_FAILURE(Start());
  SetAddress(C::地址框, 192, 168, 30, 7);
  SetAddress(C::掩码框, 255, 255, 255, 0);
  SetAddress(C::网关框, 192, 168, 30, 1);
  SetAddress(C::首选框, 202, 96, 128, 86);
  SetAddress(C::备用框, 8, 8, 4, 4);
  SendMessageA(Control(C::机器名框), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("WB-APPLY-01"));
  // A restart that takes 6 s: meanwhile the window answers and Windows never calls it hung.
  ASSERT_TRUE(WriteWholeFile(SystemFile("devcon-sleep.txt"), "6000"));
  PostMessageA(Control(C::修改按钮), BM_CLICK, 0, 0);
  Sleep(5500);
  char status[64] = {};
  DWORD_PTR length = 0;
  EXPECT_TRUE(SendMessageTimeoutA(Control(C::提示标签), WM_GETTEXT, sizeof status,
                                  reinterpret_cast<LPARAM>(status), SMTO_ABORTIFHUNG, 1000, &length));
  EXPECT_EQ(std::string(status), "正在修改……");
  EXPECT_FALSE(IsHungAppWindow(main_));
  DeleteFileA(SystemFile("devcon-sleep.txt").c_str());
  ASSERT_NO_FATAL_FAILURE(Apply("修改完成……", "手动配置", false));
  EXPECT_EQ(Value(kTcpip, "EnableDHCP"), "REG_DWORD 0x0");
  EXPECT_EQ(Value(kTcpip, "IPAddress"), "REG_MULTI_SZ 192.168.30.7\\0");
  EXPECT_EQ(Value(kTcpip, "SubnetMask"), "REG_MULTI_SZ 255.255.255.0\\0");
  EXPECT_EQ(Value(kTcpip, "DefaultGateway"), "REG_MULTI_SZ 192.168.30.1\\0");
  EXPECT_EQ(Value(kTcpip, "DefaultGatewayMetric"), "REG_MULTI_SZ 0\\0");
  EXPECT_EQ(Value(kTcpip, "NameServer"), "REG_SZ 202.96.128.86,8.8.4.4");
  for (const std::string& path : kNameKeys) {
    EXPECT_EQ(Value(path.substr(0, path.find('|')), path.substr(path.find('|') + 1).c_str()),
              "REG_SZ WB-APPLY-01") << path;
  }
  EXPECT_EQ(Calls(), (std::vector<std::string>{"disable \"pci\\ven_e2e1&dev_0001\"", "disable =net pci*",
                                               "enable \"pci\\ven_e2e1&dev_0001\"", "enable =net pci*"}));
  EXPECT_EQ(AddressText(Control(C::备用框)), "8.8.4.4");  // shown again from the registry
  EXPECT_TRUE(SaveScreenshot(main_, WorkingDirectory() + "\\results\\screens\\apply-static.bmp"));

  for (C box : {C::地址框, C::掩码框, C::网关框, C::首选框, C::备用框}) {
    SendMessageA(Control(box), IPM_CLEARADDRESS, 0, 0);
  }
  ASSERT_NO_FATAL_FAILURE(Apply("修改完成……", "通过DHCP指派"));
  EXPECT_EQ(Value(kTcpip, "EnableDHCP"), "REG_DWORD 0x1");
  EXPECT_EQ(Value(kTcpip, "IPAddress"), "REG_MULTI_SZ 192.168.30.7\\0");  // kept for later
  EXPECT_EQ(Value(kTcpip, "DefaultGateway"), "absent");
  EXPECT_EQ(Value(kTcpip, "DefaultGatewayMetric"), "absent");
  EXPECT_EQ(Value(kTcpip, "NameServer"), "REG_SZ ");

  ASSERT_TRUE(DeleteRegistryKey(kTcpip));  // every TCP/IP write of the next apply fails
  ASSERT_NO_FATAL_FAILURE(Apply("修改失败……", "手动配置"));  // EnableDHCP absent reads as 0
  EXPECT_EQ(Calls().size(), 12u);
}

TEST_F(ApplyE2e, TwoKeystrokesAndTheNumberConfigureACafeClient) {
  ASSERT_TRUE(WriteWholeFile(SettingsFile(),
      "[配置]\r\n机器=User\r\n地址=192.168.16.\r\n掩码=255.255.255.0\r\n网关=192.168.16.254\r\n"
      "用户=China\r\n密码=cafe8\r\n首选=202.96.128.86\r\n备用=202.96.134.133\r\n"));
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(EnterMachineNumber("019"));
  ASSERT_NO_FATAL_FAILURE(Apply("修改完成……", "手动配置", false));
  for (const std::string& path : kNameKeys) {
    EXPECT_EQ(Value(path.substr(0, path.find('|')), path.substr(path.find('|') + 1).c_str()),
              "REG_SZ User019") << path;
  }
  EXPECT_EQ(Value(kTcpip, "IPAddress"), "REG_MULTI_SZ 192.168.16.19\\0");
  EXPECT_EQ(Value(kTcpip, "SubnetMask"), "REG_MULTI_SZ 255.255.255.0\\0");
  EXPECT_EQ(Value(kTcpip, "DefaultGateway"), "REG_MULTI_SZ 192.168.16.254\\0");
  EXPECT_EQ(Value(kTcpip, "DefaultGatewayMetric"), "REG_MULTI_SZ 0\\0");
  EXPECT_EQ(Value(kTcpip, "NameServer"), "REG_SZ 202.96.128.86,202.96.134.133");
  EXPECT_EQ(Value(kIpxKey + "\\Parameters", "VirtualNetworkNumber"), "REG_DWORD 0x19");
  const char* logon[][2] = {{"AutoAdminLogon", "1"}, {"DefaultUserName", "China"},
                            {"DefaultPassword", "cafe8"}, {"DefaultDomainName", "User019"},
                            {"AltDefaultUserName", "China"}, {"AltDefaultDomainName", "User019"}};
  for (const auto& [name, data] : logon) EXPECT_EQ(Value(kWinlogon, name), std::string("REG_SZ ") + data);
  EXPECT_EQ(Calls().size(), 4u);
  EXPECT_TRUE(SaveScreenshot(main_, WorkingDirectory() + "\\results\\screens\\cafe-applied.bmp"));

  SendMessageA(Control(C::增位框), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_NO_FATAL_FAILURE(EnterMachineNumber("019"));
  ASSERT_NO_FATAL_FAILURE(Apply("修改完成……", "手动配置", false));
  EXPECT_EQ(Value(kTcpip, "IPAddress"), "REG_MULTI_SZ 192.168.16.29\\0");
  EXPECT_EQ(Value(kIpxKey + "\\Parameters", "VirtualNetworkNumber"), "REG_DWORD 0x29");
}

// Every key an apply may write, as reg export gives it: equal texts are equal registries.
std::string ExportTouchedKeys() {
  std::string all;
  const std::string keys[] = {kTcpip, kIpxKey, kWinlogon, kNameKeys[0].substr(0, kNameKeys[0].find('|')),
                              kSystem + "CurrentControlSet\\Services\\Tcpip\\Parameters",
                              kSystem + "ControlSet001", "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main"};
  const std::string file = WorkingDirectory() + "\\export.reg";
  for (const std::string& key : keys) {
    DeleteFileA(file.c_str());
    RunCommand("reg.exe export \"" + key + "\" \"" + file + "\" /y");
    all += key + ":" + ReadWholeFile(file).value_or("<none>");
  }
  return all;
}

// /auto on a client listed in the table by the MAC Wine reports, twice, then reg import undo.
TEST_F(ApplyE2e, AutoAppliesOnceByTheTableAndItsUndoFileRestoresTheRegistry) {
  std::vector<HostAdapter> hosts = HostAdapters();
  for (HostAdapter& host : hosts) host.description = TrimSpaces(host.description);
  std::erase_if(hosts, [](const HostAdapter& h) { return h.description.empty() || h.address.empty(); });
  if (hosts.empty()) GTEST_SKIP() << "the system lists no adapter with a MAC";
  std::string ini = "[配置]\r\n机器=User\r\n地址=192.168.16.\r\n掩码=255.255.255.0\r\n网关=192.168.16.254\r\n"
                    "用户=China\r\n[机器表]\r\n";
  for (char c : hosts[0].address) ini += c == '-' ? ':' : static_cast<char>(tolower(static_cast<unsigned char>(c)));
  ASSERT_TRUE(WriteWholeFile(SettingsFile(), ini.append("=019\r\n")));
  ASSERT_TRUE(RegistrySeed().Key(kClassKey).String("DriverDesc", hosts[0].description).Import());
  const std::string before = ExportTouchedKeys();
  const auto runAuto = [] {
    AppProcess app;
    EXPECT_EQ(app.Start(AppFile("netvane.exe"), "/auto"), "");
    return app.WaitForExit(60000);
  };

  EXPECT_EQ(runAuto(), 0u);
  EXPECT_EQ(Value(kTcpip, "IPAddress"), "REG_MULTI_SZ 192.168.16.19\\0");
  EXPECT_EQ(Calls().size(), 4u);
  const std::string log = ReadWholeFile(AppFile("netvane.log")).value_or("");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;

  const std::string applied = ExportTouchedKeys();
  EXPECT_NE(applied, before);
  DeleteFileA(SystemFile("devcon-calls.log").c_str());
  EXPECT_EQ(runAuto(), 0u);
  EXPECT_EQ(ExportTouchedKeys(), applied);
  EXPECT_TRUE(Calls().empty());

  const CommandResult undo = RunCommand("reg.exe import \"" + AppFile("netvane-undo.reg") + "\"");
  EXPECT_EQ(undo.exitCode, 0u) << undo.output;
  EXPECT_EQ(ExportTouchedKeys(), before);
}

TEST_F(ApplyE2e, WithoutSettingsTheSameKeystrokesOnlySwitchPages) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(EnterMachineNumber("019"));
  ASSERT_TRUE(WaitUntil([&] { return Visible(Control(C::本地连接框)); }));
  ASSERT_TRUE(app_.WaitForIdle(main_));
  EXPECT_EQ(Value(kTcpip, "EnableDHCP"), "REG_DWORD 0x1");
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
}  // namespace netvane::e2e
