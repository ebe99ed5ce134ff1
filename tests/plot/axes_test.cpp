#include "plot/axes.h"

#include <cmath>

#include "plot/layout.h"
#include "scene_fixture.h"

namespace sx {
namespace {

constexpr RGB kGridColor{10, 20, 30};

// A Horizontal plot whose X axis runs 0..100 with increment 10 and one minor tick; strip 1 spans
// x 100..600 (5 units per X unit) and y 300 up to 100, so the tick length is 6.
class AxisTest : public SceneTest {
 protected:
  void SetUp() override {
    SetAllDefaults(settings());
    GraphicSettings& g = graphic();
    g.plotMode = kHorizontal, g.plotDistance = 20;
    g.fileNameStamp = g.dateTimeStamp = 0;
    ParameterSettings& x = record(0);
    x.color = kGridColor;
    x.minimum = 0, x.maximum = 100, x.tickIncrement = 10, x.reverseRange = 0;
    x.minorTicks = x.ticklines = 1;
    x.format.assign("%.1f");
    ColumnRecord& c0 = column(0);
    c0.label.assign("Depth [m]");
    c0.itemCount = 3, c0.originX = 100, c0.originY = 300, c0.extentX = 500;
    TextMetrics& m = session->render.metrics;
    m.numberHeight = 13, m.halfNumberHeight = 6, m.labelHeight = 15;
    m.titleHeight = 17, m.smallHeight = 10;
    AddStrip(1, 2, 100, 300, 500, -200);
  }

