#pragma once
// What the end-to-end driver needs around the program under test: the program started as its
// own process, its windows read and driven through window messages from outside, screenshots,
// and the registry seeded and read back through Wine's reg.exe.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace netvane::e2e {

// Timeouts in milliseconds. (No <chrono>: its "µs" has no GBK form, and literals here are GBK.)
using Milliseconds = DWORD;
inline constexpr Milliseconds kStartTimeout = 20000;
inline constexpr Milliseconds kActionTimeout = 5000;

// A Windows path; a Unix path (as CTest passes it under Wine) maps to drive Z:.
std::string WindowsPath(std::string path);
// The Windows path held in an environment variable, or "" when it is unset.
std::string PathFromEnvironment(const char* name);
// The process's working directory, without a trailing backslash.
std::string WorkingDirectory();
// Creates a directory and its parents; true when it exists afterwards.
bool EnsureDirectory(const std::string& path);
std::optional<std::string> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, std::string_view bytes);
// The Windows system directory, without a trailing backslash.
std::string SystemDirectory();

// Polls `condition` until it holds or `timeout` has passed; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout = kActionTimeout);

struct CommandResult {
  bool finished = false;  // started and ended within the timeout
  DWORD exitCode = static_cast<DWORD>(-1);
  std::string output;  // standard output and error together, in the ANSI code page
};
// Runs a console command, its output captured through a temporary file: Wine's helper
// processes outlive the command and would hold a pipe open for ever.
CommandResult RunCommand(const std::string& commandLine, Milliseconds timeout = 30000);

struct RegistryValue {
  std::string type;  // as reg.exe names it: REG_SZ, REG_DWORD, REG_MULTI_SZ, ...
  std::string data;  // as reg.exe prints it: 0x1 for a DWORD, "\0" between multi-string items
};
// One value read by reg.exe query (the independent reader), or nothing when it is absent.
std::optional<RegistryValue> QueryRegistryValue(const std::string& key, const std::string& name);
// Removes a key and everything under it; true also when it was absent.
bool DeleteRegistryKey(const std::string& key);

// Seeds the registry straight through the registry functions, key by key, when imported.
// Strings are in the ANSI code page.
class RegistrySeed {
 public:
  // Removes the key and everything under it; absent keys are fine.
  RegistrySeed& Remove(const std::string& key);
  // The values after it go to this key, which the import creates.
  RegistrySeed& Key(const std::string& key);
  RegistrySeed& String(const std::string& name, std::string_view value);  // REG_SZ
  RegistrySeed& Dword(const std::string& name, DWORD value);              // REG_DWORD
  // REG_MULTI_SZ
  RegistrySeed& Strings(const std::string& name, const std::vector<std::string>& items);
  // Carries out what has been built; false (with `error` set) when a step failed.
  bool Import(std::string* error = nullptr) const;

 private:
  struct Step {
    enum Kind { kRemove, kKey, kValue } kind;
    std::string text;  // the key, or the value's name
    DWORD type = 0;
    std::string data;
  };
  std::vector<Step> steps_;
};

// One adapter as the system's own list (GetAdaptersInfo) gives it: its description and its
// hardware address as "XX-XX-XX-XX-XX-XX", read independently of the program under test.
struct HostAdapter {
  std::string description;
  std::string address;
};
std::vector<HostAdapter> HostAdapters();

// The program under test, one process. Ended by force on destruction if it is still running,
// so a failed case never leaves it behind.
class AppProcess {
 public:
  AppProcess() = default;
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;
  ~AppProcess();

  // Starts the program in its own directory, with `arguments` after its name; "" on success,
  // else what went wrong.
  std::string Start(const std::string& exePath, const std::string& arguments = "");
  // The visible top-level window of this process with this title, or nullptr after `timeout`.
  HWND WaitForWindow(const std::string& title, Milliseconds timeout = kStartTimeout);
  // Waits until the window's thread has gone back to its message loop.
  bool WaitForIdle(HWND window, Milliseconds timeout = kActionTimeout);
  // Waits for the process to end; its exit code, or nothing after `timeout`.
  std::optional<DWORD> WaitForExit(Milliseconds timeout = kActionTimeout);
  bool Running() const;
  void Terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Reading a control of another process.
std::string Text(HWND window);
// The text of an IP-address control: its four field edits left to right, joined by dots;
// "" when every field is empty.
std::string AddressText(HWND control);
bool Visible(HWND window);
bool Enabled(HWND window);
bool Checked(HWND button);
std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
// The control that has the keyboard focus in the thread of `window`, or nullptr.
HWND FocusedControl(HWND window);

// Driving it.
// Presses a button as a click does (BM_CLICK), waiting at most `timeout` for it to be handled.
bool Click(HWND button, Milliseconds timeout = kActionTimeout);
// Posts Enter (key down, key up) to the focused control of `window`'s thread, or to the window
// itself when nothing there has the focus. Posted, so it goes through the program's loop.
void PressEnter(HWND window);

// Posts a key press (key down, key up) to `target`, as the keyboard would deliver it there.
void PressKey(HWND target, UINT virtualKey);

// Saves what the screen shows of a window, frame included, as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path);

}  // namespace netvane::e2e
