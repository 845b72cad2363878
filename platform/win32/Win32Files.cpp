#include <windows.h>

#include <vector>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/ScopedWin.h"

namespace netvane::win32 {

std::string Win32IniFile::ReadString(const std::string& path, const std::string& section,
                                     const std::string& key, const std::string& fallback) {
  // The result fills the buffer up to size - 1 when it was cut: read again with more room.
  for (DWORD size = 256;; size *= 4) {
    std::vector<char> buffer(size);
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                  buffer.data(), size, path.c_str());
    if (length < size - 1 || size >= (1u << 20)) return std::string(buffer.data(), length);
  }
}

bool Win32IniFile::WriteString(const std::string& path, const std::string& section,
                               const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::uint64_t> Win32FileSystem::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32FileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
  ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  file.Reset();
  if (!ok || written != bytes.size()) {
    DeleteFileA(path.c_str());  // no half-written file is left behind
    return false;
  }
  return true;
}

std::string Win32FileSystem::ProgramDirectory() {
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::vector<char> buffer(size);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) {
      std::string path(buffer.data(), length);
      const auto slash = path.find_last_of('\\');
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
  }
}

std::string Win32FileSystem::SystemDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace netvane::win32
