#include "plot/axes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/session.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

using Call = RecordingSurface::Call;
using Kind = RecordingSurface::Kind;

constexpr RGB kGridColor{10, 20, 30};

// Frames, transforms and metrics set by hand: a Horizontal plot whose X axis runs 0..100 with
// increment 10 and one minor tick; strip 1 spans x 100..600 (5 units per X unit) and y 300 up to
// 100, so the tick length is 6.
struct AxisFixture {
  RecordingUserInterface ui;
  std::unique_ptr<Session> session = CreateSession({}, ui);
  RecordingSurface surface;

  AxisFixture() {
    PlotSettings& s = session->settings;
    SetAllDefaults(s);
    s.record(0).color = kGridColor;
    GraphicSettings& g = s.graphic;
    g.plotMode = kHorizontal;
    g.fileNameStamp = g.dateTimeStamp = 0;
    g.plotDistance = 20;
    ParameterSettings& x = s.record(0);
    x.minimum = 0;
    x.maximum = 100;
    x.tickIncrement = 10;
    x.minorTicks = 1;
    x.ticklines = 1;
    x.reverseRange = 0;
    x.format.assign("%.1f");
    ColumnRecord& c0 = session->data.column(0);
    c0.label.assign("Depth [m]");
    c0.itemCount = 3;
    c0.originX = 100, c0.originY = 300, c0.extentX = 500;
    TextMetrics& m = session->render.metrics;
    m.numberHeight = 13;
    m.halfNumberHeight = 6;
    m.labelHeight = 15;
    m.titleHeight = 17;
    m.smallHeight = 10;
    AddStrip(1, 2, 100, 300, 500, -200);
  }
  ParameterSettings& X() { return session->settings.record(0); }
  ColumnRecord& Column(int c) { return session->data.column(c); }

  // Parameter p plotted with the given plotState on the frame (x, y, w, h); its values run
  // 0..10 with increment 1 up the strip.
  void AddStrip(int p, std::int32_t plotState, std::int32_t x, std::int32_t y, std::int32_t w,
                std::int32_t h) {
    DataModel& d = session->data;
    d.ParameterCount = std::max(d.ParameterCount, p);
    ParameterSettings& r = session->settings.record(p);
    r.plotState = plotState;
    r.minimum = 0;
    r.maximum = 10;
    r.tickIncrement = 1;
    r.minorTicks = 0;
    r.ticklines = 0;
    r.format.assign("%.0f");
    session->settings.graphic.plottedCount = 0;
    for (int i = 1; i <= kMaxParameter; ++i) {
      session->settings.graphic.plottedCount += session->settings.record(i).plotState > 0;
    }
    ColumnRecord& c = d.column(p);
    c.itemCount = 3;
    c.originX = x, c.originY = y, c.extentX = w, c.extentY = h;
    SetTransforms(p);
  }
  void SetTransforms(int p) {
    ColumnRecord& c = Column(p);
    c.xRangeMinimum = X().minimum;
    c.xRangeMaximum = X().maximum;
    c.yRangeMinimum = session->settings.record(p).minimum;
    c.yRangeMaximum = session->settings.record(p).maximum;
    const bool vertical = session->settings.graphic.plotMode == kVertical;
    // X along the strip's width (Horizontal) or down its height (Vertical), values across.
    const float xExtent = static_cast<float>(vertical ? c.extentY : c.extentX);
    const float xOrigin = static_cast<float>(vertical ? c.originY : c.originX);
    const float vExtent = static_cast<float>(vertical ? c.extentX : c.extentY);
    const float vOrigin = static_cast<float>(vertical ? c.originX : c.originY);
    const float xs = xExtent / (c.xRangeMaximum - c.xRangeMinimum);
    const float vs = vExtent / (c.yRangeMaximum - c.yRangeMinimum);
    (vertical ? c.yScale : c.xScale) = xs;
    (vertical ? c.yOffset : c.xOffset) = c.xRangeMinimum * xs - xOrigin;
    (vertical ? c.xScale : c.yScale) = vs;
    (vertical ? c.xOffset : c.yOffset) = c.yRangeMinimum * vs - vOrigin;
  }
  void Draw(std::int32_t stage = 0, ScaleInfo scale = {}) {
    surface.clear();
    PlotContext ctx = session->plotContext(scale);
    DrawFramesAndAxes(surface, ctx, stage);
  }
  // One coordinate of every line from (v, a1) to (v, a2) (vertical) or (a1, v) to (a2, v), in
  // drawing order.
  std::vector<int> Along(bool vertical, int a1, int a2, RGB color = kDefaultDrawColor) const {
    std::vector<int> out;
    for (const Call& c : surface.calls()) {
      if (c.kind != Kind::kPolyline || c.points.size() != 2 || !(c.color == color)) continue;
      const DevicePoint p = c.points[0], q = c.points[1];
      if (vertical && p.x == q.x && p.y == a1 && q.y == a2) out.push_back(p.x);
      if (!vertical && p.y == q.y && p.x == a1 && q.x == a2) out.push_back(p.y);
    }
    return out;
  }
  std::vector<int> XsOfLines(int y1, int y2, RGB color = kDefaultDrawColor) const {
    return Along(true, y1, y2, color);
  }
  std::vector<int> YsOfLines(int x1, int x2) const { return Along(false, x1, x2); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const Call& c : surface.calls()) {
      if (c.kind == Kind::kText) out.push_back(c.text);
    }
    return out;
  }
  const Call* FindText(const std::string& text) const {
    for (const Call& c : surface.calls()) {
      if (c.kind == Kind::kText && c.text == text) return &c;
    }
    return nullptr;
  }
};

