#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/ScopedWin.h"

namespace netvane::win32 {

bool Win32ProcessStarter::Start(const ProcessRequest& request,
                                const std::function<void()>& whileWaiting) {
  const bool hidden = request.window == WindowMode::Hidden;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = hidden ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  std::vector<char> line(request.commandLine.begin(), request.commandLine.end());
  line.push_back('\0');
  const char* program = request.program.empty() ? nullptr : request.program.c_str();
  const char* directory = request.directory.empty() ? nullptr : request.directory.c_str();
  if (!CreateProcessA(program, line.data(), nullptr, nullptr, FALSE, hidden ? CREATE_NO_WINDOW : 0,
                      nullptr, directory, &startup, &process)) {
    return false;
  }
  ScopedHandle thread(process.hThread);
  ScopedHandle owned(process.hProcess);
  if (request.wait == WaitMode::WaitForExit) {
    // Wake for every kind of message, so that the caller can dispatch them all (paint and posted
    // messages too) and Windows never sees the window as hung, however long the process runs.
    const DWORD wake = whileWaiting ? QS_ALLINPUT : 0;
    for (;;) {
      const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, wake);
      if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
      if (whileWaiting) whileWaiting();
    }
  }
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
    adapters.push_back(SystemAdapter{info->AdapterName, info->Description, address});
  }
  return adapters;
}

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::string Win32Clock::LocalTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  return text;
}


// Input, and also paint, posted and sent messages: a long action that polls keeps repainting and
// answering, so Windows never marks the window as not responding. The high word covers the
// keyboard and mouse-button input GetInputState reports, in one call (under Wine, one round
// trip to the server where the two calls took two).
bool Win32InputPoll::InputWaiting() { return HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0; }

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
