// The Ternary plot as a user sees it: which rows become markers and where, the percentage grid,
// the corner names, the legend and where a click on it lands.

#include "plot/ternary.h"

#include <gtest/gtest.h>

#include <climits>

#include "plot/axes.h"
#include "plot/legend.h"
#include "plot/mode_plot_fixture.h"
#include "plot/phase.h"

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

using TernaryTest = ModePlotTest;

TEST_F(TernaryTest, RowsMustAddUpToHundredWithinEpsilon) {
  Load(kSediment, kTernary);
  settings().record(1).modeColor = kMarkerColor;
  settings().record(1).epsilon = 0.0f;
  Draw(RenderTernary);
  // 20 / 30 / 50 %: 30 % up, 65 % along the base.
  const ColumnRecord& t = frame();
  EXPECT_EQ(EllipseCentres(kMarkerColor),
            (std::vector<DevicePoint>{
                {t.originX + t.extentX * 130 / 200, t.originY - 30 * t.extentY / 100}}));
  // 20 + 30 + 49 needs an epsilon of 1; the all-zero row (which the default epsilon of 100 lets
  // through) and the row with a negative share are never drawn.
  for (float epsilon : {0.99f, 1.0f, 100.0f}) {
    settings().record(1).epsilon = epsilon;
    Draw(RenderTernary);
    EXPECT_EQ(EllipseCentres(kMarkerColor).size(), epsilon < 1.0f ? 1u : 2u) << epsilon;
  }
  settings().record(1).modeSelected = 0;
  Draw(RenderTernary);
  EXPECT_TRUE(EllipseCentres(kMarkerColor).empty());
}

TEST_F(TernaryTest, PureComponentsOnTheCornersAndRowsNeverMixed) {
  // Row 4 lacks B: it is left out rather than completed with a value of another row.
  Load("Depth [m]\tA\tB\tC\n1\t100\t0\t0\n2\t0\t100\t0\n3\t0\t0\t100\n4\t50\t\t50\n", kTernary);
  settings().record(1).modeColor = kMarkerColor;
  graphic().frameWidth = 3;
  Draw(RenderTernary);
  const ColumnRecord& t = frame();
  const DevicePoint left{t.originX, t.originY};
  const DevicePoint apex{t.originX + t.extentX / 2, t.originY - t.extentY};
  const DevicePoint right{t.originX + t.extentX, t.originY};
  EXPECT_EQ(EllipseCentres(kMarkerColor), (std::vector<DevicePoint>{left, apex, right}));
  // The sides go last, in the frame width, so that markers never cover them.
  const Call& last = surface_.calls().back();
  EXPECT_EQ(last.points, (std::vector<DevicePoint>{right, left}));
  EXPECT_EQ(last.width, 3);
}

TEST_F(TernaryTest, GridLinesEveryIncrementForEachComponent) {
  Load(kSediment, kTernary);
  settings().record(0).color = kGridColor;
  const ColumnRecord& t = frame();
  graphic().tickIncrementPercent = 25;
  Draw(RenderTernary);
  const std::vector<Segment> lines = Lines(kGridColor);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_TRUE(lines[1][1] == t.originY - t.extentY / 4 && lines[1][3] == lines[1][1]);
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

  // By parameters: the first group's selected columns, "????" for the corners without one.
  graphic().modeEntityKind = 2;
  settings().record(2).plotState = settings().record(3).plotState = 0;
  settings().record(3).plotState = 1;
  Draw(DrawTernaryLabels);
  EXPECT_EQ(Texts(3), (std::vector<std::string>{"Sand", "Clay", "????"}));
  // The Ternary axis drawing draws them.
  Draw([](Surface& s, PlotContext& ctx) { DrawFramesAndAxes(s, ctx, 1); });
  EXPECT_NE(FindText("????"), nullptr);
}

TEST_F(TernaryTest, LegendLinesAndTheirClickBands) {
  Load(kTwoSites, kTernary);
  ASSERT_EQ(data().GroupCount, 2);
  settings().record(1).modeColor = kMarkerColor;
  settings().record(2).modeSelected = 0;
  Draw(DrawTernaryLabels);
  const ColumnRecord& t = frame();
  const std::int32_t h = lineHeight();
  const std::int32_t legendX = t.originX + t.extentX + 10, top = t.originY - t.extentY;
  const std::int32_t line1 = top + 13 * h / 10, line2 = top + 26 * h / 10;
  const Call* a = FindText("Site A");
  ASSERT_TRUE(a && FindText("Site B"));
  EXPECT_EQ(FindText("Site B")->points[0].y, line2 - h);
  // Only the selected group shows its marker, in the middle of its line.
  EXPECT_EQ(EllipseCentres(kMarkerColor), (std::vector<DevicePoint>{{legendX, line1 - h / 2}}));
  EXPECT_NE(FindText("MERIDAT/Sondrix"), nullptr);

  const TextMetrics& m = session_->render.metrics;
  const std::int32_t x = a->points[0].x + 5;
  EXPECT_EQ(HitTestLegend(data(), settings(), m, x, line1 - h / 2), -1);
  EXPECT_EQ(HitTestLegend(data(), settings(), m, x, line2 - 3), -2);
  EXPECT_EQ(HitTestLegend(data(), settings(), m, legendX, line1 - h / 2), 0);  // on the marker

  graphic().modeEntityKind = 2;
  settings().record(6).plotState = 0;
  Draw(DrawTernaryLabels);
  ASSERT_NE(FindText("Sand | Silt | ????"), nullptr);
  EXPECT_EQ(FindText("Sand | Silt | ????")->points[0].y, line2 - h);
}

TEST_F(TernaryTest, DamagedCountsAndSettingsStayInsideTheTables) {
  // The one extreme-values check of the plots: counts and settings as a damaged model might
  // hold them keep the drawers of both modes within the tables (the sanitizer build checks).
  Load(kTwoSites, kTernary);
  data().GroupCount = data().column(1).groupSize = data().column(6).itemCount = INT_MAX;
  data().column(2).groupSize = -4;
  data().column(4).itemBase = INT_MAX, data().column(5).itemBase = -7;
  frame().extentX = INT_MAX, frame().originY = INT_MIN;
  graphic().tickIncrementPercent = INT_MIN, graphic().frameWidth = INT_MAX;
  settings().record(1).modeMarkerSymbol = settings().record(1).modeMarkerSize = INT_MAX;
  session_->render.metrics.labelHeight = INT_MAX;
  for (std::int32_t kind : {1, 2, 77}) {
    graphic().modeEntityKind = kind;
    PlotContext ctx = Context();
    RenderTernary(surface_, ctx);
    DrawTernaryLabels(surface_, ctx);
    RenderPhase(surface_, ctx);
    DrawPhaseLabels(surface_, ctx);
    HitTestLegend(data(), settings(), session_->render.metrics, INT_MAX, INT_MIN);
  }
  EXPECT_FALSE(surface_.calls().empty());
}

}  // namespace
}  // namespace sx