std::vector<int> Steps(int from, int to, int step) {
  std::vector<int> v;
  for (int i = from; i <= to; i += step) v.push_back(i);
  return v;
}

TEST(MajorTickCountTest, ToleranceAndBounds) {
  EXPECT_EQ(MajorTickCount(0, 100, 10), 10);
  EXPECT_EQ(MajorTickCount(0, 99.5f, 10), 10);  // 9.95 rounds up within the tolerance
  EXPECT_EQ(MajorTickCount(0, 98.5f, 10), 9);   // 9.85 does not
  EXPECT_EQ(MajorTickCount(0, 100, 0), 0);
  // An increment leading away from the maximum, or none at all, leaves only the start tick.
  EXPECT_EQ(MajorTickCount(0, 100, -10), 0);
  EXPECT_EQ(MajorTickCount(100, 0, -10), 10);
  EXPECT_EQ(MajorTickCount(0, 100, std::nanf("")), 0);
  EXPECT_EQ(MajorTickCount(0, std::numeric_limits<float>::infinity(), 1), 10000);
  EXPECT_EQ(MajorTickCount(0, 1e6f, 1e-6f), 10000);
}

TEST(HorizontalXTicksTest, MajorAndMinorMarksAndGridLines) {
  AxisFixture f;
  f.Draw();
  // Marks hang down from the bottom edge (y 300), 6 long, minors 3.
  EXPECT_EQ(f.XsOfLines(300, 306), Steps(100, 600, 50));
  EXPECT_EQ(f.XsOfLines(300, 303), Steps(125, 575, 50));
  // Grid lines from 10 on; the one at 100 would lie on the frame's right edge.
  EXPECT_EQ(f.XsOfLines(300, 100, kGridColor), Steps(150, 550, 50));
  EXPECT_EQ(f.XsOfLines(300, 100), (std::vector<int>{100}));  // the frame's left side

  f.X().ticklines = 0;
  f.X().minorTicklines = 1;
  f.X().inside = 1;
  f.X().bothSides = 1;
  f.Draw();
  EXPECT_EQ(f.XsOfLines(300, 100, kGridColor), Steps(125, 575, 50));  // only the minor grid
  // Inside: marks point up from the bottom edge and down from the top edge.
  EXPECT_EQ(f.XsOfLines(300, 294), Steps(100, 600, 50));
  EXPECT_EQ(f.XsOfLines(100, 106), Steps(100, 600, 50));
  EXPECT_EQ(f.XsOfLines(100, 103), Steps(125, 575, 50));
}

TEST(HorizontalXTicksTest, TicksNearTheEdgesSnapOntoThem) {
  AxisFixture f;
  // Every X position 3 units to the right: 0 lies 3 inside the left edge, 100 3 beyond the right.
  f.Column(1).xOffset -= 3;
  f.X().minorTicks = 0;
  f.Draw();
  std::vector<int> expected = {100};
  for (int x = 153; x <= 553; x += 50) expected.push_back(x);
  expected.push_back(600);
  EXPECT_EQ(f.XsOfLines(300, 306), expected);
  // A tick farther out is not drawn.
  f.Column(1).xOffset -= 5;
  f.Draw();
  EXPECT_EQ(f.XsOfLines(300, 306).back(), 558);
}

