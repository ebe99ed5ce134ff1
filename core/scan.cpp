#include "core/scan.h"

#include "core/device_int.h"

namespace sx {

bool ScanInteger(std::string_view text, std::size_t& pos, std::int64_t& out) {
  std::size_t i = pos;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  constexpr std::int64_t kCap = std::int64_t{1} << 40;
  std::int64_t magnitude = 0;
  const std::size_t firstDigit = i;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (magnitude < kCap) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (i == firstDigit) return false;
  out = negative ? -magnitude : magnitude;
  pos = i;
  return true;
}

bool ScanInt32(std::string_view text, std::int32_t& out) {
  std::size_t pos = 0;
  std::int64_t v = 0;
  if (!ScanInteger(text, pos, v)) return false;
  out = Saturate32(v);
  return true;
}

}  // namespace sx
