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
  struct Write {
    std::string path;  // "KEY\\value" as given, for order checks
    bool deleted = false;
  };

  Key Open(RootKey root, const std::string& path, KeyAccess access) override;
  std::optional<RegistryValue> Query(Key key, const std::string& name) override;
  bool Set(Key key, const std::string& name, std::uint32_t type, const std::string& data) override;
  DeleteResult Delete(Key key, const std::string& name) override;
  void Close(Key key) override;
  std::vector<std::string> Subkeys(Key key) override;

  // Seeding and inspection for tests.
  void CreateKey(RootKey root, const std::string& path);
  void Put(RootKey root, const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& data);  // creates the key
  void PutText(RootKey root, const std::string& path, const std::string& name,
               const std::string& text);
  void PutNumber(RootKey root, const std::string& path, const std::string& name,
                 std::uint32_t number);
  void PutMulti(RootKey root, const std::string& path, const std::string& name,
                const std::vector<std::string>& items);
  std::optional<RegistryValue> Get(RootKey root, const std::string& path,
                                   const std::string& name) const;
  bool KeyExists(RootKey root, const std::string& path) const;
  // Every set or delete under the key or below it fails from now on.
  void RefuseWritesUnder(RootKey root, const std::string& path);
  int OpenKeyCount() const { return static_cast<int>(handles_.size()); }
  int OpenCalls() const { return openCalls_; }
  const std::vector<Write>& Writes() const { return writes_; }
  // Every key with its values' names, types and bytes: two equal results are equal registries.
  std::map<std::string, std::map<std::string, std::pair<std::string, RegistryValue>>> Contents() const {
    std::map<std::string, std::map<std::string, std::pair<std::string, RegistryValue>>> all;
    for (const auto& [id, node] : keys_)
      for (const auto& [lower, stored] : node.values) all[id][lower] = {stored.name, stored.value};
    return all;
  }
  void ClearWrites() { writes_.clear(); }

 private:
  struct StoredValue {
    std::string name;
    RegistryValue value;
  };
  struct Node {
    std::string path;                          // as first created
    std::map<std::string, StoredValue> values;  // by lower-case name
  };
  struct Handle {
    std::string keyId;
    KeyAccess access;
  };
  static std::optional<std::string> KeyId(RootKey root, const std::string& path);
  bool Refused(const std::string& keyId) const;

  std::map<std::string, Node> keys_;  // by lower-case "root\\path"
  std::map<Key, Handle> handles_;
  std::set<std::string> refused_;
  std::vector<Write> writes_;
  Key nextHandle_ = 1;
  int openCalls_ = 0;
};

}  // namespace netvane::testing