  // Parameter p with the given plotState on the frame (x, y, w, h); values 0..10 step 1.
  void AddStrip(int p, std::int32_t plotState, std::int32_t x, std::int32_t y, std::int32_t w,
                std::int32_t h) {
    data().ParameterCount = std::max(data().ParameterCount, p);
    ParameterSettings& r = record(p);
    r.plotState = plotState, r.minimum = 0, r.maximum = 10, r.tickIncrement = 1;
    r.minorTicks = r.ticklines = 0;
    r.format.assign("%.0f");
    graphic().plottedCount = p;  // strips are added in order
    ColumnRecord& c = column(p);
    c.itemCount = 3, c.originX = x, c.originY = y, c.extentX = w, c.extentY = h;
    SetTransforms();
  }
  void SetTransforms() {
    CopyAxisRanges(data(), settings());
    ComputeAxisTransforms(data(), settings());
  }
  void DrawAxes() {
    Draw([](Surface& s, PlotContext& ctx) { DrawFramesAndAxes(s, ctx, kStageCurrentLayout); });
  }
  // x of every line from (x, y1) to (x, y2), or (across) y of every line from (y1, y) to (y2, y).
  std::vector<int> At(int y1, int y2, RGB color = kDefaultDrawColor, bool across = false) const {
    std::vector<int> out;
    for (const Segment& l : Lines(color)) {
      const int a = across ? 1 : 0, b = 1 - a;
      if (l[a] == l[a + 2] && l[b] == y1 && l[b + 2] == y2) out.push_back(l[a]);
    }
    return out;
  }
};

std::vector<int> Steps(int from, int to, int step) {
  std::vector<int> v;
  for (int i = from; step > 0 ? i <= to : i >= to; i += step) v.push_back(i);
  return v;
}

TEST(MajorTickCountTest, ToleranceAndBounds) {
  EXPECT_EQ(MajorTickCount(0, 99.5f, 10), 10);  // 9.95 rounds up within the tolerance
  EXPECT_EQ(MajorTickCount(0, 98.5f, 10), 9);   // 9.85 does not
  EXPECT_EQ(MajorTickCount(100, 0, -10), 10);
  // An increment leading away from the maximum, or none at all, leaves only the start tick;
  // the count is capped.
  EXPECT_EQ(MajorTickCount(0, 100, -10), 0);
  EXPECT_EQ(MajorTickCount(0, 100, std::nanf("")), 0);
  EXPECT_EQ(MajorTickCount(0, 1e6f, 1e-6f), 10000);
}

TEST_F(AxisTest, HorizontalXMarksGridLinesAndEdges) {
  DrawAxes();
  // Marks hang down from the bottom edge (y 300), 6 long, minors 3.
  EXPECT_EQ(At(300, 306), Steps(100, 600, 50));
  EXPECT_EQ(At(300, 303), Steps(125, 575, 50));
  // Grid lines from 10 on; the one at 100 would lie on the frame's right edge.
  EXPECT_EQ(At(300, 100, kGridColor), Steps(150, 550, 50));
  EXPECT_EQ(At(300, 100), (std::vector<int>{100}));  // the frame's left side

  // Inside on both sides: marks point up from the bottom edge and down from the top edge.
  record(0).ticklines = 0;
  record(0).minorTicklines = record(0).inside = record(0).bothSides = 1;
  DrawAxes();
  EXPECT_EQ(At(300, 100, kGridColor), Steps(125, 575, 50));  // only the minor grid
  EXPECT_EQ(At(300, 294), Steps(100, 600, 50));
  EXPECT_EQ(At(100, 103), Steps(125, 575, 50));

  // Minor grid lines 2.5 units apart would merge into a band: they are left out, their marks
  // stay.
  record(0).minorTicks = 19;
  DrawAxes();
  EXPECT_TRUE(At(300, 100, kGridColor).empty());
  EXPECT_EQ(At(100, 103).size(), 190u);

  // Every X position 3 units to the right: 0 lies 3 inside the left edge and snaps onto it,
  // 100 lies 3 beyond the right edge and snaps back; a tick farther out is not drawn.
  record(0).inside = record(0).bothSides = record(0).minorTicks = 0;
  column(1).xOffset -= 3;
  DrawAxes();
  std::vector<int> expected = Steps(153, 553, 50);
  expected.insert(expected.begin(), 100);
  expected.push_back(600);
  EXPECT_EQ(At(300, 306), expected);
  column(1).xOffset -= 5;
  DrawAxes();
  EXPECT_EQ(At(300, 306).back(), 558);
}

TEST_F(AxisTest, HorizontalXLabelsThatCollideAreLeftOut) {
  record(0).format.assign("%.6f");  // 6 units a character at fontSize - 2
  DrawAxes();
  // Labels 54 wide on ticks 50 apart: every second inner label fits.
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Depth", "[m]", "max.: 0 m", "MERIDAT/Sondrix",
                                               "0.000000", "100.000000", "20.000000", "40.000000",
                                               "60.000000", "80.000000"}));
  // Under the strip, below the marks: the ends aligned inwards, the others centred.
  EXPECT_EQ(FindText("0.000000")->points[0], (DevicePoint{101, 309}));
  EXPECT_EQ(FindText("100.000000")->align, TextAlign::kRightTop);
  EXPECT_EQ(FindText("20.000000")->points[0].x, 200);
  EXPECT_EQ(FindText("20.000000")->align, TextAlign::kCenterTop);
  // When the two end labels do not fit side by side, the end label goes.
  column(1).extentX = 100;
  SetTransforms();
  DrawAxes();
  EXPECT_NE(FindText("0.000000"), nullptr);
  EXPECT_EQ(FindText("100.000000"), nullptr);
}

