#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "render/drawing.h"
#include "render/recording_surface.h"

namespace sx {
namespace {

constexpr RGB kBlue{0, 0, 200};

std::string Marker(std::int32_t code, std::int32_t r = 4, std::int32_t x = 50,
                   std::int32_t y = 60) {
  RecordingSurface s;
  DrawMarker(s, x, y, kBlue, r, 2, code);
  return s.Dump();
}

TEST(Markers, EachCodeDrawsItsShapeCentredOnThePoint) {
  EXPECT_EQ(Marker(1), "ellipse 2 0,0,200 filled 46,56 54,64\n");
  EXPECT_EQ(Marker(2), "ellipse 2 0,0,200 white 46,56 54,64\n");
  // Squares sit one pixel inside the circle's box.
  EXPECT_EQ(Marker(3), "polygon 2 0,0,200 filled 47,57 53,57 53,63 47,63 47,57\n");
  EXPECT_EQ(Marker(4), "polyline 2 0,0,200 solid 47,57 53,57 53,63 47,63 47,57\n");
  EXPECT_EQ(Marker(5), "polygon 2 0,0,200 filled 46,60 50,56 54,60 50,64 46,60\n");
  EXPECT_EQ(Marker(6), "polygon 2 0,0,200 white 46,60 50,56 54,60 50,64 46,60\n");
  // Apex up: the top vertex has the smaller y.
  EXPECT_EQ(Marker(7), "polygon 2 0,0,200 filled 46,64 50,56 54,64 46,64\n");
  EXPECT_EQ(Marker(8), "polygon 2 0,0,200 white 46,64 50,56 54,64 46,64\n");
  EXPECT_EQ(Marker(9),
            "line 2 0,0,200 solid 46,60 54,60\n"
            "line 2 0,0,200 solid 50,56 50,64\n");
  EXPECT_EQ(Marker(10),
            "line 2 0,0,200 solid 46,56 54,64\n"
            "line 2 0,0,200 solid 54,56 46,64\n");
}

TEST(Markers, UnknownCodesFallBackToTheFilledCircle) {
  for (std::int32_t code : {0, -1, 11, std::numeric_limits<std::int32_t>::min()}) {
    EXPECT_EQ(Marker(code), Marker(1)) << code;
  }
}

TEST(Markers, ZeroSizeCollapsesToThePoint) {
  EXPECT_EQ(Marker(1, 0), "ellipse 2 0,0,200 filled 50,60 50,60\n");
  EXPECT_EQ(Marker(7, 0), "polygon 2 0,0,200 filled 50,60 50,60 50,60 50,60\n");
  // The square's box turns inside out: (x + 1, y + 1) .. (x - 1, y - 1).
  EXPECT_EQ(Marker(4, 0), "polyline 2 0,0,200 solid 51,61 49,61 49,59 51,59 51,61\n");
}

TEST(Markers, SymbolsAtTheCoordinateLimitsStayOnThem) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(Marker(10, kMax, kMax, -kMax),
            "line 2 0,0,200 solid 0,-2147483648 2147483647,0\n"
            "line 2 0,0,200 solid 2147483647,-2147483648 0,0\n");
  EXPECT_EQ(Marker(3, std::numeric_limits<std::int32_t>::min(), 0, 0),
            "polygon 2 0,0,200 filled 2147483647,2147483647 -2147483648,2147483647 "
            "-2147483648,-2147483648 2147483647,-2147483648 2147483647,2147483647\n");
}

}  // namespace
}  // namespace sx
