#include <array>
#include <cstdint>
#include <limits>

#include "render/drawing.h"

namespace sx {
namespace {

// Symbol corners are x ± r; a centre and size near the ends of the coordinate range stay on it.
std::int32_t Offset(std::int32_t v, std::int64_t d) {
  const std::int64_t r = static_cast<std::int64_t>(v) + d;
  if (r > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (r < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

}  // namespace

void DrawMarker(Surface& s, std::int32_t x, std::int32_t y, RGB color, std::int32_t r,
                std::int32_t width, std::int32_t code) {
  const std::int64_t d = r;
  const std::int32_t left = Offset(x, -d), right = Offset(x, d);
  const std::int32_t top = Offset(y, -d), bottom = Offset(y, d);
  // Filled symbols are one colour throughout; open ones are painted white inside so that they
  // hide what lies beneath them (the squares excepted, which are outlines only).
  const Fill fill = (code == 2 || code == 6 || code == 8) ? Fill::kWhite : Fill::kColor;
  switch (code) {
    case 2:
      s.Ellipse(left, top, right, bottom, width, color, fill);
      break;
    case 3:
      FillRect(s, Offset(left, 1), Offset(top, 1), Offset(right, -1), Offset(bottom, -1), width,
               color);
      break;
    case 4:
      DrawRectOutline(s, Offset(left, 1), Offset(top, 1), Offset(right, -1), Offset(bottom, -1),
                      width, color);
      break;
    case 5:
    case 6: {
      const std::array<DevicePoint, 5> diamond{
          {{left, y}, {x, top}, {right, y}, {x, bottom}, {left, y}}};
      s.Polygon(diamond, width, color, fill);
      break;
    }
    case 7:
    case 8: {
      // Apex up: y grows downwards.
      const std::array<DevicePoint, 4> triangle{
          {{left, bottom}, {x, top}, {right, bottom}, {left, bottom}}};
      s.Polygon(triangle, width, color, fill);
      break;
    }
    case 9:
      DrawLine(s, left, y, right, y, width, color);
      DrawLine(s, x, top, x, bottom, width, color);
      break;
    case 10:
      DrawLine(s, left, top, right, bottom, width, color);
      DrawLine(s, right, top, left, bottom, width, color);
      break;
    default:  // 1 and every unknown code: the filled circle
      s.Ellipse(left, top, right, bottom, width, color, Fill::kColor);
      break;
  }
}

void Surface::Markers(std::span<const DevicePoint> centres, RGB color, std::int32_t r,
                      std::int32_t width, std::int32_t code) {
  for (const DevicePoint& c : centres) DrawMarker(*this, c.x, c.y, color, r, width, code);
}

}  // namespace sx
