// An export must show what the screen shows: one plot drawn on the PNG back end (the screen
// pass) and exported as SVG with that layout look the same once the SVG is rasterised.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>

#include "core/reader.h"
#include "platform/image_output.h"
#include "plot/plot_pass.h"
#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {
namespace {

// Share of pixels whose colour differs noticeably (antialiased text edges differ a little
// between the raster and the vector renderer; shapes must not).
double DifferingShare(const QImage& a, const QImage& b) {
  long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      const int d = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q));
      if (d > 96) ++differing;
    }
  }
  return static_cast<double>(differing) / (a.width() * a.height());
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
    ASSERT_EQ(WriteImageFile(svg, ImageFormat::kSvg, options,
                             [&](Surface& s) { pass(s, kStageCurrentLayout); }),
              "");

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
    EXPECT_LT(DifferingShare(screen, exported), 0.01) << "mode " << mode;
  }
}

}  // namespace
}  // namespace sx
