// A stand-in for devcon.exe that only records how it was called: its arguments, one line per
// call, appended to devcon-calls.log beside itself. It changes no device. When devcon-sleep.txt
// lies beside it, the call that disables one device takes that many milliseconds, as a slow
// driver would.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main() {
  // The command line without the program's own name (quoted or not).
  const char* line = GetCommandLineA();
  const bool quoted = *line == '"';
  line += quoted;
  while (*line && (quoted ? *line != '"' : *line != ' ')) ++line;
  line += *line == '"';
  while (*line == ' ') ++line;

  char path[MAX_PATH + 32] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = std::strrchr(path, '\\');
  if (length == 0 || !slash) return 2;
  std::strcpy(slash + 1, "devcon-sleep.txt");
  if (std::strncmp(line, "disable \"", 9) == 0) {
    HANDLE sleep = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (sleep != INVALID_HANDLE_VALUE) {
      char digits[16] = {};
      DWORD read = 0;
      ReadFile(sleep, digits, sizeof digits - 1, &read, nullptr);
      CloseHandle(sleep);
      Sleep(static_cast<DWORD>(std::atoi(digits)));
    }
  }
  std::strcpy(slash + 1, "devcon-calls.log");
  HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  WriteFile(log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  WriteFile(log, "\r\n", 2, &written, nullptr);
  CloseHandle(log);
  return 0;
}
