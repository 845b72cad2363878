#include <windows.h>

#include <vector>

#include "platform/win32/Win32Platform.h"

namespace netvane::win32 {
namespace {

HKEY Handle(Registry::Key key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

Registry::Key Win32Registry::Open(RootKey root, const std::string& path, KeyAccess access) {
  HKEY base = root == RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const REGSAM sam = access == KeyAccess::QueryValue ? KEY_QUERY_VALUE
                     : access == KeyAccess::SetValue ? KEY_SET_VALUE
                                                     : KEY_ENUMERATE_SUB_KEYS;
  HKEY key = nullptr;
  if (RegOpenKeyExA(base, path.c_str(), 0, sam, &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<Key>(key);
}

std::optional<RegistryValue> Win32Registry::Query(Key key, const std::string& name) {
  // Most values fit a small buffer and take one call (under Wine, one round trip to the server).
  BYTE small[512];
  DWORD type = 0;
  DWORD read = sizeof small;
  LONG status = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &type, small, &read);
  if (status == ERROR_SUCCESS) {
    return RegistryValue{type, std::string(reinterpret_cast<const char*>(small), read)};
  }
  if (status != ERROR_MORE_DATA) return std::nullopt;
  // A larger one: ask for the size, then read; a value that grows in between is asked again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    status = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    std::vector<BYTE> buffer(size + 1);
    read = size;
    status = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &type, buffer.data(), &read);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return std::nullopt;
    return RegistryValue{type, std::string(reinterpret_cast<const char*>(buffer.data()), read)};
  }
  return std::nullopt;
}

bool Win32Registry::Set(Key key, const std::string& name, std::uint32_t type,
                        const std::string& data) {
  return RegSetValueExA(Handle(key), name.c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

DeleteResult Win32Registry::Delete(Key key, const std::string& name) {
  const LONG status = RegDeleteValueA(Handle(key), name.c_str());
  if (status == ERROR_SUCCESS) return DeleteResult::Deleted;
  return status == ERROR_FILE_NOT_FOUND ? DeleteResult::NotFound : DeleteResult::Failed;
}

std::vector<std::string> Win32Registry::Subkeys(Key key) {
  std::vector<std::string> names;
  char name[256];  // a key name has at most 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    const LONG status = RegEnumKeyExA(Handle(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

void Win32Registry::Close(Key key) { RegCloseKey(Handle(key)); }

}  // namespace netvane::win32
