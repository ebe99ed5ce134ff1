// The Ternary and Phase plots as a user sees them: which rows become markers or vectors and where,
// the percentage grid, the circle, the corner and direction names, the legend and where a click on
// it lands.

#include "plot/ternary.h"

#include <climits>

#include "plot/axes.h"
#include "plot/layout.h"
#include "plot/legend.h"
#include "plot/phase.h"
#include "scene_fixture.h"

namespace sx {
namespace {

constexpr RGB kMarkerColor{1, 2, 3};
constexpr RGB kGridColor{40, 50, 60};

// One group of three components (no group texts, and no name repeats the first).
const std::string kSediment =
    "Depth [m]\tSand [%]\tSilt [%]\tClay [%]\n"
    "1\t20\t30\t50\n2\t20\t30\t49\n3\t0\t0\t0\n4\t-5\t55\t50\n";

const std::string kTwoSites =
    "Depth [m]\tSand@Site A\tSilt@Site A\tClay@Site A\tSand@Site B\tSilt@Site B\tClay@Site B\n"
    "1\t20\t30\t50\t10\t10\t80\n";

// A loaded file shown in the Ternary or Phase mode.
class ModePlotTest : public SceneTest {
 protected:
  // Loads the file text, switches to the mode and lays the plot out on 800 x 600.
  void Load(const std::string& text, PlotMode mode) {
    Open(text);
    ChoosePlotMode(settings(), mode);
    graphic().graphicWidth = 800, graphic().graphicHeight = 600;
    graphic().fileNameStamp = graphic().dateTimeStamp = 0;
    CopyAxisRanges(data(), settings());
    Draw(mode == kTernary ? LayoutTernary : LayoutPhase);
    surface.clear();
  }
  ColumnRecord& frame() { return column(0); }
  std::int32_t lineHeight() { return session->render.metrics.labelHeight; }
};

using TernaryTest = ModePlotTest;

TEST_F(TernaryTest, RowsMustAddUpToHundredWithinEpsilon) {
  Load(kSediment, kTernary);
  record(1).modeColor = kMarkerColor;
  record(1).epsilon = 0.0f;
  Draw(RenderTernary);
  // 20 / 30 / 50 %: 30 % up, 65 % along the base.
  const ColumnRecord& t = frame();
  EXPECT_EQ(Centres(kMarkerColor), (std::vector<DevicePoint>{{t.originX + t.extentX * 130 / 200,
                                                              t.originY - 30 * t.extentY / 100}}));
  // 20 + 30 + 49 needs an epsilon of 1; the all-zero row (which the default epsilon of 100 lets
  // through) and the row with a negative share are never drawn.
  for (float epsilon : {0.99f, 1.0f, 100.0f}) {
    record(1).epsilon = epsilon;
    Draw(RenderTernary);
    EXPECT_EQ(Centres(kMarkerColor).size(), epsilon < 1.0f ? 1u : 2u) << epsilon;
  }
  record(1).modeSelected = 0;
  Draw(RenderTernary);
  EXPECT_TRUE(Centres(kMarkerColor).empty());

  // Pure components sit on the corners. Row 4 lacks B: it is left out rather than completed with
  // a value of another row. The sides go last, in the frame width, so that markers never cover
  // them.
  Load("Depth [m]\tA\tB\tC\n1\t100\t0\t0\n2\t0\t100\t0\n3\t0\t0\t100\n4\t50\t\t50\n", kTernary);
  record(1).modeColor = kMarkerColor;
  graphic().frameWidth = 3;
  Draw(RenderTernary);
  const DevicePoint left{t.originX, t.originY}, right{t.originX + t.extentX, t.originY};
  EXPECT_EQ(
      Centres(kMarkerColor),
      (std::vector<DevicePoint>{left, {t.originX + t.extentX / 2, t.originY - t.extentY}, right}));
  EXPECT_EQ(surface.calls().back().points, (std::vector<DevicePoint>{right, left}));
  EXPECT_EQ(surface.calls().back().width, 3);
}

TEST_F(TernaryTest, GridLinesEveryIncrementForEachComponent) {
  Load(kSediment, kTernary);
  record(0).color = kGridColor;
  const ColumnRecord& t = frame();
  // At 50 % the three lines join the midpoints of the sides.
  graphic().tickIncrementPercent = 50;
  Draw(RenderTernary);
  const Segment base{t.originX + t.extentX / 2, t.originY};
  const Segment leftSide{t.originX + t.extentX / 4, t.originY - t.extentY / 2};
  const Segment rightSide{t.originX + t.extentX * 3 / 4, t.originY - t.extentY / 2};
  auto join = [](const Segment& a, const Segment& b) { return Segment{a[0], a[1], b[0], b[1]}; };
  EXPECT_EQ(Lines(kGridColor),
            (std::vector<Segment>{join(base, leftSide), join(leftSide, rightSide),
                                  join(base, rightSide)}));
  // An increment from a file outside 1..50 is taken at the nearest end.
  graphic().tickIncrementPercent = 0;
  Draw(RenderTernary);
  EXPECT_EQ(Lines(kGridColor).size(), 3u * 99u);
}

TEST_F(TernaryTest, CornerNamesBySelectedParameters) {
  Load(kSediment, kTernary);
  const ColumnRecord& t = frame();
  const std::int32_t h = lineHeight();
  Draw(DrawTernaryLabels);
  ASSERT_TRUE(FindText("Sand") && FindText("Silt") && FindText("Clay"));
  EXPECT_EQ(FindText("Sand")->points[0], (DevicePoint{t.originX, t.originY + h}));
  EXPECT_EQ(FindText("Silt")->points[0].y, t.originY - t.extentY - 2 * h);
  // The Ternary axis drawing draws them.
  Draw([](Surface& s, PlotContext& ctx) { DrawFramesAndAxes(s, ctx, kStageScreen); });
  EXPECT_NE(FindText("Clay"), nullptr);
}

TEST_F(TernaryTest, LegendLinesAndTheirClickBands) {
  Load(kTwoSites, kTernary);
  ASSERT_EQ(data().GroupCount, 2);
  record(1).modeColor = kMarkerColor;
  record(2).modeSelected = 0;
  Draw(DrawTernaryLabels);
  const ColumnRecord& t = frame();
  const std::int32_t h = lineHeight();
  const std::int32_t legendX = t.originX + t.extentX + 10, top = t.originY - t.extentY;
  const std::int32_t line1 = top + 13 * h / 10, line2 = top + 26 * h / 10;
  const Call* a = FindText("Site A");
  ASSERT_TRUE(a && FindText("Site B"));
  EXPECT_EQ(FindText("Site B")->points[0].y, line2 - h);
  // Only the selected group shows its marker, in the middle of its line.
  EXPECT_EQ(Centres(kMarkerColor), (std::vector<DevicePoint>{{legendX, line1 - h / 2}}));
  EXPECT_NE(FindText("MERIDAT/Sondrix"), nullptr);

  const TextMetrics& m = session->render.metrics;
  const std::int32_t x = a->points[0].x + 5;
  EXPECT_EQ(HitTestLegend(data(), settings(), m, x, line1 - h / 2), -1);
  EXPECT_EQ(HitTestLegend(data(), settings(), m, x, line2 - 3), -2);
  EXPECT_EQ(HitTestLegend(data(), settings(), m, legendX, line1 - h / 2), 0);  // on the marker

  graphic().modeEntityKind = 2;
  record(6).plotState = 0;
  Draw(DrawTernaryLabels);
  ASSERT_NE(FindText("Sand | Silt | ????"), nullptr);
  EXPECT_EQ(FindText("Sand | Silt | ????")->points[0].y, line2 - h);
}

TEST_F(TernaryTest, DamagedCountsAndSettingsStayInsideTheTables) {
  // The one extreme-values check of the plots: counts and settings as a damaged model might
  // hold them keep the drawers of both modes within the tables (the sanitizer build checks).
  Load(kTwoSites, kTernary);
  data().GroupCount = column(1).groupSize = column(6).itemCount = INT_MAX;
  column(2).groupSize = -4;
  column(4).itemBase = INT_MAX, column(5).itemBase = -7;
  frame().extentX = INT_MAX, frame().originY = INT_MIN;
  graphic().tickIncrementPercent = INT_MIN, graphic().frameWidth = INT_MAX;
  record(1).modeMarkerSymbol = record(1).modeMarkerSize = INT_MAX;
  session->render.metrics.labelHeight = INT_MAX;
  for (std::int32_t kind : {1, 2, 77}) {
    graphic().modeEntityKind = kind;
    PlotContext ctx = Context();
    RenderTernary(surface, ctx);
    DrawTernaryLabels(surface, ctx);
    RenderPhase(surface, ctx);
    DrawPhaseLabels(surface, ctx);
    HitTestLegend(data(), settings(), session->render.metrics, INT_MAX, INT_MIN);
  }
  EXPECT_FALSE(surface.calls().empty());
}

constexpr RGB kVectorColor{7, 8, 9};
constexpr std::int32_t kCx = 300, kCy = 250;

// Row 3 has no speed and row 4 no direction: neither may borrow the other's value.
const std::string kCurrents =
    "Depth [m]\tDirection [deg]\tSpeed [cm/s]\n"
    "1\t90\t5\n2\t0\t20\n3\t45\t\n4\t\t7\n";

class PhaseTest : public ModePlotTest {
 protected:
  // Loads the file and puts the circle at (300, 250) with diameter 200.
  void LoadCircle(const std::string& text) {
    Load(text, kPhase);
    frame().originX = kCx, frame().originY = kCy;
    frame().extentX = frame().extentY = 200;
    record(1).modeColor = kVectorColor;
  }
};

TEST_F(PhaseTest, VectorsScaleToCMaxOrTheAxisMaximumAndStopAtTheCircle) {
  LoadCircle(kCurrents);
  graphic().frameWidth = 2;
  // 5 at 90 degrees reaches `length` to the right; 20 at 0 degrees always the circle. C_max 0
  // takes the magnitude axis maximum; with that 0 too, every vector has full length.
  const struct {
    float cMax, axisMaximum, cMaxAfter;
    std::int32_t length;
  } cases[] = {{10, 99, 10, 50}, {0, 12, 12, 41}, {0, 0, 0, 100}};
  for (const auto& c : cases) {
    record(1).cMax = c.cMax;
    record(2).maximum = c.axisMaximum;
    Draw(RenderPhase);
    EXPECT_EQ(record(1).cMax, c.cMaxAfter);
    EXPECT_EQ(Lines(kVectorColor),
              (std::vector<Segment>{{kCx, kCy, kCx + c.length, kCy}, {kCx, kCy, kCx, kCy - 100}}))
        << c.cMax << " " << c.axisMaximum;
  }
  // The circle comes first, white inside, in the frame width.
  const Call& circle = surface.calls().front();
  EXPECT_EQ(circle.points, (std::vector<DevicePoint>{{200, 150}, {400, 350}}));
  EXPECT_TRUE(circle.kind == Kind::kEllipse && circle.fill == Fill::kWhite && circle.width == 2);

  record(1).modeSelected = 0;
  Draw(RenderPhase);
  EXPECT_TRUE(Lines(kVectorColor).empty());
}

TEST_F(PhaseTest, LabelsAroundTheCircleAndLegendBesideIt) {
  LoadCircle(
      "Depth [m]\tDir@Mooring 1\tSpeed@Mooring 1\tDir@Mooring 2\tSpeed@Mooring 2\tExtra@Mooring 2"
      "\n1\t10\t1\t20\t2\t3\n");
  ASSERT_EQ(data().GroupCount, 2);
  Draw(DrawPhaseLabels);
  const Call* up = FindText("0\u00B0");
  const Call* left = FindText("270\u00B0");
  ASSERT_TRUE(up && left && FindText("90\u00B0") && FindText("180\u00B0"));
  EXPECT_TRUE(up->points[0].x == kCx && up->points[0].y < kCy - 110);
  EXPECT_TRUE(left->points[0].x < kCx - 100 && left->align == TextAlign::kRightTop);
  // The legend (shared with the Ternary plot) lists the pairs beside the circle.
  const Call* second = FindText("Mooring 2");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->points[0].y, kCy - 100 + 26 * lineHeight() / 10 - lineHeight());
}

}  // namespace
}  // namespace sx
