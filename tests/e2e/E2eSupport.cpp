#include "tests/e2e/E2eSupport.h"

#include <iphlpapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>

namespace netvane::e2e {
namespace {

// Owns a kernel handle; move-only so that no two owners close it.
class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Handle& operator=(Handle&&) = delete;
  ~Handle() {
    if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A cross-process message that cannot hang the driver: 0 when it timed out or failed.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
             Milliseconds timeout = kActionTimeout) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout, &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

std::string TempFileName(const char* prefix) {
  char directory[MAX_PATH + 1] = {};
  char name[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, directory);
  GetTempFileNameA(directory, prefix, 0, name);
  return name;
}

std::string Narrow(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                      length, nullptr, nullptr);
  return narrow;
}

// "HKEY_LOCAL_MACHINE\\path" as the root key and the path below it.
std::pair<HKEY, std::string> SplitKey(const std::string& key) {
  const std::size_t slash = key.find('\\');
  const std::string root = key.substr(0, slash);
  const std::string path = slash == std::string::npos ? "" : key.substr(slash + 1);
  return {root == "HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, path};
}

}  // namespace

std::string WindowsPath(std::string path) {
  if (!path.empty() && path.front() == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string PathFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? WindowsPath(value) : std::string();
}

std::string WorkingDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  std::string directory(buffer, length <= MAX_PATH ? length : 0);
  if (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

bool EnsureDirectory(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string SystemDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  std::string directory(buffer, length <= MAX_PATH ? length : 0);
  if (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
  const ULONGLONG deadline = GetTickCount64() + timeout;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

CommandResult RunCommand(const std::string& commandLine, Milliseconds timeout) {
  CommandResult result;
  const std::string outputPath = TempFileName("out");
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  {
    Handle output(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    Handle input(CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr));
    if (!output.valid()) return result;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.valid() ? input.get() : nullptr;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &process)) {
      Handle processHandle(process.hProcess);
      Handle threadHandle(process.hThread);
      if (WaitForSingleObject(process.hProcess, timeout) == WAIT_OBJECT_0) {
        result.finished = GetExitCodeProcess(process.hProcess, &result.exitCode) != FALSE;
      } else {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
      }
    }
  }
  result.output = ReadWholeFile(outputPath).value_or("");
  DeleteFileA(outputPath.c_str());
  return result;
}

std::optional<RegistryValue> QueryRegistryValue(const std::string& key, const std::string& name) {
  const CommandResult result = RunCommand("reg.exe query \"" + key + "\" /v \"" + name + "\"");
  if (!result.finished || result.exitCode != 0) return std::nullopt;
  // A value line: four spaces, the name, four spaces, the type, four spaces, the data.
  const std::string lead = "    " + name + "    ";
  std::size_t start = 0;
  while (start < result.output.size()) {
    std::size_t end = result.output.find('\n', start);
    if (end == std::string::npos) end = result.output.size();
    std::string line = result.output.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < lead.size() || _strnicmp(line.c_str(), lead.c_str(), lead.size()) != 0) {
      continue;
    }
    const std::string rest = line.substr(lead.size());
    const std::size_t gap = rest.find("    ");
    if (gap == std::string::npos) return RegistryValue{rest, ""};
    return RegistryValue{rest.substr(0, gap), rest.substr(gap + 4)};
  }
  return std::nullopt;
}

bool DeleteRegistryKey(const std::string& key) {
  const auto [root, path] = SplitKey(key);
  const LONG status = RegDeleteTreeA(root, path.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) RegDeleteKeyA(root, path.c_str());
  HKEY left = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &left) != ERROR_SUCCESS) return true;
  RegCloseKey(left);
  return false;
}

RegistrySeed& RegistrySeed::Remove(const std::string& key) {
  steps_.push_back(Step{Step::kRemove, key, 0, {}});
  return *this;
}

RegistrySeed& RegistrySeed::Key(const std::string& key) {
  steps_.push_back(Step{Step::kKey, key, 0, {}});
  return *this;
}

