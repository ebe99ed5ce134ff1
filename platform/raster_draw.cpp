#include "platform/raster_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sx {
namespace {

// dst + (src - dst) * c / 255 on all four channels, two at a time; c in 0..255. Each lane holds
// at most 255 * 255, so nothing spills into the next.
inline std::uint32_t Interpolate(std::uint32_t src, std::uint32_t dst, std::uint32_t c) {
  const std::uint32_t ic = 255u - c;
  std::uint32_t rb = (src & 0x00FF00FFu) * c + (dst & 0x00FF00FFu) * ic;
  std::uint32_t ag = ((src >> 8) & 0x00FF00FFu) * c + ((dst >> 8) & 0x00FF00FFu) * ic;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
  return rb | ag;
}

// Premultiplied src over dst.
inline std::uint32_t Over(std::uint32_t src, std::uint32_t dst) {
  const std::uint32_t ia = 255u - (src >> 24);
  if (ia == 0) return src;
  std::uint32_t rb = (dst & 0x00FF00FFu) * ia;
  std::uint32_t ag = ((dst >> 8) & 0x00FF00FFu) * ia;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
  return src + (rb | ag);
}

// Premultiplied src over dst for n pixels; four at a time where the processor has the vector
// instructions (the same arithmetic as Over, lane by lane).
void OverRow(const std::uint32_t* src, std::uint32_t* dst, std::int64_t n) {
  std::int64_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi32(255);
  const __m128i half = _mm_set1_epi16(128);
  const auto scale = [&](__m128i d16, __m128i ia16) {
    const __m128i x = _mm_mullo_epi16(d16, ia16);  // at most 255 * 255 per lane
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), half), 8);
  };
  for (; i + 4 <= n; i += 4) {
    __m128i s, d;
    std::memcpy(&s, src + i, sizeof s);
    std::memcpy(&d, dst + i, sizeof d);
    const __m128i ia = _mm_sub_epi32(full, _mm_srli_epi32(s, 24));
    const __m128i pair = _mm_or_si128(ia, _mm_slli_epi32(ia, 16));  // ia in both halves
    const __m128i lo = scale(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi32(pair, pair));
    const __m128i hi = scale(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi32(pair, pair));
    const __m128i out = _mm_add_epi8(s, _mm_packus_epi16(lo, hi));
    std::memcpy(dst + i, &out, sizeof out);
  }
#endif
  for (; i < n; ++i) {
    if (src[i] != 0) dst[i] = Over(src[i], dst[i]);
  }
}

class Canvas {
 public:
  Canvas(const RasterTarget& t, std::uint32_t color) : t_(t), color_(color) {}

  std::int64_t width() const { return t_.width; }
  std::int64_t height() const { return t_.height; }

  void Plot(std::int64_t x, std::int64_t y, std::uint32_t coverage) {
    if (coverage == 0 || x < 0 || y < 0 || x >= t_.width || y >= t_.height) return;
    std::uint32_t& p = t_.pixels[y * t_.stride + x];
    p = coverage >= 255 ? color_ : Interpolate(color_, p, coverage);
  }

  // Pixels x0..x1 of row y (or y0..y1 of column x), fully covered.
  void Row(std::int64_t y, std::int64_t x0, std::int64_t x1) {
    if (y < 0 || y >= t_.height) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, t_.width - 1);
    if (x0 > x1) return;
    std::fill(t_.pixels + y * t_.stride + x0, t_.pixels + y * t_.stride + x1 + 1, color_);
  }
  void Column(std::int64_t x, std::int64_t y0, std::int64_t y1) {
    if (x < 0 || x >= t_.width) return;
    y0 = std::max<std::int64_t>(y0, 0);
    y1 = std::min<std::int64_t>(y1, t_.height - 1);
    for (std::int64_t y = y0; y <= y1; ++y) t_.pixels[y * t_.stride + x] = color_;
  }

 private:
  const RasterTarget& t_;
  std::uint32_t color_;
};

