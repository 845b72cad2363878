// A stand-in for devcon.exe that changes no device and only appends its arguments, one line per
// call, to devcon-calls.log beside itself. A devcon.ini beside it with [recorder] sleep=N makes
// the call that disables one device take N milliseconds, as a slow driver would.
#include <windows.h>

#include <cstring>

int main() {
  const char* line = std::strchr(GetCommandLineA(), ' ');  // after the program's name
  for (line = line ? line : ""; *line == ' '; ++line) {}
  char path[MAX_PATH + 32] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* name = std::strrchr(path, '\\') + 1;
  std::strcpy(name, "devcon.ini");
  if (!std::strncmp(line, "disable \"", 9)) Sleep(GetPrivateProfileIntA("recorder", "sleep", 0, path));
  // The calls for all cards are not waited for and may overlap, and under Wine two appends at
  // once may land at the same end: one writer at a time, the others wait for their turn.
  std::strcpy(name, "devcon-calls.log");
  HANDLE log;
  for (int attempt = 0; (log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                           0, nullptr)) == INVALID_HANDLE_VALUE && attempt < 500; ++attempt) {
    Sleep(10);
  }
  char entry[1025];  // wsprintfA writes at most 1024 characters
  DWORD written = 0;
  return WriteFile(log, entry, wsprintfA(entry, "%s\r\n", line), &written, nullptr) ? 0 : 2;
}
