// The 32-bit program on 64-bit Windows: it names the 64-bit program in a message box and ends
// without writing anything. Only the 64-bit ring runs it, where NETVANE_WOW64_EXE names the
// 32-bit program.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

// The names of the files in a folder.
std::string FilesIn(const std::string& directory) {
  std::string names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") {
      names += std::string(names.empty() ? "" : " ") + found.cFileName;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

TEST(Wow64E2e, The32BitProgramNamesThe64BitOneAndEnds) {
  const std::string program = PathFromEnvironment("NETVANE_WOW64_EXE");
  if (program.empty()) GTEST_SKIP() << "NETVANE_WOW64_EXE names no 32-bit program";
  const std::string directory = WorkingDirectory() + "\\e2e-wow64";
  RemoveDirectoryA(directory.c_str());
  ASSERT_TRUE(EnsureDirectory(directory)) << directory;
  const std::string copy = directory + "\\netvane.exe";
  ASSERT_TRUE(CopyFileA(program.c_str(), copy.c_str(), FALSE)) << program;
  char system32Bit[MAX_PATH] = {};
  ASSERT_GT(GetSystemWow64DirectoryA(system32Bit, MAX_PATH), 0u);
  const std::string devcon = std::string(system32Bit) + "\\devcon.exe";
  DeleteFileA(devcon.c_str());

  AppProcess app;
  ASSERT_EQ(app.Start(copy), "");
  HWND box = app.WaitForWindow("错误");
  ASSERT_NE(box, nullptr) << "no message box titled 错误";
  std::string message;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    message += Text(child) + "\n";
  }
  EXPECT_NE(message.find("netvane64.exe"), std::string::npos) << message;
  Click(GetDlgItem(box, IDOK));  // the process may end before the click returns
  const std::optional<DWORD> code = app.WaitForExit();
  ASSERT_TRUE(code.has_value()) << "still running after the message box";
  EXPECT_NE(*code, 0u);
  EXPECT_FALSE(FileExists(devcon)) << devcon;
  EXPECT_EQ(FilesIn(directory), "netvane.exe");
}

}  // namespace
}  // namespace netvane::e2e
