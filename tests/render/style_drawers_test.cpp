// The style drawers on hand-placed strips, so that every expected coordinate can be read off:
//   Horizontal strip: L 100, R 400, B 300, T 200 (middle line 250); X maps to 100 + 10 X, a value
//   v to 300 - 10 v.
//   Vertical strip: L 100, R 200 (middle 150), Y0 50, Y1 350; X maps to 50 + 10 X, v to 100 + 10 v.

#include "render/style_drawers.h"

#include "scene_fixture.h"
#include "settings/patterns.h"

namespace sx {
namespace {

constexpr ProfileOrientation kH = ProfileOrientation::kHorizontal;
constexpr ProfileOrientation kV = ProfileOrientation::kVertical;
constexpr RGB kRed{200, 0, 0};

struct Strips : Scene {
  ProfileOrientation orientation;

  explicit Strips(const std::string& table, ProfileOrientation o = kH)
      : Scene(table), orientation(o) {
    const std::string patterns = files.dir() + "/patterns.ini";
    LoadPatterns(session->patterns, patterns);  // the first load writes the default table
    EXPECT_EQ(LoadPatterns(session->patterns, patterns), 0);
    StylesOff({kRed});
    for (int p = 1; p <= data().ParameterCount; ++p) {
      ParameterSettings& r = record(p);
      r.doWithNext = r.columnWidth = 0;
      r.referenceLine = 0.0f;
      r.lineWidth = 1;
      r.markerSize = 3;
      ColumnRecord& c = column(p);
      if (orientation == kH) {
        c.originX = 100, c.extentX = 300, c.originY = 300, c.extentY = -100;
        c.xScale = 10, c.xOffset = -100, c.yScale = -10, c.yOffset = -300;
      } else {
        c.originX = 100, c.extentX = 100, c.originY = 50, c.extentY = 300;
        c.yScale = 10, c.yOffset = -50, c.xScale = 10, c.xOffset = -100;
      }
    }
    session->render.metrics.numberHeight = 13;
  }

