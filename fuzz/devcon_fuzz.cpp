// devcon's command line and pattern matching: NUL-separated words, then a multi-string of ids.
#include <cstring>
#include <string>
#include <vector>

#include "tools/devcon/DevconMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace netvane::devcon;
  // Words up to the first empty one (two NULs in a row) are the command line; the rest of the
  // bytes, unterminated as a device may store them, are the ids.
  const char* bytes = reinterpret_cast<const char*>(data);
  std::vector<std::string> words;
  size_t at = 0;
  while (at < size && words.size() < 64) {
    const void* nul = std::memchr(bytes + at, '\0', size - at);
    const size_t end = nul ? static_cast<const char*>(nul) - bytes : size;
    if (end == at) {
      ++at;
      break;
    }
    words.emplace_back(bytes + at, end - at);
    at = end + 1;
  }
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  Arguments args;
  if (ParseArguments(static_cast<int>(argv.size()), argv.data(), &args) != ParseError::kNone) {
    return 0;
  }
  const std::vector<char> ids(bytes + (at < size ? at : size), bytes + size);  // exact size
  AnyIdMatches(args.patterns, args.patternCount, ids.data(), ids.size());
  for (int k = 0; k < args.patternCount; ++k) {
    // Every pattern matches itself once its stars are taken as literal text too.
    if (!MatchesHardwareIdPattern(args.patterns[k], args.patterns[k],
                                  std::strlen(args.patterns[k]))) {
      __builtin_trap();
    }
  }
  return 0;
}
