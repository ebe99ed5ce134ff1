#include "render/drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/device_int.h"
#include "core/utf8.h"

namespace sx {
namespace {

constexpr std::int32_t kLastPointIndex = kPointBufferSize - 1;  // 2000

// A pattern fill stops after this many tiles: callers clip their rectangles to the plot, so only
// a broken rectangle can ask for more, and it must not stall the program.
constexpr std::int64_t kMaxPatternTiles = 4'000'000;

__extension__ typedef __int128 Wide;

// a + b * c / d with truncating division, exact for any 32-bit operands, saturated to 32 bits.
std::int32_t InterpolateTruncating(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  const Wide q = static_cast<Wide>(b) * static_cast<Wide>(c) / static_cast<Wide>(d);
  const Wide r = static_cast<Wide>(a) + q;
  if (r > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (r < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

std::array<DevicePoint, 5> RectPoints(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                      std::int32_t y2) {
  return {{{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}}};
}

// True when lastIndex names a point of the buffer (a negative index compares as a huge one).
bool DrawableLastIndex(std::int32_t lastIndex) {
  return static_cast<std::uint32_t>(lastIndex) < static_cast<std::uint32_t>(kLastPointIndex);
}

}  // namespace

void SetPointAt(int index, PointBuffer& buffer, std::int32_t x, std::int32_t y) {
  if (index < 0 || index >= kPointBufferSize) return;
  buffer.points[static_cast<std::size_t>(index)] = {x, y};
}

ScaleInfo ComputeScale(const Surface& surface, float screenResolution) {
  ScaleInfo info;
  // An unknown screen resolution (or a surface reporting none) means no scaling at all.
  if (screenResolution > 0.0f) {
    const float factor = surface.ResolutionX() / screenResolution;
    if (std::isfinite(factor) && factor > 0.0f) info.ScaleFactor = factor;
  }
  info.scaleStep = std::max<std::int32_t>(1, ToInt32(info.ScaleFactor));
  return info;
}

void DrawDashedLine(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                    std::int32_t width, std::int32_t enabled) {
  if (enabled <= 0) return;
  const std::array<DevicePoint, 2> points{{{x1, y1}, {x2, y2}}};
  s.Polyline(points, width, kDefaultDrawColor, PenStyle::kDash);
}

void DrawLine(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              std::int32_t width, RGB color) {
  const std::array<DevicePoint, 2> points{{{x1, y1}, {x2, y2}}};
  s.Polyline(points, width, color, PenStyle::kSolid);
}

void DrawRectOutline(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     std::int32_t width, RGB color) {
  s.Polyline(RectPoints(x1, y1, x2, y2), width, color, PenStyle::kSolid);
}

void FillRect(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              std::int32_t width, RGB color) {
  s.Polygon(RectPoints(x1, y1, x2, y2), width, color, Fill::kColor);
}

void DrawPolyline(Surface& s, const PointBuffer& points, std::int32_t lastIndex, std::int32_t width,
                  RGB color) {
  if (!DrawableLastIndex(lastIndex)) return;
  s.Polyline(
      std::span<const DevicePoint>(points.points.data(), static_cast<std::size_t>(lastIndex) + 1),
      width, color, PenStyle::kSolid);
}

void FillPolygon(Surface& s, const PointBuffer& points, std::int32_t lastIndex, std::int32_t width,
                 RGB color) {
  if (!DrawableLastIndex(lastIndex)) return;
  s.Polygon(
      std::span<const DevicePoint>(points.points.data(), static_cast<std::size_t>(lastIndex) + 1),
      width, color, Fill::kColor);
}

void FillRectWithPattern(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                         std::int32_t y2, const PatternTable& patterns, std::int32_t index) {
  // An unknown pattern leaves the interior untouched but still marks the interval's outline.
  const bool known = index >= 1 && index <= patterns.PatternCount && patterns.records.allocated() &&
                     static_cast<std::size_t>(index) < patterns.records.size();
  if (known) {
    const Pattern& p = patterns.records[static_cast<std::size_t>(index)];
    const std::int64_t w = p.width;
    const std::int64_t h = p.height;
    // An empty or reversed width places no tile in any row, so its rows are not walked at all.
    if (w >= 1 && w <= kMaxPatternSize && h >= 1 && h <= kMaxPatternSize && x2 > x1) {
      // Neighbouring tiles overlap by one pixel. A pattern one pixel wide or high would then not
      // advance at all, so it steps by its whole size instead.
      const std::int64_t stepX = std::max<std::int64_t>(1, w - 1);
      const std::int64_t stepY = std::max<std::int64_t>(1, h - 1);
      std::int64_t tiles = 0;
      // One row of tiles at y, each copying the top copyHeight rows; the strip left at the right
      // edge gets one more tile cut to its width.
      auto row = [&](std::int64_t y, std::int64_t copyHeight) {
        std::int64_t x = x1;
        for (; x < x2 - w; x += stepX) {
          if (tiles++ >= kMaxPatternTiles) return;
          s.MonochromeBitmap(Saturate32(x), Saturate32(y), p.bits, p.width, p.height, p.width,
                             Saturate32(copyHeight));
        }
        const std::int64_t rest = x2 - x;
        if (rest >= 1 && tiles++ < kMaxPatternTiles) {
          s.MonochromeBitmap(Saturate32(x), Saturate32(y), p.bits, p.width, p.height,
                             Saturate32(rest), Saturate32(copyHeight));
        }
      };
      std::int64_t y = y1;
      for (; y < y2 - h && tiles < kMaxPatternTiles; y += stepY) row(y, h);
      const std::int64_t rest = y2 - y;
      if (rest >= 1 && tiles < kMaxPatternTiles) row(y, rest);
    }
  }
  DrawRectOutline(s, x1, y1, x2, y2, 1, kDefaultDrawColor);
}

void DrawVector(Surface& s, float angle, float magnitude, float maximum, std::int32_t x,
                std::int32_t y, float length, std::int32_t width, RGB color) {
  // A vector without a direction, size or length has nowhere defined to go.
  if (!std::isfinite(angle) || !std::isfinite(magnitude) || !std::isfinite(length) ||
      std::isnan(maximum)) {
    return;
  }
  // Scaled to the maximum and capped at the full length. Without a positive maximum there is
  // nothing to scale against, so the vector gets its full length.
  float effective = length;
  if (maximum > 0.0f && magnitude <= maximum) effective = magnitude / maximum * length;
  if (!std::isfinite(effective)) return;
  // Single precision like the rest of the plot values: 90 degrees then gives a sine of exactly 1,
  // so a horizontal vector keeps its whole length after truncation.
  const float theta = angle * 0.0174533f;
  const float dx = effective * std::sin(theta);
  const float dy = effective * std::cos(theta);
  const std::int32_t endX = ToInt32(static_cast<double>(x) + dx);
  const std::int32_t endY = ToInt32(static_cast<double>(y) - dy);
  DrawLine(s, x, y, endX, endY, width, color);
}

FontSpec MakePlotFont(const Surface& s, std::string_view face, std::int32_t height10,
                      std::int32_t style, std::int32_t escapement10) {
  // Tenths of a point to tenths of a device unit; logical and device units are the same here.
  const float scaled = static_cast<float>(height10) * s.ResolutionY();
  const std::int32_t h = ToInt32(scaled * 0.013888889);
  FontSpec font;
  font.face.assign(face);
  // The em height, rounded, as a negative (character) height. Zero would let the back end pick
  // its default size, so the smallest font is one unit high.
  const std::int32_t em = ToInt32(std::fabs(static_cast<double>(h)) * 0.1 + 0.5);
  font.height = -std::max<std::int32_t>(1, em);
  font.escapement = escapement10;
  font.bold = (style & kFontBold) != 0;
  font.italic = (style & kFontItalic) != 0;
  font.underline = (style & kFontUnderline) != 0;
  font.strikeOut = (style & kFontStrikeOut) != 0;
  return font;
}

void SelectPlotFont(Surface& s, std::string_view face, std::int32_t size, std::int32_t style,
                    std::int32_t angle) {
  // Sizes derived from the settings (the font size less 2 or 4) can fall below one point: those
  // get the smallest font.
  const std::int64_t points = std::max<std::int32_t>(1, size);
  const FontSpec font = MakePlotFont(s, face, Saturate32(points * 10), style,
                                     Saturate32(static_cast<std::int64_t>(angle) * 10));
  s.fontEscapement = font.escapement;
  s.SelectFont(font);
}

std::int32_t TextLineHeight(Surface& s) {
  return s.FontLineHeight();
}

std::int32_t TextWidth(Surface& s, std::string_view text, std::int32_t length) {
  if (length <= 0) return 0;
  return s.TextWidth(Utf8Prefix(text, static_cast<std::size_t>(length)));
}

std::int32_t TextWidth(Surface& s, std::string_view text) {
  return s.TextWidth(text);
}

void DrawTextAt(Surface& s, std::string_view text, std::int32_t x, std::int32_t y, std::int32_t dy,
                std::int32_t alignment) {
  switch (alignment) {
    case 0:
      s.textAlignment = TextAlign::kLeftTop;
      break;
    case 1:
      s.textAlignment = TextAlign::kRightTop;
      break;
    case 2:
      s.textAlignment = TextAlign::kCenterTop;
      break;
    default:
      break;
  }
  s.Text(x, Saturate32(static_cast<std::int64_t>(y) - dy), text, s.textAlignment);
}

void ClipYAtX(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x,
              std::int32_t& px, std::int32_t& py) {
  px = x;
  if (x2 == x1) {
    py = y1;
    return;
  }
  py =
      InterpolateTruncating(y1, static_cast<std::int64_t>(x) - x1,
                            static_cast<std::int64_t>(y2) - y1, static_cast<std::int64_t>(x2) - x1);
}

void ClipXAtY(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t y,
              std::int32_t& px, std::int32_t& py) {
  py = y;
  if (y2 == y1) {
    px = x2;
    return;
  }
  px = InterpolateTruncating(x1, static_cast<std::int64_t>(x2) - x1,
                             static_cast<std::int64_t>(y) - y1, static_cast<std::int64_t>(y2) - y1);
}

}  // namespace sx
