#include <windows.h>

#include <vector>

#include "platform/win32/Win32Platform.h"

namespace netvane::win32 {
namespace {

HKEY Handle(Registry::Key key) { return reinterpret_cast<HKEY>(key); }

// The value, or nothing with `status` saying why.
std::optional<RegistryValue> QueryValue(HKEY key, const std::string& name, LONG& status) {
  // Most values fit a small buffer and take one call (under Wine, one round trip to the server).
  BYTE small[512];
  DWORD type = 0;
  DWORD read = sizeof small;
  status = RegQueryValueExA(key, name.c_str(), nullptr, &type, small, &read);
  if (status == ERROR_SUCCESS) {
    return RegistryValue{type, std::string(reinterpret_cast<const char*>(small), read)};
  }
  if (status != ERROR_MORE_DATA) return std::nullopt;
  // A larger one: ask for the size, then read; a value that grows in between is asked again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    status = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    std::vector<BYTE> buffer(size + 1);
    read = size;
    status = RegQueryValueExA(key, name.c_str(), nullptr, &type, buffer.data(), &read);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return std::nullopt;
    return RegistryValue{type, std::string(reinterpret_cast<const char*>(buffer.data()), read)};
  }
  return std::nullopt;
}

}  // namespace

Win32Registry::~Win32Registry() {
  for (const auto& [key, path] : paths_) RegCloseKey(Handle(key));
}

Registry::Key Win32Registry::Open(RootKey root, const std::string& path, KeyAccess access) {
  const bool reading = access == KeyAccess::QueryValue;
  if (reading) {
    if (const auto kept = kept_.find(Path(root, path)); kept != kept_.end()) return kept->second;
  }
  HKEY base = root == RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const REGSAM sam = reading ? KEY_QUERY_VALUE
                     : access == KeyAccess::SetValue ? KEY_SET_VALUE
                                                     : KEY_ENUMERATE_SUB_KEYS;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, path.c_str(), 0, sam, &opened) != ERROR_SUCCESS) return 0;
  const Key key = reinterpret_cast<Key>(opened);
  if (reading) paths_[kept_[Path(root, path)] = key] = Path(root, path);
  return key;
}

std::optional<RegistryValue> Win32Registry::Query(Key key, const std::string& name) {
  LONG status = ERROR_SUCCESS;
  std::optional<RegistryValue> value = QueryValue(Handle(key), name, status);
  const auto kept = paths_.find(key);
  if (value || status != ERROR_KEY_DELETED || kept == paths_.end()) return value;
  // The key went after it was kept: what its path holds now, if anything.
  const Path path = kept->second;
  if (const auto current = kept_.find(path); current != kept_.end() && current->second == key) {
    kept_.erase(current);
  }
  const Key fresh = Open(path.first, path.second, KeyAccess::QueryValue);
  return fresh ? QueryValue(Handle(fresh), name, status) : std::nullopt;
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

void Win32Registry::Close(Key key) {
  if (!paths_.count(key)) RegCloseKey(Handle(key));  // a kept key stays open
}

}  // namespace netvane::win32
