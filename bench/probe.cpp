// Starts the floor and netvane.exe in turn and times each from CreateProcess to ready; then
// sends 刷新按钮's click a few times and times each refresh. Prints medians in milliseconds.
//   probe.exe ROUNDS REFRESHES FLOOR_EXE NETVANE_EXE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "adapters/AdapterDiscovery.h"
#include "ui/Controls.h"

namespace {

using C = netvane::MainControl;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
  DWORD process;
  HWND found;
};

HWND VisibleWindowOf(DWORD process) {
  Search search = {process, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->process || !IsWindowVisible(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The status label shows an adapter's mode.
bool ShowsMode(HWND main) {
  char text[64] = {};
  GetWindowTextA(GetDlgItem(main, static_cast<int>(C::提示标签)), text, sizeof text);
  return netvane::kStaticMode == text || netvane::kDhcpMode == text;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Milliseconds from CreateProcess until `ready` holds for its window; the window is left open.
double StartUntilReady(const char* exe, bool netvane, PROCESS_INFORMATION* process,
                       HWND* main) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  char commandLine[MAX_PATH + 2];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\"", exe);
  const double start = Now();
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, process)) {
    std::fprintf(stderr, "cannot start %s\n", exe);
    std::exit(1);
  }
  while (Now() - start < 20000) {
    HWND window = VisibleWindowOf(process->dwProcessId);
    if (window && (netvane ? ShowsMode(window)
                           : FindWindowExA(window, nullptr, "SysIPAddress32", nullptr) != nullptr)) {
      *main = window;
      return Now() - start;
    }
    Sleep(1);
  }
  std::fprintf(stderr, "%s never became ready\n", exe);
  std::exit(1);
}

void Close(PROCESS_INFORMATION& process, HWND main) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: probe ROUNDS REFRESHES FLOOR_EXE NETVANE_EXE\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const int refreshes = std::atoi(argv[2]);
  std::vector<double> floor, netvane, refresh;
  for (int round = 0; round < rounds; ++round) {
    PROCESS_INFORMATION process;
    HWND main = nullptr;
    floor.push_back(StartUntilReady(argv[3], false, &process, &main));
    Close(process, main);
    netvane.push_back(StartUntilReady(argv[4], true, &process, &main));
    HWND button = GetDlgItem(main, static_cast<int>(C::刷新按钮));
    for (int i = 0; i < refreshes; ++i) {
      Sleep(50);  // let start-up's last messages settle
      const double start = Now();
      DWORD_PTR ignored = 0;
      // The click's notification itself: the button's own pressed look is not the refresh.
      SendMessageTimeoutA(main, WM_COMMAND,
                          MAKEWPARAM(static_cast<int>(C::刷新按钮), BN_CLICKED),
                          reinterpret_cast<LPARAM>(button), SMTO_NORMAL, 20000, &ignored);
      while (!ShowsMode(main) && Now() - start < 20000) Sleep(1);
      refresh.push_back(Now() - start);
    }
    Close(process, main);
  }
  std::printf("floor %.1f\nnetvane %.1f\nrefresh %.1f\n", Median(floor), Median(netvane),
              Median(refresh));
  return 0;
}
