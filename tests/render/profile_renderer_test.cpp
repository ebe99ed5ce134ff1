// The profile renderer: curves, markers, colorized areas and groups on a pinned strip; the
// in-place reading of group members; drawing ahead on a second thread; thinning a curve.

#include "render/profile_renderer.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <utility>

#include "core/device_int.h"
#include "render/deferred_drawing.h"
#include "render/drawing.h"
#include "render/profile.h"
#include "scene_fixture.h"
#include "settings/template_file.h"

namespace sx {

// Points read as "(x, y)" in failure messages.
inline void PrintTo(const DevicePoint& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ")";
}

namespace {

constexpr RGB kRed{200, 0, 0};
constexpr RGB kGreen{0, 150, 0};
constexpr RGB kBlue{0, 0, 200};

// A loaded file whose parameter 1 is drawn alone with every style off, in the Horizontal mode.
// After a first screen paint the strip of parameter 1 is pinned to round numbers, and later passes
// draw with that layout: L 100, R 500, B 300, T 100; x = 10 X + 100, y = 300 - 10 v (range 0..20).
struct Strip : Scene {
  explicit Strip(const std::string& table) : Scene(table) {
    graphic().graphicWidth = 600;
    graphic().graphicHeight = 400;
    graphic().plotMode = kHorizontal;
    StylesOff({kRed, kGreen, kBlue}, true);
    Pass(kStageScreen);
    ColumnRecord& c = column(1);
    c.yRangeMinimum = 0.0f;
    c.yRangeMaximum = 20.0f;
    c.originX = 100, c.extentX = 400, c.originY = 300, c.extentY = -200;
    c.xScale = 10.0f, c.xOffset = -100.0f, c.yScale = -10.0f, c.yOffset = -300.0f;
  }
  // Line height of the value-text font.
  std::int32_t ValueTextHeight() {
    RecordingSurface scratch;
    SelectPlotFont(scratch, "Arial", graphic().fontSize - 1, 0, 0);
    return TextLineHeight(scratch);
  }
};

std::string Table(const std::string& header, const std::vector<std::string>& rows) {
  std::string out = header + "\n";
  for (const std::string& r : rows) out += r + "\n";
  return out;
}

TEST(ProfileCurveTest, CurveLeavingTheStripRunsAlongTheEdgeBetweenExactCrossings) {
  Strip s(Table("Depth [m]\tA [u]", {"0\t10", "10\t16", "20\t26", "30\t16", "40\t10", "50\t10"}));
  s.record(1).lines = 1;
  s.Pass();
  // Above the top at X 20: up to the crossing, along the top, down from the crossing; the walk
  // ends on the right edge at the first row beyond it.
  const Points curve{{100, 200}, {100, 200}, {200, 140}, {240, 100}, {300, 100},
                     {360, 100}, {400, 140}, {500, 200}, {500, 200}};
  EXPECT_EQ(s.Of(Kind::kPolyline, kRed), std::vector<Points>{curve});
}

TEST(ProfileCurveTest, OnePixelOutsideCountsAsInsideAndHugeValuesStayOnTheEdge) {
  Strip s(Table("Depth [m]\tA [u]", {"0\t10", "10\t-0.1", "20\t10", "30\t1e30", "40\t10"}));
  s.record(1).lines = 1;
  s.record(1).marker = 1;
  s.Pass();
  // -0.1 lies at y 301, one below the bottom: a curve point as it is, a marker on the edge. 1e30
  // maps far beyond the top: the curve runs along the top, and no marker is drawn.
  const Points curve{{100, 200}, {100, 200}, {200, 301}, {300, 200},
                     {300, 100}, {400, 100}, {499, 100}, {500, 200}};
  EXPECT_EQ(s.Of(Kind::kPolyline, kRed), std::vector<Points>{curve});
  // Markers beside a curve are black.
  EXPECT_EQ(s.Centres(kDefaultDrawColor), (Points{{100, 200}, {200, 300}, {300, 200}, {500, 200}}));
}

TEST(ProfileCurveTest, GreaterThanValuesAreHiddenAloneButCountInAnAddedSum) {
  Strip s(Table("Depth [m]\tA [u]\tB [u]", {"0\t10\t1", "10\t>12\t1", "20\t10\t1"}));
  s.record(1).lines = s.record(2).lines = 1;
  s.record(1).marker = 1;
  s.record(1).valueText = 1;
  s.record(1).doWithNext = 1;
  s.Pass();
  EXPECT_EQ(s.Of(Kind::kPolyline, kRed),
            (std::vector<Points>{{{100, 200}, {100, 200}, {300, 200}}}));
  EXPECT_EQ(s.Of(Kind::kPolyline, kGreen),
            (std::vector<Points>{{{100, 190}, {100, 190}, {200, 170}, {300, 190}}}));
  EXPECT_EQ(s.Centres(kDefaultDrawColor), (Points{{100, 200}, {300, 200}}));
  EXPECT_EQ(s.FindText("12", true), nullptr);
  // Beside a curve a value text stands 2 x marker size above its value, centred on it.
  ASSERT_NE(s.FindText("10", true), nullptr);
  EXPECT_EQ(s.FindText("10", true)->points[0], (DevicePoint{300, 198 - s.ValueTextHeight()}));
}

TEST(ProfileColorizeTest, BothHalvesAreFilledAgainstTheReferenceLine) {
  Strip s(Table("Depth [m]\tA [u]", {"0\t15", "20\t5", "40\t15"}));
  s.record(1).colorize = 1;
  s.record(1).referenceLine = 10.0f;  // y 200, the middle of the strip
  s.Pass();
  const Points upper{{100, 150}, {100, 150}, {200, 200}, {300, 200}, {400, 200},
                     {500, 150}, {500, 200}, {100, 200}, {100, 150}};
  const Points lower{{200, 200}, {300, 250}, {400, 200}, {500, 200},
                     {500, 200}, {200, 200}, {200, 200}};
  EXPECT_EQ(s.Of(Kind::kPolygon, kRed), (std::vector<Points>{upper, lower}));
  // Without lines the areas are outlined in black, except in the clipboard metafile.
  const auto outlines = s.Of(Kind::kPolyline, kDefaultDrawColor);
  EXPECT_EQ(std::count(outlines.begin(), outlines.end(), upper), 1);
  EXPECT_EQ(std::count(outlines.begin(), outlines.end(), lower), 1);

  // A reversed axis keeps each value on its own side: 15 lies below the reference line now.
  s.column(1).yScale = 10.0f;
  s.column(1).yOffset = -100.0f;
  s.Pass();
  const auto reversed = s.Of(Kind::kPolygon, kRed);
  ASSERT_EQ(reversed.size(), 2u);
  EXPECT_EQ(reversed[0][1], (DevicePoint{100, 250}));
  for (const DevicePoint& d : reversed[0]) EXPECT_GE(d.y, 200);
  for (const DevicePoint& d : reversed[1]) EXPECT_LE(d.y, 200);

  // A half with no value range (the reference line at the range's end) is left empty.
  s.column(1).yScale = -10.0f;
  s.column(1).yOffset = -300.0f;
  s.column(1).yRangeMaximum = 10.0f;
  s.Pass();
  EXPECT_EQ(s.Of(Kind::kPolygon, kRed), (std::vector<Points>{lower}));
}

TEST(ProfileCurveTest, CurvesLongerThanThePointBufferJoinSeamlessly) {
  std::vector<std::string> rows;
  Points expected;
  for (int i = 0; i < 4500; ++i) {
    const int value = i % 2 == 0 ? 5 : 15;
    rows.push_back(std::to_string(i) + "\t" + std::to_string(value));
    expected.push_back(
        {ToInt32(MapToDevice(0.08f, -100.0f, static_cast<float>(i))), 300 - 10 * value});
  }
  Strip s(Table("Depth [m]\tA [u]", rows));
  s.column(1).xScale = 0.08f;
  s.record(1).lines = 1;
  s.Pass();
  const auto runs = s.Of(Kind::kPolyline, kRed);
  ASSERT_EQ(runs.size(), 3u);
  Points joined;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    EXPECT_LE(runs[r].size(), 2000u);
    EXPECT_EQ(runs[r][0], runs[r][1]);
    if (r > 0) {
      EXPECT_EQ(runs[r][1], runs[r - 1].back());
    }
    joined.insert(joined.end(), runs[r].begin() + (r == 0 ? 1 : 2), runs[r].end());
  }
  EXPECT_EQ(joined, expected);

