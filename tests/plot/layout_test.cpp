// Where the frames land and how values map onto them, measured on the recording surface at
// 96 dpi: title line 18, label line 15 (advance 7), number line 13 (advance 6); the 9-point bold
// mode font has line 14 and advance 7.

#include "plot/layout.h"

#include <climits>
#include <ostream>

#include "core/device_int.h"
#include "scene_fixture.h"

namespace sx {
namespace {

struct Frame {
  std::int32_t x, y, w, h;
  bool operator==(const Frame&) const = default;
};

void PrintTo(const Frame& f, std::ostream* os) {
  *os << f.x << "," << f.y << " " << f.w << "x" << f.h;
}

class LayoutTest : public SceneTest {
 protected:
  void SetUp() override {
    SetAllDefaults(settings());
    GraphicSettings& g = graphic();
    g.plotMode = kHorizontal;
    g.fontSize = 10, g.modeFontSize = 9, g.plotDistance = 10;
    g.graphicWidth = 600, g.graphicHeight = 500;
    ParameterSettings& x = record(0);
    x.reverseRange = 0, x.minimum = 0, x.maximum = 50;
    x.format.assign("%.0f");
    column(0).label.assign("Depth (m)");
    SetX({0, 10, 20, 30, 40, 50});
  }
  const TextMetrics& metrics() { return session->render.metrics; }

