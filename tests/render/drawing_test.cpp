#include "render/drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "scene_fixture.h"

namespace sx {
namespace {

constexpr RGB kRed{200, 0, 0};

TEST(Drawing, LinesRectanglesAndPolylinesUpToTheBufferEnd) {
  RecordingSurface s;
  DrawLine(s, 1, 2, 3, 4, 2, kRed);
  DrawDashedLine(s, 1, 2, 3, 4, 3, 0);
  DrawDashedLine(s, 5, 6, 7, 8, 3, 1);
  DrawRectOutline(s, 10, 20, 30, 40, 1, kRed);
  FillRect(s, 10, 20, 30, 40, 1, kRed);
  EXPECT_EQ(s.Dump(),
            "line 2 200,0,0 solid 1,2 3,4\n"
            "line 3 0,0,0 dash 5,6 7,8\n"
            "polyline 1 200,0,0 solid 10,20 30,20 30,40 10,40 10,20\n"
            "polygon 1 200,0,0 filled 10,20 30,20 30,40 10,40 10,20\n");

  PointBuffer buffer;
  for (int i = 0; i < kPointBufferSize; ++i) SetPointAt(i, buffer, i, 2 * i);
  SetPointAt(kPointBufferSize, buffer, 7, 7);  // outside: ignored, no overrun
  SetPointAt(-1, buffer, 7, 7);
  s.clear();
  DrawPolyline(s, buffer, 1999, 1, kRed);
  FillPolygon(s, buffer, 1999, 1, kRed);
  ASSERT_EQ(s.calls().size(), 2u);
  EXPECT_EQ(s.calls()[0].points.back(), (DevicePoint{1999, 3998}));
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

TEST(Drawing, VectorsThatCannotBeScaledAreLeftOutAndFarOnesSaturate) {
  // (The scaling itself is seen in the course style and the Phase plot.)
  RecordingSurface s;
  const float nan = std::nanf("");
  DrawVector(s, nan, 5.0f, 10.0f, 0, 0, 20.0f, 1, kRed);
  DrawVector(s, 0.0f, 5.0f, nan, 0, 0, 20.0f, 1, kRed);
  DrawVector(s, 0.0f, 5.0f, 10.0f, 0, 0, -std::numeric_limits<float>::infinity(), 1, kRed);
  DrawVector(s, 0.0f, -3e38f, 1e-30f, 0, 0, 20.0f, 1, kRed);  // the ratio overflows
  EXPECT_TRUE(s.calls().empty());
  DrawVector(s, 0.0f, 20.0f, 10.0f, 0, 0, 3e38f, 1, kRed);  // far off the surface
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

// Tiles as "x,y widthxheight" of the part copied.
std::vector<std::string> Tiles(const RecordingSurface& s) {
  std::vector<std::string> tiles;
  for (const auto& c : s.calls()) {
    if (c.kind != Kind::kBitmap) continue;
    tiles.push_back(std::to_string(c.points[0].x) + "," + std::to_string(c.points[0].y) + " " +
                    std::to_string(c.copyWidth) + "x" + std::to_string(c.copyHeight));
  }
  return tiles;
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

TEST(Drawing, PatternTilesOverlapByOnePixelAndAreCutAtTheEdges) {
  PatternTable t = OnePattern(8, 8);
  RecordingSurface s;
  FillRectWithPattern(s, 10, 20, 30, 40, t, 1);  // 20 x 20
  EXPECT_EQ(Tiles(s), (std::vector<std::string>{"10,20 8x8", "17,20 8x8", "24,20 6x8", "10,27 8x8",
                                                "17,27 8x8", "24,27 6x8", "10,34 8x6", "17,34 8x6",
                                                "24,34 6x6"}));
  EXPECT_EQ(s.calls().front().bits,
            std::vector<std::uint8_t>(t.records[1].bits, t.records[1].bits + 16));
  EXPECT_EQ(s.calls().back().points, Rect(10, 20, 30, 40));  // the black outline

  // A one-pixel pattern covers every pixel exactly once.
  t = OnePattern(1, 1);
  s.clear();
  FillRectWithPattern(s, 0, 0, 5, 3, t, 1);
  EXPECT_EQ(Tiles(s).size(), 15u);
  for (const auto& tile : Tiles(s)) EXPECT_TRUE(tile.ends_with(" 1x1")) << tile;
  // Unknown pattern: the outline only. A reversed or empty rectangle, however tall, places no
  // tile.
  s.clear();
  for (std::int32_t index : {0, 2, -1}) FillRectWithPattern(s, 0, 0, 5, 3, t, index);
  FillRectWithPattern(s, 0, kMin, 0, kMax, t, 1);
  FillRectWithPattern(s, 9, 0, 1, 9, t, 1);
  EXPECT_TRUE(Tiles(s).empty());
  EXPECT_EQ(s.calls().size(), 5u);
  // A huge fill is bounded; its outline is still drawn.
  CountingSurface counting;
  FillRectWithPattern(counting, kMin, kMin, kMax, kMax, OnePattern(2, 2), 1);
  EXPECT_EQ(counting.tiles, 4'000'000);
  ASSERT_EQ(counting.calls().size(), 1u);
  EXPECT_EQ(counting.calls()[0].points, Rect(kMin, kMin, kMax, kMax));
}

TEST(Drawing, FontsTextAndScaleFollowTheResolution) {
  RecordingSurface screen(96.0f, 96.0f), printer(600.0f, 600.0f);
  FontSpec f = MakePlotFont(screen, "Arial", 100, kFontBold | kFontUnderline, 450);
  EXPECT_EQ(f.height, -13);  // 10 pt at 96 dpi: 13.3 units
  EXPECT_TRUE(f.escapement == 450 && f.bold && f.underline && !f.italic && !f.strikeOut);
  EXPECT_EQ(MakePlotFont(printer, "Arial", 100, 15, 0).height, -83);
  // Sizes below one point (fontSize - 4 of a small font) give the smallest font.
  for (std::int32_t size : {1, 0, -4, kMin}) {
    SelectPlotFont(screen, "Arial", size, 0, 0);
    EXPECT_EQ(screen.currentFont().height, -1) << size;
  }

  RecordingSurface s;
  SelectPlotFont(s, "Arial", 10, 0, 0);  // em 13: advance 7, line 15
  EXPECT_EQ(TextLineHeight(s), 15);
  EXPECT_EQ(TextWidth(s, "\u00C4bc", 2), 14);  // characters, not bytes
  EXPECT_EQ(TextWidth(s, "abc", -3), 0);
  s.clear();
  DrawTextAt(s, "a", 10, 50, 5, 1);
  DrawTextAt(s, "b", 10, 50, -5, 5);  // unknown: stays right
  DrawTextAt(s, "c", 10, 50, 0, 2);
  DrawTextAt(s, "e", 10, 50, 0, 0);
  EXPECT_EQ(s.Dump(),
            "text 10,45 right \"a\"\n"
            "text 10,55 right \"b\"\n"
            "text 10,50 center \"c\"\n"
            "text 10,50 left \"e\"\n");

  const ScaleInfo scale = ComputeScale(printer, 96.0f);
  EXPECT_FLOAT_EQ(scale.ScaleFactor, 6.25f);
  EXPECT_EQ(scale.scaleStep, 6);
  EXPECT_EQ(ComputeScale(RecordingSurface(72.0f, 72.0f), 96.0f).scaleStep, 1);  // 0.75
  for (float unknown : {0.0f, -96.0f, std::nanf("")}) {                         // no scaling
    EXPECT_EQ(ComputeScale(printer, unknown).ScaleFactor, 1.0f);
  }
}

TEST(Markers, EachCodeDrawsItsShapeCentredOnThePoint) {
  struct Case {
    std::int32_t code, size, x, y;
    const char* drawn;
  };
  const Case cases[] = {
      {1, 4, 50, 60, "ellipse 2 0,0,200 filled 46,56 54,64\n"},
      {2, 4, 50, 60, "ellipse 2 0,0,200 white 46,56 54,64\n"},
      // Squares sit one pixel inside the circle's box.
      {3, 4, 50, 60, "polygon 2 0,0,200 filled 47,57 53,57 53,63 47,63 47,57\n"},
      {4, 4, 50, 60, "polyline 2 0,0,200 solid 47,57 53,57 53,63 47,63 47,57\n"},
      {5, 4, 50, 60, "polygon 2 0,0,200 filled 46,60 50,56 54,60 50,64 46,60\n"},
      {6, 4, 50, 60, "polygon 2 0,0,200 white 46,60 50,56 54,60 50,64 46,60\n"},
      // Apex up: the top vertex has the smaller y.
      {7, 4, 50, 60, "polygon 2 0,0,200 filled 46,64 50,56 54,64 46,64\n"},
      {8, 4, 50, 60, "polygon 2 0,0,200 white 46,64 50,56 54,64 46,64\n"},
      {9, 4, 50, 60, "line 2 0,0,200 solid 46,60 54,60\nline 2 0,0,200 solid 50,56 50,64\n"},
      {10, 4, 50, 60, "line 2 0,0,200 solid 46,56 54,64\nline 2 0,0,200 solid 54,56 46,64\n"},
      // Unknown codes fall back to the filled circle.
      {0, 4, 50, 60, "ellipse 2 0,0,200 filled 46,56 54,64\n"},
      {11, 4, 50, 60, "ellipse 2 0,0,200 filled 46,56 54,64\n"},
      // Size 0 collapses to the point; the square's box turns inside out.
      {1, 0, 50, 60, "ellipse 2 0,0,200 filled 50,60 50,60\n"},
      {7, 0, 50, 60, "polygon 2 0,0,200 filled 50,60 50,60 50,60 50,60\n"},
      {4, 0, 50, 60, "polyline 2 0,0,200 solid 51,61 49,61 49,59 51,59 51,61\n"},
      // At the coordinate limits the symbol stays on them.
      {10, kMax, kMax, -kMax,
       "line 2 0,0,200 solid 0,-2147483648 2147483647,0\n"
       "line 2 0,0,200 solid 2147483647,-2147483648 0,0\n"},
  };
  for (const Case& c : cases) {
    RecordingSurface s;
    DrawMarker(s, c.x, c.y, RGB{0, 0, 200}, c.size, 2, c.code);
    EXPECT_EQ(s.Dump(), c.drawn) << "code " << c.code << " size " << c.size;
  }
}

}  // namespace
}  // namespace sx
