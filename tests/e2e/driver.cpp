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
         kind == ControlKind::CheckBox || kind == ControlKind::GroupBox ||
         kind == ControlKind::Hyperlink;
}

std::string WithoutLinkMarkup(std::string text) {
  for (const char* tag : {"<a>", "</a>"}) {
    for (std::size_t at; (at = text.find(tag)) != std::string::npos;) {
      text.erase(at, std::strlen(tag));
    }
  }
  return text;
}

class MainWindowE2e : public ::testing::Test {
 protected:
  void TearDown() override { app_.Terminate(); }

  // Starts the program and waits for its main window.
  void Start() {
    const std::string problem = app_.Start(AppPath());
    ASSERT_TRUE(problem.empty()) << problem;
    main_ = app_.WaitForWindow(LayoutOf(WindowId::Main).caption);
    ASSERT_NE(main_, nullptr) << "no window titled " << LayoutOf(WindowId::Main).caption
                              << " within " << kStartTimeout << " ms";
  }

  HWND Control(C id) const { return GetDlgItem(main_, static_cast<int>(id)); }

  // Page 0 shows 本地连接框, page 1 shows 网吧修改框; the tab control has no header to ask.
  bool ShowsPage(int page) const {
    return Visible(Control(C::本地连接框)) == (page == 0) &&
           Visible(Control(C::网吧修改框)) == (page == 1);
  }

  // Every control of the layout is there; those on the other page are hidden, the rest shown.
  void ExpectPage(int page) const {
    for (const ControlLayout& row : LayoutOf(WindowId::Main).controls) {
      HWND control = GetDlgItem(main_, row.id);
      ASSERT_NE(control, nullptr) << Named(row);
      const int on = PageOfRow(row);
      const bool shown = !(row.flags & flag::kHidden) && (on < 0 || on == page);
      EXPECT_EQ(Visible(control), shown) << Named(row) << " on page " << page;
    }
  }

  void Screenshot(const std::string& name) const {
    EXPECT_TRUE(SaveScreenshot(main_, ScreenPath(name))) << ScreenPath(name);
  }

  AppProcess app_;
  HWND main_ = nullptr;
};

TEST_F(MainWindowE2e, OpensOnPageZeroWithTheCaptionsOfTheLayout) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(app_.WaitForIdle(main_));
  Screenshot("main-page0");
  EXPECT_EQ(Text(main_), "Netvane V1.0");
  ASSERT_NO_FATAL_FAILURE(ExpectPage(0));
  for (const ControlLayout& row : LayoutOf(WindowId::Main).controls) {
    // Empty captions are the ones the program fills in (labels with adapter data, edits).
    if (!ShowsCaption(row.kind) || row.caption.empty()) continue;
    std::string text = Text(GetDlgItem(main_, row.id));
    if (row.kind == ControlKind::Hyperlink) text = WithoutLinkMarkup(text);
    // Without adapters in the registry the frame keeps its caption; with one it would show the
    // adapter's connection name.
    EXPECT_EQ(text, row.caption) << Named(row);
    if (row.kind == ControlKind::CheckBox) {
      const bool ticked = (row.flags & flag::kChecked) != 0;
      EXPECT_EQ(Checked(GetDlgItem(main_, row.id)), ticked) << Named(row);
    }
  }
  // The table itself is what is checked above; these pin a few of its captions down.
  const std::pair<C, const char*> literal[] = {
      {C::选择标签, "网卡名称："},   {C::名称标签, "网卡编号："},
      {C::机器名标签, "计算机名："}, {C::网络号标签, "网 络 号："},
      {C::MAC标签, "网卡 MAC："},    {C::状态标签, "修改状态："},
      {C::地址标签, "ＩＰ地址："},   {C::掩码标签, "子网掩码："},
      {C::网关标签, "网卡网关："},   {C::首选标签, "首选 DNS："},
      {C::备用标签, "备用 DNS："},   {C::本地连接框, "本地连接"},
      {C::刷新按钮, "刷新"},         {C::修改按钮, "修改"},
      {C::网吧按钮, "网吧"},         {C::高级按钮, "高级"},
      {C::退出按钮, "退出"},         {C::自动消块1, "设置Lumo网址为首页"},
  };
  for (const auto& [id, caption] : literal) {
    EXPECT_EQ(Text(Control(id)), caption) << "control " << static_cast<int>(id);
    EXPECT_TRUE(Visible(Control(id))) << "control " << static_cast<int>(id);
  }
  EXPECT_TRUE(Checked(Control(C::自动消块1)));
  EXPECT_FALSE(Visible(Control(C::网吧修改框)));
  EXPECT_FALSE(Visible(Control(C::机器数框)));
}

