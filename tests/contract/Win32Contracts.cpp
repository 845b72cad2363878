// The contract suite against the Win32 implementations, and the Win32 behaviour no double shares.
#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "config/RegistryLayer.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"
#include "tests/contract/Fixtures.h"

namespace netvane::testing {

struct Win32Seams : Seams {
  Win32Seams() {
    const std::string unique = "netvane" + std::to_string(GetCurrentProcessId());
    CreateKey(key = "SOFTWARE\\NetvaneContract\\" + unique);
    std::filesystem::create_directory(
        directory = (std::filesystem::temp_directory_path() / unique).string());
  }
  ~Win32Seams() override {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    std::filesystem::remove_all(directory);
  }
  Registry& registry() override { return registry_; }
  void CreateKey(const std::string& path) override {
    HKEY created = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &created) == ERROR_SUCCESS)
      RegCloseKey(created);
  }
  IniFile& ini() override { return ini_; }
  FileSystem& files() override { return files_; }
  WindowSystem& windows() override { return windows_; }
  win32::Win32Registry registry_;
  win32::Win32IniFile ini_;
  win32::Win32FileSystem files_;
  win32::Win32WindowSystem windows_{GetModuleHandleA(nullptr), LayoutOf, 96};
};

INSTANTIATE_TEST_SUITE_P(Win32, SeamContract,
                         ::testing::Values([] { return std::make_unique<Win32Seams>(); }));

// A key read once stays open, yet each reading shows what its path holds now: a value changed
// elsewhere, the key deleted, then created again.
TEST(Win32Registry, AKeptKeyReadsWhatItsPathHoldsNow) {
  Win32Seams seams;
  RegistryLayer layer(seams.registry());
  const std::string path = seams.key + "\\Adapter";
  for (const char* text : {"first", "second", "", "third"}) {  // "": the key deleted
    if (*text) seams.CreateKey(path);
    else RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
    ASSERT_TRUE(!*text || layer.WriteRegistryValue(RootKey::LocalMachine, path + "\\Name", text));
    EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, path + "\\Name"), text);
  }
  const Registry::Key kept = seams.registry().Open(RootKey::LocalMachine, path, KeyAccess::QueryValue);
  seams.registry().Close(kept);
  EXPECT_EQ(seams.registry().Query(kept, "Name").value_or(RegistryValue{}).data, "third\0"s);
}

// An exception thrown by a handler stops at the window procedure, or in the loop for Enter and
// Esc; the window goes on working. One thrown while another action polls for input ends only
// itself.
TEST(Win32Windows, AnExceptionInAHandlerIsCaughtBeforeItLeavesTheSystemOrTheLoop) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  std::string faults;
  windows.onFault = [&](const char* what, bool ended) {
    (faults += what) += ended ? " ended|" : " only|";
  };
  int events = 0;
  windows.SetHandler(WindowId::Main, [&](const WindowEvent& event) {
    if ((event.kind == EventKind::Click || event.kind == EventKind::EnterKey) && ++events < 4)
      throw std::out_of_range("position " + std::to_string(events));
  });
  windows.OpenModeless(WindowId::Main);
  const HWND button = windows.ControlHandle(MainControl::刷新按钮);
  SendMessageA(button, BM_CLICK, 0, 0);
  MSG enter = {button, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(windows.PreTranslate(enter));
  windows.Guarded([&] { SendMessageA(button, BM_CLICK, 0, 0); });  // inside an action
  EXPECT_EQ(faults, "position 1 ended|position 2 ended|position 3 only|");
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(events, 4);
}

// A number box keeps only the digits of a paste, which ES_NUMBER lets through; a password box
// shows "*".
TEST(Win32Windows, NumberAndPasswordBoxesKeepTheirRules) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  windows.OpenModeless(WindowId::Main);
  SendMessageA(windows.ControlHandle(MainControl::机器数框), EM_REPLACESEL, TRUE, LPARAM("1O9 "));
  EXPECT_EQ(windows.Text(MainControl::机器数框), "19");
  EXPECT_EQ(SendMessageA(windows.ControlHandle(MainControl::密码框2), EM_GETPASSWORDCHAR, 0, 0), '*');
}

