#include "tests/doubles/MemoryIniFile.h"

#include <cctype>
#include <optional>
#include <vector>

namespace netvane::testing {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r')));
  }
  return lines;
}

// "[name]" gives name; any other line gives nothing.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = Trim(line);
  const auto close = trimmed.find(']');
  if (trimmed.size() < 2 || trimmed[0] != '[' || close == std::string::npos) return std::nullopt;
  return Trim(trimmed.substr(1, close - 1));
}

// "key = value" gives {key, value}, trimmed; a line without '=' gives nothing.
std::optional<std::pair<std::string, std::string>> KeyLine(const std::string& line) {
  const auto equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return std::pair{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// The lines [first, end) of the first section of that name, or nothing.
std::optional<std::pair<std::size_t, std::size_t>> Section(const std::vector<std::string>& lines,
                                                           const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i]);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return std::pair{i + 1, end};
  }
  return std::nullopt;
}

}  // namespace

std::string MemoryIniFile::ReadString(const std::string& path, const std::string& section,
                                      const std::string& key, const std::string& fallback) {
  const auto lines = Lines(files_.ReadWholeFile(path).value_or(""));
  const auto range = Section(lines, section);
  for (std::size_t i = range ? range->first : 0; range && i < range->second; ++i) {
    const auto entry = KeyLine(lines[i]);
    if (!entry || !SameName(entry->first, key)) continue;
    const std::string& value = entry->second;
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    return quoted ? value.substr(1, value.size() - 2) : value;
  }
  return fallback;
}

std::vector<std::string> MemoryIniFile::ReadSection(const std::string& path, const std::string& section) {
  std::vector<std::string> result;
  const auto lines = Lines(files_.ReadWholeFile(path).value_or(""));
  const auto range = Section(lines, section);
  for (std::size_t i = range ? range->first : 0; range && i < range->second; ++i) {
    const std::string trimmed = Trim(lines[i]);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    const auto entry = KeyLine(trimmed);
    result.push_back(entry ? entry->first + "=" + entry->second : trimmed);
  }
  return result;
}

bool MemoryIniFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                const std::string& value) {
  const std::optional<std::string> existing = files_.ReadWholeFile(path);
  if (!existing && files_.Exists(path)) return false;  // a directory is in the way
  std::vector<std::string> lines = Lines(existing.value_or(""));
  const std::string newLine = key + "=" + value;
  if (const auto range = Section(lines, section)) {
    std::size_t after = range->first;  // after the section's last entry
    for (std::size_t i = range->first; i < range->second; ++i) {
      const auto entry = KeyLine(lines[i]);
      if (entry && SameName(entry->first, key)) {
        lines[i] = newLine;
        after = 0;
        break;
      }
      if (entry) after = i + 1;
    }
    if (after) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), newLine);
  } else {
    lines.insert(lines.end(), {"[" + section + "]", newLine});
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return files_.Store(path, text);
}

}  // namespace netvane::testing
