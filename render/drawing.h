#pragma once
// The named drawing operations, written once on top of the Surface primitives: lines, outlines,
// fills, pattern fills, vectors, plot fonts and texts, and the clipping and mapping helpers the
// renderers use (there is no clipping region: every renderer clips its geometry itself).

#include <array>
#include <cstdint>
#include <string_view>

#include "render/surface.h"
#include "settings/patterns.h"
#include "settings/plot_settings.h"

namespace sx {

inline constexpr int kPointBufferSize = 2001;  // points 0..2000

// The shared array in which renderers build polylines and polygons.
struct PointBuffer {
  std::array<DevicePoint, kPointBufferSize> points{};
};

// Stores one point; an index outside 0..2000 is ignored.
void SetPointAt(int index, PointBuffer& buffer, std::int32_t x, std::int32_t y);

// Resolution-dependent factors of a pass: ScaleFactor = ResolutionX / ScreenResolution, and its
// whole part, which multiplies line widths and distances taken from the settings.
struct ScaleInfo {
  float ScaleFactor = 1.0f;
  std::int32_t scaleStep = 1;
};
ScaleInfo ComputeScale(const Surface& surface, float screenResolution);

// Draws only when enabled > 0: a dashed black line.
void DrawDashedLine(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                    std::int32_t width, std::int32_t enabled);
void DrawLine(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              std::int32_t width, RGB color);
// The closed outline (x1,y1) (x2,y1) (x2,y2) (x1,y2) (x1,y1) as one five-point polyline.
void DrawRectOutline(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     std::int32_t width, RGB color);
// The same five points as a filled polygon, outline and interior in the colour.
void FillRect(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              std::int32_t width, RGB color);
// Polyline / filled polygon through points[0..lastIndex]; nothing when lastIndex >= 2000
// (compared unsigned, so a negative index draws nothing too).
void DrawPolyline(Surface& s, const PointBuffer& points, std::int32_t lastIndex, std::int32_t width,
                  RGB color);
void FillPolygon(Surface& s, const PointBuffer& points, std::int32_t lastIndex, std::int32_t width,
                 RGB color);
// Tiles the rectangle with pattern `index` of the table, then outlines it in black.
void FillRectWithPattern(Surface& s, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                         std::int32_t y2, const PatternTable& patterns, std::int32_t index);
// A line from (x, y) in the compass direction of angle (degrees; 0 up, 90 right), of length
// magnitude / maximum * length, capped at length.
void DrawVector(Surface& s, float angle, float magnitude, float maximum, std::int32_t x,
                std::int32_t y, float length, std::int32_t width, RGB color);

// Font style bits.
inline constexpr std::int32_t kFontBold = 1;
inline constexpr std::int32_t kFontItalic = 2;
inline constexpr std::int32_t kFontUnderline = 4;
inline constexpr std::int32_t kFontStrikeOut = 8;

// The font MakePlotFont would create: height in tenths of a point, escapement in tenths of a
// degree.
FontSpec MakePlotFont(const Surface& s, std::string_view face, std::int32_t height10,
                      std::int32_t style, std::int32_t escapement10);
// Selects the plot font: size in points, angle in degrees counter-clockwise.
void SelectPlotFont(Surface& s, std::string_view face, std::int32_t size, std::int32_t style,
                    std::int32_t angle);
std::int32_t TextLineHeight(Surface& s);
// Width of the first `length` characters of text (all of it when length is larger).
std::int32_t TextWidth(Surface& s, std::string_view text, std::int32_t length);
std::int32_t TextWidth(Surface& s, std::string_view text);
// Alignment 0 left, 1 right, 2 centre of the top edge; any other value keeps the previous one.
// The reference point is (x, y - dy).
void DrawTextAt(Surface& s, std::string_view text, std::int32_t x, std::int32_t y, std::int32_t dy,
                std::int32_t alignment);

// value * scale - offset, in single precision; callers convert with ToInt32.
inline float MapToDevice(float scale, float offset, float value) {
  return value * scale - offset;
}

// The point of the segment's line at x (py = y1 when x2 = x1), integer arithmetic truncating.
void ClipYAtX(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x,
              std::int32_t& px, std::int32_t& py);
// The point at y (px = x2 when y2 = y1).
void ClipXAtY(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t y,
              std::int32_t& px, std::int32_t& py);

// The marker symbols 1..10 centred on (x, y); other codes draw symbol 1.
void DrawMarker(Surface& s, std::int32_t x, std::int32_t y, RGB color, std::int32_t r,
                std::int32_t width, std::int32_t code);

}  // namespace sx
