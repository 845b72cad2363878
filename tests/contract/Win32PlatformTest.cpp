// The Win32 seams that have no in-memory twin to agree with, checked against the real system.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "platform/win32/Win32Platform.h"

namespace netvane::win32 {

TEST(Win32Platform, DirectoriesAreAbsoluteAndExist) {
  Win32FileSystem files;
  const std::string system = files.SystemDirectory();
  const std::string program = files.ProgramDirectory();
  ASSERT_GE(system.size(), 3u);
  EXPECT_EQ(system.substr(1, 2), ":\\");
  EXPECT_NE(system.back(), '\\');
  EXPECT_TRUE(files.Exists(system + "\\cmd.exe"));
  ASSERT_FALSE(program.empty());
  EXPECT_NE(program.back(), '\\');
  EXPECT_TRUE(files.Exists(program));
}

TEST(Win32Platform, ProcessStartWaitsOnlyWhenAskedAndReportsFailure) {
  Win32ProcessStarter starter;
  Win32FileSystem files;
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string marker = std::string(temp) + "netvane_started.txt";
  DeleteFileA(marker.c_str());
  int pumped = 0;
  ASSERT_TRUE(starter.Start("cmd /c echo done> \"" + marker + "\"", WindowMode::Hidden,
                            WaitMode::WaitForExit, [&] { ++pumped; }));
  EXPECT_TRUE(files.Exists(marker));  // the wait covered the whole command
  DeleteFileA(marker.c_str());
  EXPECT_FALSE(starter.Start("no_such_program_netvane.exe", WindowMode::Hidden,
                             WaitMode::NoWait));
}

TEST(Win32Platform, SystemAdapterAddressesAreDashedUpperHex) {
  Win32SystemAdapters adapters;
  const std::regex address("([0-9A-F]{2}-)*[0-9A-F]{2}|");
  for (const SystemAdapter& adapter : adapters.List()) {
    EXPECT_TRUE(std::regex_match(adapter.hardwareAddress, address)) << adapter.hardwareAddress;
  }
}

TEST(Win32Platform, ClockMovesForwardAcrossASleep) {
  Win32Clock clock;
  const std::uint32_t start = clock.TickCount();
  clock.Sleep(120);
  EXPECT_GE(clock.TickCount() - start, 60u);  // the tick is coarse; the order is what counts
}

}  // namespace netvane::win32
