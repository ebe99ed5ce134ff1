#include "plot/plot_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "render/drawing.h"
#include "scene_fixture.h"
#include "settings/drawing_bounds.h"

namespace sx {
namespace {

constexpr char kData[] =
    "Depth [m]\tTemp [deg C]\tSal [psu]\n0\t10.5\t35.1\n25\t11.2\t34.9\n50\t12.0\t35.4\n"
    "100\t11.7\t35.0\n";

// A loaded file on a 600 x 400 graphic.
class PlotPassTest : public SceneTest {
 protected:
  void SetUp() override {
    Open(kData, "profile.tab");
    graphic().graphicWidth = 600, graphic().graphicHeight = 400, graphic().frameWidth = 1;
  }
  using Scene::Pass;
  void Pass(PlotStage stage, RecordingSurface& target, ScaleInfo targetScale) {
    target.clear();
    const ScaleInfo screen = scale;
    scale = targetScale;
    PlotContext ctx = Context();
    PlotPass(target, ctx, stage);
    scale = screen;
  }
  // How many sides of parameter p's frame were drawn.
  int FrameSidesDrawn(int p) {
    const ColumnRecord& c = column(p);
    const std::int32_t x1 = c.originX, y1 = c.originY;
    const std::int32_t x2 = x1 + c.extentX, y2 = y1 + c.extentY;
    const std::vector<Segment> sides = {
        {x1, y1, x1, y2}, {x1, y2, x2, y2}, {x2, y2, x2, y1}, {x2, y1, x1, y1}};
    int n = 0;
    for (const Call& call : surface.calls()) {
      if (call.points.size() != 2) continue;
      const Segment l{call.points[0].x, call.points[0].y, call.points[1].x, call.points[1].y};
      n += static_cast<int>(std::count(sides.begin(), sides.end(), l));
    }
    return n;
  }
  std::size_t Drawn() const {
    std::size_t n = 0;
    for (const Call& c : surface.calls()) n += c.kind != Kind::kFont;
    return n;
  }
};

TEST_F(PlotPassTest, DrawsNothingWithoutSomethingToPlot) {
  // No such stage or mode; every parameter switched off (a stale count alone does not bring the
  // axes back).
  for (PlotStage stage : {static_cast<PlotStage>(-1), static_cast<PlotStage>(5)}) {
    Pass(stage);
    EXPECT_TRUE(surface.calls().empty()) << static_cast<int>(stage);
  }
  graphic().plotMode = static_cast<PlotMode>(7);
  Pass(kStageScreen);
  EXPECT_TRUE(surface.calls().empty());
  graphic().plotMode = kVertical;
  for (int p = 1; p <= 2; ++p) record(p).plotState = 0;
  Pass(kStageScreen);
  EXPECT_EQ(Drawn(), 0u);
}

TEST_F(PlotPassTest, FramesOnlyOnScreenAndLayoutOnlyForScreenAndPrinter) {
  ASSERT_EQ(graphic().plotMode, kVertical);  // every load starts in Vertical mode
  // On screen the axes draw each frame and the data pass draws it once more on top of the
  // data; the exports and the printer get only the data pass's strip frame.
  Pass(kStageScreen);
  EXPECT_EQ(FrameSidesDrawn(1), 8);
  EXPECT_EQ(FrameSidesDrawn(2), 8);
  const ColumnRecord vertical = column(1);
  Pass(kStageMetafile);
  EXPECT_EQ(FrameSidesDrawn(1), 4);
  const std::string exported = surface.Dump();

  // An export right after a mode change keeps the layout of the last screen paint.
  graphic().plotMode = kHorizontal;
  Pass(kStageMetafile);
  EXPECT_EQ(data().column(1).originX, vertical.originX);
  EXPECT_EQ(data().column(1).extentY, vertical.extentY);
  // Printing lays out anew for the page (at its resolution: the next test) and leaves the screen's
  // layout to the exports, clicks and read-out that follow.
  RecordingSurface printer(600.0f, 600.0f, true);
  Pass(kStagePrinter, printer, ComputeScale(printer, 96.0f));
  EXPECT_EQ(data().column(1).originX, vertical.originX);
  EXPECT_EQ(data().column(1).extentY, vertical.extentY);
  graphic().plotMode = kVertical;
  Pass(kStageMetafile);
  EXPECT_EQ(surface.Dump(), exported);
}

TEST_F(PlotPassTest, PrinterAtFourTimesTheScreenResolution) {
  graphic().plotMode = kHorizontal;
  record(0).ticklines = 1;
  // Axes only: the curves and markers are lines of their own lengths.
  for (int p = 1; p <= data().ParameterCount; ++p) record(p).lines = record(p).marker = 0;
  RecordingSurface printer(384.0f, 384.0f, true);
  const ScaleInfo scale = ComputeScale(printer, 96.0f);
  ASSERT_EQ(scale.scaleStep, 4);
  Pass(kStagePrinter, printer, scale);
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

TEST_F(PlotPassTest, TinyIncrementOnAHugeRangeEndsQuickly) {
  ParameterSettings& x = record(0);
  x.minimum = 0, x.maximum = 1e6f, x.tickIncrement = 1e-6f, x.minorTicks = 1000000;
  x.ticklines = x.minorTicklines = x.bothSides = 1;
  ParameterSettings& p = record(1);
  p.minimum = -1e30f, p.maximum = 1e30f, p.tickIncrement = 1e-30f, p.minorTicks = 5;
  Pass(kStageScreen);
  EXPECT_GT(Drawn(), 0u);
  EXPECT_LT(surface.calls().size(), 500u);
}

// Sizes from a settings file are drawn bounded: however large the numbers in the file, every
// mark stays within what the picture shows and the work follows the rows; the settings keep the
// file's numbers.
TEST_F(PlotPassTest, AbsurdSizesDrawInWorkProportionalToTheData) {
  constexpr int kRows = 200;
  std::string text = "Depth [m]\tA\tB\n";
  for (int i = 0; i < kRows; ++i) {
    text += std::to_string(i) + "\t" + std::to_string(i % 17) + "\t" + std::to_string(i % 5) + "\n";
  }
  Open(text, "rows.tab");
  constexpr std::int32_t kHuge = 100000;
  graphic().graphicWidth = 600, graphic().graphicHeight = 400;
  graphic().frameWidth = graphic().plotDistance = graphic().fontSize = kHuge;
  graphic().modeFontSize = kHuge;
  for (int p = 0; p <= 2; ++p) {
    ParameterSettings& r = settings().record(p);
    r.markerSize = r.modeMarkerSize = r.lineWidth = r.modeLineWidth = kHuge;
    r.columnWidth = r.axisLength = kHuge;
    r.fixedAxisLength = r.marker = r.lines = r.columns = r.valueText = 1;
  }
  const std::int32_t kMaxFontHeight = (kMaxDrawnFontSize + 2) * 96 / 72 + 1;
  for (const PlotMode mode : {kHorizontal, kVertical, kTernary, kPhase}) {
    SCOPED_TRACE(mode);
    graphic().plotMode = mode;
    Pass(kStageScreen);
    EXPECT_LT(surface.calls().size(), 10u * kRows);
    for (const Call& c : surface.calls()) {
      EXPECT_LE(c.width, kMaxDrawnLineWidth);
      EXPECT_LE(std::abs(c.font.height), kMaxFontHeight);
      if (c.kind == Kind::kEllipse) {
        EXPECT_LE(c.points[1].x - c.points[0].x, 600);
        EXPECT_LE(c.points[1].y - c.points[0].y, 600);
      }
    }
    EXPECT_EQ(settings().record(1).markerSize, kHuge);
    EXPECT_EQ(graphic().fontSize, kHuge);
  }
}

}  // namespace
}  // namespace sx
