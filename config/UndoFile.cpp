#include "config/UndoFile.h"

#include <cstdio>

#include "base/Text.h"

namespace netvane {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";

// regedit turns each line into characters before it reads the escapes, so the second byte of a
// GBK character is no backslash to it.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (GbkPairAt(text, i)) {
      quoted += text.substr(i++, 2);
      continue;
    }
    if (text[i] == '\\' || text[i] == '"') quoted += '\\';
    quoted += text[i];
  }
  return quoted + '"';
}

std::string Hex(std::string_view bytes) {
  std::string hex;
  char pair[4];
  for (char c : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(c));
    if (!hex.empty()) hex += ',';
    hex += pair;
  }
  return hex;
}

std::string Data(const RegistryValue& value) {
  if (value.type == regtype::kSz) {
    const std::string text = value.data.substr(0, value.data.find('\0'));
    // A line break would end the line, and a quoted text has no escape for it: as bytes then.
    if (text.find_first_of("\r\n") == std::string::npos) return Quoted(text);
  }
  if (const auto number = DwordOf(value)) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(*number));
    return digits;
  }
  if (value.type == regtype::kBinary) return "hex:" + Hex(value.data);
  char type[24];  // hex(b): the type in hexadecimal too, as the reading takes it
  std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.type));
  return type + Hex(value.data);
}

struct Split {
  std::string key;
  std::string name;
};
Split SplitPath(std::string_view valuePath) {
  const std::size_t at = valuePath.rfind('\\');
  if (at == std::string_view::npos) return {"", std::string(valuePath)};
  return {std::string(valuePath.substr(0, at)), std::string(valuePath.substr(at + 1))};
}

std::string SectionOf(const PlannedValue& value) {
  return std::string(value.root == RootKey::CurrentUser ? kCurrentUser : kLocalMachine) + "\\" +
         SplitPath(value.valuePath).key;
}

// Reads a quoted text at the start of `rest` and moves past it.
std::optional<std::string> TakeQuoted(std::string_view& rest) {
  if (rest.empty() || rest.front() != '"') return std::nullopt;
  std::string text;
  for (std::size_t i = 1; i < rest.size(); ++i) {
    if (GbkPairAt(rest, i)) {
      text += rest.substr(i++, 2);
    } else if (rest[i] == '\\' && i + 1 < rest.size()) {
      text += rest[++i];
    } else if (rest[i] == '"') {
      rest.remove_prefix(i + 1);
      return text;
    } else {
      text += rest[i];
    }
  }
  return std::nullopt;
}

std::optional<std::uint32_t> HexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t number = 0;
  for (char c : digits) {
    const int d = c >= '0' && c <= '9' ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) return std::nullopt;
    number = number << 4 | static_cast<std::uint32_t>(d);
  }
  return number;
}

// The right-hand side of a value line: -, "text", dword:xxxxxxxx, hex:.. or hex(N):..
std::optional<std::optional<RegistryValue>> ParseData(std::string_view data) {
  if (data == "-") return std::optional<RegistryValue>();
  if (!data.empty() && data.front() == '"') {
    auto text = TakeQuoted(data);
    if (!text || !data.empty()) return std::nullopt;
    return std::optional<RegistryValue>(TextValue(*text));
  }
  if (data.substr(0, 6) == "dword:") {
    const auto number = HexNumber(data.substr(6));
    if (!number) return std::nullopt;
    return std::optional<RegistryValue>(NumberValue(*number));
  }
  std::uint32_t type = regtype::kBinary;
  if (data.substr(0, 4) == "hex(") {
    const std::size_t close = data.find("):");
    const auto parsed = close == std::string_view::npos ? std::nullopt : HexNumber(data.substr(4, close - 4));
    if (!parsed) return std::nullopt;
    type = *parsed;
    data.remove_prefix(close + 2);
  } else if (data.substr(0, 4) == "hex:") {
    data.remove_prefix(4);
  } else {
    return std::nullopt;
  }
  RegistryValue value{type, {}};
  while (!data.empty()) {
    const auto byte = data.size() < 2 ? std::nullopt : HexNumber(data.substr(0, 2));
    if (!byte || (data.size() > 2 && data[2] != ',')) return std::nullopt;
    value.data += static_cast<char>(*byte);
    data.remove_prefix(data.size() > 2 ? 3 : 2);
  }
  return std::optional<RegistryValue>(value);
}

}  // namespace

std::string RenderUndoFile(const std::vector<PlannedValue>& previous) {
  std::string text = std::string(kHeader) + "\r\n";
  std::string section;
  for (const PlannedValue& value : previous) {
    if (SectionOf(value) != section) {
      section = SectionOf(value);
      text += "\r\n[" + section + "]\r\n";
    }
    text += Quoted(SplitPath(value.valuePath).name) + "=" + (value.value ? Data(*value.value) : "-") + "\r\n";
  }
  return text;
}

std::optional<std::vector<PlannedValue>> ParseUndoFile(std::string_view text) {
  std::vector<PlannedValue> values;
  std::optional<PlannedValue> section;  // root and key path of the current section
  bool headerSeen = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!headerSeen) {
      if (line != kHeader) return std::nullopt;
      headerSeen = true;
    } else if (line.empty() || line.front() == ';') {
      continue;
    } else if (line.front() == '[' && line.back() == ']') {
      const std::string_view path = line.substr(1, line.size() - 2);
      const std::size_t slash = path.find('\\');
      const std::string_view root = path.substr(0, slash);
      if (slash == std::string_view::npos || (root != kLocalMachine && root != kCurrentUser)) {
        return std::nullopt;
      }
      section = PlannedValue{root == kCurrentUser ? RootKey::CurrentUser : RootKey::LocalMachine,
                             std::string(path.substr(slash + 1)) + "\\", std::nullopt};
    } else {
      std::string_view rest = line;
      const auto name = TakeQuoted(rest);
      if (!section || !name || rest.empty() || rest.front() != '=') return std::nullopt;
      const auto data = ParseData(rest.substr(1));
      if (!data) return std::nullopt;
      values.push_back({section->root, section->valuePath + *name, *data});
    }
  }
  if (!headerSeen) return std::nullopt;
  return values;
}

}  // namespace netvane
