// The Phase plot as a user sees it: vectors from the centre of a circle of diameter 200 scaled
// by C_max, the direction labels and the legend.

#include "plot/phase.h"

#include <gtest/gtest.h>

#include "plot/legend.h"
#include "plot/mode_plot_fixture.h"

namespace sx {
namespace {

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
    settings().record(1).modeColor = kVectorColor;
  }
};

TEST_F(PhaseTest, VectorsScaleToCMaxAndStopAtTheCircle) {
  LoadCircle(kCurrents);
  settings().record(1).cMax = 10.0f;
  graphic().frameWidth = 2;
  Draw(RenderPhase);
  // 90 degrees, 5 of 10: half the radius to the right; 0 degrees, 20 of 10: up to the circle.
  EXPECT_EQ(Lines(kVectorColor),
            (std::vector<Segment>{{kCx, kCy, kCx + 50, kCy}, {kCx, kCy, kCx, kCy - 100}}));
  // The circle comes first, white inside, in the frame width.
  const Call& circle = surface_.calls().front();
  EXPECT_EQ(circle.points, (std::vector<DevicePoint>{{200, 150}, {400, 350}}));
  EXPECT_TRUE(circle.kind == Kind::kEllipse && circle.fill == Fill::kWhite && circle.width == 2);

  settings().record(1).modeSelected = 0;
  Draw(RenderPhase);
  EXPECT_TRUE(Lines(kVectorColor).empty());
}

TEST_F(PhaseTest, CMaxZeroTakesTheMagnitudeAxisMaximum) {
  LoadCircle(kCurrents);
  settings().record(1).cMax = 0.0f;
  settings().record(2).maximum = 12.0f;
  Draw(RenderPhase);
  EXPECT_EQ(settings().record(1).cMax, 12.0f);
  // 5 of 12 is 41.7 units; 20 of 12 reaches the circle.
  EXPECT_EQ(Lines(kVectorColor),
            (std::vector<Segment>{{kCx, kCy, kCx + 41, kCy}, {kCx, kCy, kCx, kCy - 100}}));
  // A maximum of 0 as well leaves C_max at 0 and every vector at full length.
  settings().record(1).cMax = settings().record(2).maximum = 0.0f;
  Draw(RenderPhase);
  EXPECT_EQ(Lines(kVectorColor)[0], (Segment{kCx, kCy, kCx + 100, kCy}));
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
  EXPECT_NE(FindText("MERIDAT/Sondrix"), nullptr);
  const std::int32_t h = lineHeight();

  const std::int32_t legendX = kCx + 100 + 10, line2 = kCy - 100 + 26 * h / 10;
  const Call* second = FindText("Mooring 2");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->points[0].y, line2 - h);
  EXPECT_EQ(EllipseCentres(kVectorColor),
            (std::vector<DevicePoint>{{legendX, kCy - 100 + 13 * h / 10 - h / 2}}));
  const TextMetrics& m = session_->render.metrics;
  EXPECT_EQ(HitTestLegend(data(), settings(), m, second->points[0].x + 3, line2 - h / 2), -2);
  EXPECT_EQ(HitTestLegend(data(), settings(), m, legendX, line2 - h / 2), 0);

  // By parameters a pair is the group's first two selected columns.
  graphic().modeEntityKind = 2;
  settings().record(3).plotState = 0;
  Draw(DrawPhaseLabels);
  EXPECT_NE(FindText("Dir | Speed"), nullptr);
  EXPECT_NE(FindText("Speed | Extra"), nullptr);
}

}  // namespace
}  // namespace sx
