// Picture files: PNG, SVG and PDF that open and show the drawing, the program's own PNG encoder,
// and an export that looks as the screen does.

#include "platform/image_output.h"

#include <zlib.h>

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>
#include <functional>
#include <optional>

#include "platform/png_encoder.h"
#include "platform/qt_surface.h"
#include "render/recording_surface.h"
#include "render/text_placement.h"
#include "scene_fixture.h"

namespace sx {
namespace {

TEST(ImageOutputTest, WritesPngSvgAndPdfThatOpenAndShowTheDrawing) {
  TestFiles files;
  ImageOptions options;
  options.width = 400, options.height = 300;

  const std::string png = files.dir() + "/plot.png";
  ASSERT_EQ(WriteImageFile(png, ImageFormat::kPng, options, DrawSample), "");
  // Size and validity of PNG and SVG files are also seen where the export is compared with the
  // screen; that comparison cannot tell two empty pictures apart, this pixel can.
  EXPECT_EQ(QImage(QString::fromStdString(png)).pixel(80, 200), qRgb(0, 0, 200));

  const std::string svg = files.dir() + "/plot.svg";
  ASSERT_EQ(WriteImageFile(svg, ImageFormat::kSvg, options, DrawSample), "");
  EXPECT_NE(ReadBytes(svg).find("Depth [m]"), std::string::npos);

  const std::string pdf = files.dir() + "/plot.pdf";
  ASSERT_EQ(WriteImageFile(pdf, ImageFormat::kPdf, options, DrawSample), "");
  const QString pdfText = QString::fromLatin1(ReadBytes(pdf));
  EXPECT_TRUE(pdfText.startsWith("%PDF"));
  // 400 x 300 pixels at 96 dpi are 300 x 225 points, the landscape way round.
  const QRegularExpressionMatch box =
      QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])").match(pdfText);
  ASSERT_TRUE(box.hasMatch());
  EXPECT_NEAR(box.captured(1).toDouble(), 300.0, 0.01);
  EXPECT_NEAR(box.captured(2).toDouble(), 225.0, 0.01);
}

TEST(ImageOutputTest, RefusesWhatCannotBeWrittenWithoutLeavingAFile) {
  TestFiles files;
  ImageOptions options;
  options.width = options.height = 100;
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

// The IDAT data of a PNG file, inflated by zlib (which checks the stream's own checksum).
std::string InflatedImageData(const std::string& png) {
  std::string idat;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    std::uint32_t length = 0;
    for (int k = 0; k < 4; ++k) length = length << 8 | static_cast<unsigned char>(png[at + k]);
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

// Outside the texts the renderers differ only in specks (the antialiased rims of markers); a line
// missing from one of them differs along its whole length.
constexpr int kLongestSpeck = 6;

bool Differs(QRgb p, QRgb q) {
  return std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q)) >
         96;
}

// The cells of the texts a pass draws, a pixel wider all round: there the raster and the vector
// renderer place glyph edges each their own way.
std::vector<QRect> TextCells(const std::function<void(Surface&)>& pass) {
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  QtSurface metrics(painter, 96.0f, 96.0f, true);
  RecordingSurface recording(96.0f, 96.0f, true, &metrics);
  pass(recording);
  std::vector<QRect> cells;
  for (const RecordingSurface::Call& c : recording.calls()) {
    if (c.kind != RecordingSurface::Kind::kText) continue;
    metrics.SelectFont(c.font);
    metrics.fontEscapement = c.font.escapement;
    const TextBox box = MeasureTextBox(metrics, c.text, c.points[0].x, c.points[0].y, 0,
                                       static_cast<std::int32_t>(c.align));
    cells.push_back(
        QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)).adjusted(-1, -1, 1, 1));
  }
  return cells;
}

// The longest run of differing pixels along a row or a column, outside the text cells.
int LongestDifferingRun(const QImage& a, const QImage& b, const std::vector<QRect>& texts) {
  QImage mask(a.size(), QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter painter(&mask);
    for (const QRect& r : texts) painter.fillRect(r, Qt::white);
  }
  int longest = 0;
  std::vector<int> down(static_cast<std::size_t>(a.width()), 0);
  for (int y = 0; y < a.height(); ++y) {
    int across = 0;
    for (int x = 0; x < a.width(); ++x) {
      int& column = down[static_cast<std::size_t>(x)];
      if (qGray(mask.pixel(x, y)) == 0 && Differs(a.pixel(x, y), b.pixel(x, y))) {
        longest = std::max({longest, ++across, ++column});
      } else {
        across = column = 0;
      }
    }
  }
  return longest;
}

TEST(ExportMatchesScreen, SvgExportRasterisesToTheScreenPicture) {
  // One plot drawn on the PNG back end (the screen pass) and exported as SVG with that layout
  // (the export pass) look the same once the SVG is rasterised. The two renderers draw glyphs
  // each their own way, so the texts' cells are set aside; elsewhere they differ in specks at
  // most, while a line that one of them lacks differs along its whole length: the longest run of
  // differing pixels along a row or a column is measured, so that a single missing frame line
  // fails the test.
  for (const PlotMode mode : {kVertical, kHorizontal, kTernary, kPhase}) {
    Scene scene;
    scene.OpenPath(std::string(SONDRIX_SOURCE_DIR) +
                   (mode == kTernary ? "/examples/ternary_sediment.tab"
                    : mode == kPhase ? "/examples/phase_currents.tab"
                                     : "/examples/core_ocean.tab"));
    if (mode != kVertical) ChoosePlotMode(scene.settings(), mode);
    scene.graphic().graphicWidth = 800;
    scene.graphic().graphicHeight = 600;

    ImageOptions options;
    options.width = 800, options.height = 600, options.opaqueText = false;
    auto pass = [&](PlotStage stage) {
      return [&scene, stage](Surface& s) {
        PlotContext ctx = scene.session->plotContext(ComputeScale(s, 96.0f));
        PlotPass(s, ctx, stage);
      };
    };
    const std::string png = scene.files.dir() + "/screen.png";
    const std::string svg = scene.files.dir() + "/export.svg";
    ASSERT_EQ(WriteImageFile(png, ImageFormat::kPng, options, pass(kStageScreen)), "");
    // The export draws with the layout of the screen pass, at the stage of an exported file.
    ASSERT_EQ(WriteImageFile(svg, ImageFormat::kSvg, options, pass(kStageMetafile)), "");

    const QImage screen = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    QImage exported(800, 600, QImage::Format_RGB32);
    exported.fill(Qt::white);
    QSvgRenderer renderer(QString::fromStdString(svg));
    ASSERT_TRUE(renderer.isValid());
    {
      QPainter painter(&exported);
      renderer.render(&painter, QRectF(0, 0, 800, 600));
    }
    ASSERT_EQ(screen.size(), exported.size());
    const int run = LongestDifferingRun(screen, exported, TextCells(pass(kStageMetafile)));
    EXPECT_LE(run, kLongestSpeck) << "mode " << mode;
  }
}

}  // namespace
}  // namespace sx
