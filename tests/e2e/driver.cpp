// End-to-end cases: the real netvane.exe, started by the driver, driven through window messages
// and checked from outside (window texts and states, files, the registry through reg.exe).
//
// NETVANE_EXE names the program, NETVANE_DEVCON_EXE the device console tool it carries and
// NETVANE_E2E_DATA this folder, for .reg seeds kept beside the cases (Unix paths map to drive Z:).
// The program runs from a copy in <working directory>\e2e-app, so a case can put an ipset.ini
// beside it. Screenshots go to <working directory>\results\screens.
//
// Every case shares one Wine prefix and one wineserver: what a case seeds stays for the cases
// after it, so a case seeds under its own keys or removes them again when it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "ui/Controls.h"
#include "app/Layout.h"
#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

using C = MainControl;

std::string AppDirectory() { return WorkingDirectory() + "\\e2e-app"; }
std::string AppPath() { return AppDirectory() + "\\netvane.exe"; }
std::string ScreenPath(const std::string& name) {
  return WorkingDirectory() + "\\results\\screens\\" + name + ".bmp";
}
std::string DevconInSystem() { return SystemDirectory() + "\\devcon.exe"; }

// Copies the program under test once for the whole run.
class ProgramCopy : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::string source = PathFromEnvironment("NETVANE_EXE");
    ASSERT_FALSE(source.empty()) << "NETVANE_EXE must name netvane.exe";
    ASSERT_TRUE(EnsureDirectory(AppDirectory())) << AppDirectory();
    ASSERT_TRUE(CopyFileA(source.c_str(), AppPath().c_str(), FALSE))
        << source << " -> " << AppPath() << " (error " << GetLastError() << ")";
    DeleteFileA((AppDirectory() + "\\ipset.ini").c_str());
  }
};
const auto* const kProgramCopy = ::testing::AddGlobalTestEnvironment(new ProgramCopy);

// Where a control of the main window is, by the page it sits on: 0 or 1 of 功能选择夹, or -1.
int PageOfRow(const ControlLayout& row) {
  const auto page = PageOf(LayoutOf(WindowId::Main), row);
  return page ? page->second : -1;
}

// A control in a failure message: the id first, in ASCII, so that the line stays readable where
// the GBK name does not.
std::string Named(const ControlLayout& row) {
  return "control " + std::to_string(row.id) + " " + row.name;
}

bool ShowsCaption(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::Button ||
         kind == ControlKind::CheckBox || kind == ControlKind::GroupBox;
}

class MainWindowE2e : public ::testing::Test {
 protected:
  void TearDown() override { app_.Terminate(); }

  void Start() {
    ASSERT_TRUE(app_.Start(AppPath()).empty());
    main_ = app_.WaitForWindow(LayoutOf(WindowId::Main).caption);
    ASSERT_NE(main_, nullptr) << "no main window within " << kStartTimeout << " ms";
    ASSERT_TRUE(app_.WaitForIdle(main_));
  }
  // Every control of the layout is there; those on the other page are hidden, the rest shown.
  void ExpectPage(int page) const {
    for (const ControlLayout& row : LayoutOf(WindowId::Main).controls) {
      HWND control = GetDlgItem(main_, row.id);
      ASSERT_NE(control, nullptr) << Named(row);
      const int on = PageOfRow(row);
      EXPECT_EQ(Visible(control), !(row.flags & flag::kHidden) && (on < 0 || on == page))
          << Named(row) << " on page " << page;
    }
  }

  AppProcess app_;
  HWND main_ = nullptr;
};

// Start-up writes the carried tool where none is, opens on page 0 with the layout's captions,
// Enter shows page 1 (and, not armed, page 0 again), and 退出 ends the program.
TEST_F(MainWindowE2e, StartsWithTheLayoutWritesTheToolAndExits) {
  const std::optional<std::string> carried = ReadWholeFile(PathFromEnvironment("NETVANE_DEVCON_EXE"));
  ASSERT_TRUE(carried && !carried->empty()) << "NETVANE_DEVCON_EXE must name the built devcon.exe";
  DeleteFileA(DevconInSystem().c_str());
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(ReadWholeFile(DevconInSystem()), carried);
  EXPECT_TRUE(SaveScreenshot(main_, ScreenPath("main-page0")));
  EXPECT_EQ(Text(main_), LayoutOf(WindowId::Main).caption);
  ASSERT_NO_FATAL_FAILURE(ExpectPage(0));
  for (const ControlLayout& row : LayoutOf(WindowId::Main).controls) {
    // Empty captions are the ones the program fills in; the frame keeps its own without adapters.
    if (!ShowsCaption(row.kind) || row.caption.empty()) continue;
    EXPECT_EQ(Text(GetDlgItem(main_, row.id)), row.caption) << Named(row);
    if (row.kind == ControlKind::CheckBox) {
      EXPECT_EQ(Checked(GetDlgItem(main_, row.id)), (row.flags & flag::kChecked) != 0) << Named(row);
    }
  }
  for (int page : {1, 0}) {
    PressEnter(main_);
    ASSERT_TRUE(WaitUntil([&] { return Visible(GetDlgItem(main_, static_cast<int>(C::网吧修改框))) == (page == 1); }));
    ASSERT_TRUE(app_.WaitForIdle(main_));
    if (page == 1) {
      EXPECT_TRUE(SaveScreenshot(main_, ScreenPath("main-page1")));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectPage(page));
  }
  Click(GetDlgItem(main_, static_cast<int>(C::退出按钮)));  // the process may end before it returns
  EXPECT_EQ(app_.WaitForExit(), std::optional<DWORD>(0));
}

// A tool of that name already there is left alone, and the close box ends the program.
TEST_F(MainWindowE2e, LeavesAnExistingToolAloneAndClosesFromTheCloseBox) {
  const std::string marker = "not the device console tool\r\n";
  ASSERT_TRUE(WriteWholeFile(DevconInSystem(), marker));
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(ReadWholeFile(DevconInSystem()), marker);
  PostMessageA(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_.WaitForExit(), std::optional<DWORD>(0));
  DeleteFileA(DevconInSystem().c_str());  // later cases get the carried tool written again
}

}  // namespace
}  // namespace netvane::e2e
