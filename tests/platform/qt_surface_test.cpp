// The surface on a painter, pixel by pixel: lines, fills, dashes, ellipses, tiles and text, and
// the direct drawing into the pixels that it takes where it can, against the painter's.

#include "platform/qt_surface.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <array>
#include <functional>
#include <optional>

#include "platform/raster_draw.h"
#include "render/drawing.h"
#include "scene_fixture.h"

namespace sx {
namespace {

constexpr RGB kRed{255, 0, 0};
constexpr RGB kBlack{0, 0, 0};
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kGreyPixel = qRgb(128, 128, 128);
const QRgb kBlackPixel = qRgb(0, 0, 0);
const QRgb kRedPixel = qRgb(255, 0, 0);

// An image with a surface on it (its painter clipped if asked); Finish() ends the painting and
// hands the pixels out.
class Canvas {
 public:
  Canvas(int width, int height, bool opaqueText = false, QRgb background = kWhitePixel,
         QRect clip = {})
      : image_(width, height, QImage::Format_RGB32) {
    image_.fill(background);
    painter_.begin(&image_);
    if (clip.isValid()) painter_.setClipRect(clip);
    surface_.emplace(painter_, 96.0f, 96.0f, opaqueText);
  }
  QtSurface& surface() { return *surface_; }
  const QImage& Finish() {
    surface_.reset();
    painter_.end();
    return image_;
  }

