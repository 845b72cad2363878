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
std::string MemoryRegistry::KeyId(RootKey root, const std::string& path) {
  std::string id = root == RootKey::LocalMachine ? "hklm" : "hkcu";
  for (std::size_t start = 0, end = 0; start <= path.size(); start = end + 1) {
    end = std::min(path.find('\\', start), path.size());
    if (end > start) id.append("\\").append(Lower(path.substr(start, end - start)));
  }
  return id;
}

Registry::Key MemoryRegistry::Open(RootKey root, const std::string& path, KeyAccess access) {
  const std::string id = KeyId(root, path);
  if (!path.empty() && keys_.count(id) == 0) return 0;
  handles_[nextHandle_] = {id, access};
  return nextHandle_++;
}

std::vector<std::string> MemoryRegistry::Subkeys(Key key) {
  std::vector<std::string> names;
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || handle->second.second != KeyAccess::Enumerate) return names;
  const std::string prefix = handle->second.first + "\\";
  for (const auto& [id, node] : keys_) {
    if (id.rfind(prefix, 0) != 0 || id.find('\\', prefix.size()) != std::string::npos) continue;
    names.push_back(node.path.substr(node.path.rfind('\\') + 1));
  }
  return names;
}

std::optional<RegistryValue> MemoryRegistry::Query(Key key, const std::string& name) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || handle->second.second != KeyAccess::QueryValue) return std::nullopt;
  const auto node = keys_.find(handle->second.first);
  if (node == keys_.end()) return std::nullopt;
  const auto value = node->second.values.find(Lower(name));
  if (value == node->second.values.end()) return std::nullopt;
  return value->second.second;
}

// The key behind a handle opened for setting, unless its writes are refused.
MemoryRegistry::Node* MemoryRegistry::Writable(Key key) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || handle->second.second != KeyAccess::SetValue) return nullptr;
  const std::string& id = handle->second.first;
  for (const std::string& prefix : refused_) {
    if (id == prefix || id.rfind(prefix + "\\", 0) == 0) return nullptr;
  }
  return &keys_[id];
}

bool MemoryRegistry::Set(Key key, const std::string& name, std::uint32_t type, const std::string& data) {
  Node* node = Writable(key);
  if (!node) return false;
  node->values[Lower(name)] = {name, RegistryValue{type, data}};
  writes_.push_back(node->path + "\\" + name);
  return true;
}

DeleteResult MemoryRegistry::Delete(Key key, const std::string& name) {
  Node* node = Writable(key);
  if (!node) return DeleteResult::Failed;
  writes_.push_back(node->path + "\\" + name);
  return node->values.erase(Lower(name)) > 0 ? DeleteResult::Deleted : DeleteResult::NotFound;
}

void MemoryRegistry::CreateKey(RootKey root, const std::string& path) {
  // Every ancestor exists too, as in a real registry; each keeps its first spelling.
  for (std::size_t end = 0; end != std::string::npos && !path.empty();) {
    end = path.find('\\', end + 1);
    Node& node = keys_[KeyId(root, path.substr(0, end))];
    if (node.path.empty()) node.path = path.substr(0, end);
  }
}

void MemoryRegistry::Put(RootKey root, const std::string& path, const std::string& name,
                         std::uint32_t type, const std::string& data) {
  CreateKey(root, path);
  keys_[KeyId(root, path)].values[Lower(name)] = {name, RegistryValue{type, data}};
}

void MemoryRegistry::PutMulti(RootKey root, const std::string& path, const std::string& name,
                              const std::vector<std::string>& items) {
  std::string data;
  for (const std::string& item : items) data += item + '\0';
  Put(root, path, name, regtype::kMultiSz, data + '\0');
}

std::optional<RegistryValue> MemoryRegistry::Get(RootKey root, const std::string& path,
                                                 const std::string& name) const {
  const auto node = keys_.find(KeyId(root, path));
  if (node == keys_.end()) return std::nullopt;
  const auto value = node->second.values.find(Lower(name));
  if (value == node->second.values.end()) return std::nullopt;
  return value->second.second;
}

std::map<std::string, std::map<std::string, std::pair<std::string, RegistryValue>>>
MemoryRegistry::Contents() const {
  std::map<std::string, std::map<std::string, std::pair<std::string, RegistryValue>>> all;
  for (const auto& [id, node] : keys_) all[id] = node.values;
  return all;
}

}  // namespace netvane::testing
