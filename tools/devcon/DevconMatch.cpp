#include "tools/devcon/DevconMatch.h"

namespace netvane::devcon {
namespace {

// Hardware ids are ASCII; bytes above 0x7F are compared as they are.
char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (FoldCase(*a) != FoldCase(*b)) return false;
  }
  return *a == *b;
}

}  // namespace

ParseError ParseArguments(int count, const char* const* words, Arguments* args) {
  if (count < 1) return ParseError::kNoCommand;
  Arguments result;
  if (EqualsIgnoringCase(words[0], "disable")) {
    result.command = Command::kDisable;
  } else if (EqualsIgnoringCase(words[0], "enable")) {
    result.command = Command::kEnable;
  } else {
    return ParseError::kUnknownCommand;
  }
  int next = 1;
  if (next < count && words[next][0] == '=') {
    if (words[next][1] == '\0') return ParseError::kNoClass;
    result.className = words[next] + 1;
    ++next;
  }
  if (next == count) return ParseError::kNoPattern;
  for (int i = next; i < count; ++i) {
    if (words[i][0] == '\0') return ParseError::kEmptyPattern;
  }
  result.patterns = words + next;
  result.patternCount = count - next;
  *args = result;
  return ParseError::kNone;
}

const char* ParseErrorText(ParseError error) {
  switch (error) {
    case ParseError::kNone: return "";
    case ParseError::kNoCommand: return "No command given.";
    case ParseError::kUnknownCommand: return "Unknown command.";
    case ParseError::kNoClass: return "No setup class after '='.";
    case ParseError::kNoPattern: return "No hardware id pattern given.";
    case ParseError::kEmptyPattern: return "Empty hardware id pattern.";
  }
  return "";
}

bool MatchesHardwareIdPattern(const char* pattern, const char* id, std::size_t idLength) {
  // Greedy scan that backtracks only to the last '*': no recursion, linear space.
  const char* p = pattern;
  const char* starP = nullptr;
  std::size_t i = 0, starI = 0;
  while (i < idLength) {
    if (*p == '*') {
      starP = p++;
      starI = i;
    } else if (*p != '\0' && FoldCase(*p) == FoldCase(id[i])) {
      ++p;
      ++i;
    } else if (starP != nullptr) {
      p = starP + 1;
      i = ++starI;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

bool AnyIdMatches(const char* const* patterns, int patternCount, const char* ids,
                  std::size_t size) {
  std::size_t start = 0;
  while (start < size && ids[start] != '\0') {
    std::size_t end = start;
    while (end < size && ids[end] != '\0') ++end;
    for (int k = 0; k < patternCount; ++k) {
      if (MatchesHardwareIdPattern(patterns[k], ids + start, end - start)) return true;
    }
    start = end + 1;
  }
  return false;
}

}  // namespace netvane::devcon