TEST_F(AxisTest, HorizontalValueLabelsKeepTheirDistance) {
  record(1).plotState = 1;
  AddStrip(2, 2, 100, 80, 500, -60);  // a text-only parameter gets no axis
  DrawAxes();
  // Parameter 1: marks left of its left edge, from the bottom up; both frames.
  EXPECT_EQ(At(94, 100, kDefaultDrawColor, true), Steps(300, 100, -20));
  EXPECT_EQ(At(100, 600, kDefaultDrawColor, true), (std::vector<int>{100, 20}));
  // Numbers right-aligned at 100 - 6 - 6, above device y `below`.
  auto numbers = [this](int below) {
    std::vector<std::string> out;
    for (const Call& c : surface.calls()) {
      if (c.kind == Kind::kText && c.points[0].x == 88 && c.points[0].y < below) {
        out.push_back(c.text);
      }
    }
    return out;
  };
  // Ticks 20 apart, labels need 3 x 6: all eleven fit.
  EXPECT_EQ(numbers(1000).size(), 11u);
  EXPECT_EQ(FindText("0")->points[0], (DevicePoint{88, 300 + 6 - 13}));
  // Ticks 10 apart: every second label.
  record(1).maximum = 20;
  SetTransforms();
  DrawAxes();
  EXPECT_EQ(numbers(1000).size(), 11u);
  EXPECT_EQ(numbers(1000)[1], "2");
  // Numbers 13 high on strips 6 apart: every strip but the first leaves out its top number.
  record(2).plotState = 1;
  record(2).tickIncrement = 5;
  DrawAxes();
  EXPECT_EQ(numbers(90), (std::vector<std::string>{"0", "5", "10"}));
  graphic().plotDistance = 6;
  DrawAxes();
  EXPECT_EQ(numbers(90), (std::vector<std::string>{"0", "5"}));
  EXPECT_NE(FindText("20"), nullptr);  // parameter 1 keeps its top number
}

TEST_F(AxisTest, VerticalMarksLabelsAndStamps) {
  GraphicSettings& g = graphic();
  g.plotMode = kVertical;
  g.fileNameStamp = g.dateTimeStamp = 1;
  g.TitleText.assign("core.tab");
  g.DateText.assign("2024-01-01 10:00 h");
  g.CreditText.assign("Basin Archive@");
  record(0).reverseRange = 1;  // X grows downwards
  record(0).minorTicks = 0;
  record(1).plotState = 1;
  // Strip 1 spans x 100..300, y 50 down to 550: X 0..100 at 5 units each, values 0..10 across.
  column(1).originX = 100, column(1).originY = 50;
  column(1).extentX = 200, column(1).extentY = 500;
  SetTransforms();
  DrawAxes();
  // X marks left of the left edge, from the tip to the edge; value marks up from the top edge.
  EXPECT_EQ(At(94, 100, kDefaultDrawColor, true), Steps(50, 550, 50));
  EXPECT_EQ(At(50, 44), Steps(100, 300, 20));
  // X numbers beside the axis from the top down, right-aligned at 100 - 6 - 6.
  ASSERT_NE(FindText("0.0"), nullptr);
  EXPECT_EQ(FindText("0.0")->points[0], (DevicePoint{88, 50 + 6 - 13}));
  // Value numbers above the strip: start centred on the first strip's edge, end right-aligned.
  EXPECT_EQ(FindText("10")->points[0], (DevicePoint{299, 50 - 6 - 3 - 13}));
  // Credit (without its "@" marker) and stamp, under the strip's lower right corner.
  const Call* credit = FindText("Basin Archive");
  ASSERT_TRUE(credit && FindText("core.tab - 2024-01-01 10:00 h"));
  EXPECT_TRUE(credit->points[0].x == 300 && credit->points[0].y > 550);

  // A strip too narrow for both end numbers whose start number meets the neighbour's end
  // number keeps its end number.
  AddStrip(2, 1, 300, 50, 20, 500);
  TextPlacement placement({0, 0, 1000, 1000}, 4);
  Draw([&](Surface& s, PlotContext& ctx) {
    ctx.texts = &placement;
    DrawFramesAndAxes(s, ctx, kStageCurrentLayout);
  });
  std::vector<int> tens;
  for (const Call& c : surface.calls()) {
    if (c.kind == Kind::kText && c.text == "10" && c.points[0].y < 50)
      tens.push_back(c.points[0].x);
  }
  EXPECT_EQ(tens, (std::vector<int>{299, 319}));
}

}  // namespace
}  // namespace sx