  // Colorized, the runs are filled side by side and outlined as one area: the sides down to the
  // reference level (the bottom) stand only at the two ends of the curve.
  s.record(1).colorize = 1;
  s.Pass();
  EXPECT_EQ(s.Of(Kind::kPolygon, kRed).size(), 3u);
  int sides = 0;
  for (const Points& line : s.Of(Kind::kPolyline, kRed)) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      const DevicePoint a = line[i - 1], b = line[i];
      if (a.x != b.x || (a.y != 300 && b.y != 300)) continue;
      const DevicePoint top = a.y == 300 ? b : a;
      EXPECT_TRUE(top == expected.front() || top == expected.back()) << top.x << "," << top.y;
      ++sides;
    }
  }
  EXPECT_EQ(sides, 2);
}

using MemberValuesTest = SceneTest;

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
  const std::span<const std::int32_t> axes = RowAxes(session->render, data(), strip);
  ASSERT_EQ(axes.size(), 7u);
  for (std::int32_t row = -2; row <= 9; ++row) {
    EXPECT_EQ(AxisOfRowCached(axes, data(), strip, row), strip.AxisOfRow(data(), row)) << row;
  }
}

// Groups drawn on the head's strip, placed by hand in either mode: X maps to 100 + 10 X
// (Horizontal, across) or 50 + 10 X (Vertical, down); a value v to 300 - v (Horizontal, strip
// 150..300) or 100 + v (Vertical, strip 100..250). Every parameter has its own colour; only the
// head is plotted.
class GroupDrawingTest : public SceneTest,
                         public ::testing::WithParamInterface<ProfileOrientation> {
 protected:
  static RGB ColorOf(int p) { return RGB{static_cast<std::uint8_t>(10 * p), 0, 200}; }
  bool vertical() const { return GetParam() == ProfileOrientation::kVertical; }
  DevicePoint At(int x, int v) const {
    return vertical() ? DevicePoint{100 + v, 50 + 10 * x} : DevicePoint{100 + 10 * x, 300 - v};
  }
  void Load(const std::string& table, std::int32_t doWithNext) {
    Open(table);
    StylesOff({ColorOf(1), ColorOf(2), ColorOf(3)}, true);
    for (int p = 1; p <= data().ParameterCount; ++p) record(p).referenceLine = 0.0f;
    record(1).doWithNext = doWithNext;
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
    const ProfileOrientation orientation = GetParam();
    Scene::Draw([orientation](Surface& s, PlotContext& ctx) {
      RenderProfile(s, ctx, kStageScreen, orientation);
    });
    for (int p = 1; p <= data().ParameterCount; ++p) settings().record(p).*style = 0;
    std::map<int, std::vector<DevicePoint>> drawn;
    for (const Call& call : surface.calls()) {
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

TEST_P(GroupDrawingTest, LastMemberFirstHeadOnTopAndTooManyMembersLeaveTheHeadAlone) {
  Load(kGrainSizes, 0);
  // More members than columns left, including the extremes a file may hold: the head alone.
  for (std::int32_t next : {2, -2, 3, INT_MAX, INT_MIN, -3}) {
    record(1).doWithNext = next;
    Draw(&ParameterSettings::lines);
    std::vector<RGB> order;  // the parameters' colours in drawing order
    for (const Call& c : surface.calls()) {
      const bool ours = c.color.blue == 200 && c.kind == Kind::kPolyline;
      if (ours && (order.empty() || order.back() != c.color)) order.push_back(c.color);
    }
    const bool group = next == 2 || next == -2;
    const std::vector<RGB> expected =
        group ? std::vector<RGB>{ColorOf(3), ColorOf(2), ColorOf(1)} : std::vector<RGB>{ColorOf(1)};
    EXPECT_EQ(order, expected) << next;
  }
}

INSTANTIATE_TEST_SUITE_P(BothModes, GroupDrawingTest,
                         ::testing::Values(ProfileOrientation::kHorizontal,
                                           ProfileOrientation::kVertical));

// Curves and markers prepared on a second thread must come out as the pass draws them itself:
// the same calls in the same order, whatever the styles, groups and stages.
class DrawAheadTest : public ::testing::Test {
 protected:
  void TearDown() override { SetDrawAheadMinimum(200000); }

  // The recorded calls of a screen pass and a metafile pass of the file with the template.
  static std::string Passes(const std::string& data, const std::string& templatePath,
                            PlotMode mode) {
    Scene scene;
    scene.OpenPath(data);
    if (!templatePath.empty()) LoadTemplateCommand(*scene.session, templatePath);
    ChoosePlotMode(scene.settings(), mode);
    scene.graphic().DateText.assign("2024-01-01 10:00 h");  // the two loads may be a minute apart
    scene.graphic().graphicWidth = 900;
    scene.graphic().graphicHeight = 700;
    std::string dump;
    for (const PlotStage stage : {kStageScreen, kStageCurrentLayout}) {
      scene.Pass(stage);
      dump += scene.surface.Dump();
    }
    return dump;
  }

  static void ExpectSame(const std::string& data, const std::string& templatePath, PlotMode mode) {
    SetDrawAheadMinimum(INT64_MAX);
    const std::string alone = Passes(data, templatePath, mode);
    SetDrawAheadMinimum(0);
    const std::string ahead = Passes(data, templatePath, mode);
    EXPECT_GT(alone.size(), 1000u);
    EXPECT_EQ(alone, ahead) << data << " in mode " << mode;
  }
};

TEST_F(DrawAheadTest, ExamplesDrawTheSameCalls) {
  const std::string examples = std::string(SONDRIX_SOURCE_DIR) + "/examples/";
  for (const PlotMode mode : {kVertical, kHorizontal}) {
    for (const char* name : {"styles_vertical", "styles_horizontal"}) {
      ExpectSame(examples + name + ".tab", examples + name + ".stf", mode);
    }
    ExpectSame(examples + "core_ocean.tab", "", mode);
  }
}

TEST_F(DrawAheadTest, GroupsOfCurvesAndMarkersDrawTheSameCalls) {
  // Three groups ("add", "plot" and single members), lines, markers and colorized curves, long
  // enough for runs to be split.
  std::string text = "Depth [m]\tA@G1\tB@G1\tC@G1\tD@G2\tE@G2\tF\n";
  for (int i = 1; i <= 5000; ++i) {
    text += std::to_string(i) + "." + std::to_string(i % 10);
    for (int c = 0; c < 6; ++c) text += "\t" + std::to_string((i * (c + 3) * 7919) % 1000);
    text += "\n";
  }
  Scene scene(text);
  for (int p = 1; p <= 6; ++p) {
    ParameterSettings& r = scene.record(p);
    r.lines = 1;
    r.marker = p % 2;
    r.colorize = p == 4 ? 1 : 0;
    r.doWithNext = p == 1 ? 2 : (p == 4 ? -1 : 0);
  }
  const std::string data = scene.data().DataFilePath;
  const std::string stf = scene.files.dir() + "/groups.stf";
  ASSERT_TRUE(WriteTemplate(scene.data(), scene.settings(), stf));
  ExpectSame(data, stf, kVertical);
  ExpectSame(data, stf, kHorizontal);
}

// What it keeps is replayed by the draw-ahead tests above; text makes it incomplete, so that
// the pass draws such a member itself.
TEST(DeferredDrawingTest, TextMakesItIncomplete) {
  DeferredDrawing drawing(96.0f, 96.0f, false);
  EXPECT_TRUE(drawing.complete());
  drawing.TextWidth("x");
  EXPECT_FALSE(drawing.complete());
}

// The thinning of a curve to what a row of pixels shows.
using Curve = std::vector<StripPoint>;

Curve Thin(const Curve& in) {
  Curve out;
  AxisThinner thinner;
  AxisThinner::Out kept;
  for (const StripPoint& p : in) {
    const int n = thinner.Add(p, kept);
    out.insert(out.end(), kept.begin(), kept.begin() + n);
  }
  const int n = thinner.Finish(kept);
  out.insert(out.end(), kept.begin(), kept.begin() + n);
  return out;
}

// The cells a line through the points covers: segments along one row cover their whole stretch,
// others are sampled finely enough to hit every cell they cross.
std::set<std::pair<std::int32_t, std::int32_t>> Cells(const Curve& c) {
  std::set<std::pair<std::int32_t, std::int32_t>> cells;
  if (c.size() == 1) cells.insert({c[0].a, c[0].v});
  for (std::size_t i = 1; i < c.size(); ++i) {
    const StripPoint p = c[i - 1], q = c[i];
    if (p.a == q.a) {
      for (std::int32_t v = std::min(p.v, q.v); v <= std::max(p.v, q.v); ++v)
        cells.insert({p.a, v});
      continue;
    }
    const int steps = 64 * (std::abs(q.a - p.a) + std::abs(q.v - p.v)) + 1;
    for (int s = 0; s <= steps; ++s) {
      const double t = static_cast<double>(s) / steps;
      cells.insert({static_cast<std::int32_t>(std::lround(p.a + t * (q.a - p.a))),
                    static_cast<std::int32_t>(std::lround(p.v + t * (q.v - p.v)))});
    }
  }
  return cells;
}

// Segments from one row to another and the direction of the first and last move within each row:
// what decides the joins where the line turns into and out of a row.
struct Turns {
  std::vector<std::pair<StripPoint, StripPoint>> crossings;
  std::vector<std::pair<int, int>> rowDirections;
  bool operator==(const Turns&) const = default;
};

Turns TurnsOf(const Curve& c) {
  Turns t;
  const auto sign = [](std::int32_t d) { return d > 0 ? 1 : (d < 0 ? -1 : 0); };
  std::size_t start = 0;
  for (std::size_t i = 1; i <= c.size(); ++i) {
    if (i < c.size() && c[i].a == c[start].a) continue;
    // Row c[start .. i - 1]: first and last move that goes anywhere.
    int first = 0, last = 0;
    for (std::size_t k = start + 1; k < i && first == 0; ++k) first = sign(c[k].v - c[k - 1].v);
    for (std::size_t k = i - 1; k > start && last == 0; --k) last = sign(c[k].v - c[k - 1].v);
    t.rowDirections.push_back({first, last});
    if (i < c.size()) t.crossings.push_back({c[i - 1], c[i]});
    start = i;
  }
  return t;
}

// A row of more points than pass unchanged: `values` along row `a`, repeated `times`.
Curve Row(std::int32_t a, const std::vector<std::int32_t>& values, int times) {
  Curve row;
  for (int t = 0; t < times; ++t) {
    for (const std::int32_t v : values) row.push_back({a, v});
  }
  return row;
}

TEST(AxisThinnerTest, KeepsEndsExtremesAndTurnsOfEachRow) {
  // Row 5: first 4, then 6 (leaving upwards), lowest 1, highest 9, last 3 reached downwards.
  Curve curve{{4, 7}};
  const Curve row = Row(5, {4, 6, 5, 1, 2, 9, 8, 7, 3}, 3);
  curve.insert(curve.end(), row.begin(), row.end());
  curve.push_back({6, 2});
  const Curve thin = Thin(curve);
  EXPECT_EQ(thin.front(), curve.front());
  EXPECT_EQ(thin.back(), curve.back());
  EXPECT_LE(thin.size(), 2u + 6u);
  for (const StripPoint p :
       {StripPoint{5, 4}, StripPoint{5, 1}, StripPoint{5, 9}, StripPoint{5, 3}}) {
    EXPECT_NE(std::find(thin.begin(), thin.end(), p), thin.end()) << p.a << "," << p.v;
  }

  // Short rows pass as they are, repeats included.
  const Curve few{{1, 1}, {2, 5}, {2, 5}, {2, 3}, {3, 2}};
  EXPECT_EQ(Thin(few), few);
  EXPECT_EQ(Thin({{1, 1}}), (Curve{{1, 1}}));
  EXPECT_EQ(Thin({}), Curve{});
  // A long row of one value is one point.
  EXPECT_EQ(Thin(Row(2, {7}, 40)), (Curve{{2, 7}}));
}

TEST(AxisThinnerTest, RandomCurvesCoverTheSameCellsWithTheSameTurns) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> value(-50, 50), rowLength(1, 60);
  for (int round = 0; round < 300; ++round) {
    Curve curve;
    // Rows may repeat a value or come back to an earlier row: the thinner only merges neighbours.
    for (int row = 0; row < 20; ++row) {
      const int a = round % 3 == 0 ? row % 4 : row;
      for (int k = rowLength(random); k > 0; --k) curve.push_back({a, value(random) / 10 * 10});
    }
    const Curve thin = Thin(curve);
    ASSERT_EQ(Cells(thin), Cells(curve)) << "round " << round;
    ASSERT_EQ(TurnsOf(thin), TurnsOf(curve)) << "round " << round;
    ASSERT_EQ(thin.front(), curve.front());
    ASSERT_EQ(thin.back(), curve.back());
    for (const StripPoint p : thin)
      ASSERT_NE(std::find(curve.begin(), curve.end(), p), curve.end());
  }
}

}  // namespace
}  // namespace sx
