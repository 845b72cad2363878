#include "config/RegistryLayer.h"

#include "base/Text.h"

namespace netvane {
namespace {

struct ValuePath {
  std::string key;
  std::string name;
};

// The part after the last backslash names the value; the part before it names the key.
ValuePath SplitValuePath(std::string_view valuePath) {
  const std::size_t at = valuePath.rfind('\\');
  if (at == std::string_view::npos) return {std::string(), std::string(valuePath)};
  return {std::string(valuePath.substr(0, at)), std::string(valuePath.substr(at + 1))};
}

bool IsTextType(std::uint32_t type) { return type == regtype::kSz || type == regtype::kExpandSz; }

// What each kind of read makes of a value as the registry holds it (or of its absence).
std::string TextOf(const std::optional<RegistryValue>& value) {
  if (!value || !IsTextType(value->type)) return {};
  const std::size_t end = value->data.find('\0');
  return value->data.substr(0, end);
}

std::int32_t NumberOf(const std::optional<RegistryValue>& value, std::int32_t fallback) {
  const auto number = value ? DwordOf(*value) : std::nullopt;
  return number ? static_cast<std::int32_t>(*number) : fallback;
}

std::string MultiStringOf(const std::optional<RegistryValue>& value) {
  if (!value) return {};
  if (value->type != regtype::kMultiSz && !IsTextType(value->type)) return {};
  return ListTextFromMultiString(value->data);
}

}  // namespace

RegistryValue TextValue(std::string_view text) {
  std::string data(text);
  data.push_back('\0');  // REG_SZ data carries its terminating NUL
  return {regtype::kSz, data};
}

std::optional<std::uint32_t> DwordOf(const RegistryValue& value) {
  if (value.type != regtype::kDword || value.data.size() != 4) return std::nullopt;
  std::uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
  return number;
}

RegistryValue NumberValue(std::uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return {regtype::kDword, bytes};
}

RegistryValue MultiStringValue(std::string_view listText) {
  return {regtype::kMultiSz, MultiStringData(listText)};
}

std::optional<RegistryValue> InterfaceMetricValue(std::string_view metricText) {
  const std::int64_t metric = IntegerValue(metricText);
  if (metric <= 0) return std::nullopt;
  return NumberValue(metric > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<std::uint32_t>(metric));
}

std::string MultiStringData(std::string_view listText) {
  std::string block;
  block.reserve(listText.size() + 2);
  for (std::size_t i = 0; i < listText.size(); ++i) {
    if (listText[i] == '\r' && i + 1 < listText.size() && listText[i + 1] == '\n') {
      block.push_back('\0');
      ++i;
    } else {
      block.push_back(listText[i]);
    }
  }
  block.append(2, '\0');
  return block;
}

std::string ListTextFromMultiString(std::string_view data) {
  std::string text;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\0', start);
    if (end == std::string_view::npos) end = data.size();  // last string without its NUL
    if (start > 0) text.append(kCrLf);
    text.append(data.substr(start, end - start));
    start = end + 1;
  }
  // Empty items keep their place (an address without its mask stays paired with the next
  // one); only the empty strings that end the list go.
  while (text.size() >= kCrLf.size() && text.ends_with(kCrLf)) text.resize(text.size() - kCrLf.size());
  return text;
}

std::optional<RegistryValue> RegistryLayer::QueryValue(RootKey root, std::string_view keyPath,
                                                       std::string_view valueName) {
  ScopedKey key(registry_, registry_.Open(root, std::string(keyPath), KeyAccess::QueryValue));
  if (!key) return std::nullopt;
  return registry_.Query(key.get(), std::string(valueName));
}

bool RegistryLayer::SetValue(RootKey root, std::string_view valuePath, const RegistryValue& value) {
  const ValuePath path = SplitValuePath(valuePath);
  ScopedKey key(registry_, registry_.Open(root, path.key, KeyAccess::SetValue));
  if (!key) return false;
  return registry_.Set(key.get(), path.name, value.type, value.data);
}

