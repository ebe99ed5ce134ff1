#pragma once
// Drawing calls kept to be made later on another surface, in their order: what a curve or a run
// of markers draws, prepared on one thread and then drawn by the thread that owns the surface.
// Lines, polygons, ellipses and runs of markers are kept as they came; a drawing that asks for
// text or bitmaps is incomplete, and the caller draws it the ordinary way instead.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/surface.h"

namespace sx {

class DeferredDrawing final : public Surface {
 public:
  DeferredDrawing(float dpiX, float dpiY, bool opaqueText)
      : dpiX_(dpiX), dpiY_(dpiY), opaqueText_(opaqueText) {}

  float ResolutionX() const override { return dpiX_; }
  float ResolutionY() const override { return dpiY_; }
  bool OpaqueTextBackground() const override { return opaqueText_; }

  void Polyline(std::span<const DevicePoint> points, std::int32_t width, RGB color,
                PenStyle style) override;
  void Polygon(std::span<const DevicePoint> points, std::int32_t width, RGB color,
               Fill fill) override;
  void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
               std::int32_t width, RGB color, Fill fill) override;
  void Markers(std::span<const DevicePoint> centres, RGB color, std::int32_t r, std::int32_t width,
               std::int32_t code) override;

  void MonochromeBitmap(std::int32_t, std::int32_t, const std::uint8_t*, std::int32_t, std::int32_t,
                        std::int32_t, std::int32_t) override {
    complete_ = false;
  }
  void SelectFont(const FontSpec&) override { complete_ = false; }
  std::int32_t FontLineHeight() override {
    complete_ = false;
    return 0;
  }
  std::int32_t TextWidth(std::string_view) override {
    complete_ = false;
    return 0;
  }
  void Text(std::int32_t, std::int32_t, std::string_view, TextAlign) override { complete_ = false; }

  // False once anything that is not kept was asked for.
  bool complete() const { return complete_; }
  // Makes the kept calls on `target`, in their order.
  void Replay(Surface& target) const;
  // Forgets the kept calls and gives their memory back.
  void Release();

 private:
  enum class Kind : std::uint8_t { kPolyline, kPolygon, kEllipse, kMarkers };
  struct Call {
    Kind kind = Kind::kPolyline;
    PenStyle pen = PenStyle::kSolid;
    Fill fill = Fill::kColor;
    RGB color{};
    std::int32_t width = 0;
    std::int32_t size = 0, code = 0;   // markers: half size and symbol
    std::size_t first = 0, count = 0;  // points; an ellipse's box is two points
  };
  void Keep(Call call, std::span<const DevicePoint> points);

  float dpiX_, dpiY_;
  bool opaqueText_;
  bool complete_ = true;
  std::vector<Call> calls_;
  std::vector<DevicePoint> points_;
};

}  // namespace sx
