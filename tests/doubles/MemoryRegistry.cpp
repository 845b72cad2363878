#include "tests/doubles/MemoryRegistry.h"

#include <cctype>

namespace netvane::testing {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

// "hklm" or "hkcu", then each path component in lower case. Empty components (a doubled
// backslash) are passed over, as the real registry does.
std::optional<std::string> MemoryRegistry::KeyId(RootKey root, const std::string& path) {
  std::string id = root == RootKey::LocalMachine ? "hklm" : "hkcu";
  if (path.empty()) return id;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find('\\', start);
    const std::string part = path.substr(start, end == std::string::npos ? end : end - start);
    if (!part.empty()) id += "\\" + Lower(part);
    if (end == std::string::npos) return id;
    start = end + 1;
  }
}

bool MemoryRegistry::Refused(const std::string& keyId) const {
  for (const std::string& prefix : refused_) {
    if (keyId == prefix || keyId.rfind(prefix + "\\", 0) == 0) return true;
  }
  return false;
}

Registry::Key MemoryRegistry::Open(RootKey root, const std::string& path, KeyAccess access) {
  ++openCalls_;
  const auto id = KeyId(root, path);
  if (!id || (!path.empty() && keys_.count(*id) == 0)) return 0;
  const Key key = nextHandle_++;
  handles_[key] = Handle{*id, access};
  return key;
}

std::vector<std::string> MemoryRegistry::Subkeys(Key key) {
  std::vector<std::string> names;
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || handle->second.access != KeyAccess::Enumerate) return names;
  const std::string prefix = handle->second.keyId + "\\";
  for (const auto& [id, node] : keys_) {
    if (id.rfind(prefix, 0) != 0 || id.find('\\', prefix.size()) != std::string::npos) continue;
    names.push_back(node.path.substr(node.path.rfind('\\') + 1));
  }
  return names;
}

std::optional<RegistryValue> MemoryRegistry::Query(Key key, const std::string& name) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || handle->second.access != KeyAccess::QueryValue) {
    return std::nullopt;
  }
  const auto node = keys_.find(handle->second.keyId);
  if (node == keys_.end()) return std::nullopt;
  const auto value = node->second.values.find(Lower(name));
  if (value == node->second.values.end()) return std::nullopt;
  return value->second.value;
}

bool MemoryRegistry::Set(Key key, const std::string& name, std::uint32_t type,
                         const std::string& data) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || handle->second.access != KeyAccess::SetValue) return false;
  Node& node = keys_[handle->second.keyId];
  if (Refused(handle->second.keyId)) return false;
  node.values[Lower(name)] = StoredValue{name, RegistryValue{type, data}};
  writes_.push_back(Write{node.path + "\\" + name, false});
  return true;
}

DeleteResult MemoryRegistry::Delete(Key key, const std::string& name) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || handle->second.access != KeyAccess::SetValue) {
    return DeleteResult::Failed;
  }
  Node& node = keys_[handle->second.keyId];
  if (Refused(handle->second.keyId)) return DeleteResult::Failed;
  writes_.push_back(Write{node.path + "\\" + name, true});
  return node.values.erase(Lower(name)) > 0 ? DeleteResult::Deleted : DeleteResult::NotFound;
}

void MemoryRegistry::Close(Key key) { handles_.erase(key); }

void MemoryRegistry::CreateKey(RootKey root, const std::string& path) {
  if (!KeyId(root, path) || path.empty()) return;
  // Every ancestor exists too, as in a real registry; each keeps its first spelling.
  std::size_t end = 0;
  do {
    end = path.find('\\', end + 1);
    const std::string prefix = path.substr(0, end);
    Node& node = keys_[*KeyId(root, prefix)];
    if (node.path.empty()) node.path = prefix;
  } while (end != std::string::npos);
}

void MemoryRegistry::Put(RootKey root, const std::string& path, const std::string& name,
                         std::uint32_t type, const std::string& data) {
  CreateKey(root, path);
  const auto id = KeyId(root, path);
  if (!id) return;
  keys_[*id].values[Lower(name)] = StoredValue{name, RegistryValue{type, data}};
}

void MemoryRegistry::PutText(RootKey root, const std::string& path, const std::string& name,
                             const std::string& text) {
  Put(root, path, name, regtype::kSz, text + std::string(1, '\0'));
}

void MemoryRegistry::PutNumber(RootKey root, const std::string& path, const std::string& name,
                               std::uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  Put(root, path, name, regtype::kDword, bytes);
}

void MemoryRegistry::PutMulti(RootKey root, const std::string& path, const std::string& name,
                              const std::vector<std::string>& items) {
  std::string data;
  for (const std::string& item : items) data += item + std::string(1, '\0');
  data.push_back('\0');
  Put(root, path, name, regtype::kMultiSz, data);
}

std::optional<RegistryValue> MemoryRegistry::Get(RootKey root, const std::string& path,
                                                 const std::string& name) const {
  const auto id = KeyId(root, path);
  if (!id) return std::nullopt;
  const auto node = keys_.find(*id);
  if (node == keys_.end()) return std::nullopt;
  const auto value = node->second.values.find(Lower(name));
  if (value == node->second.values.end()) return std::nullopt;
  return value->second.value;
}

bool MemoryRegistry::KeyExists(RootKey root, const std::string& path) const {
  const auto id = KeyId(root, path);
  return id && (path.empty() || keys_.count(*id) > 0);
}

void MemoryRegistry::RefuseWritesUnder(RootKey root, const std::string& path) {
  if (const auto id = KeyId(root, path)) refused_.insert(*id);
}

}  // namespace netvane::testing
