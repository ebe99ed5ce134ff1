#pragma once
// A plain reading of one data cell through the C library's sscanf("%f"), against which the fast
// ParseNumericCell is compared by the differential test and the fuzzer. It is meant to be
// obviously right, not fast. It assumes the "C" locale (tests and fuzzers never change it).

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "core/text_convert.h"
#include "core/utf8.h"

namespace sx::testing {

inline int ReferenceParseNumericCell(std::string_view cell, float& value, std::int32_t& flag) {
  std::string s(cell.substr(0, cell.find('\t')));
  if (s.empty() || Utf8Length(s) > 80) return kCellNotNumber;
  if (const std::size_t k = s.find("\xC3\xB8"); k != std::string::npos) s.replace(k, 2, " ");
  if (const std::size_t k = s.find(','); k != std::string::npos) s[k] = '.';

  float f = 0.0f;
  std::int32_t code = 1;
  if (std::sscanf(s.c_str(), "%f", &f) != 1) {
    // A quality code is the first character, the number follows it.
    const std::size_t k = std::string_view("/*?#><").find(s[0]);
    code = k == std::string_view::npos ? -1 : static_cast<std::int32_t>(k) + 2;
    if (code < 0 || std::sscanf(s.c_str() + 1, "%f", &f) != 1) {
      flag = code;
      return kCellNotNumber;
    }
  }
  if (!std::isfinite(f)) return kCellNotFinite;
  value = f;
  flag = code;
  return kCellNumber;
}

// Outcome of one reading, for exact comparison (the value by its bits).
struct CellReading {
  int result;
  std::int32_t flag;
  std::uint32_t valueBits;

  bool operator==(const CellReading&) const = default;
};

inline constexpr float kUntouchedValue = -12345.678f;
inline constexpr std::int32_t kUntouchedFlag = 99;

template <typename Parse>
CellReading ReadCell(Parse parse, std::string_view cell) {
  float value = kUntouchedValue;
  std::int32_t flag = kUntouchedFlag;
  CellReading reading{};
  reading.result = parse(cell, value, flag);
  reading.flag = flag;
  std::memcpy(&reading.valueBits, &value, sizeof value);
  return reading;
}

inline CellReading ReadCellFast(std::string_view cell) {
  return ReadCell(ParseNumericCell, cell);
}

inline CellReading ReadCellReference(std::string_view cell) {
  return ReadCell(ReferenceParseNumericCell, cell);
}

}  // namespace sx::testing
