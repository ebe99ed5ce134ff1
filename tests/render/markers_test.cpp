#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "render/drawing.h"
#include "render/recording_surface.h"

namespace sx {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

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
