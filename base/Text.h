#pragma once
// Small text helpers shared by every subsystem. Texts are ANSI byte strings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace netvane {

inline constexpr std::string_view kCrLf = "\r\n";

// The leading whole number of a text, as a number box reads it: blanks skipped, an optional
// sign, then decimal digits up to the first other character. No number reads as 0; values
// beyond the 64-bit range stop at its ends.
std::int64_t IntegerValue(std::string_view text);

// The pieces of `text` between separators, in order. An empty text gives no piece and a
// separator that ends the text adds no empty piece. At most `maxCount` pieces are taken.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator,
                                   std::size_t maxCount = SIZE_MAX);

// `text` with leading and trailing spaces removed.
std::string TrimSpaces(std::string_view text);

// Whether the bytes at `at` and after it are one GBK character: a lead byte (81 to FE) and a
// second byte (40 to FE but 7F), which may be the code of a backslash or a bar.
bool GbkPairAt(std::string_view text, std::size_t at);

}  // namespace netvane