TEST_F(MainWindowE2e, EnterSwitchesToTheCafePageAndBack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(app_.WaitForIdle(main_));
  ASSERT_TRUE(ShowsPage(0));

  PressEnter(main_);
  ASSERT_TRUE(WaitUntil([&] { return ShowsPage(1); })) << "Enter did not show page 1";
  ASSERT_TRUE(app_.WaitForIdle(main_));
  Screenshot("main-page1");
  ASSERT_NO_FATAL_FAILURE(ExpectPage(1));
  EXPECT_TRUE(Visible(Control(C::机器数框)));
  EXPECT_FALSE(Visible(Control(C::本地连接框)));

  // Without ipset.ini the café action is not armed: Enter goes back to page 0.
  PressEnter(main_);
  ASSERT_TRUE(WaitUntil([&] { return ShowsPage(0); })) << "the second Enter did not show page 0";
  ASSERT_NO_FATAL_FAILURE(ExpectPage(0));
  EXPECT_TRUE(app_.Running());
}

TEST_F(MainWindowE2e, ExitButtonEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(app_.WaitForIdle(main_));
  Click(Control(C::退出按钮));  // the process may end before the click returns
  const std::optional<DWORD> code = app_.WaitForExit();
  ASSERT_TRUE(code.has_value()) << "still running after 退出";
  EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowE2e, ClosingTheWindowEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(app_.WaitForIdle(main_));
  PostMessageA(main_, WM_CLOSE, 0, 0);
  const std::optional<DWORD> code = app_.WaitForExit();
  ASSERT_TRUE(code.has_value()) << "still running after WM_CLOSE";
  EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowE2e, StartUpWritesDevconWhenAbsent) {
  const std::string carried = PathFromEnvironment("NETVANE_DEVCON_EXE");
  ASSERT_FALSE(carried.empty()) << "NETVANE_DEVCON_EXE must name the built devcon.exe";
  const std::optional<std::string> expected = ReadWholeFile(carried);
  ASSERT_TRUE(expected && !expected->empty()) << carried;
  const std::string target = DevconInSystem();
  DeleteFileA(target.c_str());
  ASSERT_FALSE(FileExists(target)) << target;

  ASSERT_NO_FATAL_FAILURE(Start());
  const bool written = WaitUntil([&] { return ReadWholeFile(target) == expected; });
  EXPECT_TRUE(written) << target << " missing or not the carried devcon.exe";
}

TEST_F(MainWindowE2e, StartUpLeavesAnExistingDevconAlone) {
  const std::string target = DevconInSystem();
  const std::string marker = "not the device console tool\r\n";
  ASSERT_TRUE(WriteWholeFile(target, marker)) << target;

  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(app_.WaitForIdle(main_));
  EXPECT_EQ(ReadWholeFile(target), marker);

  // Later cases need the real tool there again.
  app_.Terminate();
  DeleteFileA(target.c_str());
  if (const std::string carried = PathFromEnvironment("NETVANE_DEVCON_EXE"); !carried.empty()) {
    CopyFileA(carried.c_str(), target.c_str(), FALSE);
  }
}

}  // namespace
}  // namespace netvane::e2e
