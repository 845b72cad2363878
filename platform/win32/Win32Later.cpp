#include "platform/win32/Win32Later.h"

namespace netvane::win32 {
namespace {

// A function of a system DLL, or nullptr when this Windows has no such function.
template <typename Function>
Function Lookup(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
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
