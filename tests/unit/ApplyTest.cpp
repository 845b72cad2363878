// The apply, end to end against the in-memory machine: what reaches the registry and the
// command lines, what is refused before anything is written, and what a failure shows.
#include "apply/AdapterApply.h"

#include <gtest/gtest.h>

#include "app/Application.h"
#include "tests/doubles/TestMachine.h"

namespace netvane {
namespace {

using namespace netvane::testing;
using C = MainControl;
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) { return std::string(literal, N - 1); }
const std::string kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

class ApplyTest : public ::testing::Test, protected TestMachine {
 protected:
  void SetUp() override {  // one static adapter with three DNS servers and a second address
    SeedStatic(0, {"10.0.0.1", "10.0.0.2"}, {"255.0.0.0", "255.255.0.0"}, {"10.0.0.254"}, {"1"},
               "1.1.1.1,2.2.2.2,3.3.3.3");
    registry.PutNumber(HKLM, kTcpip, "InterfaceMetric", 30);
    SeedIdentityKeys();
    app.Start();
  }
  std::string Value(const std::string& key, const char* name) { return Stored(key, name); }
  void Modify() {
    registry.ClearWrites();
    windows.Click(C::修改按钮);
  }
  const std::string kTcpip = SeedAdapter(0);
  Application app{services, "MZ"};
};

TEST_F(ApplyTest, StaticFieldsAreWrittenThenTheAdaptersRestartAndTheDisplayRefreshes) {
  app.state().quickSetupLoaded = true;
  std::vector<std::string> statusAtSleep;
  clock.onSleep = [&] {
    statusAtSleep.push_back(windows.Text(C::提示标签) + (windows.Enabled(C::修改按钮) ? "" : " busy"));
  };
  windows.SetText(C::地址框, "192.168.16.5");
  windows.SetText(C::掩码框, "255.255.255.0");
  windows.SetText(C::网关框, "192.168.16.254");  // keeps the stored metric 1
  windows.SetText(C::备用框, "");                // removes DNS entry 2; entry 3 stays
  windows.SetText(C::网络号框, "1F");
  windows.SetText(C::机器名框, "PC02");  // PC01 before
  app.state().config.interfaceMetric = "31";  // as the advanced window leaves it
  Modify();

  EXPECT_EQ(Value(kTcpip, "EnableDHCP"), Bytes("\0\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "IPAddress"), Bytes("192.168.16.5\0" "10.0.0.2\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "SubnetMask"), Bytes("255.255.255.0\0" "255.255.0.0\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "DefaultGateway"), Bytes("192.168.16.254\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "DefaultGatewayMetric"), Bytes("1\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "InterfaceMetric"), Bytes("\x1f\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "NameServer"), Bytes("1.1.1.1,3.3.3.3\0"));
  EXPECT_EQ(Value("SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx\\Parameters", "VirtualNetworkNumber"),
            Bytes("\x1f\0\0\0"));
  EXPECT_EQ(Value("SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters", "NV Hostname"), Bytes("PC02\0"));
  EXPECT_EQ(Value(kWinlogon, "DefaultDomainName"), Bytes("PC02\0"));
  ASSERT_EQ(processes.started.size(), 4u);
  const auto commands = RestartCommands("pci\\ven_0");
  EXPECT_EQ(commands[1].commandLine, "cmd /c devcon disable \"pci\\ven_0\"");
  for (std::size_t i = 0; i < 4; ++i) {
    const ProcessRequest& started = processes.started[i];
    EXPECT_EQ(started.commandLine, commands[i].commandLine);
    EXPECT_EQ(started.program, "C:\\windows\\system32\\cmd.exe");
    EXPECT_EQ(started.directory, "C:\\windows\\system32");
    EXPECT_EQ(started.window, WindowMode::Hidden);
    EXPECT_EQ(started.wait == WaitMode::WaitForExit, i % 2 == 1);
  }
  // 3.5 s in 100 ms steps with "修改完成……" showing and no second action possible, then the
  // refresh shows the registry.
  EXPECT_EQ(std::count(clock.sleeps.begin(), clock.sleeps.end(), 100u), 35);
  EXPECT_EQ(std::count(statusAtSleep.begin(), statusAtSleep.end(), std::string(kApplied) + " busy"), 35);
  EXPECT_EQ(windows.Text(C::提示标签), "手动配置");
  EXPECT_EQ(windows.Text(C::网络号框), "1F");
  EXPECT_TRUE(windows.Enabled(C::修改按钮));
  processes.started.clear();
  const std::string undo = *files.Read("C:\\Netcafe\\netvane-undo.reg");
  Modify();  // nothing differs, yet 修改 writes and restarts: the operator asked for it
  EXPECT_EQ(processes.started.size(), 4u);
  EXPECT_FALSE(registry.Writes().empty());
  EXPECT_EQ(*files.Read("C:\\Netcafe\\netvane-undo.reg"), undo);  // still the settings from before
  windows.SetText(C::机器名框, "PC03");
  Modify();  // a new name: a new undo file, of the settings just replaced
  windows.SetText(C::用户框2, "Other");
  Modify();  // only the logon differs: the file keeps what it holds, and the undo restores it
  EXPECT_EQ(Application(services, "MZ").Run("/undo"), 0);
  const std::string name = "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
  EXPECT_EQ(Value(name, "ComputerName"), Bytes("PC02\0"));
}

// Emptied fields remove the first entries once, however often they are collected (a cancelled
// advanced window, a refused apply); with no address left the adapter switches to DHCP.
TEST_F(ApplyTest, EmptiedFieldsRemoveTheFirstEntriesOnceThenSwitchToDhcpAndTouchNoLogon) {
  app.state().quickSetupLoaded = true;  // from an ipset.ini that names no user
  windows.SetText(C::用户框2, "");
  for (C box : {C::地址框, C::网关框, C::首选框, C::备用框}) windows.SetText(box, "");
  windows.onModal = [&](WindowId) { windows.Click(AdvancedControl::取消按钮); };
  windows.Click(C::高级按钮);
  files.refuseWrites = true;  // no undo file: refused
  Modify();
  files.refuseWrites = false;
  Modify();
  EXPECT_EQ(Value(kTcpip, "EnableDHCP"), Bytes("\0\0\0\0"));  // the second address keeps it static
  EXPECT_EQ(Value(kTcpip, "IPAddress"), Bytes("10.0.0.2\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "DefaultGateway") + Value(kTcpip, "DefaultGatewayMetric"), "<absent><absent>");
  EXPECT_EQ(Value(kTcpip, "NameServer"), Bytes("3.3.3.3\0"));
  EXPECT_EQ(Value(kWinlogon, "AutoAdminLogon"), "<absent>");
  windows.SetText(C::地址框, "");  // the last address, as the refresh shows it
  Modify();
  EXPECT_EQ(Value(kTcpip, "EnableDHCP"), Bytes("\1\0\0\0"));
  EXPECT_EQ(Value(kTcpip, "IPAddress"), Bytes("10.0.0.2\0\0\0"));  // kept
}

TEST_F(ApplyTest, CollectedDnsFollowsTheTwoFields) {
  struct Row { std::vector<std::string> before; const char *p, *a; std::vector<std::string> after; };
  const Row rows[] = {
      {{}, "1.1.1.1", "", {"1.1.1.1"}},          {{"9"}, "", "", {}},
      {{"9", "8", "7"}, "1.1.1.1", "", {"1.1.1.1", "7"}}, {{"9", "8", "7"}, "", "", {"7"}},
      {{}, "", "2.2.2.2", {"", "2.2.2.2"}},      {{"9"}, "1.1.1.1", "2.2.2.2", {"1.1.1.1", "2.2.2.2"}},
      {{"9", "8"}, "", "2.2.2.2", {"", "2.2.2.2"}}, {{"9", "8"}, "1.1.1.1", "", {"1.1.1.1"}},
  };
  AdapterApply& apply = app.apply();
  for (const Row& row : rows) {
    app.state().config.dnsList.Clear();
    for (const std::string& s : row.before) app.state().config.dnsList.Append(s);
    windows.SetText(C::首选框, row.p);
    windows.SetText(C::备用框, row.a);
    EXPECT_EQ(apply.CollectMainWindowFields().dnsList.Items(), row.after) << row.p << "|" << row.a;
  }
}

TEST_F(ApplyTest, AFaultyFieldIsRefusedBeforeAnyWrite) {
  const std::pair<C, const char*> faults[] = {
      {C::机器名框, ""}, {C::机器名框, "SIXTEEN-BYTES-16"}, {C::机器名框, "PC 01"}, {C::机器名框, "PC:1"},
      {C::网络号框, "G1"}, {C::地址框, "192.168.."}, {C::备用框, "1.2.3"}, {C::地址框, "10.0.0.9"},  // no mask
      {C::机器名框, "PC\x80|"},  // 80 leads no GBK character: a bar
  };
  for (const char* gbk : {"\x96\x7C" "01", "PC\xD5\x5C"}) EXPECT_TRUE(IsValidComputerName(gbk)) << gbk;  // 東01
  for (const auto& [box, text] : faults) {
    windows.SetText(C::机器名框, "PC-456789012345");  // fifteen bytes: the longest name
    windows.SetText(C::网络号框, "1F");
    windows.SetText(C::地址框, "");
    windows.SetText(C::掩码框, "");
    windows.SetText(C::备用框, "");
    windows.SetText(box, text);
    windows.messages.clear();
    Modify();
    ASSERT_EQ(windows.messages.size(), 1u) << text;
    EXPECT_EQ(windows.messages[0].title, "错误");
    EXPECT_NE(windows.messages[0].text.find(text), std::string::npos) << windows.messages[0].text;
    EXPECT_TRUE(registry.Writes().empty()) << text;
    EXPECT_TRUE(processes.started.empty()) << text;
    EXPECT_TRUE(windows.Enabled(C::修改按钮)) << text;
    EXPECT_EQ(windows.Text(C::提示标签), "手动配置") << text;  // no longer "正在修改……"
  }
  // Entries behind the boxes: odd lists in the registry, or a box half typed when 高级 opened.
  const std::tuple<std::vector<std::string>, std::vector<std::string>, const char*, const char*> lists[] = {
      {{"", "10.0.0.5"}, {}, "", "缺少子网掩码：10.0.0.5"},  // no address shown, but one behind
      {{"10.0.0.1"}, {"10.0.0.254", "x"}, "", "默认网关无效：x"},
      {{"10.0.0.1"}, {}, "1.1.1.1, 2.2.2.2,9.9..", "DNS 服务器无效：9.9.."}};
  for (const auto& [addresses, gateways, dns, message] : lists) {
    SeedStatic(0, addresses, {"255.0.0.0"}, gateways, {}, dns);
    app.mainWindow().RefreshAdapters();
    windows.messages.clear();
    Modify();
    ASSERT_EQ(windows.messages.size(), 1u) << message;
    EXPECT_EQ(windows.messages[0].text, message);
    EXPECT_TRUE(registry.Writes().empty()) << message;
  }
}

TEST_F(ApplyTest, FailuresShowAsFailureAndAnUnsafeIdNeverReachesACommandLine) {
  std::string status;
  clock.onSleep = [&] { status = windows.Text(C::提示标签); };
  registry.PutText(HKLM, ClassKey(0), "MatchingDeviceId", "pci\"&calc%x%");
  app.mainWindow().RefreshAdapters();
  Modify();  // every value written, and no restart
  EXPECT_TRUE(processes.started.empty());
  EXPECT_EQ(status, kApplyFailed);
  for (const char* id : {"PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086", "A B", ""}) {
    EXPECT_EQ(IsSafeDeviceId(id), *id != '\0') << id;  // an empty id matches no card to wait for
  }

  registry.PutText(HKLM, ClassKey(0), "MatchingDeviceId", "pci\\ven_0");
  app.mainWindow().RefreshAdapters();
  registry.RefuseWritesUnder(HKLM, kTcpip);
  Modify();
  EXPECT_EQ(status, kApplyFailed);
  EXPECT_EQ(processes.started.size(), 4u);  // the restart still runs
}

TEST_F(ApplyTest, AnExitDuringTheAdapterRestartEndsTheProgramOnlyOnceItIsDone) {
  input.onPoll = [&](int) {  // just after every PCI card has begun to be disabled
    if (processes.started.size() == 1) input.Queue([&] { windows.Click(C::退出按钮); });
  };
  EXPECT_THROW(Modify(), ProgramEnded);
  std::vector<bool> waited;
  for (const ProcessRequest& started : processes.started) waited.push_back(started.wait == WaitMode::WaitForExit);
  EXPECT_EQ(waited, (std::vector<bool>{false, true, false, true}));
}

TEST_F(ApplyTest, WithNoAdapterNothingIsAppliedAndTheStartPageFollowsItsBox) {
  windows.SetChecked(C::自动消块1, true);
  Modify();
  EXPECT_EQ(Value("Software\\Microsoft\\Internet Explorer\\Main", "Start Page"), "<absent>");  // no key
  registry.CreateKey(RootKey::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Main");
  Modify();
  const auto page = registry.Get(RootKey::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->data, std::string(kHomePageUrl) + '\0');

  windows.ClearItems(C::网卡选择框);
  windows.AddItem(C::网卡选择框, kNoAdapterFound);
  processes.started.clear();
  Modify();
  EXPECT_TRUE(processes.started.empty());
  EXPECT_TRUE(windows.Enabled(C::修改按钮));
  EXPECT_EQ(windows.Text(C::提示标签), kApplying);
}

}  // namespace
}  // namespace netvane
