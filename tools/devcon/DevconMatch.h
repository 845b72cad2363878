#pragma once
// The portable half of devcon.exe: its command line and the hardware-id patterns. No Windows
// headers, so the native tests build it too.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace netvane::devcon {

enum class Command { kDisable, kEnable };

struct Arguments {
  Command command = Command::kDisable;
  std::optional<std::string> className;  // from "=net"; absent means every setup class
  std::vector<std::string> patterns;     // at least one, none empty
};

// The arguments after the program name: a command ("disable" or "enable", any case), an
// optional "=class", then one or more hardware-id patterns. Nothing on a bad command line,
// with the reason in `error` when given.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        std::string* error = nullptr);

// Whether `id` matches `pattern`, ignoring ASCII case; '*' stands for any run of characters.
bool MatchesHardwareIdPattern(std::string_view pattern, std::string_view id);

// Whether any of `ids` matches any of `patterns`.
bool AnyIdMatches(const std::vector<std::string>& patterns, const std::vector<std::string>& ids);

// The strings of a REG_MULTI_SZ buffer, stopping at the empty string that ends the list or at
// the end of the buffer, whichever comes first.
std::vector<std::string> SplitMultiString(const char* data, std::size_t size);

}  // namespace netvane::devcon
