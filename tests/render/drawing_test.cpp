#include "render/drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "render/recording_surface.h"

namespace sx {
namespace {

using Kind = RecordingSurface::Kind;
constexpr RGB kRed{200, 0, 0};
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

std::vector<DevicePoint> Rect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
}

TEST(Drawing, LinesAndRectanglesStandOnOnePrimitiveCall) {
  RecordingSurface s;
  DrawLine(s, 1, 2, 3, 4, 2, kRed);
  DrawDashedLine(s, 1, 2, 3, 4, 3, 0);
  DrawDashedLine(s, 1, 2, 3, 4, 3, -1);
  DrawDashedLine(s, 5, 6, 7, 8, 3, 1);
  DrawRectOutline(s, 10, 20, 30, 40, 1, kRed);
  FillRect(s, 10, 20, 30, 40, 1, kRed);
  EXPECT_EQ(s.Dump(),
            "line 2 200,0,0 solid 1,2 3,4\n"
            "line 3 0,0,0 dash 5,6 7,8\n"
            "polyline 1 200,0,0 solid 10,20 30,20 30,40 10,40 10,20\n"
            "polygon 1 200,0,0 filled 10,20 30,20 30,40 10,40 10,20\n");
}

TEST(Drawing, PolylinesTakeTheLastIndexAndRefuseTheBufferEnd) {
  PointBuffer buffer;
  for (int i = 0; i < kPointBufferSize; ++i) SetPointAt(i, buffer, i, 2 * i);
  SetPointAt(kPointBufferSize, buffer, 7, 7);  // outside: ignored, no overrun
  SetPointAt(-1, buffer, 7, 7);

  RecordingSurface s;
  DrawPolyline(s, buffer, 1999, 1, kRed);
  FillPolygon(s, buffer, 1999, 1, kRed);
  ASSERT_EQ(s.calls().size(), 2u);
  EXPECT_EQ(s.calls()[0].points.back(), (DevicePoint{1999, 3998}));
  EXPECT_EQ(s.calls()[1].kind, Kind::kPolygon);
  EXPECT_EQ(s.calls()[1].points.size(), 2000u);

  s.clear();
  for (std::int32_t last : {2000, 2001, -1, kMin}) {
    DrawPolyline(s, buffer, last, 1, kRed);
    FillPolygon(s, buffer, last, 1, kRed);
  }
  EXPECT_TRUE(s.calls().empty());
}

TEST(Drawing, ClipHelpersTruncateAndSurviveExtremes) {
  // at X (or Y) on the segment (x1,y1)-(x2,y2): the crossing point.
  struct Case {
    bool atX;
    std::int32_t x1, y1, x2, y2, at, px, py;
  };
  const Case cases[] = {
      {true, 5, 10, 5, 90, 7, 7, 10},           // vertical segment
      {false, 5, 10, 50, 10, 3, 50, 3},         // horizontal segment
      {true, 0, 0, 3, -2, 1, 1, 0},             // -2/3 truncates toward zero
      {false, 0, 0, 10, 4, 3, 7, 3},            // 30/4
      {true, kMin, kMin, kMax, kMax, 0, 0, 0},  // differences beyond 32 bits
      {true, 0, 0, 1, kMax, kMax, kMax, kMax},  // results beyond the range saturate
      {false, 0, 0, kMin, 1, kMin, kMax, kMin},
  };
  for (const Case& c : cases) {
    std::int32_t px = 0, py = 0;
    (c.atX ? ClipYAtX : ClipXAtY)(c.x1, c.y1, c.x2, c.y2, c.at, px, py);
    EXPECT_EQ((DevicePoint{px, py}), (DevicePoint{c.px, c.py}))
        << c.x1 << "," << c.y1 << " " << c.at;
  }
}

TEST(Drawing, VectorsScaleToTheMaximumAndCapAtTheLength) {
  RecordingSurface s;
  DrawVector(s, 0.0f, 5.0f, 10.0f, 100, 100, 20.0f, 1, kRed);    // half the maximum
  DrawVector(s, 0.0f, 15.0f, 10.0f, 100, 100, 20.0f, 1, kRed);   // beyond it: capped
  DrawVector(s, 90.0f, 10.0f, 10.0f, 100, 100, 20.0f, 1, kRed);  // to the right
  DrawVector(s, 0.0f, 5.0f, 0.0f, 100, 100, 20.0f, 1, kRed);     // no maximum: full length
  DrawVector(s, 0.0f, -5.0f, 0.0f, 100, 100, 20.0f, 1, kRed);
  DrawVector(s, 0.0f, -5.0f, -2.0f, 100, 100, 20.0f, 1, kRed);
  EXPECT_EQ(s.Dump(),
            "line 1 200,0,0 solid 100,100 100,90\n"
            "line 1 200,0,0 solid 100,100 100,80\n"
            "line 1 200,0,0 solid 100,100 120,100\n"
            "line 1 200,0,0 solid 100,100 100,80\n"
            "line 1 200,0,0 solid 100,100 100,80\n"
            "line 1 200,0,0 solid 100,100 100,80\n");

  s.clear();
  const float nan = std::nanf("");
  const float inf = std::numeric_limits<float>::infinity();
  DrawVector(s, nan, 5.0f, 10.0f, 0, 0, 20.0f, 1, kRed);
  DrawVector(s, 0.0f, 5.0f, nan, 0, 0, 20.0f, 1, kRed);
  DrawVector(s, 0.0f, 5.0f, 10.0f, 0, 0, -inf, 1, kRed);
  DrawVector(s, 0.0f, -3e38f, 1e-30f, 0, 0, 20.0f, 1, kRed);  // the ratio overflows
  EXPECT_TRUE(s.calls().empty());
  DrawVector(s, 0.0f, 20.0f, 10.0f, 0, 0, 3e38f, 1, kRed);  // far off the surface: saturates
  ASSERT_EQ(s.calls().size(), 1u);
  EXPECT_EQ(s.calls()[0].points[1], (DevicePoint{0, kMin}));
}

PatternTable OnePattern(std::int32_t w, std::int32_t h) {
  PatternTable t;
  EXPECT_TRUE(t.Allocate());
  t.PatternCount = 1;
  t.records[1].width = w;
  t.records[1].height = h;
  for (int i = 0; i < 32; ++i) t.records[1].bits[i] = static_cast<std::uint8_t>(0xA5 ^ i);
  return t;
}

struct Tile {
  std::int32_t x, y, copyWidth, copyHeight;
  bool operator==(const Tile&) const = default;
};

std::vector<Tile> Tiles(const RecordingSurface& s) {
  std::vector<Tile> tiles;
  for (const auto& c : s.calls()) {
    if (c.kind == Kind::kBitmap)
      tiles.push_back({c.points[0].x, c.points[0].y, c.copyWidth, c.copyHeight});
  }
  return tiles;
}

TEST(Drawing, PatternTilesOverlapByOnePixelAndAreCutAtTheEdges) {
  const PatternTable t = OnePattern(8, 8);
  RecordingSurface s;
  FillRectWithPattern(s, 10, 20, 30, 40, t, 1);  // 20 x 20
  const std::vector<Tile> expected = {
      {10, 20, 8, 8}, {17, 20, 8, 8}, {24, 20, 6, 8},  // full rows at y1 and y1 + 7
      {10, 27, 8, 8}, {17, 27, 8, 8}, {24, 27, 6, 8},
      {10, 34, 8, 6}, {17, 34, 8, 6}, {24, 34, 6, 6}};  // last row: 6 pixels
  EXPECT_EQ(Tiles(s), expected);
  EXPECT_EQ(s.calls().front().bits,
            std::vector<std::uint8_t>(t.records[1].bits, t.records[1].bits + 16));
  EXPECT_EQ(RecordingSurface::DumpCall(s.calls().back()),
            "polyline 1 0,0,0 solid 10,20 30,20 30,40 10,40 10,20");
}

TEST(Drawing, DegeneratePatternsAndRectanglesStillEnd) {
  // A one-pixel pattern covers every pixel exactly once.
  PatternTable t = OnePattern(1, 1);
  RecordingSurface s;
  FillRectWithPattern(s, 0, 0, 5, 3, t, 1);
  const std::vector<Tile> tiles = Tiles(s);
  EXPECT_EQ(tiles.size(), 15u);
  for (const Tile& tile : tiles) EXPECT_EQ(tile.copyWidth * tile.copyHeight, 1);

  // Unknown pattern: no fill, the outline only.
  for (std::int32_t index : {0, 2, -1}) {
    s.clear();
    FillRectWithPattern(s, 0, 0, 5, 3, t, index);
    ASSERT_EQ(s.calls().size(), 1u);
    EXPECT_EQ(s.calls()[0].points, Rect(0, 0, 5, 3));
  }

  // A reversed or empty rectangle, however tall, places no tile.
  s.clear();
  FillRectWithPattern(s, 0, kMin, 0, kMax, t, 1);
  FillRectWithPattern(s, 9, 0, 1, 9, t, 1);
  EXPECT_TRUE(Tiles(s).empty());
  EXPECT_EQ(s.calls().size(), 2u);
}

// Counts tiles without keeping them.
class CountingSurface : public RecordingSurface {
 public:
  void MonochromeBitmap(std::int32_t, std::int32_t, const std::uint8_t*, std::int32_t, std::int32_t,
                        std::int32_t, std::int32_t) override {
    ++tiles;
  }
  std::int64_t tiles = 0;
};

TEST(Drawing, AHugePatternFillIsBounded) {
  const PatternTable t = OnePattern(2, 2);
  CountingSurface s;
  FillRectWithPattern(s, kMin, kMin, kMax, kMax, t, 1);
  EXPECT_EQ(s.tiles, 4'000'000);
  ASSERT_EQ(s.calls().size(), 1u);  // the outline is still drawn
  EXPECT_EQ(s.calls()[0].points, Rect(kMin, kMin, kMax, kMax));
}

TEST(Drawing, PlotFontsFollowPointsResolutionAndStyle) {
  RecordingSurface screen(96.0f, 96.0f), printer(600.0f, 600.0f);
  FontSpec f = MakePlotFont(screen, "Arial", 100, kFontBold | kFontUnderline, 450);
  EXPECT_EQ(f.height, -13);  // 10 pt at 96 dpi: 13.3 units
  EXPECT_EQ(f.escapement, 450);
  EXPECT_TRUE(f.bold && f.underline && !f.italic && !f.strikeOut);
  f = MakePlotFont(printer, "Arial", 100, 15, 0);
  EXPECT_EQ(f.height, -83);
  EXPECT_TRUE(f.strikeOut);

  SelectPlotFont(screen, "Times", 12, kFontItalic, 90);
  EXPECT_EQ(screen.currentFont().face, "Times");
  EXPECT_EQ(screen.currentFont().escapement, 900);
  EXPECT_TRUE(screen.currentFont().italic);
  // Sizes below one point (fontSize - 4 of a small font) give the smallest font.
  for (std::int32_t size : {1, 0, -4, kMin}) {
    SelectPlotFont(screen, "Arial", size, 0, 0);
    EXPECT_EQ(screen.currentFont().height, -1) << size;
  }
}

TEST(Drawing, TextIsMeasuredByCharactersAndPlacedWithTheKeptAlignment) {
  RecordingSurface s;
  SelectPlotFont(s, "Arial", 10, 0, 0);  // em 13: advance 7, line 15
  EXPECT_EQ(TextLineHeight(s), 15);
  const std::string umlaut = "\xC3\x84\x62\x63";  // "Äbc"
  EXPECT_EQ(TextWidth(s, umlaut, 2), 14);
  EXPECT_EQ(TextWidth(s, umlaut, 99), 21);
  EXPECT_EQ(TextWidth(s, "abc", -3), 0);
  EXPECT_EQ(TextWidth(s, "abcd"), 28);

  s.clear();
  DrawTextAt(s, "a", 10, 50, 5, 1);
  DrawTextAt(s, "b", 10, 50, -5, 5);  // unknown: stays right
  DrawTextAt(s, "c", 10, 50, 0, 2);
  DrawTextAt(s, "d", 10, 50, 0, -1);
  DrawTextAt(s, "e", 10, 50, 0, 0);
  EXPECT_EQ(s.Dump(),
            "text 10,45 right \"a\"\n"
            "text 10,55 right \"b\"\n"
            "text 10,50 center \"c\"\n"
            "text 10,50 center \"d\"\n"
            "text 10,50 left \"e\"\n");
}

TEST(Drawing, ScaleFollowsTheSurfaceOverTheScreen) {
  const ScaleInfo printer = ComputeScale(RecordingSurface(600.0f, 600.0f), 96.0f);
  EXPECT_FLOAT_EQ(printer.ScaleFactor, 6.25f);
  EXPECT_EQ(printer.scaleStep, 6);
  EXPECT_EQ(ComputeScale(RecordingSurface(72.0f, 72.0f), 96.0f).scaleStep, 1);  // 0.75
  for (float screen : {0.0f, -96.0f, std::nanf("")}) {  // unknown: no scaling
    const ScaleInfo unknown = ComputeScale(RecordingSurface(600.0f, 600.0f), screen);
    EXPECT_EQ(unknown.ScaleFactor, 1.0f);
    EXPECT_EQ(unknown.scaleStep, 1);
  }
}

}  // namespace
}  // namespace sx
