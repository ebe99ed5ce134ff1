#include "platform/raster_draw.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/png_encoder.h"
#include "platform/qt_surface.h"
#include "render/drawing.h"

namespace sx {
namespace {

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
    RasterTarget t;
    t.stride = width + 2 * kGuard;
    t.pixels = pixels.data() + kGuard * t.stride + kGuard;
    t.width = width;
    t.height = height;
    t.offsetX = offsetX;
    t.offsetY = offsetY;
    return t;
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
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
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
// the painter (a clip the size of the image sends it there).
QImage DrawThroughSurface(bool clipped, const std::function<void(QtSurface&)>& draw) {
  QImage image(120, 80, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  if (clipped) painter.setClipRect(0, 0, 120, 80);
  {
    QtSurface surface(painter, 96.0f, 96.0f, false);
    draw(surface);
  }
  painter.end();
  return image;
}

int DarknessSum(const QImage& image) {
  int sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) sum += 255 - qBlue(image.pixel(x, y));
  }
  return sum;
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
  const QImage direct = DrawThroughSurface(false, markers);
  const QImage painted = DrawThroughSurface(true, markers);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 120; ++x) {
      const QRgb a = direct.pixel(x, y), b = painted.pixel(x, y);
      ASSERT_LE(std::abs(qRed(a) - qRed(b)) + std::abs(qBlue(a) - qBlue(b)), 4) << x << "," << y;
    }
  }

  std::vector<DevicePoint> curve;
  for (int i = 0; i <= 100; ++i) curve.push_back({10 + i, 40 + (i * 37 % 29) - 14});
  const auto line = [&](QtSurface& s) { s.Polyline(curve, 1, RGB{0, 0, 0}, PenStyle::kSolid); };
  const int directInk = DarknessSum(DrawThroughSurface(false, line));
  const int paintedInk = DarknessSum(DrawThroughSurface(true, line));
  EXPECT_NEAR(directInk, paintedInk, paintedInk / 20);

  // A clip smaller than the image is honoured: the painter draws, and nothing lands outside.
  QImage image(120, 80, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setClipRect(0, 0, 60, 80);
  {
    QtSurface surface(painter, 96.0f, 96.0f, false);
    line(surface);
  }
  painter.end();
  for (int y = 0; y < 80; ++y) {
    for (int x = 61; x < 120; ++x) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
  }
}

// The IDAT data of a PNG file, inflated by zlib (which checks the stream's own checksum).
std::string InflatedImageData(const std::string& png) {
  std::string idat;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const auto byte = [&](std::size_t i) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(png[i]));
    };
    const std::uint32_t length =
        byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    if (png.compare(at + 4, 4, "IDAT") == 0) idat += png.substr(at + 8, length);
    at += 12 + length;
  }
  std::string out(64 << 20, '\0');
  uLongf size = static_cast<uLongf>(out.size());
  if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                 reinterpret_cast<const Bytef*>(idat.data()),
                 static_cast<uLong>(idat.size())) != Z_OK) {
    return {};
  }
  out.resize(size);
  return out;
}

TEST(PngEncoderTest, DecodesToTheSamePixelsAndResolution) {
  // Even areas, lines, noise and a padded row stride: every filter choice and run must come back.
  // The large picture is packed in two bands; white rows repeat across its middle.
  for (const QSize size : {QSize(301, 97), QSize(701, 401)}) {
    const int w = size.width(), h = size.height();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>((w + 3) * h), 0xFFFFFFFFu);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        seed = seed * 1664525u + 1013904223u;
        std::uint32_t& p = pixels[static_cast<std::size_t>(y * (w + 3) + x)];
        if (y > 61 && (y < h / 2 - 2 || y > h / 2 + 2)) p = 0xFF000000u | (seed >> 8);  // noise
        // Lines, then white rows repeating up to 60, then one that differs in a single pixel.
        if ((x == y && y < 20) || y == 10 || (y == 61 && x == 5)) p = 0xFF204080u;
      }
    }
    std::string png = "keep";
    ASSERT_TRUE(EncodePng(PngPicture{pixels.data(), w + 3, w, h, 3780}, png));
    ASSERT_EQ(png.substr(0, 4), "keep");
    EXPECT_EQ(InflatedImageData(png.substr(4)).size(), static_cast<std::size_t>(h) * (3 * w + 1));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(reinterpret_cast<const uchar*>(png.data()) + 4,
                                     static_cast<int>(png.size() - 4), "PNG"));
    ASSERT_EQ(decoded.size(), QSize(w, h));
    EXPECT_EQ(decoded.dotsPerMeterX(), 3780);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(decoded.pixel(x, y),
                  pixels[static_cast<std::size_t>(y * (w + 3) + x)] | 0xFF000000u)
            << x << "," << y;
      }
    }
    std::string untouched;
    EXPECT_FALSE(EncodePng(PngPicture{pixels.data(), w + 3, 0, h, 0}, untouched));
    EXPECT_TRUE(untouched.empty());
  }
}

}  // namespace
}  // namespace sx
