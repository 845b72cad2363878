#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <vector>

#include "platform/win32/Win32Platform.h"

namespace netvane::win32 {

bool Win32ProcessStarter::Start(const std::string& commandLine, WindowMode window, WaitMode wait,
                                const std::function<void()>& whileWaiting) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = window == WindowMode::Hidden ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  const DWORD flags = window == WindowMode::Hidden ? CREATE_NO_WINDOW : 0;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  if (wait == WaitMode::WaitForExit) {
    // Wake for the input that the caller's poll takes (keys and mouse buttons, as GetInputState
    // sees them), so the caller can keep the windows responsive while it waits. Other
    // messages left in the queue would wake the wait at once, again and again.
    const DWORD wake = whileWaiting ? QS_KEY | QS_MOUSEBUTTON : 0;
    for (;;) {
      const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, wake);
      if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
      if (whileWaiting) whileWaiting();
    }
  }
  CloseHandle(process.hProcess);
  return true;
}

std::vector<SystemAdapter> Win32SystemAdapters::List() {
  std::vector<SystemAdapter> adapters;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer;
  DWORD status = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; attempt < 4 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.assign(size, 0);
    status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  }
  if (status != NO_ERROR) return adapters;
  for (auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); info; info = info->Next) {
    std::string address;
    for (UINT i = 0; i < info->AddressLength && i < MAX_ADAPTER_ADDRESS_LENGTH; ++i) {
      char part[4];
      std::snprintf(part, sizeof part, "%02X", info->Address[i]);
      if (i > 0) address += '-';
      address += part;
    }
    adapters.push_back(SystemAdapter{info->Description, address});
  }
  return adapters;
}

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32InputPoll::InputWaiting() { return GetInputState() != FALSE; }

void Win32InputPoll::DispatchPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the message loop
      return;
    }
    if (preTranslate && preTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace netvane::win32