TEST(HorizontalXTicksTest, LabelsThatCollideAreLeftOut) {
  AxisFixture f;
  f.X().format.assign("%.6f");  // 6 units a character at fontSize - 2
  f.Draw();
  // Labels 54 wide on ticks 50 apart: every second inner label fits.
  EXPECT_EQ(f.Texts(), (std::vector<std::string>{"Depth", "[m]", "max.: 0 m", "MERIDAT/Sondrix",
                                                 "0.000000", "100.000000", "20.000000", "40.000000",
                                                 "60.000000", "80.000000"}));
  const Call* first = f.FindText("0.000000");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->points[0], (DevicePoint{101, 309}));  // under the strip, below the marks
  EXPECT_EQ(first->align, TextAlign::kLeftTop);
  const Call* last = f.FindText("100.000000");
  EXPECT_EQ(last->points[0].x, 599);
  EXPECT_EQ(last->align, TextAlign::kRightTop);
  EXPECT_EQ(f.FindText("20.000000")->points[0].x, 200);
  EXPECT_EQ(f.FindText("20.000000")->align, TextAlign::kCenterTop);

  // On a reversed axis the start label is the maximum and inner labels advance leftwards.
  f.X().reverseRange = 1;
  f.Column(1).xScale = -5;
  f.Column(1).xOffset = -600;
  f.Draw();
  EXPECT_EQ(f.FindText("100.000000")->points[0].x, 101);
  EXPECT_EQ(f.FindText("0.000000")->points[0].x, 598);
  EXPECT_NE(f.FindText("80.000000"), nullptr);
  EXPECT_EQ(f.FindText("90.000000"), nullptr);

  // When the two end labels do not fit side by side, the end label goes.
  f.X().reverseRange = 0;
  f.Column(1).extentX = 100;
  f.SetTransforms(1);
  f.Draw();
  EXPECT_NE(f.FindText("0.000000"), nullptr);
  EXPECT_EQ(f.FindText("100.000000"), nullptr);
}

TEST(HorizontalValueAxesTest, TextOnlyParameterGetsNoAxisAndLabelsKeepTheirDistance) {
  AxisFixture f;
  f.session->settings.record(1).plotState = 1;
  f.AddStrip(2, 2, 100, 80, 500, -60);
  f.Draw();
  // Parameter 1: marks left of its left edge, labels right-aligned beside them.
  EXPECT_FALSE(f.YsOfLines(94, 100).empty());
  for (int y : f.YsOfLines(94, 100)) EXPECT_TRUE(y >= 100 && y <= 300);
  EXPECT_NE(f.FindText("10"), nullptr);
  // Both frames.
  EXPECT_EQ(f.XsOfLines(80, 20), (std::vector<int>{100}));
  EXPECT_EQ(f.YsOfLines(100, 600), (std::vector<int>{100, 20}));
  EXPECT_EQ(f.XsOfLines(300, 100), (std::vector<int>{100}));

  // Numbers right-aligned at 100 - 6 - 6, above device y `below`.
  auto numbers = [&f](int below) {
    std::vector<std::string> out;
    for (const Call& c : f.surface.calls()) {
      if (c.kind == Kind::kText && c.points[0].x == 88 && c.points[0].y < below) {
        out.push_back(c.text);
      }
    }
    return out;
  };
  // Ticks 20 apart, labels need 3 x 6: all eleven fit.
  EXPECT_EQ(numbers(1000).size(), 11u);
  EXPECT_EQ(f.FindText("0")->points[0], (DevicePoint{88, 300 + 6 - 13}));
  // Ticks 10 apart: every second label.
  f.session->settings.record(1).maximum = 20;
  f.SetTransforms(1);
  f.Draw();
  EXPECT_EQ(numbers(1000), (std::vector<std::string>{"0", "2", "4", "6", "8", "10", "12", "14",
                                                     "16", "18", "20"}));

  // Numbers 13 high on strips 6 apart: every strip but the first leaves out its top number.
  f.session->settings.record(2).plotState = 1;
  f.session->settings.record(2).tickIncrement = 5;
  f.Draw();
  EXPECT_EQ(numbers(90), (std::vector<std::string>{"0", "5", "10"}));
  f.session->settings.graphic.plotDistance = 6;
  f.Draw();
  EXPECT_EQ(numbers(90), (std::vector<std::string>{"0", "5"}));
  EXPECT_NE(f.FindText("20"), nullptr);  // parameter 1 keeps its top number
}

