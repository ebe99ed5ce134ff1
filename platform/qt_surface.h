#pragma once
// The drawing surface on a QPainter: the plot window, a PNG image, an SVG or PDF file, a printer
// page. It keeps the pixel rules the plot code was laid out for:
// - one unit is one device pixel; a line of odd width is centred on the middle of its pixels, so
//   a horizontal line of width 1 at y lights exactly row y on a raster and stays sharp in
//   vector files viewed at 1:1;
// - pens of width 1 (and 0) are pixel pens with square ends; wider solid pens have round ends and
//   joins; dashed pens draw dashes of 18 and gaps of 6 pen widths;
// - an ellipse box excludes its right and bottom edges: a width-1 outline lights columns
//   left .. right - 1 and rows top .. bottom - 1;
// - text hangs from its reference point (the top of its cell), is black, and on file and printer
//   surfaces sits on an opaque white cell;
// - monochrome tiles copy pixel for pixel: bit 1 white, bit 0 black.
// Geometry far outside the device is clipped before Qt sees it, so that absurd coordinates cost
// no time and no memory (a dashed line across four billion pixels).
// On an image painted without clipping or scaling, long one-pixel curves and small ellipses (the
// markers) are drawn straight into the pixels: the same antialiased coverage, without the
// painter's set-up cost per call, which dominates a repaint of a million points.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRectF>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/raster_draw.h"
#include "render/surface.h"

class QPainter;

namespace sx {

class QtSurface : public Surface {
 public:
  // The painter must outlive the surface; the surface restores the painter's state when it goes.
  // On an inactive painter nothing is drawn.
  QtSurface(QPainter& painter, float dpiX, float dpiY, bool opaqueText);
  ~QtSurface() override;
  QtSurface(const QtSurface&) = delete;
  QtSurface& operator=(const QtSurface&) = delete;

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
  void MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                        std::int32_t width, std::int32_t height, std::int32_t copyWidth,
                        std::int32_t copyHeight) override;
  void SelectFont(const FontSpec& font) override;
  std::int32_t FontLineHeight() override;
  std::int32_t TextWidth(std::string_view text) override;
  void Text(std::int32_t x, std::int32_t y, std::string_view text, TextAlign align) override;

  // The Qt font the current FontSpec resolved to.
  const QFont& currentQFont() const { return font_; }

  // The Qt font for a FontSpec: the face with a metric-compatible free face behind it (a system
  // without "Arial" writes in "Liberation Sans" with the same advances), sized in device pixels.
  static QFont MakeQFont(const FontSpec& wanted, float dpiY);

 private:
  QFontMetrics Metrics() const;
  // The image's pixels when they may be written directly, else null.
  const RasterTarget* Direct() const;
  // The premultiplied picture of an ellipse drawn by the painter, for boxes of this size, pen and
  // colours, placed by the box's top-left corner.
  const Stamp& EllipseStamp(std::int32_t boxWidth, std::int32_t boxHeight, std::int32_t pen,
                            RGB color, Fill fill);

  QPainter& painter_;
  float dpiX_, dpiY_;
  bool opaqueText_;
  bool raster_ = false;
  bool saved_ = false;  // the painter's state was saved, to be restored at the end
  QFont font_;
  std::int32_t escapement_ = 0;
  // Drawing beyond this box (the device in the painter's coordinates) cannot be seen.
  QRectF visible_;
  // The last tile, kept so that a pattern fill hands the same image to the device again and
  // vector files store it once.
  std::array<std::uint8_t, 32> tileBits_{};
  std::int32_t tileWidth_ = 0, tileHeight_ = 0;
  QImage tile_;

  RasterTarget direct_{};
  bool directOk_ = false;
  struct StampEntry {
    std::int32_t boxWidth, boxHeight, pen;
    RGB color;
    Fill fill;
    std::vector<std::uint32_t> pixels;  // only the rows and columns the ellipse touches
    Stamp stamp;
  };
  std::vector<StampEntry> stamps_;
};

}  // namespace sx
