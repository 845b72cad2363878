// The 32-bit program on 64-bit Windows names the 64-bit program in a message box and ends
// without writing devcon.exe. The 64-bit ring runs it: NETVANE_WOW64_EXE names it there.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

TEST(Wow64E2e, The32BitProgramNamesThe64BitOneAndEnds) {
  const std::string program = PathFromEnvironment("NETVANE_WOW64_EXE");
  if (program.empty()) GTEST_SKIP() << "NETVANE_WOW64_EXE names no 32-bit program";
  char system32Bit[MAX_PATH] = {};
  ASSERT_GT(GetSystemWow64DirectoryA(system32Bit, MAX_PATH), 0u);
  const std::string devcon = std::string(system32Bit) + "\\devcon.exe";
  DeleteFileA(devcon.c_str());

  AppProcess app;
  ASSERT_EQ(app.Start(program), "");
  HWND box = app.WaitForWindow("错误");
  ASSERT_NE(box, nullptr) << "no message box titled 错误";
  const std::string message = Text(GetDlgItem(box, 0xFFFF));  // a message box's text
  EXPECT_NE(message.find("netvane64.exe"), std::string::npos) << message;
  EXPECT_TRUE(SaveScreenshot(box, WorkingDirectory() + "\\results\\screens\\wow64-refusal.bmp"));
  Click(GetDlgItem(box, IDOK));  // the process may end before the click returns
  ASSERT_TRUE(app.WaitForExit().has_value()) << "still running after the message box";
  EXPECT_EQ(GetFileAttributesA(devcon.c_str()), INVALID_FILE_ATTRIBUTES) << devcon;
}

}  // namespace
}  // namespace netvane::e2e
