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
  EXPECT_EQ(calls.back(), "enumerate(busy)");
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);  // a refresh ends on page 0
  EXPECT_EQ(ActionButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
  app.mainWindow().SetBusy(true);
  EXPECT_EQ(ActionButtonsEnabled(), (std::vector<bool>{false, false, false, false}));
  for (C usable : {C::退出按钮, C::保存按钮, C::网卡选择框, C::机器名框, C::自动消块1}) {
    EXPECT_TRUE(windows.Enabled(usable));
  }
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

TEST_F(MainWindowTest, AdvancedOpensModallyFromItsLayoutAndCloses) {
  app.Start();
  windows.onModal = [&](WindowId opened) {
    ASSERT_EQ(opened, WindowId::Advanced);
    EXPECT_EQ(windows.Title(WindowId::Advanced), "高级 TCP/IP 设置");
    EXPECT_EQ(windows.Text(AdvancedControl::说明框).rfind("说明：", 0), 0u);
    windows.Click(AdvancedControl::取消按钮);
  };
  windows.Click(C::高级按钮);
  EXPECT_FALSE(windows.IsOpen(WindowId::Advanced));
  EXPECT_TRUE(windows.IsOpen(WindowId::Main));
}

}  // namespace
}  // namespace netvane
