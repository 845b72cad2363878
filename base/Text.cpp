#include "base/Text.h"

#include <limits>

namespace netvane {

std::int64_t IntegerValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (value > (kMax - digit) / 10) return negative ? std::numeric_limits<std::int64_t>::min() : kMax;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator,
                                   std::size_t maxCount) {
  std::vector<std::string> pieces;
  if (separator.empty()) {
    if (!text.empty() && maxCount > 0) pieces.emplace_back(text);
    return pieces;
  }
  std::size_t start = 0;
  while (start < text.size() && pieces.size() < maxCount) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      break;
    }
    pieces.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  return pieces;
}

std::string TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool GbkPairAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
  return lead >= 0x81 && lead <= 0xFE && next >= 0x40 && next <= 0xFE && next != 0x7F;
}

}  // namespace netvane
