#pragma once
// The registry seam: the four ANSI registry calls the program needs, no more.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <utility>

namespace netvane {

enum class RootKey { LocalMachine, CurrentUser };
enum class KeyAccess { QueryValue, SetValue, Enumerate };

// Registry value types, numbered as Windows numbers them.
namespace regtype {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kMultiSz = 7;
}  // namespace regtype

// A value as the registry holds it: its type and its raw bytes.
struct RegistryValue {
  std::uint32_t type = regtype::kNone;
  std::string data;
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

enum class DeleteResult { Deleted, NotFound, Failed };

class Registry {
 public:
  using Key = std::uintptr_t;  // 0 means "no key"
  virtual ~Registry() = default;
  // Opens an existing key; never creates one. Returns 0 when it cannot be opened.
  virtual Key Open(RootKey root, const std::string& path, KeyAccess access) = 0;
  // Type and bytes of a value, or nothing when it is absent or unreadable.
  virtual std::optional<RegistryValue> Query(Key key, const std::string& name) = 0;
  // Stores a value with the given type and bytes; false when refused.
  virtual bool Set(Key key, const std::string& name, std::uint32_t type,
                   const std::string& data) = 0;
  virtual DeleteResult Delete(Key key, const std::string& name) = 0;
  // The names of the key's direct subkeys (a key opened to enumerate), in the registry's order.
  virtual std::vector<std::string> Subkeys(Key key) = 0;
  virtual void Close(Key key) = 0;
};

// Move-only owner of an open key: the key is closed exactly once.
class ScopedKey {
 public:
  ScopedKey(Registry& registry, Registry::Key key) : registry_(&registry), key_(key) {}
  ScopedKey(ScopedKey&& other) noexcept
      : registry_(other.registry_), key_(std::exchange(other.key_, 0)) {}
  ScopedKey& operator=(ScopedKey&&) = delete;
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  ~ScopedKey() {
    if (key_ != 0) registry_->Close(key_);
  }
  explicit operator bool() const { return key_ != 0; }
  Registry::Key get() const { return key_; }

 private:
  Registry* registry_;
  Registry::Key key_;
};

}  // namespace netvane
