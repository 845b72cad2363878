// The Win32 seams that have no in-memory twin to agree with, checked against the real system.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <regex>

#include "platform/win32/Win32Platform.h"

namespace netvane::win32 {
namespace {

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

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
  // cmd by its full path, in the system directory: "cd" there prints that directory.
  const std::string system = files.SystemDirectory();
  ASSERT_TRUE(starter.Start({system + "\\cmd.exe", "cmd /c cd> \"" + marker + "\"", system,
                             WindowMode::Hidden, WaitMode::WaitForExit},
                            [&] { ++pumped; }));
  const std::optional<std::string> written = ReadWhole(marker);  // the wait covered it all
  ASSERT_TRUE(written);
  EXPECT_EQ(Lower(written->substr(0, system.size())), Lower(system));
  DeleteFileA(marker.c_str());
  EXPECT_FALSE(starter.Start({"", "no_such_program_netvane.exe", "", WindowMode::Hidden,
                              WaitMode::NoWait}));
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


// Keys read under SYSTEM stay open between readings; whatever happens to a key behind the
// registry's back, it reads as opening it afresh would.
TEST(Win32Platform, KeptRegistryKeysReadAsFreshOnes) {
  struct Case {
    const char* change;
    bool deleteKey;
    const char* written;                // written afterwards; nullptr: nothing
    std::optional<std::string> reads;   // nothing: the key cannot be opened
  };
  const Case cases[] = {
      {"value set", false, "second", "second"},
      {"key deleted", true, nullptr, std::nullopt},
      {"key deleted and made again", true, "third", "third"},
  };
  const std::string path = "SYSTEM\\NetvaneContract" + std::to_string(GetCurrentProcessId());
  const auto write = [&](const char* text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::strlen(text) + 1));
    RegCloseKey(key);
  };
  Win32Registry registry;
  const auto read = [&]() -> std::optional<std::string> {
    const Registry::Key key = registry.Open(RootKey::LocalMachine, path, KeyAccess::QueryValue);
    if (!key) return std::nullopt;
    const auto value = registry.Query(key, "Name");
    registry.Close(key);
    return value ? value->data.c_str() : "";
  };
  for (const Case& c : cases) {
    write("first");
    ASSERT_EQ(read(), "first") << c.change;
    ASSERT_EQ(read(), "first") << c.change;  // the second time through the kept key
    if (c.deleteKey) RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    if (c.written) write(c.written);
    EXPECT_EQ(read(), c.reads) << c.change;
  }
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
}

}  // namespace netvane::win32
