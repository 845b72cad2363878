#include "tests/doubles/MemoryIniFile.h"

#include <cctype>
#include <optional>
#include <vector>

#include "base/Text.h"

namespace netvane::testing {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// "[name]" gives name; any other line gives nothing.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
  const auto close = trimmed.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(trimmed.substr(1, close - 1));
}

struct Entry {
  std::string key;
  std::string value;
};

std::optional<Entry> KeyLine(const std::string& line) {
  const auto equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return Entry{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

}  // namespace

std::string MemoryIniFile::ReadString(const std::string& path, const std::string& section,
                                      const std::string& key, const std::string& fallback) {
  const std::string* text = files_.Read(path);
  if (text == nullptr) return fallback;
  bool inSection = false;
  for (const std::string& line : Lines(*text)) {
    if (const auto name = SectionName(line)) {
      inSection = SameName(*name, section);
      continue;
    }
    if (!inSection) continue;
    const auto entry = KeyLine(line);
    if (!entry || !SameName(entry->key, key)) continue;
    std::string value = entry->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return fallback;
}

std::vector<std::string> MemoryIniFile::ReadSection(const std::string& path,
                                                    const std::string& section) {
  std::vector<std::string> result;
  bool inSection = false, seen = false;
  for (const std::string& line : Lines(files_.ReadWholeFile(path).value_or(""))) {
    if (const auto name = SectionName(line)) {
      if (seen) break;  // only the first section of the name
      inSection = seen = SameName(*name, section);
    } else if (const std::string trimmed = Trim(line); inSection && !trimmed.empty() && trimmed[0] != ';') {
      const auto entry = KeyLine(trimmed);
      result.push_back(entry ? entry->key + "=" + entry->value : trimmed);
    }
  }
  return result;
}

bool MemoryIniFile::WriteString(const std::string& path, const std::string& section,
                                const std::string& key, const std::string& value) {
  const std::string* existing = files_.Read(path);
  if (existing == nullptr && files_.Exists(path)) return false;  // a directory is in the way
  std::vector<std::string> lines = existing ? Lines(*existing) : std::vector<std::string>{};
  const std::string newLine = key + "=" + value;
  std::optional<std::size_t> sectionAt, lastInSection;
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (const auto name = SectionName(lines[i])) {
      if (sectionAt) break;
      if (SameName(*name, section)) sectionAt = lastInSection = i;
      continue;
    }
    if (!sectionAt) continue;
    if (const auto entry = KeyLine(lines[i])) {
      lastInSection = i;
      if (SameName(entry->key, key)) {
        lines[i] = newLine;
        done = true;
      }
    }
  }
  if (!done && sectionAt) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), newLine);
  } else if (!done) {
    lines.push_back("[" + section + "]");
    lines.push_back(newLine);
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return files_.Store(path, text);
}

}  // namespace netvane::testing
