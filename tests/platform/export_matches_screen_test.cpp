// An export must show what the screen shows: one plot drawn on the PNG back end (the screen
// pass) and exported as SVG with that layout (the export pass) look the same once the SVG is
// rasterised. The two renderers draw glyphs each their own way, so the texts' cells are set aside;
// elsewhere they differ in specks at most, while a line that one of them lacks differs along its
// whole length: the test looks for the longest run of differing pixels along a row or a column,
// not for a share of them, so that a single missing frame line fails it.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "core/reader.h"
#include "platform/image_output.h"
#include "platform/qt_surface.h"
#include "plot/plot_pass.h"
#include "render/recording_surface.h"
#include "render/text_placement.h"
#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {
namespace {

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
  TestFiles files;
  RecordingUserInterface ui;
  for (const int mode : {kVertical, kHorizontal, kTernary, kPhase}) {
    auto session = CreateSession({}, ui);
    const char* example = mode == kTernary ? "/examples/ternary_sediment.tab"
                          : mode == kPhase ? "/examples/phase_currents.tab"
                                           : "/examples/core_ocean.tab";
    SetDataFilePath(session->data, std::string(SONDRIX_SOURCE_DIR) + example);
    ASSERT_EQ(OpenDataFile(*session), 0);
    if (mode != kVertical) ChoosePlotMode(session->settings, mode);
    session->settings.graphic.graphicWidth = 800;
    session->settings.graphic.graphicHeight = 600;

    ImageOptions options;
    options.width = 800;
    options.height = 600;
    options.opaqueText = false;
    auto pass = [&](Surface& s, std::int32_t stage) {
      PlotContext ctx = session->plotContext(ComputeScale(s, 96.0f));
      PlotPass(s, ctx, stage);
    };
    const std::string png = files.dir() + "/screen.png";
    const std::string svg = files.dir() + "/export.svg";
    ASSERT_EQ(
        WriteImageFile(png, ImageFormat::kPng, options, [&](Surface& s) { pass(s, kStageScreen); }),
        "");
    // The export draws with the layout of the screen pass, at the stage of an exported file.
    const auto exportPass = [&](Surface& s) { pass(s, kStageMetafile); };
    ASSERT_EQ(WriteImageFile(svg, ImageFormat::kSvg, options, exportPass), "");

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
    const int run = LongestDifferingRun(screen, exported, TextCells(exportPass));
    EXPECT_LE(run, kLongestSpeck) << "mode " << mode;
  }
}

}  // namespace
}  // namespace sx