 private:
  QImage image_;
  QPainter painter_;
  std::optional<QtSurface> surface_;
};

// Bounding box of every pixel that differs from the background.
QRect InkBox(const QImage& image, QRgb background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// The sum of f over every pixel (a count when f says yes or no).
long Sum(const QImage& image, const std::function<long(QRgb)>& f) {
  long n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += f(image.pixel(x, y));
  }
  return n;
}

long CountPixels(const QImage& image, QRgb color) {
  return Sum(image, [color](QRgb p) { return p == color; });
}

// The ink on white is exactly the block, in one colour: no half-covered pixel anywhere.
void ExpectSolidBlock(Canvas& canvas, const QRect& block, QRgb color) {
  const QImage& image = canvas.Finish();
  EXPECT_EQ(InkBox(image, kWhitePixel), block);
  EXPECT_EQ(CountPixels(image, color), block.width() * block.height());
}

TEST(QtSurfaceTest, LinesFramesAndFillsCoverWholePixels) {
  Canvas level(50, 20), wide(50, 20), square(40, 40), huge(30, 30);
  level.surface().Polyline(Points{{5, 10}, {40, 10}}, 1, kBlack, PenStyle::kSolid);
  ExpectSolidBlock(level, QRect(QPoint(5, 10), QPoint(40, 10)), kBlackPixel);
  // A pen three pixels wide covers the rows above and below its own, fully (its round ends
  // lie outside the part looked at).
  wide.surface().Polyline(Points{{-10, 10}, {60, 10}}, 3, kBlack, PenStyle::kSolid);
  ExpectSolidBlock(wide, QRect(0, 9, 50, 3), kBlackPixel);
  // A filled square's outline lights both edge rows and columns.
  square.surface().Polygon(Rect(10, 10, 20, 20), 1, kRed, Fill::kColor);
  ExpectSolidBlock(square, QRect(QPoint(10, 10), QPoint(20, 20)), kRedPixel);
  // A polygon reaching four billion pixels beyond the device still fills what is visible.
  huge.surface().Polygon(Rect(-2000000000, -2000000000, 2000000000, 2000000000), 1, kRed,
                         Fill::kColor);
  ExpectSolidBlock(huge, QRect(0, 0, 30, 30), kRedPixel);
}

TEST(QtSurfaceTest, DashedLinesKeepTheirDashesWhenCut) {
  Canvas canvas(200, 30);
  // The first line starts a whole number of dash periods (24 pixels) before the device, far
  // beyond it; the visible part must look like the line that starts at the device's edge.
  canvas.surface().Polyline(Points{{-2000000016, 5}, {190, 5}}, 1, kBlack, PenStyle::kDash);
  canvas.surface().Polyline(Points{{0, 20}, {190, 20}}, 1, kBlack, PenStyle::kDash);
  const QImage& image = canvas.Finish();
  int ink = 0, gaps = 0;
  for (int x = 0; x < 190; ++x) {
    EXPECT_EQ(image.pixel(x, 5), image.pixel(x, 20)) << x;
    ink += image.pixel(x, 20) == kBlackPixel ? 1 : 0;
    gaps += image.pixel(x, 20) == kWhitePixel ? 1 : 0;
  }
  EXPECT_EQ(ink + gaps, 190);  // crisp: every pixel ink or paper
  EXPECT_GT(ink, 3 * gaps);    // 18 on, 6 off
  EXPECT_GT(gaps, 30);
}

TEST(QtSurfaceTest, EllipseBoxExcludesRightAndBottomAndOpenCirclesHideLines) {
  Canvas canvas(50, 50);
  canvas.surface().Polyline(Points{{0, 20}, {45, 20}}, 1, kBlack, PenStyle::kSolid);
  canvas.surface().Ellipse(10, 10, 31, 31, 1, kRed, Fill::kWhite);
  const QImage& image = canvas.Finish();
  EXPECT_EQ(image.pixel(15, 20), kWhitePixel);  // inside: the line is hidden
  EXPECT_EQ(image.pixel(5, 20), kBlackPixel);   // outside it is not
  EXPECT_EQ(image.pixel(40, 20), kBlackPixel);
  // The outline (mostly red: its edge pixels are antialiased) at the left edge of the box and at
  // right - 1.
  for (const int x : {10, 30}) {
    const QRgb p = image.pixel(x, 20);
    EXPECT_TRUE(qRed(p) > 230 && qGreen(p) < 40 && qBlue(p) < 40) << x;
  }
}

TEST(QtSurfaceTest, MonochromeBitmapsCopyPixelForPixel) {
  // Tile 10 x 3: row 0 all ink, row 1 ink in the first and the tenth pixel, row 2 background.
  const std::array<std::uint8_t, 6> bits = {0x00, 0x00, 0x7F, 0xBF, 0xFF, 0xFF};
  Canvas canvas(40, 20, false, kGreyPixel);
  canvas.surface().MonochromeBitmap(2, 3, bits.data(), 10, 3, 10, 3);
  canvas.surface().MonochromeBitmap(20, 3, bits.data(), 10, 3, 4, 2);  // top-left 4 x 2 only
  // A different tile right after: the surface must not reuse the one before.
  const std::array<std::uint8_t, 2> dot = {0x7F, 0xFF};
  canvas.surface().MonochromeBitmap(30, 10, dot.data(), 2, 1, 2, 1);
  const QImage& image = canvas.Finish();
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(image.pixel(2 + x, 3), kBlackPixel) << x;
    EXPECT_EQ(image.pixel(2 + x, 4), x == 0 || x == 9 ? kBlackPixel : kWhitePixel) << x;
    EXPECT_EQ(image.pixel(2 + x, 5), kWhitePixel) << x;
  }
  EXPECT_EQ(image.pixel(12, 3), kGreyPixel);
  EXPECT_EQ(InkBox(image.copy(18, 0, 10, 20), kGreyPixel), QRect(2, 3, 4, 2));
  EXPECT_EQ(image.pixel(30, 10), kBlackPixel);
  EXPECT_EQ(image.pixel(31, 10), kWhitePixel);
}

TEST(QtSurfaceTest, TextHangsFromItsReferencePointAndTurnsWithTheEscapement) {
  Canvas canvas(200, 200, true, kGreyPixel);
  QtSurface& s = canvas.surface();
  // The default face is Arial, or its metric twin.
  const QString family = QFontInfo(s.currentQFont()).family();
  EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
  const int lineHeight = s.FontLineHeight();
  EXPECT_TRUE(lineHeight >= 13 && lineHeight <= 18) << lineHeight;
  const int width = s.TextWidth("Hg");
  s.Text(20, 20, "Hg", TextAlign::kLeftTop);
  s.Text(180, 60, "Hg", TextAlign::kRightTop);
  FontSpec turned;
  turned.escapement = 900;  // reads upwards
  s.SelectFont(turned);
  s.Text(100, 190, "Hg", TextAlign::kLeftTop);
  const QImage& image = canvas.Finish();

  // With an opaque background the whole cell is painted: its box is exactly the cell.
  EXPECT_EQ(InkBox(image.copy(0, 0, 200, 40), kGreyPixel), QRect(20, 20, width, lineHeight));
  EXPECT_EQ(InkBox(image.copy(0, 50, 200, 40), kGreyPixel),
            QRect(180 - width, 10, width, lineHeight));
  const QRect upwards = InkBox(image.copy(0, 100, 200, 100), kGreyPixel);
  EXPECT_GT(upwards.height(), upwards.width());
  EXPECT_EQ(upwards.bottom(), 89);
  EXPECT_GT(CountPixels(image, kWhitePixel), width * lineHeight);
  EXPECT_GT(Sum(image, [](QRgb p) { return qGray(p) < 80; }), 30);

  // The screen writes transparently: no white, and the ink stays inside the cell.
  Canvas screen(100, 40, false, kGreyPixel);
  screen.surface().Text(10, 10, "Hg", TextAlign::kCenterTop);
  const QImage& plain = screen.Finish();
  EXPECT_EQ(CountPixels(plain, kWhitePixel), 0);
  const QRect ink = InkBox(plain, kGreyPixel);
  EXPECT_TRUE(QRect(10 - width / 2, 10, width, lineHeight).contains(ink));
  EXPECT_GT(ink.height(), lineHeight / 2);
}

TEST(QtSurfaceTest, LeavesThePainterAsItFoundIt) {
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(kWhitePixel);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::green, 3));
  {
    QtSurface surface(painter, 96.0f, 96.0f, false);
    FontSpec font;
    font.escapement = 450;
    surface.SelectFont(font);
    surface.Polygon(Rect(2, 2, 8, 8), 2, kRed, Fill::kWhite);
    surface.Text(10, 10, "x", TextAlign::kLeftTop);
  }
  EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
  EXPECT_TRUE(painter.transform().isIdentity());
  painter.end();
}

