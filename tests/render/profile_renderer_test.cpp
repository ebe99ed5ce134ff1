#include "render/profile_renderer.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "core/device_int.h"
#include "core/reader.h"
#include "plot/plot_pass.h"
#include "render/drawing.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {
namespace {

using Kind = RecordingSurface::Kind;
using Points = std::vector<DevicePoint>;

constexpr RGB kRed{200, 0, 0};
constexpr RGB kGreen{0, 150, 0};
constexpr RGB kBlue{0, 0, 200};

// A loaded file whose parameter 1 is drawn alone with every style off, in the Horizontal mode.
// After a first screen paint the strip of parameter 1 is pinned to round numbers, and later passes
// draw with that layout: L 100, R 500, B 300, T 100; x = 10 X + 100, y = 300 - 10 v (range 0..20).
struct Scene {
  RecordingUserInterface ui;
  TestFiles files;
  std::unique_ptr<Session> session = CreateSession({}, ui);
  RecordingSurface surface;

  explicit Scene(const std::string& table) {
    SetDataFilePath(session->data, files.Write("scene.tab", table));
    EXPECT_EQ(OpenDataFile(*session), 0);
    GraphicSettings& g = session->settings.graphic;
    g.graphicWidth = 600;
    g.graphicHeight = 400;
    g.plotMode = kHorizontal;
    const RGB colors[] = {kRed, kGreen, kBlue};
    for (int p = 1; p <= session->data.ParameterCount; ++p) {
      ParameterSettings& r = P(p);
      r.plotState = p == 1 ? 1 : 0;
      r.lines = r.colorize = r.columns = r.histogramLines = r.outline = r.occurrence = 0;
      r.valueText = r.marker = r.comment = r.lithology = r.boundary = r.course = 0;
      r.markerSymbol = 2;  // a circle: one ellipse per marker
      r.color = colors[(p - 1) % 3];
    }
    RecountPlotted(session->settings);
    Pass(kStageScreen);
    ColumnRecord& c = session->data.column(1);
    c.yRangeMinimum = 0.0f;
    c.yRangeMaximum = 20.0f;
    c.originX = 100, c.extentX = 400, c.originY = 300, c.extentY = -200;
    c.xScale = 10.0f, c.xOffset = -100.0f, c.yScale = -10.0f, c.yOffset = -300.0f;
  }
  ParameterSettings& P(int p) { return session->settings.record(p); }
  ColumnRecord& Column(int p) { return session->data.column(p); }
  void Pass(std::int32_t stage = kStageCurrentLayout) {
    surface.clear();
    PlotContext ctx = session->plotContext(ComputeScale(surface, 96.0f));
    PlotPass(surface, ctx, stage);
  }
  std::vector<Points> Of(Kind kind, RGB color) const {
    std::vector<Points> out;
    for (const auto& c : surface.calls()) {
      if (c.kind == kind && c.color == color) out.push_back(c.points);
    }
    return out;
  }
  // Centres of the circle markers.
  Points Markers() const {
    Points out;
    for (const auto& c : surface.calls()) {
      if (c.kind != Kind::kEllipse) continue;
      out.push_back({(c.points[0].x + c.points[1].x) / 2, (c.points[0].y + c.points[1].y) / 2});
    }
    return out;
  }
  const RecordingSurface::Call* TextCall(const std::string& text) const {
    // The last one: the axes, drawn first, may write the same number.
    const RecordingSurface::Call* found = nullptr;
    for (const auto& c : surface.calls()) {
      if (c.kind == Kind::kText && c.text == text) found = &c;
    }
    return found;
  }
  // Line height of the value-text font.
  std::int32_t ValueTextHeight() {
    RecordingSurface scratch;
    SelectPlotFont(scratch, "Arial", session->settings.graphic.fontSize - 1, 0, 0);
    return TextLineHeight(scratch);
  }
};

std::string Table(const std::string& header, const std::vector<std::string>& rows) {
  std::string out = header + "\n";
  for (const std::string& r : rows) out += r + "\n";
  return out;
}

TEST(ProfileCurveTest, CurveLeavingTheStripRunsAlongTheEdgeBetweenExactCrossings) {
  Scene s(Table("Depth [m]\tA [u]", {"0\t10", "10\t16", "20\t26", "30\t16", "40\t10", "50\t10"}));
  s.P(1).lines = 1;
  s.Pass();
  // Above the top at X 20: up to the crossing, along the top, down from the crossing; the walk
  // ends on the right edge at the first row beyond it.
  const Points curve{{100, 200}, {100, 200}, {200, 140}, {240, 100}, {300, 100},
                     {360, 100}, {400, 140}, {500, 200}, {500, 200}};
  EXPECT_EQ(s.Of(Kind::kPolyline, kRed), std::vector<Points>{curve});
}

TEST(ProfileCurveTest, OnePixelOutsideCountsAsInsideAndHugeValuesStayOnTheEdge) {
  Scene s(Table("Depth [m]\tA [u]", {"0\t10", "10\t-0.1", "20\t10", "30\t1e30", "40\t10"}));
  s.P(1).lines = 1;
  s.P(1).marker = 1;
  s.Pass();
  // -0.1 lies at y 301, one below the bottom: a curve point as it is, a marker on the edge. 1e30
  // maps far beyond the top: the curve runs along the top, and no marker is drawn.
  const Points curve{{100, 200}, {100, 200}, {200, 301}, {300, 200},
                     {300, 100}, {400, 100}, {499, 100}, {500, 200}};
  EXPECT_EQ(s.Of(Kind::kPolyline, kRed), std::vector<Points>{curve});
  EXPECT_EQ(s.Markers(), (Points{{100, 200}, {200, 300}, {300, 200}, {500, 200}}));
}

TEST(ProfileCurveTest, GreaterThanValuesAreHiddenAloneButCountInAnAddedSum) {
  Scene s(Table("Depth [m]\tA [u]\tB [u]", {"0\t10\t1", "10\t>12\t1", "20\t10\t1"}));
  s.P(1).lines = s.P(2).lines = 1;
  s.P(1).marker = 1;
  s.P(1).valueText = 1;
  s.P(1).doWithNext = 1;
  s.Pass();
  EXPECT_EQ(s.Of(Kind::kPolyline, kRed),
            (std::vector<Points>{{{100, 200}, {100, 200}, {300, 200}}}));
  EXPECT_EQ(s.Of(Kind::kPolyline, kGreen),
            (std::vector<Points>{{{100, 190}, {100, 190}, {200, 170}, {300, 190}}}));
  EXPECT_EQ(s.Markers(), (Points{{100, 200}, {300, 200}}));
  EXPECT_EQ(s.TextCall("12"), nullptr);
  // Beside a curve a value text stands 2 x marker size above its value, centred on it.
  ASSERT_NE(s.TextCall("10"), nullptr);
  EXPECT_EQ(s.TextCall("10")->points[0], (DevicePoint{300, 198 - s.ValueTextHeight()}));
}

TEST(ProfileCurveTest, AddAndPlotGroupsOfThreeShareTheHeadsStrip) {
  Scene s(Table("Depth [m]\tA [u]\tB [u]\tC [u]", {"0\t2\t3\t4", "10\t2\t3\t4"}));
  for (int p = 1; p <= 3; ++p) s.P(p).lines = 1;
  const auto levels = [&] {
    // The level of each curve, in drawing order: the head comes last, on top.
    std::vector<std::int32_t> out;
    for (const auto& c : s.surface.calls()) {
      const bool ours = c.color == kRed || c.color == kGreen || c.color == kBlue;
      if (c.kind == Kind::kPolyline && ours) out.push_back(c.points[1].y);
    }
    return out;
  };
  s.P(1).doWithNext = 2;  // add: A + B + C, A + B, A
  s.Pass();
  EXPECT_EQ(levels(), (std::vector<std::int32_t>{210, 250, 280}));
  s.P(1).doWithNext = -2;  // plot: C, B, A as they are
  s.Pass();
  EXPECT_EQ(levels(), (std::vector<std::int32_t>{260, 270, 280}));
  // More members than columns left, including the extremes a file may hold: the head alone.
  for (std::int32_t next : {3, INT_MAX, INT_MIN, -3}) {
    s.P(1).doWithNext = next;
    s.Pass();
    EXPECT_EQ(levels(), (std::vector<std::int32_t>{280})) << next;
  }
}

TEST(ProfileColorizeTest, BothHalvesAreFilledAgainstTheReferenceLine) {
  Scene s(Table("Depth [m]\tA [u]", {"0\t15", "20\t5", "40\t15"}));
  s.P(1).colorize = 1;
  s.P(1).referenceLine = 10.0f;  // y 200, the middle of the strip
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
  s.Column(1).yScale = 10.0f;
  s.Column(1).yOffset = -100.0f;
  s.Pass();
  const auto reversed = s.Of(Kind::kPolygon, kRed);
  ASSERT_EQ(reversed.size(), 2u);
  EXPECT_EQ(reversed[0][1], (DevicePoint{100, 250}));
  for (const DevicePoint& d : reversed[0]) EXPECT_GE(d.y, 200);
  for (const DevicePoint& d : reversed[1]) EXPECT_LE(d.y, 200);

  // A half with no value range (the reference line at the range's end) is left empty.
  s.Column(1).yScale = -10.0f;
  s.Column(1).yOffset = -300.0f;
  s.Column(1).yRangeMaximum = 10.0f;
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
  Scene s(Table("Depth [m]\tA [u]", rows));
  s.Column(1).xScale = 0.08f;
  s.P(1).lines = 1;
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
  s.P(1).colorize = 1;
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

}  // namespace
}  // namespace sx