TEST(VerticalAxesTest, MarksLabelsAndStamps) {
  AxisFixture f;
  GraphicSettings& g = f.session->settings.graphic;
  g.plotMode = kVertical;
  g.fileNameStamp = g.dateTimeStamp = 1;
  g.TitleText.assign("core.tab");
  g.DateText.assign("2024-01-01 10:00 h");
  g.CreditText.assign("Basin Archive@");
  f.X().reverseRange = 1;  // X grows downwards
  f.X().minorTicks = 0;
  f.session->settings.record(1).plotState = 1;
  // Strip 1 spans x 100..300, y 50 down to 550: X 0..100 at 5 units each, values 0..10 across.
  f.Column(1).originX = 100, f.Column(1).originY = 50;
  f.Column(1).extentX = 200, f.Column(1).extentY = 500;
  f.SetTransforms(1);
  f.Draw();
  // X marks left of the left edge, from the tip to the edge; value marks up from the top edge.
  EXPECT_EQ(f.YsOfLines(94, 100), Steps(50, 550, 50));
  EXPECT_EQ(f.XsOfLines(50, 44), Steps(100, 300, 20));
  // X numbers beside the axis from the top down, right-aligned at 100 - 6 - 6.
  const Call* zero = f.FindText("0.0");
  ASSERT_NE(zero, nullptr);
  EXPECT_EQ(zero->points[0], (DevicePoint{88, 50 + 6 - 13}));
  EXPECT_EQ(zero->align, TextAlign::kRightTop);
  EXPECT_EQ(f.FindText("100.0")->points[0].y, 550 + 6 - 13);
  // Value numbers above the strip: start centred on the first strip's edge, end right-aligned.
  EXPECT_EQ(f.FindText("10")->points[0], (DevicePoint{299, 50 - 6 - 3 - 13}));
  // Credit (without its "@" marker) and stamp, right-aligned under the strip's lower right corner.
  const Call* credit = f.FindText("Basin Archive");
  ASSERT_NE(credit, nullptr);
  EXPECT_EQ(credit->points[0], (DevicePoint{300, 550 + 15 - 10}));
  const Call* stamp = f.FindText("core.tab - 2024-01-01 10:00 h");
  ASSERT_NE(stamp, nullptr);
  EXPECT_EQ(stamp->points[0], (DevicePoint{300, 550 + 30 - 13}));
  EXPECT_NE(f.FindText("max.: 0 m"), nullptr);

  // Inside marks point into the frame; reversing the value axis swaps its end numbers.
  f.X().inside = 1;
  f.session->settings.record(1).inside = 1;
  f.session->settings.record(1).reverseRange = 1;
  f.Draw();
  EXPECT_EQ(f.YsOfLines(106, 100), Steps(50, 550, 50));
  EXPECT_EQ(f.XsOfLines(50, 56), Steps(100, 300, 20));
  EXPECT_EQ(f.FindText("0")->points[0].x, 298);
}

TEST(AxisTitleTest, MaxNoteStampAndCredit) {
  AxisFixture f;
  GraphicSettings& g = f.session->settings.graphic;
  g.fileNameStamp = 1;
  g.TitleText.assign("core.tab");
  f.Column(0).autoMaximum = 512.5f;
  f.Draw();
  EXPECT_NE(f.FindText("max.: 512.5 m"), nullptr);
  EXPECT_NE(f.FindText(" core.tab"), nullptr);
  EXPECT_NE(f.FindText("MERIDAT/Sondrix"), nullptr);
  f.Column(0).autoMaximum = 100.0f;
  f.Column(0).label.assign("Age (ka BP)");
  f.Draw();
  EXPECT_NE(f.FindText("max.: 100 ka BP"), nullptr);
  f.session->data.XIsDate = 1;
  f.session->data.DateOffset = 2451545.0f;  // 2000-01-01
  f.Column(0).autoMaximum = 31.0f;
  f.Draw();
  EXPECT_NE(f.FindText("max.: 2000-02-01"), nullptr);
}

}  // namespace
}  // namespace sx
