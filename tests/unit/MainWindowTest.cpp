// MainWindow's behaviour against the in-memory seams: start-up, busy state, Enter, exit (the close
// box in the middle of a scripted run: QuickSetupTest).
#include "app/Application.h"

#include <gtest/gtest.h>

#include "tests/doubles/TestMachine.h"

namespace netvane {
namespace {

using namespace netvane::testing;
using C = MainControl;

class MainWindowTest : public ::testing::Test, protected TestMachine {
 protected:
  Application app{services, "MZ-devcon-image"};
  std::vector<std::string> calls;

  void SetUp() override {
    MainWindow::Actions& actions = app.mainWindow().actions();
    actions.loadQuickSetup = [this] { calls.push_back("load"); };
    actions.enumerateAdapters = [this] {
      calls.push_back(windows.Enabled(C::刷新按钮) ? "enumerate(idle)" : "enumerate(busy)");
      app.mainWindow().PollInput();
      app.mainWindow().SetBusy(false);
    };
    actions.fillFromMachineNumber = [this] { calls.push_back("fill"); };
    actions.showSelectedAdapter = [this] { calls.push_back(windows.Enabled(C::高级按钮) ? "show" : "show(held)"); };
  }
  std::vector<bool> ActionButtonsEnabled() {
    return {windows.Enabled(C::网吧按钮), windows.Enabled(C::修改按钮), windows.Enabled(C::刷新按钮),
            windows.Enabled(C::高级按钮)};
  }
};

// Start-up loads, writes the carried tool where none or a zero-byte one is, then scans. A tool
// already there is kept; with nothing carried, nothing is written.
TEST_F(MainWindowTest, StartUpLoadsWritesTheToolThenEnumerates) {
  input.onPoll = [this](int) { calls.push_back("poll"); };
  app.Start();
  EXPECT_EQ(*files.Read("C:\\windows\\system32\\devcon.exe"), "MZ-devcon-image");
  // A poll after the load, another after the write, then the enumeration (which polls too).
  EXPECT_EQ(calls, (std::vector<std::string>{"load", "poll", "poll", "enumerate(busy)", "poll"}));
  EXPECT_TRUE(registry.Writes().empty());  // nothing for the current user at start-up
  files.Store("C:\\WINDOWS\\System32\\DEVCON.EXE", "");  // a zero-byte tool counts as absent
  app.mainWindow().Initialise();
  EXPECT_EQ(*files.Read("C:\\windows\\system32\\devcon.exe"), "MZ-devcon-image");
  files.Store("C:\\WINDOWS\\System32\\DEVCON.EXE", "someone else's build");
  files.writeCalls = 0;
  app.mainWindow().Initialise();
  files.Store("C:\\WINDOWS\\System32\\DEVCON.EXE", "");
  MainWindow(app.state(), services, "").Initialise();  // takes over the window's events: last
  EXPECT_EQ(files.writeCalls, 0);
  files.systemDirectory = "D:\\win\\system32\\";  // a trailing backslash is not doubled
  EXPECT_EQ(app.mainWindow().DevconPath(), "D:\\win\\system32\\devcon.exe");
}

TEST_F(MainWindowTest, RefreshAndEnterRunOnlyWhileTheFourActionButtonsAreEnabled) {
  app.Start();
  ASSERT_EQ(windows.Focused(WindowId::Main), static_cast<int>(C::网吧按钮));
  windows.PressEnter(WindowId::Main);  // Enter right after start presses the default button
  EXPECT_EQ(windows.Page(C::功能选择夹), 1);
  windows.SetFocus(C::刷新按钮);
  windows.PressEnter(WindowId::Main);  // Enter on another button presses that one only
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "enumerate(busy)"), 2);
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);  // a refresh ends on page 0
  EXPECT_EQ(ActionButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
  windows.Pick(C::网卡选择框, 0);  // a pick holds the four while it shows the adapter
  EXPECT_EQ(calls.back(), "show(held)");
  EXPECT_EQ(ActionButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
  app.mainWindow().SetBusy(true);
  EXPECT_EQ(ActionButtonsEnabled(), (std::vector<bool>{false, false, false, false}));
  for (C usable : {C::退出按钮, C::保存按钮, C::网卡选择框, C::机器名框, C::自动消块1}) {
    EXPECT_TRUE(windows.Enabled(usable));
  }
  windows.Pick(C::网卡选择框, 0);  // inside an action: the four stay disabled after it
  EXPECT_EQ(calls.back(), "show(held)");
  const std::size_t before = calls.size();
  windows.Click(C::刷新按钮);
  windows.SetFocus(C::机器名框);
  windows.PressEnter(WindowId::Main);  // the default button is disabled: nothing happens
  EXPECT_EQ(calls.size(), before);
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);
  EXPECT_THROW(windows.Click(C::退出按钮), ProgramEnded);  // at once, busy or not
  EXPECT_EQ(windows.exitCode, 0);
}