CurrentValue RegistryLayer::ReadCurrent(RootKey root, std::string_view valuePath) {
  const ValuePath path = SplitValuePath(valuePath);
  ScopedKey key(registry_, registry_.Open(root, path.key, KeyAccess::QueryValue));
  if (!key) return {};
  return {true, registry_.Query(key.get(), path.name)};
}

bool RegistryLayer::Store(const PlannedValue& planned) {
  if (planned.value) return SetValue(planned.root, planned.valuePath, *planned.value);
  return DeleteRegistryValue(planned.root, planned.valuePath);
}

std::string RegistryLayer::ReadRegistryText(RootKey root, std::string_view valuePath) {
  const ValuePath path = SplitValuePath(valuePath);
  return TextOf(QueryValue(root, path.key, path.name));
}

std::int32_t RegistryLayer::ReadRegistryNumber(RootKey root, std::string_view valuePath,
                                               std::int32_t fallback) {
  const ValuePath path = SplitValuePath(valuePath);
  return NumberOf(QueryValue(root, path.key, path.name), fallback);
}

bool RegistryLayer::WriteRegistryValue(RootKey root, std::string_view valuePath,
                                       std::string_view text) {
  return SetValue(root, valuePath, TextValue(text));
}

bool RegistryLayer::WriteRegistryValue(RootKey root, std::string_view valuePath,
                                       std::uint32_t number) {
  return SetValue(root, valuePath, NumberValue(number));
}

bool RegistryLayer::DeleteRegistryValue(RootKey root, std::string_view valuePath) {
  const ValuePath path = SplitValuePath(valuePath);
  ScopedKey key(registry_, registry_.Open(root, path.key, KeyAccess::SetValue));
  if (!key) return false;
  return registry_.Delete(key.get(), path.name) != DeleteResult::Failed;
}

std::vector<std::string> RegistryLayer::SubkeyNames(RootKey root, std::string_view keyPath) {
  ScopedKey key(registry_, registry_.Open(root, std::string(keyPath), KeyAccess::Enumerate));
  return key ? registry_.Subkeys(key.get()) : std::vector<std::string>{};
}

bool RegistryLayer::RegistryValueExists(RootKey root, std::string_view valuePath) {
  const ValuePath path = SplitValuePath(valuePath);
  return QueryValue(root, path.key, path.name).has_value();
}

std::string RegistryLayer::ReadMultiString(std::string_view keyPath, std::string_view valueName) {
  return MultiStringOf(QueryValue(RootKey::LocalMachine, keyPath, valueName));
}

KeyReader RegistryLayer::OpenForReading(RootKey root, std::string_view keyPath) {
  return KeyReader(registry_, root, keyPath);
}

KeyReader::KeyReader(Registry& registry, RootKey root, std::string_view keyPath)
    : registry_(registry),
      key_(registry, registry.Open(root, std::string(keyPath), KeyAccess::QueryValue)) {}

std::optional<RegistryValue> KeyReader::Query(std::string_view name) {
  if (!key_) return std::nullopt;
  return registry_.Query(key_.get(), std::string(name));
}

std::string KeyReader::Text(std::string_view name) { return TextOf(Query(name)); }

std::int32_t KeyReader::Number(std::string_view name, std::int32_t fallback) {
  return NumberOf(Query(name), fallback);
}

std::string KeyReader::MultiString(std::string_view name) { return MultiStringOf(Query(name)); }

bool RegistryLayer::WriteMultiString(std::string_view keyPath, std::string_view valueName,
                                     std::string_view listText) {
  ScopedKey key(registry_,
                registry_.Open(RootKey::LocalMachine, std::string(keyPath), KeyAccess::SetValue));
  if (!key) return false;
  return registry_.Set(key.get(), std::string(valueName), regtype::kMultiSz,
                       MultiStringData(listText));
}

bool RegistryLayer::WriteInterfaceMetric(std::string_view instanceId,
                                         std::string_view metricText) {
  std::string valuePath(kTcpipInterfacesKey);
  valuePath.append(instanceId).append("\\InterfaceMetric");
  return Store({RootKey::LocalMachine, valuePath, InterfaceMetricValue(metricText)});
}

}  // namespace netvane
