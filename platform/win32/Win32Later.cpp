#include "platform/win32/Win32Later.h"

#include <string>

namespace netvane::win32 {
namespace {

// A function of a system DLL, or nullptr when this Windows has no such function. A DLL not yet
// loaded is loaded from the system directory: by its bare name the program's own folder (a
// shared folder, a USB stick) would be searched first.
template <typename Function>
Function Lookup(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  char system[MAX_PATH];
  const UINT length = module ? 0 : GetSystemDirectoryA(system, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    module = LoadLibraryA((std::string(system) + "\\" + library).c_str());
  }
  if (!module) return nullptr;
  // Through a plain function pointer: GCC warns on a direct cast between function types.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

void DeclareDpiAware() {
  using SetProcessDPIAwareFn = BOOL(WINAPI*)();
  if (auto declare = Lookup<SetProcessDPIAwareFn>("user32.dll", "SetProcessDPIAware")) declare();
}

void DrawUnthemed(HWND control) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  if (auto setTheme = Lookup<SetWindowThemeFn>("uxtheme.dll", "SetWindowTheme")) {
    setTheme(control, L" ", L" ");
  }
}

bool RunningUnderWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  BOOL wow64 = FALSE;
  auto isWow64 = Lookup<IsWow64ProcessFn>("kernel32.dll", "IsWow64Process");
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace netvane::win32
