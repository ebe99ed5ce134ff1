#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <ostream>
#include <vector>

#include "../plot/mode_plot_fixture.h"
#include "render/profile.h"
#include "render/profile_renderer.h"

namespace sx {

// Points read as "(x, y)" in failure messages.
inline void PrintTo(const DevicePoint& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ")";
}

namespace {

class MemberValuesTest : public PlotTest {};

TEST_F(MemberValuesTest, ReadsWhatGetPlotValueGivesForEveryMemberMode) {
  // Quality codes, empty cells and columns of different lengths, with some codes hidden: the
  // in-place reading must agree with the item-by-item function on every item, in range or not,
  // walked forward and then back.
  Open(
      "Depth [m]\tA [%]\tB [%]\tC [%]\n"
      "1\t3.5\t/2\t?7\n"
      "2\t*4\t\t#1\n"
      "3\t>9\t5\t\n"
      "4\t<1\t?6\t2\n"
      "5\t\t7\t-3\n"
      "6\t8\n");
  settings().record(1).flagQuestionable = 0;
  settings().record(2).flagNotValid = 0;
  settings().record(1).doWithNext = 2;
  PlotContext ctx = Context();
  for (std::int32_t head = 0; head <= 4; ++head) {
    for (std::int64_t k = -3; k <= 3; ++k) {
      MemberValues values(ctx, head, k);
      for (std::int64_t step = 0; step < 20; ++step) {
        const std::int64_t i = step < 10 ? step - 1 : 18 - step;
        std::int64_t index = -1;
        std::int32_t expectedValid = -5, valid = -5;
        const NumericItem* item = nullptr;
        const float expected = GetPlotValue(ctx, i, head, k, index, expectedValid);
        const float value = values.Get(i, item, valid);
        EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << head << " " << k << " " << i;
        EXPECT_EQ(valid, expectedValid) << head << " " << k << " " << i;
        EXPECT_EQ(item, ItemAt(data(), index)) << head << " " << k << " " << i;
      }
    }
  }

  // The cached row positions are the strip's own.
  data().column(1).yScale = 37.5f;
  data().column(1).yOffset = -12.25f;
  const ProfileStrip strip = MakeProfileStrip(data().column(1), ProfileOrientation::kVertical);
  const std::span<const std::int32_t> axes = RowAxes(session_->render, data(), strip);
  ASSERT_EQ(axes.size(), 7u);
  for (std::int32_t row = -2; row <= 9; ++row) {
    EXPECT_EQ(AxisOfRowCached(axes, data(), strip, row), strip.AxisOfRow(data(), row)) << row;
  }
}

// Groups drawn on the head's strip, placed by hand in either mode: X maps to 100 + 10 X
// (Horizontal, across) or 50 + 10 X (Vertical, down); a value v to 300 - v (Horizontal, strip
// 150..300) or 100 + v (Vertical, strip 100..250). Every parameter has its own colour; only the
// head is plotted.
class GroupDrawingTest : public PlotTest, public ::testing::WithParamInterface<ProfileOrientation> {
 protected:
  static RGB ColorOf(int p) { return RGB{static_cast<std::uint8_t>(10 * p), 0, 200}; }
  bool vertical() const { return GetParam() == ProfileOrientation::kVertical; }
  DevicePoint At(int x, int v) const {
    return vertical() ? DevicePoint{100 + v, 50 + 10 * x} : DevicePoint{100 + 10 * x, 300 - v};
  }
  void Load(const std::string& table, std::int32_t doWithNext) {
    Open(table);
    for (int p = 1; p <= data().ParameterCount; ++p) {
      ParameterSettings& r = settings().record(p);
      r.lines = r.marker = r.colorize = r.columns = r.histogramLines = r.outline = 0;
      r.occurrence = r.valueText = r.comment = r.lithology = r.boundary = r.course = 0;
      r.doWithNext = p == 1 ? doWithNext : 0;
      r.plotState = p == 1 ? 1 : 0;
      r.referenceLine = 0.0f;
      r.markerSymbol = 2;  // a circle: one ellipse per marker
      r.color = ColorOf(p);
    }
    graphic().plottedCount = 1;
    ColumnRecord& c = data().column(1);
    if (vertical()) {
      c.originX = 100, c.extentX = 150, c.originY = 50, c.extentY = 300;
      c.xScale = 1, c.xOffset = -100, c.yScale = 10, c.yOffset = -50;
    } else {
      c.originX = 100, c.extentX = 300, c.originY = 300, c.extentY = -150;
      c.xScale = 10, c.xOffset = -100, c.yScale = -1, c.yOffset = -300;
    }
  }
  // Sets a style of every parameter and draws; returns what each parameter's colour drew: the
  // curves' points after their entry point, the markers' and the bars' ends away from the
  // reference line (the value) at their middle (the X).
  std::map<int, std::vector<DevicePoint>> Draw(std::int32_t ParameterSettings::*style) {
    for (int p = 1; p <= data().ParameterCount; ++p) settings().record(p).*style = 1;
    surface_.clear();
    PlotContext ctx = Context();
    RenderProfile(surface_, ctx, 1, GetParam());
    for (int p = 1; p <= data().ParameterCount; ++p) settings().record(p).*style = 0;
    std::map<int, std::vector<DevicePoint>> drawn;
    for (const Call& call : surface_.calls()) {
      for (int p = 1; p <= data().ParameterCount; ++p) {
        if (call.color != ColorOf(p)) continue;
        std::vector<DevicePoint>& out = drawn[p];
        if (call.kind == Kind::kPolyline) {
          out.insert(out.end(), call.points.begin() + 1, call.points.end());
          continue;
        }
        // Opposite corners of an ellipse's box or of a bar.
        const DevicePoint a = call.points[0], b = call.points[call.kind == Kind::kEllipse ? 1 : 2];
        if (call.kind == Kind::kEllipse) {
          out.push_back({(a.x + b.x) / 2, (a.y + b.y) / 2});
        } else if (vertical()) {  // a bar from x = 100 to the value, across y
          out.push_back({std::max(a.x, b.x), (a.y + b.y) / 2});
        } else {  // a bar from y = 300 up to the value, across x
          out.push_back({(a.x + b.x) / 2, std::min(a.y, b.y)});
        }
      }
    }
    return drawn;
  }
  std::vector<DevicePoint> Points(std::initializer_list<std::pair<int, int>> xv) const {
    std::vector<DevicePoint> out;
    for (const auto& [x, v] : xv) out.push_back(At(x, v));
    return out;
  }
};

// Silt has no value at X = 2: each sum adds the values of one row, and no sum with Silt is drawn
// where it has none. Every row adds up to 100.
constexpr char kGrainSizes[] =
    "Depth [m]\tSand [%]\tSilt [%]\tClay [%]\n"
    "1\t40\t30\t30\n"
    "2\t50\t\t50\n"
    "3\t45\t40\t15\n"
    "4\t30\t35\t35\n";

TEST_P(GroupDrawingTest, AddedMembersSumTheValuesOfOneRow) {
  Load(kGrainSizes, 2);
  const std::map<int, std::vector<DevicePoint>> expected{
      {1, Points({{1, 40}, {2, 50}, {3, 45}, {4, 30}})},
      {2, Points({{1, 70}, {3, 85}, {4, 65}})},
      {3, Points({{1, 100}, {2, 100}, {3, 100}, {4, 100}})}};
  EXPECT_EQ(Draw(&ParameterSettings::lines), expected);
  EXPECT_EQ(Draw(&ParameterSettings::columns), expected);  // stacked bars
}

TEST_P(GroupDrawingTest, EveryMemberDrawsAllItsValues) {
  // A head of five values, a member of eight and one of two, added or drawn as they are.
  Load(
      "Depth [m]\tA\tB\tC\n0\t10\t20\t30\n1\t10\t20\t30\n2\t10\t20\n3\t10\t20\n4\t10\t20\n"
      "5\t\t20\n6\t\t20\n7\t\t20\n",
      -2);
  std::map<int, std::vector<DevicePoint>> expected{
      {1, Points({{0, 10}, {1, 10}, {2, 10}, {3, 10}, {4, 10}})},
      {2, Points({{0, 20}, {1, 20}, {2, 20}, {3, 20}, {4, 20}, {5, 20}, {6, 20}, {7, 20}})},
      {3, Points({{0, 30}, {1, 30}})}};
  EXPECT_EQ(Draw(&ParameterSettings::lines), expected);
  EXPECT_EQ(Draw(&ParameterSettings::marker), expected);
  settings().record(1).doWithNext = 2;
  expected[2] = Points({{0, 30}, {1, 30}, {2, 30}, {3, 30}, {4, 30}, {5, 20}, {6, 20}, {7, 20}});
  expected[3] = Points({{0, 60}, {1, 60}});
  EXPECT_EQ(Draw(&ParameterSettings::lines), expected);
  EXPECT_EQ(Draw(&ParameterSettings::marker), expected);
}

INSTANTIATE_TEST_SUITE_P(BothModes, GroupDrawingTest,
                         ::testing::Values(ProfileOrientation::kHorizontal,
                                           ProfileOrientation::kVertical));

}  // namespace
}  // namespace sx
