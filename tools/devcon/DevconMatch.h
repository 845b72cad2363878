#pragma once
// The portable half of devcon.exe: its command line and the hardware-id patterns. No Windows
// headers and no containers, so the native tests build it and the tool stays small.
#include <cstddef>

namespace netvane::devcon {

enum class Command { kDisable, kEnable };

// What is wrong with a command line; kNone for one that parsed.
enum class ParseError { kNone, kNoCommand, kUnknownCommand, kNoClass, kNoPattern, kEmptyPattern };

// A parsed command line. The texts point into the words it was parsed from.
struct Arguments {
  Command command = Command::kDisable;
  const char* className = nullptr;  // from "=net", without the '='; null means every class
  const char* const* patterns = nullptr;  // at least one, none empty
  int patternCount = 0;
};

// The words after the program name: a command ("disable" or "enable", any case), an optional
// "=class", then one or more hardware-id patterns. `args` is filled only when all is well.
ParseError ParseArguments(int count, const char* const* words, Arguments* args);

// The reason for a parse error, as one sentence (the unknown command's word is not in it).
const char* ParseErrorText(ParseError error);

// Whether the first `idLength` bytes of `id` match the NUL-terminated `pattern`, ignoring ASCII
// case; '*' stands for any run of characters.
bool MatchesHardwareIdPattern(const char* pattern, const char* id, std::size_t idLength);

// Whether any string of the REG_MULTI_SZ buffer `ids` (`size` bytes, maybe unterminated)
// matches any of the patterns. The list ends at its empty string or at the buffer's end.
bool AnyIdMatches(const char* const* patterns, int patternCount, const char* ids,
                  std::size_t size);

}  // namespace netvane::devcon