RegistrySeed& RegistrySeed::String(const std::string& name, std::string_view value) {
  steps_.push_back(Step{Step::kValue, name, REG_SZ, std::string(value) + '\0'});
  return *this;
}

RegistrySeed& RegistrySeed::Dword(const std::string& name, DWORD value) {
  steps_.push_back(Step{Step::kValue, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4)});
  return *this;
}

RegistrySeed& RegistrySeed::Strings(const std::string& name, const std::vector<std::string>& items) {
  std::string data;
  for (const std::string& item : items) data += item + '\0';
  steps_.push_back(Step{Step::kValue, name, REG_MULTI_SZ, data + '\0'});
  return *this;
}

bool RegistrySeed::Import(std::string* error) const {
  HKEY current = nullptr;
  std::string failed;
  for (const Step& step : steps_) {
    if (step.kind == Step::kValue) {
      if (!current || RegSetValueExA(current, step.text.c_str(), 0, step.type,
                                     reinterpret_cast<const BYTE*>(step.data.data()),
                                     static_cast<DWORD>(step.data.size())) != ERROR_SUCCESS) {
        failed += " value " + step.text;
      }
      continue;
    }
    if (current) RegCloseKey(current);
    current = nullptr;
    if (step.kind == Step::kRemove) {
      if (!DeleteRegistryKey(step.text)) failed += " remove " + step.text;
      continue;
    }
    const auto [root, path] = SplitKey(step.text);
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &current,
                        nullptr) != ERROR_SUCCESS) {
      failed += " key " + step.text;
    }
  }
  if (current) RegCloseKey(current);
  if (!failed.empty() && error) *error = "seeding failed:" + failed;
  return failed.empty();
}

std::vector<HostAdapter> HostAdapters() {
  // Loaded by name so that the driver needs no import library for it.
  using GetAdaptersInfoFn = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);
  HMODULE library = LoadLibraryA("iphlpapi.dll");
  if (!library) return {};
  const auto getAdaptersInfo =
      reinterpret_cast<GetAdaptersInfoFn>(GetProcAddress(library, "GetAdaptersInfo"));
  std::vector<HostAdapter> adapters;
  ULONG size = 0;
  std::vector<unsigned char> buffer;
  DWORD status = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; getAdaptersInfo && attempt < 4 && status == ERROR_BUFFER_OVERFLOW;
       ++attempt) {
    buffer.assign(std::max<ULONG>(size, sizeof(IP_ADAPTER_INFO)), 0);
    size = static_cast<ULONG>(buffer.size());
    status = getAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  }
  if (getAdaptersInfo && status == NO_ERROR) {
    for (auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); info; info = info->Next) {
      std::string address;
      for (UINT i = 0; i < info->AddressLength && i < MAX_ADAPTER_ADDRESS_LENGTH; ++i) {
        char part[4];
        std::snprintf(part, sizeof part, "%02X", info->Address[i]);
        address += (i ? "-" : "") + std::string(part);
      }
      adapters.push_back(HostAdapter{info->Description, address});
    }
  }
  FreeLibrary(library);
  return adapters;
}

AppProcess::~AppProcess() {
  Terminate();
  if (process_) CloseHandle(process_);
}

