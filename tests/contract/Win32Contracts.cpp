// The contract suites run against the Win32 implementations (under Wine on Linux).
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "app/Layout.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"
#include "tests/contract/WindowFixture.h"
#include "tests/contract/Fixtures.h"

namespace netvane::testing {
namespace {

std::string UniqueName(const char* stem) {
  static std::atomic<int> counter{0};
  return std::string(stem) + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(++counter);
}

class Win32RegistryFixture : public RegistryFixture {
 public:
  ~Win32RegistryFixture() override {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, base_.c_str());
  }
  Registry& registry() override { return registry_; }
  std::string Base() override {
    base_ = "SOFTWARE\\NetvaneContract\\" + UniqueName("t");
    CreateKey(base_);
    return base_;
  }
  void CreateKey(const std::string& path) override {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
      RegCloseKey(key);
    }
  }
  void Put(const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& data) override {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot create " << path;
      return;
    }
    RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
  }
  bool KeyExists(const std::string& path) override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

 private:
  win32::Win32Registry registry_;
  std::string base_;
};

class Win32FilesFixture : public FilesFixture {
 public:
  Win32FilesFixture() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    directory_ = std::string(temp) + UniqueName("netvane_contract_");
    CreateDirectoryA(directory_.c_str(), nullptr);
  }
  ~Win32FilesFixture() override {
    // Remove what the test left: files, or a directory standing in a file's place.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string path = directory_ + "\\" + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(path.c_str());
        else if (found.cFileName[0] != '.') RemoveDirectoryA(path.c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(directory_.c_str());
  }
  IniFile& ini() override { return ini_; }
  FileSystem& files() override { return files_; }
  std::string PathOf(const std::string& name) override { return directory_ + "\\" + name; }
  void StoreRaw(const std::string& path, const std::string& bytes) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  std::string ReadRaw(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
  }
  void MakeDirectory(const std::string& path) override { CreateDirectoryA(path.c_str(), nullptr); }

 private:
  std::string directory_;
  win32::Win32IniFile ini_;
  win32::Win32FileSystem files_;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryFixtureFactory(
                             [] { return std::make_unique<Win32RegistryFixture>(); })));
// At 96 DPI the real windows must sit exactly where the layout tables say.
INSTANTIATE_TEST_SUITE_P(Win32, WindowContract,
                         ::testing::Values(WindowSystemFactory([] {
                           return std::make_unique<win32::Win32WindowSystem>(
                               GetModuleHandleA(nullptr), LayoutOf, 96);
                         })));
INSTANTIATE_TEST_SUITE_P(Win32, FilesContract,
                         ::testing::Values(FilesFixtureFactory(
                             [] { return std::make_unique<Win32FilesFixture>(); })));

}  // namespace netvane::testing

namespace netvane::testing {

// An exception thrown by a handler stops at the window procedure and is reported; the window
// goes on working.
TEST(Win32Windows, AnExceptionInAHandlerIsCaughtAtTheWindowProcedure) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  std::string fault;
  windows.onFault = [&](const char* what) { fault = what; };
  int clicks = 0;
  windows.SetHandler(WindowId::Main, [&](const WindowEvent& event) {
    if (event.kind == EventKind::Click && ++clicks == 1) throw std::out_of_range("position 3");
  });
  windows.OpenModeless(WindowId::Main);
  HWND button = windows.ControlHandle(MainControl::刷新按钮);
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(fault, "position 3");
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
}

// At a higher DPI setting every position and size grows by dpi / 96, the window's too.
TEST(Win32Windows, GeometryScalesWithTheDpiSetting) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 144);
  windows.OpenModeless(WindowId::Main);
  const WindowLayout& layout = LayoutOf(WindowId::Main);
  for (MainControl id : {MainControl::地址框, MainControl::网吧按钮, MainControl::机器数框,
                         MainControl::超级链接框1}) {
    const ControlLayout& row = *FindControl(layout, static_cast<int>(id));
    const Rect place = PlaceControl(layout, row, 144);
    EXPECT_EQ(windows.Bounds(id), place) << row.name;
    EXPECT_EQ(place.width, row.bounds.width * 3 / 2) << row.name;
  }
  RECT outer;
  GetWindowRect(windows.Handle(WindowId::Main), &outer);
  EXPECT_EQ(outer.right - outer.left, 597);  // 398 * 1.5, rounded as MulDiv rounds
  EXPECT_EQ(outer.bottom - outer.top, 435);
}

}  // namespace netvane::testing

namespace netvane::testing {

// The Tab key walks the main window's controls in the layout's order, skipping those on the
// page that is not showing.
TEST(Win32Windows, TabOrderFollowsTheLayout) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  windows.OpenModeless(WindowId::Main);
  HWND main = windows.Handle(WindowId::Main);
  for (int page : {0, 1}) {
    windows.SelectPage(MainControl::功能选择夹, page);
    std::vector<int> expected;
    for (int id : LayoutOf(WindowId::Main).tabOrder) {
      if (IsWindowVisible(windows.ControlHandle(ControlRef(WindowId::Main, id)))) {
        expected.push_back(id);
      }
    }
    std::vector<int> walked;
    HWND at = windows.ControlHandle(MainControl::网吧按钮);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      walked.push_back(GetDlgCtrlID(at));
      at = GetNextDlgTabItem(main, at, FALSE);
    }
    EXPECT_EQ(walked, expected) << "page " << page;
    EXPECT_EQ(at, windows.ControlHandle(MainControl::网吧按钮));  // and round again
  }
}

}  // namespace netvane::testing

namespace netvane::testing {

// What the operator sees of a tabbed window: the controls of the selected page, over the tab
// control, and none of the other page.
TEST(Win32Windows, AdvancedPagesShowTheirOwnControlsAboveTheTabControl) {
  win32::Win32WindowSystem windows(GetModuleHandleA(nullptr), LayoutOf, 96);
  windows.OpenModeless(WindowId::Main);
  windows.OpenModeless(WindowId::Advanced);
  const WindowLayout& layout = LayoutOf(WindowId::Advanced);
  HWND tab = windows.ControlHandle(AdvancedControl::功能选择夹);
  for (int page : {0, 1}) {
    windows.SelectPage(AdvancedControl::功能选择夹, page);
    for (const ControlLayout& row : layout.controls) {
      const auto on = PageOf(layout, row);
      if (!on) continue;
      HWND control = windows.ControlHandle(ControlRef(WindowId::Advanced, row.id));
      EXPECT_EQ(IsWindowVisible(control) != FALSE, on->second == page) << row.name << " " << page;
      // Above the tab control in the stacking order, so the tab control paints beneath it.
      bool above = false;
      for (HWND at = GetWindow(tab, GW_HWNDPREV); at; at = GetWindow(at, GW_HWNDPREV)) {
        above = above || at == control;
      }
      EXPECT_TRUE(above) << row.name;
    }
  }
}

}  // namespace netvane::testing
