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

std::vector<std::string> Win32IniFile::ReadSection(const std::string& path,
                                                   const std::string& section) {
  // A section cut short fills the buffer up to size - 2: read again with more room.
  for (DWORD size = 4096;; size *= 4) {
    std::vector<char> buffer(size);
    const DWORD length =
        GetPrivateProfileSectionA(section.c_str(), buffer.data(), size, path.c_str());
    if (length < size - 2 || size >= (1u << 22)) {
      std::vector<std::string> lines;
      for (DWORD at = 0; at < length && buffer[at] != '\0';) {
        lines.emplace_back(buffer.data() + at);
        at += static_cast<DWORD>(lines.back().size()) + 1;
      }
      return lines;
    }
  }
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

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

// Written beside the file, then moved over it: a write that fails leaves the old file whole.
bool Win32FileSystem::ReplaceWholeFile(const std::string& path, const std::string& bytes) {
  const std::string fresh = path + ".new";
  HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, bytes);
  CloseHandle(file);
  if (written && MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFileA(fresh.c_str());
  return false;
}

bool Win32FileSystem::AppendToFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteAll(file, bytes);
  CloseHandle(file);
  return ok;
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[16 * 1024];
  DWORD got = 0;
  BOOL ok = TRUE;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0) {
    bytes.append(chunk, got);
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
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