std::string AppProcess::Start(const std::string& exePath, const std::string& arguments) {
  if (process_) return "already started";
  const std::size_t slash = exePath.find_last_of('\\');
  const std::string directory = slash == std::string::npos ? "" : exePath.substr(0, slash);
  std::string line = "\"" + exePath + "\"";
  if (!arguments.empty()) line.append(" ").append(arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // Right after the previous copy has ended, Wine now and then refuses a start with an internal
  // error; a moment later it goes through.
  for (int attempt = 0;; ++attempt) {
    std::string attemptLine = line;
    if (CreateProcessA(exePath.c_str(), attemptLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
      break;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == 4) {
      return "CreateProcess failed for " + exePath + " (error " + std::to_string(error) + ")";
    }
    Sleep(500);
  }
  CloseHandle(process.hThread);
  process_ = process.hProcess;
  id_ = process.dwProcessId;
  return {};
}

HWND AppProcess::WaitForWindow(const std::string& title, Milliseconds timeout) {
  struct Search {
    DWORD process;
    const std::string* title;
    HWND found;
  } search{id_, &title, nullptr};
  WaitUntil(
      [&] {
        if (!Running()) return true;
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
              auto& s = *reinterpret_cast<Search*>(data);
              DWORD owner = 0;
              GetWindowThreadProcessId(window, &owner);
              if (owner != s.process || !IsWindowVisible(window)) return TRUE;
              char text[256] = {};
              GetWindowTextA(window, text, sizeof text);
              if (*s.title != text) return TRUE;
              s.found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout);
  return search.found;
}

bool AppProcess::WaitForIdle(HWND window, Milliseconds timeout) {
  if (!process_) return false;
  const DWORD waited = WaitForInputIdle(process_, timeout);
  // A sent message is answered only once the thread takes messages again.
  DWORD_PTR ignored = 0;
  return waited != WAIT_FAILED &&
         SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeout, &ignored) != 0;
}

std::optional<DWORD> AppProcess::WaitForExit(Milliseconds timeout) {
  if (!process_ || WaitForSingleObject(process_, timeout) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}

bool AppProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void AppProcess::Terminate() {
  if (!Running()) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
}

std::string Text(HWND window) {
  if (!window) return {};
  const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) * 2 + 2, '\0');
  const LRESULT got = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(
      std::min(static_cast<std::size_t>(std::max<LRESULT>(got, 0)), std::strlen(text.c_str())));
  return text;
}

std::string AddressText(HWND control) {
  std::vector<HWND> fields;
  for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    fields.push_back(child);
  }
  std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  std::string joined;
  bool any = false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string part = Text(fields[i]);
    any = any || !part.empty();
    joined += (i ? "." : "") + part;
  }
  return any ? joined : std::string();
}

bool Visible(HWND window) { return window && IsWindowVisible(window); }

bool Enabled(HWND window) { return window && IsWindowEnabled(window); }

bool Checked(HWND button) { return Send(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<std::string> ComboItems(HWND combo) {
  // Asked in UTF-16 and converted here: Wine answers an ANSI CB_GETLBTEXT from another process
  // with the item's UTF-16 text in the ANSI buffer.
  std::vector<std::string> items;
  const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, kActionTimeout,
                             &length) ||
        static_cast<LRESULT>(length) < 0) {
      length = 0;
    }
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()),
                        SMTO_ABORTIFHUNG, kActionTimeout, &got);
    wide.resize(std::wcslen(wide.c_str()));
    items.push_back(Narrow(wide, CP_ACP));
  }
  return items;
}

int ComboSelection(HWND combo) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kActionTimeout, &result)) {
    return -1;
  }
  return static_cast<int>(static_cast<LRESULT>(result));
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool Click(HWND button, Milliseconds timeout) {
  DWORD_PTR ignored = 0;
  return button &&
         SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, timeout, &ignored) != 0;
}

void PressEnter(HWND window) {
  HWND target = FocusedControl(window);
  if (!target) target = window;
  const UINT scan = MapVirtualKeyA(VK_RETURN, MAPVK_VK_TO_VSC);
  PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1 | (scan << 16));
  PostMessageA(target, WM_KEYUP, VK_RETURN, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void PressKey(HWND target, UINT virtualKey) {
  const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

bool SaveScreenshot(HWND window, const std::string& path) {
  RECT rect;
  if (!window || !GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  const std::size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos) EnsureDirectory(path.substr(0, slash));

  // From the screen rather than PrintWindow: that is what a user sees, children included.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const BOOL copied =
      BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
  SelectObject(memory, old);

  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files store rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::string pixels(static_cast<std::size_t>(stride) * height, '\0');
  const int rows = copied ? GetDIBits(memory, bitmap, 0, height, pixels.data(),
                                      reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS)
                          : 0;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height) return false;

  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  bytes += pixels;
  return WriteWholeFile(path, bytes);
}

}  // namespace netvane::e2e
