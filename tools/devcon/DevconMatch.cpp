#include "tools/devcon/DevconMatch.h"

namespace netvane::devcon {
namespace {

// Hardware ids are ASCII; bytes above 0x7F are compared as they are.
char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        std::string* error) {
  if (args.empty()) {
    SetError(error, "No command given.");
    return std::nullopt;
  }
  Arguments result;
  if (EqualsIgnoringCase(args[0], "disable")) {
    result.command = Command::kDisable;
  } else if (EqualsIgnoringCase(args[0], "enable")) {
    result.command = Command::kEnable;
  } else {
    SetError(error, "Unknown command '" + args[0] + "'.");
    return std::nullopt;
  }
  std::size_t next = 1;
  if (next < args.size() && !args[next].empty() && args[next][0] == '=') {
    if (args[next].size() == 1) {
      SetError(error, "No setup class after '='.");
      return std::nullopt;
    }
    result.className = args[next].substr(1);
    ++next;
  }
  if (next == args.size()) {
    SetError(error, "No hardware id pattern given.");
    return std::nullopt;
  }
  for (; next < args.size(); ++next) {
    if (args[next].empty()) {
      SetError(error, "Empty hardware id pattern.");
      return std::nullopt;
    }
    result.patterns.push_back(args[next]);
  }
  return result;
}

bool MatchesHardwareIdPattern(std::string_view pattern, std::string_view id) {
  // Greedy scan that backtracks only to the last '*': linear space, no recursion.
  std::size_t p = 0, i = 0;
  std::size_t starP = std::string_view::npos, starI = 0;
  while (i < id.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starI = i;
    } else if (p < pattern.size() && FoldCase(pattern[p]) == FoldCase(id[i])) {
      ++p;
      ++i;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      i = ++starI;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool AnyIdMatches(const std::vector<std::string>& patterns, const std::vector<std::string>& ids) {
  for (const std::string& id : ids) {
    for (const std::string& pattern : patterns) {
      if (MatchesHardwareIdPattern(pattern, id)) return true;
    }
  }
  return false;
}

std::vector<std::string> SplitMultiString(const char* data, std::size_t size) {
  std::vector<std::string> strings;
  std::size_t start = 0;
  while (start < size && data[start] != '\0') {
    std::size_t end = start;
    while (end < size && data[end] != '\0') ++end;
    strings.emplace_back(data + start, end - start);
    start = end + 1;
  }
  return strings;
}

}  // namespace netvane::devcon
