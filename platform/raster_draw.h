#pragma once
// Direct drawing into a 32-bit pixel buffer for the shapes a long data file draws by the
// hundred thousand: one-pixel curves and small markers. The general painter handles them
// correctly but spends most of a repaint on per-call and per-segment set-up; these loops do the
// same coverage arithmetic straight on the pixels.
//
// Pixels are 0xAARRGGBB words, either opaque (alpha always 0xFF) or premultiplied; both blend
// alike. Nothing here knows the painter: the caller decides when a buffer may be written directly.

#include <cstdint>
#include <span>

#include "render/surface.h"

namespace sx {

struct RasterTarget {
  std::uint32_t* pixels = nullptr;
  std::int64_t stride = 0;  // pixels from one row to the next
  std::int32_t width = 0, height = 0;
  // Device pixel = drawing coordinate + offset.
  std::int32_t offsetX = 0, offsetY = 0;
};

// An opaque colour as a pixel word.
constexpr std::uint32_t OpaquePixel(RGB c) {
  return 0xFF000000u | (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) |
         std::uint32_t{c.blue};
}

// An antialiased line one pixel wide through the centres of the pixels the points name: level,
// upright and diagonal steps cover whole pixels, slanted ones share each step between the two
// nearest pixels (in proportion to the distance). `color` must be opaque. Consecutive points on
// one row (or column) are drawn as one stretch: those pixels are covered fully, so drawing them
// once is drawing them as often as the curve passes. Anything beyond the buffer is cut off.
void DrawHairline(const RasterTarget& target, std::span<const DevicePoint> points,
                  std::uint32_t color);

// A small premultiplied image (a marker drawn once) laid over the buffer with its top-left pixel
// at drawing coordinate (x + left, y + top).
struct Stamp {
  const std::uint32_t* pixels = nullptr;
  std::int32_t width = 0, height = 0;
  std::int32_t left = 0, top = 0;
};
void BlendStamp(const RasterTarget& target, std::int32_t x, std::int32_t y, const Stamp& stamp);

}  // namespace sx