// A slanted step from (a0, b0) to (a1, b1) along its major axis a (x, or y when Transposed),
// with |b1 - b0| <= |a1 - a0|: each a gets the two pixels nearest the exact line, shared in
// proportion. The b position runs in 32.32 fixed point; over the longest stretch a buffer
// allows, its error stays far below one level of coverage.
template <bool Transposed>
void Slanted(Canvas& canvas, std::int64_t a0, std::int64_t b0, std::int64_t a1, std::int64_t b1) {
  if (a0 > a1) {
    std::swap(a0, a1);
    std::swap(b0, b1);
  }
  const std::int64_t da = a1 - a0, db = b1 - b0;
  const std::int64_t aSize = Transposed ? canvas.height() : canvas.width();
  const std::int64_t bSize = Transposed ? canvas.width() : canvas.height();
  // The stretch of a where the line is within the buffer (one pixel of margin across).
  double from = static_cast<double>(std::max<std::int64_t>(a0, 0));
  double to = static_cast<double>(std::min<std::int64_t>(a1, aSize - 1));
  if (db != 0) {
    const double perA = static_cast<double>(db) / static_cast<double>(da);
    double t1 = static_cast<double>(a0) + (-1.0 - static_cast<double>(b0)) / perA;
    double t2 =
        static_cast<double>(a0) + (static_cast<double>(bSize) - static_cast<double>(b0)) / perA;
    if (t1 > t2) std::swap(t1, t2);
    from = std::max(from, std::floor(t1) - 1.0);
    to = std::min(to, std::ceil(t2) + 1.0);
  } else if (b0 < 0 || b0 >= bSize) {
    return;
  }
  if (!(from <= to)) return;
  const auto aStart = static_cast<std::int64_t>(from);  // within the buffer: no overflow
  const auto aEnd = static_cast<std::int64_t>(to);
  constexpr int kShift = 32;
  // b at aStart exactly: b0 + (aStart - a0) * db / da, floored in fixed point.
  constexpr __int128 kOne = static_cast<__int128>(1) << kShift;
  const __int128 num = static_cast<__int128>(aStart - a0) * db * kOne;
  __int128 start = static_cast<__int128>(b0) * kOne + num / da;
  if (num < 0 && num % da != 0) start -= 1;
  std::int64_t b = static_cast<std::int64_t>(start);
  const std::int64_t step = static_cast<std::int64_t>(static_cast<__int128>(db) * kOne / da);
  constexpr std::uint64_t kFraction = (std::uint64_t{1} << kShift) - 1;
  for (std::int64_t a = aStart; a <= aEnd; ++a, b += step) {
    const std::int64_t whole = b >> kShift;  // floor: arithmetic shift
    const std::uint64_t frac = static_cast<std::uint64_t>(b) & kFraction;
    const auto lower =
        static_cast<std::uint32_t>((frac * 255u + (std::uint64_t{1} << (kShift - 1))) >> kShift);
    if constexpr (Transposed) {
      canvas.Plot(whole, a, 255u - lower);
      canvas.Plot(whole + 1, a, lower);
    } else {
      canvas.Plot(a, whole, 255u - lower);
      canvas.Plot(a, whole + 1, lower);
    }
  }
}

void Segment(Canvas& canvas, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
  if (y0 == y1) {
    canvas.Row(y0, std::min(x0, x1), std::max(x0, x1));
  } else if (x0 == x1) {
    canvas.Column(x0, std::min(y0, y1), std::max(y0, y1));
  } else if (std::abs(x1 - x0) >= std::abs(y1 - y0)) {
    Slanted<false>(canvas, x0, y0, x1, y1);
  } else {
    Slanted<true>(canvas, y0, x0, y1, x1);
  }
}

}  // namespace

void DrawHairline(const RasterTarget& target, std::span<const DevicePoint> points,
                  std::uint32_t color) {
  if (target.pixels == nullptr || target.width <= 0 || target.height <= 0 || points.empty()) {
    return;
  }
  Canvas canvas(target, color);
  const auto x = [&](std::size_t i) { return std::int64_t{points[i].x} + target.offsetX; };
  const auto y = [&](std::size_t i) { return std::int64_t{points[i].y} + target.offsetY; };
  if (points.size() == 1) {
    canvas.Plot(x(0), y(0), 255);
    return;
  }
  std::size_t i = 0;
  while (i + 1 < points.size()) {
    // A stretch of points on one row or one column covers what lies between its extremes.
    std::size_t j = i + 1;
    if (y(j) == y(i)) {
      std::int64_t lo = std::min(x(i), x(j)), hi = std::max(x(i), x(j));
      while (j + 1 < points.size() && y(j + 1) == y(i)) {
        ++j;
        lo = std::min(lo, x(j));
        hi = std::max(hi, x(j));
      }
      canvas.Row(y(i), lo, hi);
    } else if (x(j) == x(i)) {
      std::int64_t lo = std::min(y(i), y(j)), hi = std::max(y(i), y(j));
      while (j + 1 < points.size() && x(j + 1) == x(i)) {
        ++j;
        lo = std::min(lo, y(j));
        hi = std::max(hi, y(j));
      }
      canvas.Column(x(i), lo, hi);
    } else {
      Segment(canvas, x(i), y(i), x(j), y(j));
    }
    i = j;
  }
}

void BlendStamp(const RasterTarget& target, std::int32_t x, std::int32_t y, const Stamp& stamp) {
  if (target.pixels == nullptr || stamp.pixels == nullptr) return;
  const std::int64_t left = std::int64_t{x} + stamp.left + target.offsetX;
  const std::int64_t top = std::int64_t{y} + stamp.top + target.offsetY;
  const std::int64_t c0 = std::max<std::int64_t>(0, -left);
  const std::int64_t c1 = std::min<std::int64_t>(stamp.width, target.width - left);
  const std::int64_t r0 = std::max<std::int64_t>(0, -top);
  const std::int64_t r1 = std::min<std::int64_t>(stamp.height, target.height - top);
  if (c0 >= c1) return;
  for (std::int64_t r = r0; r < r1; ++r) {
    OverRow(stamp.pixels + r * stamp.width + c0,
            target.pixels + (top + r) * target.stride + left + c0, c1 - c0);
  }
}

}  // namespace sx
