#include <gtest/gtest.h>

#include <cstring>

#include "../plot/mode_plot_fixture.h"
#include "render/profile.h"

namespace sx {
namespace {

class MemberValuesTest : public PlotTest {};

TEST_F(MemberValuesTest, ReadsWhatGetPlotValueGivesForEveryMemberMode) {
  // Quality codes, empty cells and columns of different lengths, with some codes hidden: the
  // in-place reading must agree with the item-by-item function on every item, in range or not.
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
      for (std::int64_t i = -1; i <= 8; ++i) {
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

}  // namespace
}  // namespace sx