constexpr std::uint32_t kWhite32 = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack32 = 0xFF000000u;

// A buffer with a guard frame around the part the target may write, so that a write outside the
// target shows.
struct Guarded {
  static constexpr int kGuard = 8;
  int width, height;
  std::vector<std::uint32_t> pixels;
  Guarded(int w, int h)
      : width(w),
        height(h),
        pixels(static_cast<std::size_t>((w + 2 * kGuard) * (h + 2 * kGuard)), kWhite32) {}
  RasterTarget target(std::int32_t offsetX = 0, std::int32_t offsetY = 0) {
    const int stride = width + 2 * kGuard;
    return {pixels.data() + kGuard * stride + kGuard, stride, width, height, offsetX, offsetY};
  }
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>((y + kGuard) * (width + 2 * kGuard) + x + kGuard)];
  }
  // Darkness 0..255 of a grey pixel.
  int ink(int x, int y) const { return 255 - static_cast<int>(at(x, y) & 0xFF); }
  bool guardUntouched() const {
    for (int y = -kGuard; y < height + kGuard; ++y) {
      for (int x = -kGuard; x < width + kGuard; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < width && y < height;
        if (!inside && at(x, y) != kWhite32) return false;
      }
    }
    return true;
  }
};

TEST(RasterDrawTest, SlantedStepsShareOnePixelOfInkAtTheExactHeight) {
  // A gentle and a steep line: along the major axis every step carries one pixel of ink, spread
  // over the two pixels nearest the line, and its centre of ink lies on the line.
  struct Case {
    DevicePoint from, to;
    bool steep;
  };
  for (const Case& c : {Case{{2, 3}, {37, 17}, false}, Case{{30, 2}, {21, 38}, true}}) {
    Guarded g(40, 40);
    const std::array<DevicePoint, 2> line{c.from, c.to};
    DrawHairline(g.target(), line, kBlack32);
    const int a0 = c.steep ? c.from.y : c.from.x, a1 = c.steep ? c.to.y : c.to.x;
    const int b0 = c.steep ? c.from.x : c.from.y, b1 = c.steep ? c.to.x : c.to.y;
    for (int a = std::min(a0, a1); a <= std::max(a0, a1); ++a) {
      int sum = 0, moment = 0, touched = 0;
      for (int b = 0; b < 40; ++b) {
        const int ink = c.steep ? g.ink(b, a) : g.ink(a, b);
        sum += ink;
        moment += ink * b;
        touched += ink > 0;
      }
      const double exact = b0 + static_cast<double>(b1 - b0) * (a - a0) / (a1 - a0);
      EXPECT_NEAR(sum, 255, 1) << a;
      EXPECT_LE(touched, 2) << a;
      EXPECT_NEAR(static_cast<double>(moment) / sum, exact, 0.01) << a;
    }
    EXPECT_EQ(g.ink(c.from.x, c.from.y), 255);
    EXPECT_EQ(g.ink(c.to.x, c.to.y), 255);
  }
}

TEST(RasterDrawTest, StepsAlongARowOrColumnCoverTheirStretchOnce) {
  // A curve scribbling back and forth on one row, then on one column: whole pixels from its
  // lowest to its highest point, nothing else.
  Guarded g(30, 30);
  const std::vector<DevicePoint> scribble{{10, 5},  {20, 5}, {3, 5},  {15, 5},
                                          {15, 25}, {15, 9}, {15, 28}};
  DrawHairline(g.target(), scribble, kBlack32);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      const bool onRow = y == 5 && x >= 3 && x <= 20;
      const bool onColumn = x == 15 && y >= 5 && y <= 28;
      EXPECT_EQ(g.ink(x, y), onRow || onColumn ? 255 : 0) << x << "," << y;
    }
  }
}

