// Program entry: the Win32 seams wired into the behaviour, then the message loop.
#include <windows.h>

#include "app/Application.h"
#include "app/Layout.h"
#include "platform/win32/Win32Later.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"
#include "resources/resource.h"

namespace {

// The device console tool carried inside the program.
std::string CarriedDevcon(HINSTANCE instance) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_DEVCON), MAKEINTRESOURCEA(10));
  if (!found) return {};
  HGLOBAL loaded = LoadResource(instance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return std::string(static_cast<const char*>(bytes), SizeofResource(instance, found));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
#if !defined(_WIN64)
  // On 64-bit Windows the 32-bit program would put devcon.exe into the 32-bit system folder,
  // and the device functions refuse to restart adapters from WOW64: stop before writing anything.
  if (netvane::win32::RunningUnderWow64()) {
    MessageBoxA(nullptr,
                "这是 32 位程序，不能在 64 位 Windows 上使用。\n"
                "请改用 " NETVANE_PROGRAM_64_FILE "。",
                "错误", MB_OK | MB_ICONERROR);
    return 1;
  }
#endif
  netvane::win32::DeclareDpiAware();
  using namespace netvane;
  win32::Win32Registry registry;
  RegistryLayer registryLayer(registry);
  win32::Win32IniFile ini;
  win32::Win32FileSystem files;
  win32::Win32ProcessStarter processes;
  win32::Win32SystemAdapters systemAdapters;
  win32::Win32Clock clock;
  win32::Win32WindowSystem windows(instance, LayoutOf);
  win32::Win32InputPoll input;
  input.preTranslate = [&windows](MSG& message) { return windows.PreTranslate(message); };
  Services services{registryLayer, ini, files, processes, systemAdapters, clock, input, windows};

  Application application(services, CarriedDevcon(instance));
  windows.onFault = [&](const char* what, bool actionEnded) {
    if (actionEnded) application.mainWindow().SetBusy(false);
    windows.ShowMessage(WindowId::Main, std::string("程序内部错误，操作已中止。") + what, "错误",
                        MessageIcon::Exclamation);
    if (actionEnded) application.mainWindow().HoldExit(false);  // an exit held by it goes ahead
  };
  // The start (its first scan) and a start-up script's run are actions too. A script's run ends
  // with its exit code once the closing refresh is done; one cut short by a fault ends with 1,
  // logged as not finished. A start cut short goes on to the window; one that left none ends.
  std::optional<int> exitCode;
  bool finished = false;
  windows.Guarded([&] {
    exitCode = application.Run(arguments ? arguments : "");
    finished = true;
  });
  if (!finished) {
    if (const auto& scriptEnding = application.mainWindow().actions().ending) return scriptEnding();
    ShowWindow(windows.Handle(WindowId::Main), SW_SHOW);  // a start cut short had not shown it
  }
  if (exitCode) return *exitCode;
  return windows.IsOpen(WindowId::Main) ? windows.RunMessageLoop() : 1;
}
