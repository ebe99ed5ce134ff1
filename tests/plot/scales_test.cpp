#include "settings/scales.h"
#include "plot/axis_labels.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <tuple>
#include <vector>

#include "core/calendar.h"
#include "core/device_int.h"

namespace sx {
namespace {

constexpr int kItemsPerColumn = 100;

// A loaded file built by hand: X values in items 1..n, parameter p's values from item
// p * kItemsPerColumn + 1 on; every quality flag but "not valid" is shown.
struct ScaleFixture {
  DataModel data;
  PlotSettings settings;

  ScaleFixture() {
    data.ColumnTable.Allocate(kColumnRecords);
    data.NumericItemTable.Allocate(20 * kItemsPerColumn + 1);
    settings.ParameterSettingsTable.Allocate(kSettingsRecords);
    for (int p = 0; p < kSettingsRecords; ++p) {
      ParameterSettings& r = settings.record(p);
      r.flagValid = r.flagUnknown = r.flagQuestionable = r.flagIndividual = 1;
      r.lines = r.plotState = 1;
    }
    SetColumn(0, {1, 2, 3});
  }
  void SetColumn(int c, const std::vector<float>& values, std::int32_t flag = kFlagValid) {
    data.column(c).itemBase = c * kItemsPerColumn;
    data.column(c).itemCount = static_cast<std::int32_t>(values.size());
    for (int i = 1; i <= data.column(c).itemCount; ++i) {
      data.item(c * kItemsPerColumn + i) = {flag, i, values[static_cast<std::size_t>(i - 1)]};
    }
  }
  int AddParameter(const std::vector<float>& values, std::int32_t flag = kFlagValid) {
    SetColumn(++data.ParameterCount, values, flag);
    return data.ParameterCount;
  }
  void Compute() { ComputeAutomaticRanges(data, settings); }
  float Min(int c) { return data.column(c).autoMinimum; }
  float Max(int c) { return data.column(c).autoMaximum; }
};

struct RangeCase {
  std::vector<float> values;
  float lo, hi;
};

TEST(AutomaticRangeTest, FramesAroundTypicalData) {
  // All equal: a tenth of the decade each way; no values: -1..1, framed; small values keep a
  // frame of their own size instead of collapsing around zero.
  const RangeCase cases[] = {{{12.3f, 47.9f}, 0, 60},
                             {{1000, 1040}, 996, 1044},
                             {{0, 100}, 0, 200},
                             {{3, 7}, 2, 8},
                             {{-5, -2}, -6, 0},
                             {{5, 5, 5}, 4.9f, 5.1f},
                             {{0, 0}, -1, 1},
                             {{}, -2, 2},
                             {{0.001f, 0.004f}, 0, 0.005f},
                             {{-0.004f, -0.001f}, -0.005f, 0}};
  ScaleFixture f;
  for (const RangeCase& c : cases) f.AddParameter(c.values);
  f.Compute();
  for (int p = 1; p <= f.data.ParameterCount; ++p) {
    EXPECT_FLOAT_EQ(f.Min(p), cases[p - 1].lo) << "parameter " << p;
    EXPECT_FLOAT_EQ(f.Max(p), cases[p - 1].hi) << "parameter " << p;
  }
}

TEST(AutomaticRangeTest, HiddenRowsDoNotCount) {
  ScaleFixture f;
  const int p = f.AddParameter({12.3f, 47.9f, 500.0f});
  f.data.item(p * kItemsPerColumn + 3).flag = kFlagNotValid;
  const int q = f.AddParameter({12.3f, 47.9f, -500.0f});
  f.data.item(q * kItemsPerColumn + 3).row = 0;
  const int hidden = f.AddParameter({1, 2, 3}, kFlagNotValid);
  f.Compute();
  EXPECT_EQ(f.Min(p) + f.Min(q), 0.0f);
  EXPECT_EQ(f.Max(p) + f.Max(q), 120.0f);
  EXPECT_EQ(f.Max(hidden), 2.0f);  // nothing shown: framed like a column without values
}

TEST(AutomaticRangeTest, XColumn) {
  ScaleFixture f;
  const int p = f.AddParameter({1, 2});
  const RangeCase cases[] = {{{100, 400, 1000}, 0, 1000},  // close to zero: starts at zero
                             {{-1000, -100}, -1000, -100},
                             {{5, 5}, 4, 6}};
  for (const RangeCase& c : cases) {
    f.SetColumn(0, c.values);
    f.Compute();
    EXPECT_EQ(f.Min(0), c.lo);
    EXPECT_EQ(f.Max(0), c.hi);
  }
  EXPECT_EQ(f.data.XAscending, 1);

  // X values that go back: every parameter of the file is drawn with markers only.
  f.SetColumn(0, {10, 20, 15});
  f.settings.record(p).columns = f.settings.record(p).outline = 1;
  f.Compute();
  EXPECT_EQ(f.data.XAscending, 0);
  EXPECT_EQ(f.Max(0), 20.0f);
  const ParameterSettings& r = f.settings.record(p);
  EXPECT_EQ(r.marker, 1);
  EXPECT_EQ(r.lines + r.columns + r.histogramLines + r.outline, 0);
  EXPECT_EQ(f.settings.record(p + 1).lines, 1);  // not a column of this file
}

// Automatic scales work from the automatic ranges alone, so these tests set those directly.
void Range(ScaleFixture& f, int c, float lo, float hi) {
  f.data.column(c).autoMinimum = lo;
  f.data.column(c).autoMaximum = hi;
  f.settings.record(c).automatic = 1;
}

TEST(AutomaticScaleTest, IncrementAndFormat) {
  const struct {
    float lo, hi, inc;
    const char* format;
  } cases[] = {
      {0, 7, 1, "%.0f"}, {0, 0.5f, 0.1f, "%.1f"}, {0, 2, 0.1f, "%.1f"}, {1000, 1044, 10, "%.0f"}};
  ScaleFixture f;
  for (int p = 1; p <= 4; ++p) Range(f, p, cases[p - 1].lo, cases[p - 1].hi);
  Range(f, 0, 0, 0.5f);
  ApplyAutomaticScales(f.data, f.settings, -1);
  for (int p = 1; p <= 4; ++p) {
    const ParameterSettings& r = f.settings.record(p);
    EXPECT_EQ(r.tickIncrement, cases[p - 1].inc) << p;
    EXPECT_EQ(r.format, cases[p - 1].format) << p;
    EXPECT_TRUE(r.minimum == cases[p - 1].lo && r.referenceLine == r.minimum) << p;
    EXPECT_EQ(r.maximum, cases[p - 1].hi) << p;
  }
  EXPECT_EQ(f.settings.record(0).format, "%.2f");  // one decimal more on the X axis
}

TEST(AutomaticScaleTest, WhichParametersAndTheAutomaticMarks) {
  ScaleFixture f;
  for (int p = 1; p <= 3; ++p) Range(f, p, 0, 7);
  f.settings.record(2).plotState = 0;  // automatic, not plotted
  f.settings.record(3).automatic = 0;  // plotted, fixed scale
  ApplyAutomaticScales(f.data, f.settings, -1);
  EXPECT_EQ(f.settings.record(1).maximum, 7.0f);
  EXPECT_EQ(f.settings.record(2).maximum + f.settings.record(3).maximum, 0.0f);
  ApplyAutomaticScales(f.data, f.settings, 1);  // every parameter, marked automatic
  EXPECT_EQ(f.settings.record(2).maximum + f.settings.record(3).maximum, 14.0f);
  ApplyAutomaticScales(f.data, f.settings, 0);  // the marks cleared
  for (int p = 0; p < kSettingsRecords; ++p) EXPECT_EQ(f.settings.record(p).automatic, 0) << p;
}

TEST(NumberFormatTest, DecimalsOfAPrintedNumber) {
  FixedText<31> format;
  EXPECT_EQ(MakeNumberFormat("0.010000", format), 2);
  EXPECT_EQ(format, "%.2f");
  EXPECT_EQ(MakeNumberFormat("0.00000000000000000000000001", format), 20);  // kept usable
  EXPECT_EQ(format, "%.20f");
  EXPECT_TRUE(IsValidNumberFormat("%.0f"));
  for (const char* bad : {"%.21f", "%s", "%.2f%n", "%d", "", "%.f", "%.2lf", " %.2f"}) {
    EXPECT_FALSE(IsValidNumberFormat(bad)) << bad;
  }
}

TEST(NumberFormatTest, AxisNumbers) {
  // An exact tie rounds to even; a format from a file that is not "%.Nf" prints two decimals.
  const std::tuple<float, const char*, const char*> cases[] = {
      {1.5f, "%.2f", "1.50"}, {-0.25f, "%.1f", "-0.2"}, {1500.0f, "%.1e%s", "1500.00"}};
  std::string out;
  for (auto [v, format, text] : cases) {
    FormatAxisNumber(v, format, out);
    EXPECT_EQ(out, text) << format;
  }
  // The decimal point does not follow the locale (scripts/setup.sh makes this one).
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "run scripts/setup.sh";
  FormatAxisNumber(1.5f, "%.2f", out);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(out, "1.50");
}

TEST(DateTimeLabelTest, LabelFollowsTheAxisSpan) {
  DataModel data;
  data.DateOffset = static_cast<float>(JulianDay(1997, 6, 26));
  const float value = ToFloat32(DayFraction(14, 25, 58.0f));
  const auto label = [&](float v, float span) {
    std::string out = "old";
    FormatDateTimeLabel(data, v, out, span);
    return out;
  };
  const struct {
    std::int32_t date, time;
    float v, span;
    const char* text;
  } cases[] = {{1, 1, value, 0.5f, "14:25"},
               {1, 1, value, 2.0f, "1997-06-26 14:25"},
               {1, 1, value, 0.005f, "14:25:58"},
               {1, 1, value, 20.0f, "1997-06-26 "},
               {1, 1, -0.25f, 2.0f, "1997-06-25 18:00"},
               {1, 0, value, 0.5f, "1997-06-26"}};
  for (const auto& c : cases) {
    data.XIsDate = c.date;
    data.XIsTime = c.time;
    EXPECT_EQ(label(c.v, c.span), c.text) << c.date << c.time << " span " << c.span;
  }
}

}  // namespace
}  // namespace sx
