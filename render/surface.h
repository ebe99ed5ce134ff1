#pragma once
// The drawing surface: a handful of primitives, each stating its whole geometry and style, so
// that no drawing state survives a call except the current font and the text alignment. All
// plot drawing (profiles, markers, axes, ternary and phase plots) goes through these; back ends
// are the recording surface (tests, dumps) and the Qt surface (window, PNG, SVG, PDF, printer).
//
// Coordinates are signed 32-bit device units: one unit is one pixel, y grows downwards.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/rgb.h"

namespace sx {

struct DevicePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const DevicePoint&) const = default;
};

enum class PenStyle { kSolid, kDash };

// Interior of a filled shape: the shape's own colour, or the surface's default white brush
// (open symbols hide what lies beneath them).
enum class Fill { kColor, kWhite };

// Reference point of a text: the left, right or centre of the text's top edge.
enum class TextAlign { kLeftTop = 0, kRightTop = 1, kCenterTop = 2 };

struct FontSpec {
  std::string face = "Arial";
  // Logical units; negative = character (em) height, positive = cell height.
  std::int32_t height = -13;
  std::int32_t escapement = 0;  // tenths of a degree, counter-clockwise
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const FontSpec&) const = default;
};

class Surface {
 public:
  virtual ~Surface() = default;

  // Dots per inch of the surface.
  virtual float ResolutionX() const = 0;
  virtual float ResolutionY() const = 0;
  // Metafile and printer surfaces write text on an opaque white background; the screen does not.
  virtual bool OpaqueTextBackground() const = 0;

  // An open polyline through the points.
  virtual void Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                        PenStyle style) = 0;
  // A closed polygon, outline in the colour and width, interior as fill says.
  virtual void Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                       Fill fill) = 0;
  // An ellipse in the box (left, top) .. (right, bottom), outline in the colour and width.
  virtual void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                       std::int32_t width, RGB color, Fill fill) = 0;
  // Copies the top-left copyWidth x copyHeight pixels of a monochrome tile of width x height
  // pixels to (x, y): bit 1 white, bit 0 black; two bytes per row, most significant bit leftmost.
  virtual void MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                                std::int32_t width, std::int32_t height, std::int32_t copyWidth,
                                std::int32_t copyHeight) = 0;

  // The marker symbol `code` (half-size r, pen width) at each centre in turn: exactly what
  // DrawMarker draws for each, which is what this default does. A back end that can draw a run of
  // equal symbols faster overrides it.
  virtual void Markers(std::span<const DevicePoint> centres, RGB color, std::int32_t r,
                       std::int32_t width, std::int32_t code);

  // Makes font the current text font.
  virtual void SelectFont(const FontSpec& font) = 0;
  // Ascent + descent of the current font.
  virtual std::int32_t FontLineHeight() = 0;
  // Advance width of UTF-8 text in the current font.
  virtual std::int32_t TextWidth(std::string_view text) = 0;
  // Writes UTF-8 text in black with its reference point at (x, y), rotated by the current font's
  // escapement about that point.
  virtual void Text(std::int32_t x, std::int32_t y, std::string_view text, TextAlign align) = 0;

  // The alignment DrawTextAt keeps when it is given an unknown value.
  TextAlign textAlignment = TextAlign::kLeftTop;
  // Escapement of the plot font SelectPlotFont chose last (tenths of a degree): the turn of the
  // texts that follow, which the text placement needs to know their boxes.
  std::int32_t fontEscapement = 0;
};

}  // namespace sx