  using Drawer = void (*)(Surface&, PlotContext&, PlotStage, ProfileOrientation);
  std::string Run(Drawer drawer, PlotStage stage = kStageScreen) {
    Draw([&](Surface& s, PlotContext& ctx) { drawer(s, ctx, stage, orientation); });
    return surface.Dump();
  }
  // A drawer of a group of parameters, for the group of parameter 1.
  using GroupDrawer = void (*)(Surface&, PlotContext&, PlotStage, ProfileOrientation, std::int32_t,
                               std::int32_t);
  std::string RunGroup(GroupDrawer drawer, PlotStage stage) {
    Draw([&](Surface& s, PlotContext& ctx) {
      drawer(s, ctx, stage, orientation, 1, GroupExtent(ctx, 1));
    });
    return surface.Dump();
  }
  std::vector<std::string> Outlines() const {
    std::vector<std::string> out;
    for (const Call& c : Calls(Kind::kPolyline)) out.push_back(RecordingSurface::DumpCall(c));
    return out;
  }
  std::vector<std::uint8_t> Bits(int index) const {
    const Pattern& p = session->patterns.records[static_cast<std::size_t>(index)];
    return std::vector<std::uint8_t>(p.bits, p.bits + 2 * p.height);
  }
};

// The black outline FillRectWithPattern puts round an interval.
std::string PatternOutline(int x1, int y1, int x2, int y2) {
  auto p = [](int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); };
  return "polyline 1 0,0,0 solid" + p(x1, y1) + p(x2, y1) + p(x2, y2) + p(x1, y2) + p(x1, y1);
}

constexpr char kBoundaries[] = "Depth [m]\tB\n0\t0.9\n10\t1.0\n20\t0\n30\t2.5\n40\t1\n";

TEST(StyleDrawersBoundary, AWholeOneOrMoreDrawsADashedLineAcrossTheStrip) {
  Strips h(kBoundaries);
  h.record(1).boundary = 1;
  h.record(1).lineWidth = 2;
  // 0.9 draws nothing, 1.0 and 2.5 draw; X 40 lies beyond the strip.
  EXPECT_EQ(h.Run(DrawBoundaries),
            "line 2 0,0,0 dash 200,300 200,200\n"
            "line 2 0,0,0 dash 400,300 400,200\n");
}

constexpr char kOccurrence[] = "Depth [m]\tOcc\n0\t0\n10\t-2\n15\t/4\n20\t3\n30\t0\n40\t5\n";

TEST(StyleDrawersOccurrence, MarkersOnTheMiddleLineWhereTheValueIsNotZero) {
  Strips h(kOccurrence);
  h.record(1).occurrence = 1;
  h.record(1).flagValid = 1;
  h.record(1).flagNotValid = 0;  // the "/" value is filtered out
  h.scale = {2.0f, 2};           // size and pen scale with the resolution
  EXPECT_EQ(h.Run(DrawOccurrence),
            "ellipse 2 200,0,0 white 194,244 206,256\n"
            "ellipse 2 200,0,0 white 294,244 306,256\n");
}

TEST(StyleDrawersLithology, EachSampleFillsTheIntervalUpToItWithItsPattern) {
  Strips h("Depth [m]\tLith\n10\t1\n20\t2\n30\t3\n40\t4\n");
  h.record(1).lithology = 1;
  h.Run(DrawLithology);
  // The strip starts at X 0: 0-10, 10-20 and 20-30 are filled; X 40 lies beyond the strip.
  EXPECT_EQ(h.Outlines(), (std::vector<std::string>{PatternOutline(100, 200, 200, 300),
                                                    PatternOutline(200, 200, 300, 300),
                                                    PatternOutline(300, 200, 400, 300)}));
  const auto tiles = h.Calls(Kind::kBitmap);
  ASSERT_FALSE(tiles.empty());
  EXPECT_EQ(tiles.front().points[0], (DevicePoint{100, 200}));
  EXPECT_EQ(tiles.front().bits, h.Bits(1));
  EXPECT_EQ(tiles.back().bits, h.Bits(3));

  // Pattern numbers 0, 999 and -2 name no pattern; the table's last pattern is usable.
  Strips u("Depth [m]\tLith\n5\t2\n10\t0\n20\t999\n25\t-2\n30\t81\n");
  ASSERT_EQ(u.session->patterns.PatternCount, 81);
  u.record(1).lithology = 1;
  u.Run(DrawLithology);
  EXPECT_EQ(u.Outlines(), (std::vector<std::string>{PatternOutline(100, 200, 150, 300),
                                                    PatternOutline(350, 200, 400, 300)}));
  for (const auto& tile : u.Calls(Kind::kBitmap))
    EXPECT_EQ(tile.bits, u.Bits(tile.points[0].x < 150 ? 2 : 81));

  // A text column names its patterns; a name that is no pattern (case counts) is not filled.
  Strips t("Depth [m]\tRock\n10\tBitmap3\n20\tbitmap4\n30\tBitmap5\n");
  t.record(1).lithology = 1;
  t.Run(DrawLithology);
  EXPECT_EQ(t.Outlines(), (std::vector<std::string>{PatternOutline(100, 200, 200, 300),
                                                    PatternOutline(300, 200, 400, 300)}));
  EXPECT_EQ(t.Calls(Kind::kBitmap).back().bits,
            t.Bits(FindPattern(t.session->patterns, "Bitmap5")));
}

constexpr char kCourse[] = "Depth [m]\tDir [deg]\tSpeed [cm/s]\n10\t0\t5\n20\t90\t40\n";

TEST(StyleDrawersCourse, VectorsFromTheMiddleLineScaledToTheSpeedMaximum) {
  Strips h(kCourse);
  h.record(1).course = 1;
  h.record(1).markerSymbol = 9;
  h.record(1).markerSize = 2;
  h.record(2).maximum = 10.0f;
  h.scale = {2.0f, 2};
  // Half the maximum: half of half the strip; four times the maximum: capped at half the strip.
  // The foot's marker does not scale with the resolution.
  EXPECT_EQ(h.Run(DrawCourse),
            "line 2 200,0,0 solid 200,250 200,225\n"
            "line 1 0,0,0 solid 198,250 202,250\n"
            "line 1 0,0,0 solid 200,248 200,252\n"
            "line 2 200,0,0 solid 300,250 350,250\n"
            "line 1 0,0,0 solid 298,250 302,250\n"
            "line 1 0,0,0 solid 300,248 300,252\n");
}

// 11 samples spread over 100 device units (X maps to 100 + X).
constexpr char kColumns[] =
    "Depth [m]\tC\n0\t1\n10\t2\n20\t3\n30\t4\n40\t5\n50\t6\n60\t7\n70\t8\n80\t9\n90\t10\n100\t2\n";

TEST(StyleDrawersColumns, DefaultHalfWidthAndOutlineByStage) {
  Strips h(kColumns);
  h.column(1).xScale = 1.0f;
  h.record(1).columns = 1;
  // trunc((100 x 0.5 / 11 + 0.5) x 1) = 5; the first bar is cut at the strip's left edge.
  h.RunGroup(DrawColumns, kStageScreen);
  auto bars = h.Calls(Kind::kPolygon);
  ASSERT_EQ(bars.size(), 11u);
  EXPECT_EQ(RecordingSurface::DumpCall(bars[0]),
            "polygon 1 200,0,0 filled 100,290 105,290 105,300 100,300 100,290");
  EXPECT_EQ(RecordingSurface::DumpCall(bars[3]),
            "polygon 1 200,0,0 filled 125,260 135,260 135,300 125,300 125,260");
  // On screen and paper (stages 1, 4) the bars are outlined in black; in metafiles they are not.
  for (PlotStage stage : {kStageScreen, kStageClipboard, kStageMetafile, kStagePrinter}) {
    h.RunGroup(DrawColumns, stage);
    EXPECT_EQ(h.Calls(Kind::kPolygon).size(), 11u);
    EXPECT_EQ(h.Calls(Kind::kPolyline).size(),
              stage == kStageScreen || stage == kStagePrinter ? 11u : 0u)
        << static_cast<int>(stage);
  }

  // At twice the screen resolution: trunc(5.045 x 2) = 10. No colour fills grey.
  h.scale = {2.0f, 2};
  h.record(1).color = RGB{0, 0, 0};
  h.RunGroup(DrawColumns, kStageScreen);
  bars = h.Calls(Kind::kPolygon);
  EXPECT_EQ(RecordingSurface::DumpCall(bars[3]),
            "polygon 2 213,213,213 filled 120,260 140,260 140,300 120,300 120,260");
}

TEST(StyleDrawersOutline, StepsChangeLevelHalfwayBetweenSamples) {
  Strips h("Depth [m]\tO\n-5\t9\n0\t1\n10\t3\n20\t2\n");
  h.record(1).outline = 1;
  // The sample left of the strip is left out; the curve starts at the first one inside.
  EXPECT_EQ(h.RunGroup(DrawOutline, kStageScreen),
            "polyline 1 200,0,0 solid 100,290 100,290 150,290 150,270 250,270 250,280 300,280\n");
  // On the clipboard the step curve is closed down to the reference level.
  EXPECT_EQ(h.RunGroup(DrawOutline, kStageClipboard),
            "polyline 1 200,0,0 solid 100,290 100,290 150,290 150,270 250,270 250,280 300,280 "
            "300,300 100,300 100,290\n");

  // Long runs are drawn in pieces that join.
  std::string table = "Depth [m]\tO\n";
  for (int i = 0; i < 1500; ++i)
    table += std::to_string(i * 0.02) + "\t" + (i % 2 ? "1" : "2") + "\n";
  Strips many(table);
  many.record(1).outline = 1;
  many.RunGroup(DrawOutline, kStageScreen);
  const auto runs = many.Calls(Kind::kPolyline);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].points.size(), 1997u);
  // The second run starts where the first ended.
  EXPECT_EQ(runs[1].points[0], runs[0].points.back());
}

