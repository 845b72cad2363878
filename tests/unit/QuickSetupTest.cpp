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
const std::string kIni = "C:\\Netcafe\\ipset.ini";

class QuickSetupTest : public ::testing::Test, protected TestMachine {
 protected:
  void Start(const char* ini) {
    Seed(ini);
    app.Start();
  }
  void Seed(const char* ini) {  // a leased adapter, IPX, and no logon key
    if (ini) files.Store(kIni, ini);
    registry.PutNumber(HKLM, kTcpip, "EnableDHCP", 1);
    SeedIdentityKeys("", /*logon=*/false);
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
  std::string Stored(const char* name) { return TestMachine::Stored(kTcpip, name); }
  const std::string kTcpip = SeedAdapter(0);
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

TEST(ProfileText, QuotesOnlyWhatTheReadWouldTrimOrUnquote) {
  const std::pair<const char*, const char*> rows[] = {{"pw", "pw"}, {"", ""}, {"'", "'"}, {"aba", "aba"},
      {" pw", "\" pw\""}, {"pw\t", "\"pw\t\""}, {"'x'", "\"'x'\""}, {"\"x\"", "\"\"x\"\""}, {"'x\"", "'x\""}};
  for (const auto& [typed, written] : rows) EXPECT_EQ(ProfileText(typed), written) << typed;
}

TEST(MachineTable, MatchesAnySpellingAndRefusesAClash) {
  struct Row { std::vector<std::string> lines; const char* address; const char* number; const char* clash; };
  const Row rows[] = {
      {{"00-1A-2B-3C-4D-5E=019"}, "00:1a:2b:3c:4d:5e", "019", ""},
      {{"00:1a:2b:3c:4d:5e = 7", "00-1A-2B-3C-4D-5F=8"}, "00-1A-2B-3C-4D-5F", "8", ""},
      {{"A=019", "B=5", "C=19"}, "B", "", "A|C"},        // one number, two cards
      {{"a-b=1", "A:B=2"}, "A-B", "", "a-b|A:B"},          // one card, two numbers
      {{"A=0", "B=00"}, "A", "", "A|B"},
      {{"A=1", "a=01", "bare", "X=", "=5", " ;B=1", "Y=0", "Z=5"}, "A", "1", ""},  // a repeated row is no clash
  };
  for (const Row& row : rows) {
    const MachineTable table = ParseMachineTable(row.lines);
    EXPECT_EQ(LookUpMachineNumber(table, row.address).value_or(""), row.number) << row.lines[0];
    EXPECT_EQ(table.clash ? table.clash->first + "|" + table.clash->second : "", row.clash) << row.lines[0];
  }
}

TEST_F(QuickSetupTest, SaveKeepsUnknownLinesConfirmsAndReportsAFolderInTheWay) {
  Start("; café 12\r\n[机器表]\r\n00-1A-2B-3C-4D-5E=019\r\n");
  windows.SelectPage(C::功能选择夹, 1);
  windows.Type(C::密码框2, " secret");  // read back as typed, the blank and the quotes too
  windows.Type(C::用户框2, "'China'");
  windows.Click(C::增位框);
  windows.Click(C::保存按钮);
  const std::string saved = *files.Read(kIni);
  const std::string unknown = "; café 12\r\n[机器表]\r\n00-1A-2B-3C-4D-5E=019\r\n";
  EXPECT_EQ(saved.substr(0, unknown.size()), unknown);
  EXPECT_NE(saved.find("密码=\" secret\""), std::string::npos);
  const std::vector<std::string> before = Page1();
  app.mainWindow().actions().loadQuickSetup();
  EXPECT_EQ(Page1(), before);
  EXPECT_TRUE(app.state().quickSetupLoaded);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_EQ(windows.messages[0].title, "提示");
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);

  files.MakeDirectory(kIni);  // a folder where the file should be
  windows.SelectPage(C::功能选择夹, 1);
  windows.Click(C::保存按钮);
  ASSERT_EQ(windows.messages.size(), 2u);
  EXPECT_EQ(windows.messages[1].text, "配置信息保存失败！");
  EXPECT_EQ(windows.messages[1].icon, MessageIcon::Exclamation);
}

TEST_F(QuickSetupTest, MachineNumberDerivesNameAddressAndIpxThenApplies) {
  Start("[配置]\r\n机器=User\r\n地址=192.168.16.\r\n掩码=255.255.255.0\r\n网关=192.168.16.254\r\n"
        "用户=China\r\n首选=202.96.128.86\r\n备用=8.8.4.4\r\n");
  SeedStatic(0, {"192.168.16.1", "10.0.0.1"}, {"255.255.255.0", "255.0.0.0"});  // the master's two
  app.mainWindow().RefreshAdapters();
  EnterNumber("019");
  EXPECT_EQ(windows.Text(C::机器名框), "User019");
  EXPECT_EQ(Stored("IPAddress"), std::string("192.168.16.19\0\0\0", 16));
  EXPECT_EQ(Stored("NameServer"), std::string("202.96.128.86,8.8.4.4\0", 22));
  EXPECT_EQ(windows.Text(C::首选框), "202.96.128.86");  // as the closing refresh reads it back
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
  const std::tuple<const char*, const char*, const char*> faults[] = {
      {"User", "300", "IP 地址无效：192.168.16.300"}, {"User", "1234567890", "机器号无效：1234567890"},
      {"User", "0", "IP 地址无效：192.168.16.0"}, {"User", "255", "IP 地址无效：192.168.16.255"},  // /24
      {"User", "254", "IP 地址与默认网关相同：192.168.16.254"},
      {"InternetCafe", "0019", "计算机名无效：InternetCafe0019"}};  // sixteen bytes
  for (const auto& [prefix, number, message] : faults) {
    windows.SetText(C::机器名框2, prefix);
    registry.ClearWrites();
    windows.messages.clear();
    EnterNumber(number);
    ASSERT_EQ(windows.messages.size(), 1u);
    EXPECT_EQ(windows.messages[0].text, message);
    EXPECT_TRUE(registry.Writes().empty());
    EXPECT_EQ(windows.Page(C::功能选择夹), 1);
    EXPECT_TRUE(windows.Enabled(C::网吧按钮));
  }
  for (const auto& [box, text, message] : {std::tuple(C::掩码框2, "", "子网掩码无效："),
                                            std::tuple(C::网关框2, "192.168.16.x", "默认网关无效：192.168.16.x")}) {
    const std::string kept = windows.Text(box);
    windows.SetText(box, text);
    EnterNumber("5");
    EXPECT_EQ(windows.messages.back().text, message);
    windows.SetText(box, kept);
  }
  EXPECT_TRUE(processes.started.empty());
  windows.SetText(C::网关框2, "");  // a café without a gateway: no fault, and applied
  EnterNumber("5");
  EXPECT_EQ(processes.started.size(), 4u);
  EXPECT_EQ(HostNumber("000123456789", false), 123456789u);  // nine digits after the zeros
  EXPECT_EQ(HostNumber("1a", false), std::nullopt);
}

TEST(CommandLine, KnowsTheThreeSwitchesAndNothingElse) {
  using Mode = CommandLine::Mode;
  const std::pair<const char*, CommandLine> rows[] = {
      {"  ", {Mode::Interactive, ""}}, {"-NUMBER  7 ", {Mode::Number, "7"}}, {"/Auto", {Mode::Auto, ""}},
      {"\"/number\" \"020\"", {Mode::Number, "020"}}, {"-undo", {Mode::Undo, ""}}, {"+auto", {Mode::Invalid, ""}},
      {"/number 1234567890", {Mode::Invalid, ""}}, {"/number \"\"", {Mode::Invalid, ""}},
      {"/auto 019", {Mode::Invalid, ""}}, {"/number 01a", {Mode::Invalid, ""}}, {"/number\t7", {Mode::Number, "7"}},
      {"/number 123456789", {Mode::Number, "123456789"}},
      {"/number 7\" \"", {Mode::Invalid, ""}}, {"\"/number 7\"", {Mode::Invalid, ""}},  // a quoted space is part of the word
      {"/undo\r\n", {Mode::Undo, ""}},
  };
  for (const auto& [text, expected] : rows) {
    const CommandLine parsed = ParseCommandLine(text);
    EXPECT_EQ(parsed.mode, expected.mode) << text;
    EXPECT_EQ(parsed.number, expected.number) << text;
  }
}

// Each Run is one start of the program by a script: its exit code and its line in the log.
TEST_F(QuickSetupTest, SwitchesApplyByTheTableOnceLogAndUndo) {
  const std::string settings = "[配置]\r\n机器=User\r\n地址=192.168.16.\r\n掩码=255.255.255.0\r\n"
                               "网关=192.168.16.254\r\n[机器表]\r\n00-1A-2B-3C-4D-5E=019\r\n";
  const auto run = [&](const char* arguments) { return Application(services, "MZ").Run(arguments); };
  EXPECT_EQ(run("/auto"), 2);  // no ipset.ini beside the program yet
  Seed((settings + "00-1A-2B-3C-4D-60=19\r\n").c_str());
  SeedIdentityKeys("");
  systemAdapters.adapters = {{Guid(0), "nic", "00:1a:2b:3c:4d:5e"}};
  EXPECT_EQ(run("/auto"), 2);  // the table names two cards for one number
  EXPECT_EQ(windows.messages.at(0).title, "错误");
  EXPECT_NE(windows.messages[0].text.find("00-1A-2B-3C-4D-5E 和 00-1A-2B-3C-4D-60 对应同一机器号或同一网卡"), std::string::npos);
  files.Store(kIni, settings);
  const auto before = registry.Contents();
  EXPECT_EQ(run("/auto"), 0);
  registry.PutMulti(HKLM, kTcpip, "IPAddress", {"192.168.16.19"});  // ended by two NULs, as Windows does
  EXPECT_EQ(run("/number 019"), 0);  // the same values again: nothing written or restarted
  files.Store(kIni, std::string(settings).insert(settings.find("[机器表]"), "用户=China\r\n"));
  registry.CreateKey(RootKey::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Main");
  EXPECT_EQ(run("/number 019"), 0);  // then only the logon and a start page: written, no restart
  EXPECT_EQ(processes.started.size(), 4u);
  EXPECT_EQ(run("/bogus"), 2);
  EXPECT_EQ(run("/number 300"), 2);
  const std::string undo = "C:\\Netcafe\\netvane-undo.reg";  // and a start page without its key
  files.Store(undo, *files.Read(undo) + "\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"Start Page\"=\"\"\r\n");
  EXPECT_EQ(run("/undo"), 0);  // the logon run added to the file: back to before the first
  auto undone = registry.Contents();  // but for the browser's keys, now empty
  std::erase_if(undone, [](const auto& key) { return key.first.starts_with("hkcu") && key.second.empty(); });
  EXPECT_EQ(undone, before);
  EXPECT_EQ(windows.Text(C::提示标签), "通过DHCP指派");  // and shown
  systemAdapters.adapters.clear();
  EXPECT_EQ(run("/auto"), 2);  // this card is not in the table
  EXPECT_EQ(*files.Read("C:\\Netcafe\\netvane.log"),
            "2026-12-07 08:30:00  netvane /auto  退出码 2  没有 ipset.ini，未作修改\r\n"
            "2026-12-07 08:30:00  netvane /auto  退出码 2  机器表有误，未作修改\r\n"
            "2026-12-07 08:30:00  netvane /auto  机器号 019  00:1a:2b:3c:4d:5e  User019  192.168.16.19"
            "  退出码 0  修改完成\r\n"
            "2026-12-07 08:30:00  netvane /number 019  机器号 019  00:1a:2b:3c:4d:5e  User019  192.168.16.19"
            "  退出码 0  无需修改\r\n"
            "2026-12-07 08:30:00  netvane /number 019  机器号 019  00:1a:2b:3c:4d:5e  User019  192.168.16.19"
            "  退出码 0  修改完成\r\n"
            "2026-12-07 08:30:00  netvane /bogus  退出码 2  命令行参数无效，未作修改\r\n"
            "2026-12-07 08:30:00  netvane /number 300  机器号 300  00:1a:2b:3c:4d:5e  User019  192.168.16.19"
            "  退出码 2  未作修改：IP 地址无效：192.168.16.300\r\n"
            "2026-12-07 08:30:00  netvane /undo  退出码 0  已恢复\r\n"
            "2026-12-07 08:30:00  netvane /auto  退出码 2  机器表中没有本机网卡，未作修改\r\n");
  files.refuseWrites = true;  // no undo file can be written: nothing is changed
  const auto held = registry.Contents();
  EXPECT_EQ(run("/number 019"), 2);
  EXPECT_EQ(registry.Contents(), held);
  EXPECT_EQ(windows.messages.back().text, "无法写入撤销文件，未作任何修改：C:\\Netcafe\\netvane-undo.reg");
  files.refuseWrites = false;
  registry.RefuseWritesUnder(HKLM, kTcpip);
  EXPECT_EQ(run("/number 020"), 1);
  EXPECT_EQ(run("/undo"), 1);
  input.onPoll = [&](int) { input.Queue([&] { windows.RequestClose(WindowId::Main); }); };  // by hand
  EXPECT_THROW(run("/auto"), ProgramEnded);
  EXPECT_EQ(windows.exitCode, 1);
  EXPECT_TRUE(files.Read("C:\\Netcafe\\netvane.log")->ends_with("netvane /auto  退出码 1  未完成即被关闭\r\n"));
}

}  // namespace
}  // namespace netvane
