#include "platform/qt_surface.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/image_output.h"
#include "test_files.h"

namespace sx {
namespace {

constexpr RGB kRed{255, 0, 0};
constexpr RGB kBlack{0, 0, 0};
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kGreyPixel = qRgb(128, 128, 128);
const QRgb kBlackPixel = qRgb(0, 0, 0);
const QRgb kRedPixel = qRgb(255, 0, 0);

// An image with a surface on it; Finish() ends the painting and hands the pixels out.
class Canvas {
 public:
  Canvas(int width, int height, bool opaqueText = false, QRgb background = kWhitePixel)
      : image_(width, height, QImage::Format_RGB32) {
    image_.fill(background);
    painter_.begin(&image_);
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

using Points = std::vector<DevicePoint>;

Points Rect(int x1, int y1, int x2, int y2) {
  return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
}

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

template <typename Predicate>
int Count(const QImage& image, Predicate predicate) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += predicate(image.pixel(x, y)) ? 1 : 0;
  }
  return n;
}

int CountPixels(const QImage& image, QRgb color) {
  return Count(image, [color](QRgb p) { return p == color; });
}

// Mostly red: a curve's edge pixels are antialiased.
bool IsRed(QRgb p) {
  return qRed(p) > 230 && qGreen(p) < 40 && qBlue(p) < 40;
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
  EXPECT_TRUE(IsRed(image.pixel(10, 20)));  // the outline at the left edge of the box
  EXPECT_TRUE(IsRed(image.pixel(30, 20)));  // and at right - 1
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
  EXPECT_GT(Count(image, [](QRgb p) { return qGray(p) < 80; }), 30);

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

void DrawSample(Surface& s) {
  s.Polyline(Points{{10, 10}, {300, 200}, {380, 20}}, 2, kRed, PenStyle::kSolid);
  s.Polygon(Rect(50, 150, 120, 250), 1, RGB{0, 0, 200}, Fill::kColor);
  s.Ellipse(200, 100, 240, 140, 1, kBlack, Fill::kWhite);
  s.Text(20, 260, "Depth [m]", TextAlign::kLeftTop);
}

QByteArray ReadAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ImageOutputTest, WritesPngSvgAndPdfThatOpenAndShowTheDrawing) {
  TestFiles files;
  ImageOptions options;
  options.width = 400;
  options.height = 300;
  options.dpi = 96.0f;

  const std::string png = files.dir() + "/plot.png";
  ASSERT_EQ(WriteImageFile(png, ImageFormat::kPng, options, DrawSample), "");
  QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(400, 300));
  EXPECT_EQ(image.pixel(80, 200), qRgb(0, 0, 200));

  const std::string svg = files.dir() + "/plot.svg";
  ASSERT_EQ(WriteImageFile(svg, ImageFormat::kSvg, options, DrawSample), "");
  const QByteArray svgText = ReadAll(svg);
  EXPECT_TRUE(svgText.contains("Depth [m]"));
  EXPECT_TRUE(QSvgRenderer(QString::fromStdString(svg)).isValid());

  const std::string pdf = files.dir() + "/plot.pdf";
  ASSERT_EQ(WriteImageFile(pdf, ImageFormat::kPdf, options, DrawSample), "");
  const QByteArray pdfBytes = ReadAll(pdf);
  EXPECT_TRUE(pdfBytes.startsWith("%PDF"));
  // 400 x 300 pixels at 96 dpi are 300 x 225 points, the landscape way round.
  const QRegularExpressionMatch box = QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])")
                                          .match(QString::fromLatin1(pdfBytes));
  ASSERT_TRUE(box.hasMatch());
  EXPECT_NEAR(box.captured(1).toDouble(), 300.0, 0.01);
  EXPECT_NEAR(box.captured(2).toDouble(), 225.0, 0.01);
}

TEST(ImageOutputTest, RefusesWhatCannotBeWrittenWithoutLeavingAFile) {
  TestFiles files;
  ImageOptions options;
  options.width = 100;
  options.height = 100;
  const std::string missingFolder = files.dir() + "/no-such-folder/plot.png";
  const std::string error = WriteImageFile(missingFolder, ImageFormat::kPng, options, DrawSample);
  EXPECT_NE(error.find(missingFolder), std::string::npos) << error;

  const std::string png = files.dir() + "/bad.png";
  options.width = 0;
  EXPECT_NE(WriteImageFile(png, ImageFormat::kPng, options, DrawSample), "");
  options.width = options.height = 30000;  // 900 million pixels
  EXPECT_NE(WriteImageFile(png, ImageFormat::kPng, options, DrawSample), "");
  EXPECT_FALSE(std::filesystem::exists(png));

  const std::pair<const char*, std::optional<ImageFormat>> kinds[] = {
      {"a/b.PNG", ImageFormat::kPng},
      {"b.svg", ImageFormat::kSvg},
      {"x.y/b.pdf", ImageFormat::kPdf},
      {"b.emf", std::nullopt},
      {"png", std::nullopt}};
  for (const auto& [path, format] : kinds) EXPECT_EQ(ImageFormatForPath(path), format) << path;
}

}  // namespace
}  // namespace sx