// Back from another window, the focus is where it was, down to the field of an IP-address box.
TEST(Win32Windows, ReactivatedTheFocusReturnsToTheFieldItLeft) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  windows.OpenModeless(WindowId::Main);
  const HWND main = windows.Handle(WindowId::Main);
  HWND last = nullptr;  // the box's rightmost field
  RECT at, rightmost = {};
  for (HWND f = GetWindow(windows.ControlHandle(MainControl::网关框), GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
    GetWindowRect(f, &at);
    if (!last || at.left > rightmost.left) last = f, rightmost = at;
  }
  SetFocus(last);
  SendMessageA(main, WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(windows.ControlHandle(MainControl::退出按钮));
  SendMessageA(main, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), last);
}

// An owner-drawn button reports the second click of a double-click apart: it is a click too.
TEST(Win32Windows, ADoubleClickOnAnImageButtonIsTwoClicks) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  int clicks = 0;
  windows.SetHandler(WindowId::Advanced, [&](const WindowEvent& event) { clicks += event.kind == EventKind::Click; });
  windows.OpenModeless(WindowId::Advanced);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    SendMessageA(windows.ControlHandle(AdvancedControl::向上按钮), message, MK_LBUTTON, 0);
  EXPECT_EQ(clicks, 2);
}

// Every window and control sits where its layout says, scaled by the DPI setting over 96.
TEST(Win32Windows, GeometryFollowsTheLayoutAtEveryDpi) {
  for (int dpi : {96, 144}) {
    win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, dpi);
    for (WindowId id : {WindowId::Main, WindowId::Advanced, WindowId::Entry}) {
      const WindowLayout& layout = LayoutOf(id);
      windows.OpenModeless(id);
      RECT outer;
      GetWindowRect(windows.Handle(id), &outer);
      EXPECT_EQ(outer.right - outer.left, ScaleForDpi(layout.width, dpi)) << dpi;
      EXPECT_EQ(outer.bottom - outer.top, ScaleForDpi(layout.height, dpi)) << dpi;
      for (const ControlLayout& row : layout.controls) {
        EXPECT_EQ(windows.Bounds(ControlRef(id, row.id)), PlaceControl(layout, row, dpi))
            << row.name << dpi;
      }
    }
  }
}

// Tab walks the main window's controls in the layout's order, skipping the hidden page, and
// leaves a multi-line box too.
TEST(Win32Windows, TabOrderFollowsTheLayout) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  windows.OpenModeless(WindowId::Main);
  for (int page : {0, 1}) {
    windows.SelectPage(MainControl::功能选择夹, page);
    std::vector<int> expected, walked;
    for (int id : LayoutOf(WindowId::Main).tabOrder) {
      if (IsWindowVisible(windows.ControlHandle(ControlRef(WindowId::Main, id))))
        expected.push_back(id);
    }
    expected.push_back(expected.front());
    for (HWND at = windows.ControlHandle(ControlRef(WindowId::Main, expected.front()));
         walked.size() < expected.size();
         at = GetNextDlgTabItem(windows.Handle(WindowId::Main), at, FALSE)) {
      walked.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(walked, expected) << "page " << page;
  }
  windows.OpenModeless(WindowId::Advanced);  // a multi-line box passes Tab on
  windows.SelectPage(AdvancedControl::功能选择夹, 1);
  const HWND explanation = windows.ControlHandle(AdvancedControl::说明框);
  SetFocus(explanation);
  MSG tab = {explanation, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(windows.PreTranslate(tab));
  EXPECT_EQ(GetFocus(), windows.ControlHandle(AdvancedControl::确定按钮));
}

// Waited for, cmd's "cd" in the system directory prints it as reported; failure is reported.
TEST(Win32Platform, ProcessStartWaitsWhenAskedAndReportsFailure) {
  win32::Win32FileSystem files;
  const std::string system = files.SystemDirectory();
  const std::string marker = (std::filesystem::temp_directory_path() / "netvane_cd.txt").string();
  win32::Win32ProcessStarter starter;
  ASSERT_TRUE(starter.Start({system + "\\cmd.exe", "cmd /c cd> \"" + marker + "\"", system,
                             WindowMode::Hidden, WaitMode::WaitForExit}));
  const std::string written = files.ReadWholeFile(marker).value_or("");
  DeleteFileA(marker.c_str());
  EXPECT_EQ(lstrcmpiA(written.substr(0, written.find('\r')).c_str(), system.c_str()), 0) << written;
  EXPECT_FALSE(
      starter.Start({"", "no_such_program_netvane.exe", "", WindowMode::Hidden, WaitMode::NoWait}));
}

}  // namespace netvane::testing
