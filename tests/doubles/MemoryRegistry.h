#pragma once
// An in-memory registry: typed raw bytes, case-insensitive key paths and value names,
// Windows' access rules for query and set handles, and keys that can be told to refuse writes.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace netvane::testing {

class MemoryRegistry : public Registry {
 public:
  Key Open(RootKey root, const std::string& path, KeyAccess access) override;
  std::optional<RegistryValue> Query(Key key, const std::string& name) override;
  bool Set(Key key, const std::string& name, std::uint32_t type, const std::string& data) override;
  DeleteResult Delete(Key key, const std::string& name) override;
  void Close(Key key) override { handles_.erase(key); }
  std::vector<std::string> Subkeys(Key key) override;

  // Seeding and inspection for tests. Put creates the key and its ancestors.
  void CreateKey(RootKey root, const std::string& path);
  void Put(RootKey root, const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& data);
  void PutText(RootKey root, const std::string& path, const std::string& name, const std::string& text) {
    Put(root, path, name, regtype::kSz, text + '\0');
  }
  void PutNumber(RootKey root, const std::string& path, const std::string& name, std::uint32_t number) {
    Put(root, path, name, regtype::kDword, std::string(reinterpret_cast<const char*>(&number), 4));
  }
  void PutMulti(RootKey root, const std::string& path, const std::string& name,
                const std::vector<std::string>& items);
  std::optional<RegistryValue> Get(RootKey root, const std::string& path, const std::string& name) const;
  // Every set or delete under the key or below it fails from now on.
  void RefuseWritesUnder(RootKey root, const std::string& path) { refused_.insert(KeyId(root, path)); }
  int OpenKeyCount() const { return static_cast<int>(handles_.size()); }
  // Every key with its values' names, types and bytes: two equal results are equal registries.
  std::map<std::string, std::map<std::string, std::pair<std::string, RegistryValue>>> Contents() const;
  void ClearWrites() { writes_.clear(); }
  const std::vector<std::string>& Writes() const { return writes_; }  // "KEY\\value", in order

 private:
  struct Node {
    std::string path;                                                 // as first created
    std::map<std::string, std::pair<std::string, RegistryValue>> values;  // lower-case name
  };
  static std::string KeyId(RootKey root, const std::string& path);
  Node* Writable(Key key);

  std::map<std::string, Node> keys_;  // by lower-case "root\\path"
  std::map<Key, std::pair<std::string, KeyAccess>> handles_;
  std::set<std::string> refused_;
  std::vector<std::string> writes_;
  Key nextHandle_ = 1;
};

}  // namespace netvane::testing