  void SetX(std::initializer_list<float> values) {
    ColumnRecord& c = column(0);
    c.itemBase = c.itemCount = 0;
    for (float v : values) {
      ++c.itemCount;
      data().item(c.itemCount) = {kFlagValid, c.itemCount, v};
    }
  }
  // A plotted parameter with range 0..100 printed as "100.0" (5 number characters).
  int AddParameter(std::string_view label) {
    const int p = ++data().ParameterCount;
    column(p).label.assign(label);
    ParameterSettings& r = record(p);
    r.plotState = 1, r.minimum = 0, r.maximum = 100;
    r.format.assign("%.1f");
    ++graphic().plottedCount;
    return p;
  }
  Frame FrameOf(int c) {
    const ColumnRecord& r = column(c);
    return {r.originX, r.originY, r.extentX, r.extentY};
  }
  void SetFrame(int c, Frame f) {
    ColumnRecord& r = column(c);
    r.originX = f.x, r.originY = f.y, r.extentX = f.w, r.extentY = f.h;
  }
  std::int32_t Layout() {
    PlotContext ctx = Context();
    const PlotMode mode = graphic().plotMode;
    return mode == kHorizontal ? LayoutHorizontal(surface, ctx)
           : mode == kVertical ? LayoutVertical(surface, ctx)
           : mode == kTernary  ? LayoutTernary(surface, ctx)
                               : LayoutPhase(surface, ctx);
  }
  // Device position of value v along X (or, with y, along the value axis) of column c.
  std::int32_t Device(int c, float v, bool y = false) {
    const ColumnRecord& r = column(c);
    return ToInt32(MapToDevice(y ? r.yScale : r.xScale, y ? r.yOffset : r.xOffset, v));
  }
};

TEST_F(LayoutTest, NothingPlottedOrNoGraphicSizeYet) {
  const int a = AddParameter("A");
  graphic().plottedCount = 0;
  SetFrame(a, {5, 6, 7, 8});
  EXPECT_EQ(Layout(), 10);
  EXPECT_EQ(FrameOf(a), (Frame{5, 6, 7, 8}));
  EXPECT_TRUE(surface.calls().empty());
  // A graphic size not set yet gives empty frames and transforms in every mode.
  graphic().plottedCount = 1;
  graphic().graphicWidth = graphic().graphicHeight = -1;
  for (PlotMode mode : {kHorizontal, kVertical, kTernary, kPhase}) {
    graphic().plotMode = mode;
    CopyAxisRanges(data(), settings());
    Layout();
    ComputeAxisTransforms(data(), settings());
    const int c = mode == kHorizontal || mode == kVertical ? a : 0;
    EXPECT_EQ(FrameOf(c).w | FrameOf(c).h, 0) << mode;
    EXPECT_EQ(column(c).xScale + column(c).yScale, 0.0f) << mode;
  }
}

TEST_F(LayoutTest, HorizontalFixedAndFreeStrips) {
  const int a = AddParameter("A");
  const int b = AddParameter("B");
  record(a).fixedAxisLength = 1;
  record(a).axisLength = 100;
  EXPECT_EQ(Layout(), 10);
  EXPECT_EQ(surface.calls()[0].font.face, "Arial");
  EXPECT_EQ(metrics().maxNumberWidth, 30);  // "100.0"
  EXPECT_EQ(metrics().xNameWidth, 35);      // "Depth" bold
  // left = 5 + 30 + 17 + width("A ") = 66; top = 6 + 5; bottom reserve = 5 + 26 + 17 + 15;
  // width = 600 - tick 6 - 5 - 66. The fixed strip keeps 100, the free one takes the rest.
  EXPECT_EQ(FrameOf(a), (Frame{66, 111, 523, -100}));
  EXPECT_EQ(FrameOf(b), (Frame{66, 437, 523, -316}));
  EXPECT_EQ(FrameOf(0), (Frame{66, 437, 523, 0}));  // under the last strip

  // Stacked bottom up: the first parameter sits at the bottom; no tick length is taken off.
  graphic().horizontalLayoutSwitch = 1;
  Layout();
  EXPECT_EQ(FrameOf(a), (Frame{66, 437, 529, -100}));
  EXPECT_EQ(FrameOf(b), (Frame{66, 327, 529, -316}));  // reaches the top
}

TEST_F(LayoutTest, VerticalStripsSideBySide) {
  graphic().plotMode = kVertical;
  const int a = AddParameter("Temp (C)");
  const int b = AddParameter("Salinity (psu)");
  EXPECT_EQ(Layout(), 10);
  // X labels "50" (12); left = 5 + 12 + 20 + 15; right reserve = width("100.0W") / 2 = 18;
  // top = 5 + 26 + 25 + 15; height = 500 - 6 - (5 + 30) - 71; strips (600 - 10 - 18 - 52) / 2.
  EXPECT_EQ(FrameOf(a), (Frame{52, 71, 260, 388}));
  EXPECT_EQ(FrameOf(b), (Frame{322, 71, 260, 388}));
  // Date and time axes reserve room for their longest label.
  data().XIsDate = data().XIsTime = 1;
  Layout();
  EXPECT_EQ(FrameOf(a).x, 5 + 120 + 20 + 15);
}

TEST_F(LayoutTest, TransformsAndClippingAtTheLastValue) {
  const int a = AddParameter("A");
  CopyAxisRanges(data(), settings());
  column(a).xRangeMaximum = 100, column(a).yRangeMaximum = 10;
  SetFrame(a, {50, 400, 500, -300});
  ComputeAxisTransforms(data(), settings());
  EXPECT_EQ(Device(a, 50), 300);
  EXPECT_EQ(Device(a, 10, true), 100);

  record(0).reverseRange = record(a).reverseRange = 1;
  ComputeAxisTransforms(data(), settings());
  EXPECT_EQ(Device(a, 0), 550);
  EXPECT_EQ(Device(a, 10, true), 400);
  // An empty range keeps scale and offset 0.
  column(a).yRangeMaximum = 0;
  ComputeAxisTransforms(data(), settings());
  EXPECT_EQ(column(a).yScale + column(a).yOffset, 0.0f);

  record(0).reverseRange = 0;
  graphic().clipXAxis = 1, record(0).maximum = 100;
  CopyAxisRanges(data(), settings());
  // The frame ends where the last value lies, with the scale unchanged; a last value at the axis
  // start (descending data) or outside the axis keeps it whole.
  const struct {
    float last;
    std::int32_t width;
  } cases[] = {{60, 300}, {0, 500}, {-10, 500}, {3e38f, 500}};
  for (const auto& c : cases) {
    SetX({50, c.last});
    SetFrame(a, {50, 400, 500, -300});
    ComputeAxisTransforms(data(), settings());
    EXPECT_EQ(FrameOf(a).w, c.width) << c.last;
    EXPECT_EQ(Device(a, 50), 300) << c.last;
  }
}

TEST_F(LayoutTest, TernarySideShrinksUntilItFits) {
  GraphicSettings& g = graphic();
  g.plotMode = kTernary;
  g.graphicWidth = 700, g.graphicHeight = 1000;
  EXPECT_EQ(Layout(), 9);
  // 0.75 * (700 - 30) = 502.5 fits: height 435.
  EXPECT_EQ(FrameOf(0), (Frame{15, 435 + 15 + 28, 502, 435}));
  // 400 high: the side goes 502.5, 492.5, ... 352.5 (height 305).
  g.graphicHeight = 400;
  Layout();
  EXPECT_EQ(FrameOf(0), (Frame{15, 305 + 15 + 28, 352, 305}));
  // A huge width reaches the same side as stepping by 10 would; too low stops at 0.
  g.graphicWidth = INT_MAX, g.graphicHeight = 1000;
  Layout();
  EXPECT_EQ(FrameOf(0).w, 1042);
  g.graphicHeight = INT_MIN;
  Layout();
  EXPECT_EQ(FrameOf(0).w | FrameOf(0).h, 0);
}

TEST_F(LayoutTest, PhaseCircleShrinksUntilItFits) {
  GraphicSettings& g = graphic();
  g.plotMode = kPhase;
  g.graphicWidth = 700, g.graphicHeight = 400;
  EXPECT_EQ(Layout(), 9);
  // Side 502 shrinks until 15 + 5 + 4 * 14 + side <= 400: 322. "270°" is 28 wide.
  EXPECT_EQ(FrameOf(0), (Frame{161 + 28 + 15, 5 + 14 + 161, 322, 322}));
  g.graphicWidth = INT_MAX, g.graphicHeight = 50;
  Layout();
  EXPECT_EQ(FrameOf(0).w, 0);
}

}  // namespace
}  // namespace sx
