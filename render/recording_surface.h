#pragma once
// A surface that records every primitive call with its arguments, with deterministic text
// metrics: a font of em height e (device units) has a line height of round(1.15 e) and every
// character advances round(0.55 e), at least 1. All geometry tests assert on its calls; its text
// dump (one call per line) is what `sondrix-cli render -o FILE.ops` writes.
//
// Given another surface for its metrics, it measures texts there instead (in the fonts it
// records), so that a recorded pass lays out and places its texts exactly as a pass on that
// surface does: the record of a picture, with the picture's coordinates.

#include <cstdint>
#include <string>
#include <vector>

#include "render/surface.h"

namespace sx {

class RecordingSurface : public Surface {
 public:
  enum class Kind { kPolyline, kPolygon, kEllipse, kBitmap, kFont, kText };

  struct Call {
    Kind kind = Kind::kPolyline;
    std::vector<DevicePoint> points;  // polyline, polygon; ellipse box as two points; bitmap
                                      // place as one point
    std::int32_t width = 0;           // pen width; bitmap tile width
    RGB color{};
    PenStyle pen = PenStyle::kSolid;
    Fill fill = Fill::kColor;
    std::int32_t height = 0;  // bitmap tile height
    std::int32_t copyWidth = 0, copyHeight = 0;
    std::vector<std::uint8_t> bits;  // bitmap rows, two bytes each
    FontSpec font;                   // kFont
    std::string text;                // kText
    TextAlign align = TextAlign::kLeftTop;
  };

  explicit RecordingSurface(float dpiX = 96.0f, float dpiY = 96.0f, bool opaqueText = false,
                            Surface* metrics = nullptr)
      : dpiX_(dpiX), dpiY_(dpiY), opaqueText_(opaqueText), metrics_(metrics) {}

  float ResolutionX() const override { return dpiX_; }
  float ResolutionY() const override { return dpiY_; }
  bool OpaqueTextBackground() const override { return opaqueText_; }

  void Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                PenStyle style) override;
  void Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
               Fill fill) override;
  void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
               std::int32_t width, RGB color, Fill fill) override;
  void MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                        std::int32_t width, std::int32_t height, std::int32_t copyWidth,
                        std::int32_t copyHeight) override;
  void SelectFont(const FontSpec& font) override;
  std::int32_t FontLineHeight() override;
  std::int32_t TextWidth(std::string_view text) override;
  void Text(std::int32_t x, std::int32_t y, std::string_view text, TextAlign align) override;

  const std::vector<Call>& calls() const { return calls_; }
  void clear() { calls_.clear(); }
  const FontSpec& currentFont() const { return font_; }

  // Em height in device units of the current font.
  std::int32_t emHeight() const;
  // One line per call, e.g. `line 1 0,0,0 solid 10,20 30,20` or `text 5,6 left "Depth"`.
  std::string Dump() const;
  static std::string DumpCall(const Call& call);

 private:
  float dpiX_, dpiY_;
  bool opaqueText_;
  Surface* metrics_;  // measures the texts when set; nothing is drawn on it
  FontSpec font_;
  std::vector<Call> calls_;
};

}  // namespace sx
