#include "plot/plot_pass.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/reader.h"
#include "core/session.h"
#include "render/drawing.h"
#include "render/recording_surface.h"
#include "test_files.h"

namespace sx {
namespace {

using Call = RecordingSurface::Call;
using Kind = RecordingSurface::Kind;

constexpr char kData[] =
    "Depth [m]\tTemp [deg C]\tSal [psu]\n"
    "0\t10.5\t35.1\n"
    "25\t11.2\t34.9\n"
    "50\t12.0\t35.4\n"
    "100\t11.7\t35.0\n";

// A loaded file on a 600 x 400 graphic.
struct PassFixture {
  RecordingUserInterface ui;
  TestFiles files;
  std::unique_ptr<Session> session = CreateSession({}, ui);
  RecordingSurface surface;

  PassFixture() {
    SetDataFilePath(session->data, files.Write("profile.tab", kData));
    EXPECT_EQ(OpenDataFile(*session), 0);
    GraphicSettings& g = session->settings.graphic;
    g.graphicWidth = 600;
    g.graphicHeight = 400;
    g.frameWidth = 1;
  }
  GraphicSettings& graphic() { return session->settings.graphic; }
  void Pass(std::int32_t stage, RecordingSurface& target, ScaleInfo scale = {}) {
    target.clear();
    PlotContext ctx = session->plotContext(scale);
    PlotPass(target, ctx, stage);
  }
  void Pass(std::int32_t stage) { Pass(stage, surface); }
  // How many sides of parameter p's frame were drawn.
  int FrameSidesDrawn(int p) const {
    const ColumnRecord& c = session->data.column(p);
    const DevicePoint a{c.originX, c.originY}, b{c.originX, c.originY + c.extentY};
    const DevicePoint d{c.originX + c.extentX, c.originY};
    const DevicePoint e{c.originX + c.extentX, c.originY + c.extentY};
    int n = 0;
    for (const Call& call : surface.calls()) {
      const std::vector<DevicePoint>& q = call.points;
      n += q == std::vector<DevicePoint>{a, b} || q == std::vector<DevicePoint>{b, e} ||
           q == std::vector<DevicePoint>{e, d} || q == std::vector<DevicePoint>{d, a};
    }
    return n;
  }
  std::size_t Drawn() const {
    std::size_t n = 0;
    for (const Call& c : surface.calls()) n += c.kind != Kind::kFont;
    return n;
  }
};

TEST(PlotPassTest, DrawsNothingWithoutSomethingToPlot) {
  PassFixture f;
  f.Pass(1);
  EXPECT_GT(f.Drawn(), 0u);

  // Every parameter switched off, as the mode commands count them.
  for (int p = 1; p <= 2; ++p) f.session->settings.record(p).plotState = 0;
  f.graphic().plottedCount = 0;
  f.Pass(1);
  EXPECT_TRUE(f.surface.calls().empty());
  // A stale count alone does not bring the axes back.
  f.graphic().plottedCount = 2;
  f.Pass(1);
  EXPECT_EQ(f.Drawn(), 0u);

  PassFixture g;
  for (std::int32_t stage : {-1, 5}) {
    g.Pass(stage);
    EXPECT_TRUE(g.surface.calls().empty()) << stage;
  }
  g.graphic().plotMode = 7;
  g.Pass(1);
  EXPECT_TRUE(g.surface.calls().empty());
  g.graphic().plotMode = kVertical;
  g.session->data.column(0).itemCount = 0;
  g.Pass(1);
  EXPECT_TRUE(g.surface.calls().empty());
}

TEST(PlotPassTest, FramesOnlyOnScreenAndLayoutOnlyForScreenAndPrinter) {
  PassFixture f;
  ASSERT_EQ(f.graphic().plotMode, kVertical);  // every load starts in Vertical mode
  // On screen the axes draw each frame and the data pass draws it once more on top of the
  // data; the exports and the printer get only the data pass's strip frame.
  f.Pass(1);
  EXPECT_EQ(f.FrameSidesDrawn(1), 8);
  EXPECT_EQ(f.FrameSidesDrawn(2), 8);
  const ColumnRecord vertical = f.session->data.column(1);
  for (std::int32_t stage : {2, 3}) {
    f.Pass(stage);
    EXPECT_GT(f.Drawn(), 0u);
    EXPECT_EQ(f.FrameSidesDrawn(1), 4) << stage;
  }
  f.Pass(0);
  EXPECT_EQ(f.FrameSidesDrawn(1), 8);

  // An export right after a mode change keeps the layout of the last screen paint.
  f.graphic().plotMode = kHorizontal;
  f.Pass(3);
  EXPECT_EQ(f.session->data.column(1).originX, vertical.originX);
  EXPECT_EQ(f.session->data.column(1).extentY, vertical.extentY);
  // Printing lays out anew, without frames.
  f.Pass(4);
  EXPECT_LT(f.session->data.column(1).extentY, 0);  // Horizontal strips grow upwards
  EXPECT_EQ(f.FrameSidesDrawn(1), 4);
  f.Pass(1);
  EXPECT_EQ(f.FrameSidesDrawn(1), 8);
}

TEST(PlotPassTest, PrinterAtFourTimesTheScreenResolution) {
  PassFixture f;
  f.graphic().plotMode = kHorizontal;
  f.session->settings.record(0).ticklines = 1;
  // Axes only: the curves and markers are lines of their own lengths.
  for (int p = 1; p <= f.session->data.ParameterCount; ++p) {
    f.session->settings.record(p).lines = 0;
    f.session->settings.record(p).marker = 0;
  }
  RecordingSurface printer(384.0f, 384.0f, true);
  const ScaleInfo scale = ComputeScale(printer, 96.0f);
  ASSERT_EQ(scale.scaleStep, 4);
  f.Pass(4, printer, scale);
  f.Pass(0, printer, scale);  // the same layout with its frames
  int lines = 0;
  for (const Call& c : printer.calls()) {
    if (c.kind != Kind::kPolyline) continue;
    ++lines;
    EXPECT_EQ(c.width, 4);
    // Every mark is a tick length long: between 6 and 8 device units.
    const int length =
        std::abs(c.points[1].x - c.points[0].x) + std::abs(c.points[1].y - c.points[0].y);
    if (c.color == kDefaultDrawColor && length < 20) {
      EXPECT_TRUE(length == 8 || length == 4) << length;  // major 8, minor 8 / 2
    }
  }
  EXPECT_GT(lines, 20);
}

TEST(PlotPassTest, TinyIncrementOnAHugeRangeEndsQuickly) {
  PassFixture f;
  for (int mode : {kHorizontal, kVertical}) {
    f.graphic().plotMode = mode;
    ParameterSettings& x = f.session->settings.record(0);
    x.minimum = 0;
    x.maximum = 1e6f;
    x.tickIncrement = 1e-6f;
    x.minorTicks = 1000000;
    x.ticklines = x.minorTicklines = x.bothSides = 1;
    ParameterSettings& p = f.session->settings.record(1);
    p.minimum = -1e30f;
    p.maximum = 1e30f;
    p.tickIncrement = 1e-30f;
    p.minorTicks = 5;
    f.Pass(1);
    EXPECT_GT(f.Drawn(), 0u);
    EXPECT_LT(f.surface.calls().size(), 500u) << mode;
  }
}

}  // namespace
}  // namespace sx
