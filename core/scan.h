#pragma once
// Reading whole numbers as the C library's "%d" conversion does, for every text file the program
// reads: leading white space, an optional sign, decimal digits up to the first other character.
// Unlike "%d", a number too large for its type saturates instead of overflowing.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sx {

// The C library's white space: blank, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Converts the number at text[pos...] and moves pos behind it. Its magnitude stops growing at
// 2^40, far beyond every field, so it saturates without coming near the int64 limits. False
// (pos and out unchanged) when no digit follows the white space and sign.
bool ScanInteger(std::string_view text, std::size_t& pos, std::int64_t& out);

// "%d" into an int32, saturating at its range. False (out unchanged) when there is no number.
bool ScanInt32(std::string_view text, std::int32_t& out);

}  // namespace sx
