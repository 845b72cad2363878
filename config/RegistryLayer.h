#pragma once
// Every registry read and write of the program. Reads never fail loudly: a missing key or
// value, or data of the wrong type or shape, reads as absent. Writes stay silent towards the
// operator but tell their caller whether they took effect.
#include <cstdint>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

#include "base/RegistryPaths.h"
#include "platform/Registry.h"

namespace netvane {

// One value as an apply means to leave it: set to `value`, or removed when there is none.
struct PlannedValue {
  RootKey root = RootKey::LocalMachine;
  std::string valuePath;
  std::optional<RegistryValue> value;
  bool counts = true;  // a write that fails makes the apply fail
  friend bool operator==(const PlannedValue&, const PlannedValue&) = default;
};

// What the registry holds at a value path now.
struct CurrentValue {
  bool keyExists = false;
  std::optional<RegistryValue> value;
};

// The data of a text (REG_SZ with its NUL), a number (REG_DWORD) and a list text (REG_MULTI_SZ).
RegistryValue TextValue(std::string_view text);
RegistryValue NumberValue(std::uint32_t number);
RegistryValue MultiStringValue(std::string_view listText);
// The number a REG_DWORD of four bytes holds; nothing for any other type or size.
std::optional<std::uint32_t> DwordOf(const RegistryValue& value);
// InterfaceMetric for a metric text: a number above 0, or nothing (the value is removed).
std::optional<RegistryValue> InterfaceMetricValue(std::string_view metricText);

// Values read through one open key: one open and one close however many values are read.
// Each read means what the layer's read of the same value path means.
class KeyReader {
 public:
  KeyReader(Registry& registry, RootKey root, std::string_view keyPath);
  // As RegistryLayer::ReadRegistryText, ReadRegistryNumber and ReadMultiString of a value of
  // this key.
  std::string Text(std::string_view name);
  std::int32_t Number(std::string_view name, std::int32_t fallback = 0);
  std::string MultiString(std::string_view name);

 private:
  std::optional<RegistryValue> Query(std::string_view name);
  Registry& registry_;
  ScopedKey key_;
};

class RegistryLayer {
 public:
  explicit RegistryLayer(Registry& registry) : registry_(registry) {}

  // A text value (REG_SZ or REG_EXPAND_SZ, unexpanded) up to its first NUL; empty when absent.
  std::string ReadRegistryText(RootKey root, std::string_view valuePath);
  // A REG_DWORD value; `fallback` when absent or not a well-formed number.
  std::int32_t ReadRegistryNumber(RootKey root, std::string_view valuePath,
                                  std::int32_t fallback = 0);
  // Stores a text as REG_SZ under an existing key.
  bool WriteRegistryValue(RootKey root, std::string_view valuePath, std::string_view text);
  // Stores a number as REG_DWORD under an existing key.
  bool WriteRegistryValue(RootKey root, std::string_view valuePath, std::uint32_t number);
  // Removes a value; a value that is already absent counts as removed.
  bool DeleteRegistryValue(RootKey root, std::string_view valuePath);
  // The names of the key's direct subkeys; none when the key cannot be opened.
  std::vector<std::string> SubkeyNames(RootKey root, std::string_view keyPath);
  // True when the value exists, whatever its type.
  bool RegistryValueExists(RootKey root, std::string_view valuePath);
  // A multi-string (or text) value under HKEY_LOCAL_MACHINE as its items joined by CR LF.
  std::string ReadMultiString(std::string_view keyPath, std::string_view valueName);
  // Stores a list text (items separated by CR LF) as REG_MULTI_SZ; never creates the key.
  bool WriteMultiString(std::string_view keyPath, std::string_view valueName,
                        std::string_view listText);
  // Writes the adapter's InterfaceMetric, or removes it when the text holds no number above 0.
  bool WriteInterfaceMetric(std::string_view instanceId, std::string_view metricText);
  // Opens a key for reading several of its values; every read is absent when it cannot be opened.
  KeyReader OpenForReading(RootKey root, std::string_view keyPath);
  // Whether the value's key exists, and the value's type and bytes if it does.
  CurrentValue ReadCurrent(RootKey root, std::string_view valuePath);
  // Sets or removes the value as planned, under an existing key only.
  bool Store(const PlannedValue& planned);

 private:
  std::optional<RegistryValue> QueryValue(RootKey root, std::string_view keyPath,
                                          std::string_view valueName);
  bool SetValue(RootKey root, std::string_view valuePath, const RegistryValue& value);

  Registry& registry_;
};

// The REG_MULTI_SZ data block for a list text: every CR LF becomes one NUL, then two NULs.
std::string MultiStringData(std::string_view listText);
// The list text for REG_MULTI_SZ data: its strings joined by CR LF, trailing empty ones dropped.
std::string ListTextFromMultiString(std::string_view data);

}  // namespace netvane