TEST(RasterDrawTest, FarAwayPointsAreCutToTheBufferQuickly) {
  // Lines from the ends of the coordinate range cross the buffer (offset included) without
  // writing outside it and without walking billions of steps.
  Guarded g(50, 40);
  const std::vector<DevicePoint> wild{{kMin, kMin}, {kMax, kMax}, {kMin, 20},   {kMax, 23},
                                      {25, kMin},   {27, kMax},   {kMax, kMin}, {-3, 200},
                                      {kMin, 10},   {kMax, 10},   {30, kMax},   {30, kMin}};
  DrawHairline(g.target(-7, 5), wild, kBlack32);
  EXPECT_TRUE(g.guardUntouched());
  // The nearly level line from far left to far right crosses the whole width near row 26.
  for (int x = 0; x < 50; ++x) EXPECT_GT(g.ink(x, 25) + g.ink(x, 26) + g.ink(x, 27), 200) << x;

  const std::uint32_t stampPixels[4] = {kBlack32, 0x80000000u, 0, kBlack32};
  const Stamp stamp{stampPixels, 2, 2};
  for (const DevicePoint at : {DevicePoint{-1, -1}, {49, 39}, {kMin, 0}, {kMax, kMax}}) {
    BlendStamp(g.target(), at.x, at.y, stamp);
  }
  EXPECT_TRUE(g.guardUntouched());
  EXPECT_EQ(g.at(0, 0), kBlack32);    // the stamp's last pixel, at (-1, -1) + (1, 1)
  EXPECT_EQ(g.at(49, 39), kBlack32);  // its first
  EXPECT_EQ(g.at(49, 38), kWhite32);  // transparent pixels leave the buffer as it was
}

// The same drawing through a surface on an image, once straight into the pixels and once by
// the painter (a clip the size of the image sends it there), or with a smaller clip.
QImage DrawThroughSurface(QRect clip, const std::function<void(QtSurface&)>& draw) {
  Canvas canvas(120, 80, false, kWhitePixel, clip);
  draw(canvas.surface());
  return canvas.Finish();
}

TEST(RasterDrawTest, DirectMarkersAndCurvesMatchThePainter) {
  // Markers of every fill, and a long curve: the direct drawing puts the same ink in the same
  // places as the painter would, up to rounding and the ends of the curve's steps.
  // Runs of symbols too: overlapping filled and open circles, and a diamond, which the run hands
  // on symbol by symbol.
  const std::vector<DevicePoint> centres{{20, 40}, {22, 41}, {21, 43}, {60, 60}, {-1, 79}};
  const auto markers = [&](QtSurface& s) {
    for (int i = 0; i < 6; ++i) {
      s.Ellipse(10 + 17 * i, 10, 10 + 17 * i + 3 + i, 13 + i, 1 + i % 2, RGB{0, 0, 200},
                i % 2 == 0 ? Fill::kColor : Fill::kWhite);
    }
    for (const std::int32_t code : {1, 2, 5}) {
      s.Markers(centres, RGB{200, 0, 0}, 3, 1, code);
      for (const DevicePoint& c : centres) DrawMarker(s, c.x + 40, c.y, RGB{200, 0, 0}, 3, 1, code);
    }
  };
  const QRect whole(0, 0, 120, 80);
  const auto expectSameInk = [&](const std::function<void(QtSurface&)>& draw) {
    const QImage direct = DrawThroughSurface({}, draw);
    const QImage painted = DrawThroughSurface(whole, draw);
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 120; ++x) {
        const QRgb a = direct.pixel(x, y), b = painted.pixel(x, y);
        ASSERT_LE(std::abs(qRed(a) - qRed(b)) + std::abs(qBlue(a) - qBlue(b)), 4) << x << "," << y;
      }
    }
  };
  expectSameInk(markers);
  // The largest markers a plot draws, open over filled, reaching past the image's edges.
  expectSameInk([](QtSurface& s) {
    s.Markers(std::vector<DevicePoint>{{40, 30}}, RGB{0, 0, 200}, 50, 1, 1);
    s.Markers(std::vector<DevicePoint>{{90, 60}}, RGB{200, 0, 0}, 50, 1, 2);
  });

  std::vector<DevicePoint> curve;
  for (int i = 0; i <= 100; ++i) curve.push_back({10 + i, 40 + (i * 37 % 29) - 14});
  const auto line = [&](QtSurface& s) { s.Polyline(curve, 1, RGB{0, 0, 0}, PenStyle::kSolid); };
  const auto darkness = [](QRgb p) { return 255L - qBlue(p); };
  const long directInk = Sum(DrawThroughSurface({}, line), darkness);
  const long paintedInk = Sum(DrawThroughSurface(whole, line), darkness);
  EXPECT_NEAR(directInk, paintedInk, paintedInk / 20);

  // A clip smaller than the image is honoured: the painter draws, and nothing lands outside.
  EXPECT_EQ(InkBox(DrawThroughSurface(QRect(0, 0, 60, 80), line).copy(61, 0, 59, 80), kWhitePixel),
            QRect());
}

}  // namespace
}  // namespace sx