TEST(StyleDrawersColorStripes, StripesTakeTheirColourFromTheCell) {
  Strips h(
      "Depth [m]\tColour RGB\n10\t255/0/0\n15\t300/-20/12.7\n20\t10/20/30\n25\t40/x\n60\t1/2/3\n");
  ASSERT_EQ(h.record(1).rgbColumn, 1);
  EXPECT_EQ(h.Run(DrawColorStripes),
            "polygon 1 255,0,0 filled 199,200 201,200 201,300 199,300 199,200\n"
            "polygon 1 255,0,12 filled 249,200 251,200 251,300 249,300 249,200\n"
            "polygon 1 10,20,30 filled 299,200 301,200 301,300 299,300 299,200\n"
            "polygon 1 40,20,30 filled 349,200 351,200 351,300 349,300 349,200\n");
  // The colour drawn last stays the column's colour; the entry beyond the strip is not read.
  EXPECT_EQ(h.settings().ParameterColorTable[1], (RGB{40, 20, 30}));

  // A vertical colour log reaches halfway to its neighbours; a comment column between the colour
  // entries does not cut it.
  Strips v("Depth [m]\tNote\tColour RGB\n10\ta\t255/0/0\n20\tb\t0/255/0\n26\tc\t0/0/255\n", kV);
  v.record(1).comment = 1;
  EXPECT_EQ(v.Run(DrawColorStripes),
            "polygon 1 255,0,0 filled 100,50 200,50 200,200 100,200 100,50\n"
            "polygon 1 0,255,0 filled 100,200 200,200 200,280 100,280 100,200\n"
            "polygon 1 0,0,255 filled 100,280 200,280 200,350 100,350 100,280\n");
}

// A comment on a row at an end of the X axis moves inwards to stay within its strip instead of
// straddling the frame line; one in between stands centred on its row.
TEST(StyleDrawersComments, CommentsAtTheAxisEndsStayWithinTheStrip) {
  for (const ProfileOrientation o : {kH, kV}) {
    Strips s("Depth [m]\tNote\n0\tclay\n15\tsilty clay\n30\tsand\n", o);
    s.record(1).comment = 1;
    s.Run(DrawComments);
    const auto texts = s.Calls(Kind::kText);
    ASSERT_EQ(texts.size(), 3u) << static_cast<int>(o);
    for (const Call& t : texts) {  // the text's extent along the X axis
      const std::int32_t w = TextWidth(s.surface, t.text);
      const std::int32_t start = o == kH ? t.points[0].x - w / 2 : t.points[0].y;
      const std::int32_t end = o == kH ? start + w : start + 13;
      EXPECT_GE(start, o == kH ? 102 : 52) << t.text;
      EXPECT_LE(end, o == kH ? 398 : 348) << t.text;
    }
    // The recorded point is the text's top in the Vertical mode: the row less half a line.
    EXPECT_EQ(o == kH ? texts[1].points[0].x : texts[1].points[0].y, o == kH ? 250 : 200 - 7);
  }
}

}  // namespace
}  // namespace sx
