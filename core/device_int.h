#pragma once
// The one conversion from floating point to integers: truncation toward zero, saturating at the
// int32 range, NaN to 0. No other float-to-int cast is allowed in the engine. Also the one
// saturating narrowing of whole numbers to int32.

#include <cmath>
#include <cstdint>
#include <limits>

namespace sx {

inline std::int32_t ToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// A whole number narrowed to int32, saturating at its range.
inline std::int32_t Saturate32(std::int64_t v) {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

inline std::int64_t ToInt64(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2233720368547748e18) return std::numeric_limits<std::int64_t>::max();
  if (v <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(v);
}

// Float value narrowed to f32 storage: values beyond the f32 range saturate to its largest
// finite magnitude instead of becoming infinite.
inline float ToFloat32(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (std::isnan(v)) return 0.0f;
  if (v > kMax) return std::numeric_limits<float>::max();
  if (v < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(v);
}

}  // namespace sx