TEST_F(MainWindowTest, ArmedCafeActionPutsTheCaretIntoTheMachineNumber) {
  app.state().quickSetupLoaded = true;
  app.Start();
  windows.PressEnter(WindowId::Main);
  EXPECT_EQ(windows.Page(C::功能选择夹), 1);
  EXPECT_EQ(windows.Focused(WindowId::Main), static_cast<int>(C::机器数框));
  windows.PressEnter(WindowId::Main);  // empty number: back to page 0, nothing derived
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "fill"), 0);

  windows.PressEnter(WindowId::Main);
  windows.Type(C::机器数框, "0x19");  // only digits reach a number box
  EXPECT_EQ(windows.Text(C::机器数框), "019");
  windows.PressEnter(WindowId::Main);  // Enter in the number box runs the action once
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "fill"), 1);
  EXPECT_EQ(ActionButtonsEnabled(), (std::vector<bool>{false, false, false, false}));
  windows.SetFocus(C::机器数框);
  windows.PressEnter(WindowId::Main);  // while that apply runs: no second one inside it
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "fill"), 1);
}

// The advanced window takes the main window's boxes, its entry dialog adds and edits rows, and
// 确定 writes every list back and shows each one's first entry in the main window.
TEST_F(MainWindowTest, AdvancedEditsEveryListAndTheMainWindowShowsTheFirstEntries) {
  using A = AdvancedControl;
  using E = EntryControl;
  app.Start();
  windows.SetText(C::地址框, "192.168.16.5");
  windows.SetText(C::掩码框, "255.255.255.0");
  windows.SetText(C::首选框, "1.1.1.1");
  windows.Click(C::高级按钮);  // the double's modal loop returns at once; the window stays open
  EXPECT_EQ(windows.Title(WindowId::Advanced), "高级 TCP/IP 设置");
  EXPECT_EQ(windows.Text(A::说明框).rfind("说明：", 0), 0u);
  // Opened by `opener`, the entry dialog takes `texts`, and Enter confirms and closes it.
  const auto entry = [&](A opener, std::vector<std::pair<E, const char*>> texts, bool manual = false) {
    windows.Click(opener);
    if (manual) windows.Click(E::自动框);
    for (const auto& [box, text] : texts) windows.SetText(box, text);
    windows.PressEnter(WindowId::Entry);
    EXPECT_FALSE(windows.IsOpen(WindowId::Entry)) << windows.Title(WindowId::Entry);
  };
  entry(A::添加按钮1, {{E::地址框, "10.0.0.2"}, {E::掩码框, "255.0.0.0"}});
  windows.SelectRow(A::超级列表框1, 0);
  entry(A::编辑按钮1, {{E::掩码框, "255.255.0.0"}});  // the address as it was
  entry(A::添加按钮2, {{E::网关框, "10.0.0.254"}, {E::跃点框, "20"}}, true);
  windows.SelectRow(A::超级列表框2, 0);
  entry(A::编辑按钮2, {});  // its gateway and metric as they were
  windows.Click(A::跃点选择框);
  windows.Type(A::跃点框, "25");
  windows.PickPage(A::功能选择夹, 1);
  entry(A::添加按钮3, {{E::DNS框, "2.2.2.2"}});
  windows.Pick(A::DNS列表框, 1);
  windows.Click(A::向上按钮);
  windows.Click(A::向上按钮);  // at the top: stays
  windows.Click(A::确定按钮);
  EXPECT_FALSE(windows.IsOpen(WindowId::Advanced));
  const AdapterConfig& config = app.state().config;
  EXPECT_EQ(config.addressList.Items(), (std::vector<ListEntry>{{"192.168.16.5", "255.255.0.0"}, {"10.0.0.2", "255.0.0.0"}}));
  EXPECT_EQ(config.gatewayList.Items(), (std::vector<ListEntry>{{"10.0.0.254", "20"}}));
  EXPECT_EQ(config.dnsList.Items(), (std::vector<std::string>{"2.2.2.2", "1.1.1.1"}));
  EXPECT_EQ(config.interfaceMetric, "25");
  std::string shown;
  for (C box : {C::地址框, C::掩码框, C::网关框, C::首选框, C::备用框}) shown += windows.Text(box) + " ";
  EXPECT_EQ(shown, "192.168.16.5 255.255.0.0 10.0.0.254 2.2.2.2 1.1.1.1 ");
}

}  // namespace
}  // namespace netvane
