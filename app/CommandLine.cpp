#include "app/CommandLine.h"

#include <vector>

namespace netvane {
namespace {

// Words separated by blanks; double quotes group a word and are dropped.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

bool IsSwitch(std::string word, std::string_view name) {
  if (word.empty() || (word[0] != '/' && word[0] != '-')) return false;
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return std::string_view(word).substr(1) == name;
}

bool IsMachineNumber(std::string_view text) {
  return !text.empty() && text.size() <= 9 &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

CommandLine ParseCommandLine(std::string_view arguments) {
  const std::vector<std::string> words = Words(arguments);
  using Mode = CommandLine::Mode;
  if (words.empty()) return {};
  if (words.size() == 2 && IsSwitch(words[0], "number") && IsMachineNumber(words[1])) {
    return {Mode::Number, words[1]};
  }
  if (words.size() == 1 && IsSwitch(words[0], "auto")) return {Mode::Auto, ""};
  if (words.size() == 1 && IsSwitch(words[0], "undo")) return {Mode::Undo, ""};
  return {Mode::Invalid, ""};
}

}  // namespace netvane
