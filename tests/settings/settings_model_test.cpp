#include "settings/settings_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace sx {
namespace {

constexpr std::int32_t kI32Max = std::numeric_limits<std::int32_t>::max();

class SettingsModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings.ParameterSettingsTable.Allocate(257));
    ASSERT_TRUE(settings.DefaultColorTable.Allocate(257));
    ASSERT_TRUE(settings.ParameterColorTable.Allocate(257));
    ASSERT_TRUE(settings.ModeColorTable.Allocate(257));
    ASSERT_TRUE(data.ColumnTable.Allocate(601));
    InitColorTables(settings);
    SetAllDefaults(settings);
  }

  // A loaded file with the given parameter names (column 0 is the X column).
  void Load(std::initializer_list<const char*> names) {
    data.column(0).label.assign("Depth [m]");
    int c = 0;
    for (const char* n : names) data.column(++c).label.assign(n);
    data.ParameterCount = c;
  }

  PlotSettings settings;
  DataModel data;
};

TEST_F(SettingsModelTest, DefaultsKeepReaderFactsAndUserCredit) {
  ParameterSettings& r = settings.record(5);
  r.format.assign("%.4f");
  r.rgbColumn = 1;  // set by the reader before the defaults run
  settings.graphic.CreditText.assign("someone@example.org");
  settings.ParameterColorTable[3] = RGB{1, 2, 3};

  SetAllDefaults(settings);
  EXPECT_EQ(r.rgbColumn, 1);
  EXPECT_EQ(r.format, "%.2f");
  EXPECT_EQ(r.modeColor, (RGB{255, 23, 33}));  // palette by position
  EXPECT_EQ(settings.graphic.CreditText, "someone@example.org");
  EXPECT_EQ(settings.ParameterColorTable[3], kDefaultDrawColor);

  settings.graphic.CreditText.assign("My lab");
  SetAllDefaults(settings);
  EXPECT_EQ(settings.graphic.CreditText, "MERIDAT/Sondrix");
}

TEST_F(SettingsModelTest, NameMemoryColours) {
  DefaultColorEntry& known = settings.DefaultColorTable[20];
  known.inUse = 1;
  known.name.assign("Temp [°C]");
  known.rgb = RGB{10, 20, 30};
  Load({"FREE", "Sal", "Temp [°C]", "temp [°C]"});
  data.ParameterCount = 17;

  ApplyTemplateColors(settings, data, 0);
  // "FREE" matches the first free entry by its name.
  EXPECT_EQ(settings.record(1).color, (RGB{0, 146, 255}));
  EXPECT_EQ(settings.record(3).color, (RGB{10, 20, 30}));
  EXPECT_EQ(settings.record(4).color, kDefaultDrawColor);  // case matters
  EXPECT_EQ(settings.record(18).color, kNeutralGray);      // beyond the loaded parameters

  // Colours from the template's own table stay inside the tables.
  Load({"A", "B"});
  settings.ParameterColorTable[2] = RGB{9, 8, 7};
  settings.ParameterColorTable[3] = RGB{1, 2, 3};
  ApplyTemplateColors(settings, data, 1);
  EXPECT_EQ(settings.record(2).color, (RGB{9, 8, 7}));
  EXPECT_EQ(settings.record(3).color, (RGB{10, 20, 30}));  // beyond the parameters: unchanged

  data.ParameterCount = 600;  // records 1..256 and nothing past them
  ApplyTemplateColors(settings, data, 0);
  EXPECT_EQ(settings.record(256).color, kDefaultDrawColor);
}

TEST_F(SettingsModelTest, PlotStateAndQualityFilter) {
  ParameterSettings& r = settings.record(3);
  r.comment = 1;
  EXPECT_TRUE(UpdatePlotState(settings, 3));
  EXPECT_EQ(r.plotState, 2);  // text-only styles
  // Values read from a file must not overflow the sum.
  r.lines = r.marker = kI32Max;
  EXPECT_TRUE(UpdatePlotState(settings, 3));
  EXPECT_EQ(r.plotState, 1);
  EXPECT_FALSE(UpdatePlotState(settings, 257));

  r.flagValid = r.flagQuestionable = 0;
  r.flagNotValid = r.flagUnknown = r.flagIndividual = 1;
  std::vector<std::int32_t> shown;
  for (int code : {-1, 0, 1, 2, 3, 4, 5, 6, 7})
    shown.push_back(IsQualityFlagShown(settings, 3, code));
  EXPECT_EQ(shown, (std::vector<std::int32_t>{0, 0, 0, 1, 1, 0, 1, 0, 0}));
  EXPECT_EQ(IsQualityFlagShown(settings, 257, kFlagIndividual), 0);
}

TEST_F(SettingsModelTest, UnitStyleConvertsLabelsAndUsedColourNames) {
  Load({"Temp [°C]", "Sal (psu)"});
  settings.DefaultColorTable[1].inUse = 1;
  settings.DefaultColorTable[1].name.assign("O2 [µmol/l]");
  settings.DefaultColorTable[3].inUse = 1;  // after the first unused entry 2
  settings.DefaultColorTable[3].name.assign("Late [m]");

  SetUnitStyle(settings, data, 1);
  EXPECT_EQ(data.column(1).label, "Temp (°C)");
  EXPECT_EQ(settings.DefaultColorTable[1].name, "O2 (µmol/l)");
  EXPECT_EQ(settings.DefaultColorTable[3].name, "Late [m]");

  SetUnitStyle(settings, data, 2);
  EXPECT_EQ(data.column(2).label, "Sal [psu]");

  data.ParameterCount = 1000;  // never past column 256
  data.column(256).label.assign("(z)");
  data.column(257).label.assign("(z)");
  SetUnitStyle(settings, data, 2);
  EXPECT_EQ(data.column(256).label, "[z]");
  EXPECT_EQ(data.column(257).label, "(z)");
}

TEST_F(SettingsModelTest, ModeSwitchFlipsAxisOnlyBetweenProfileModes) {
  settings.graphic.plotMode = kVertical;
  settings.graphic.modeEntityKind = 2;
  settings.record(0).plotState = 1;  // the X axis is never counted
  settings.record(1).plotState = 1;
  settings.record(2).plotState = 2;
  settings.record(3).modeSelected = 1;

  ChoosePlotMode(settings, kTernary);
  EXPECT_EQ(settings.graphic.modeEntityKind, 1);
  EXPECT_EQ(settings.graphic.plottedCount, 1);
  ChoosePlotMode(settings, kVertical);
  EXPECT_EQ(settings.record(0).reverseRange, 1);
  EXPECT_EQ(settings.graphic.plottedCount, 2);
  ChoosePlotMode(settings, kHorizontal);
  ChoosePlotMode(settings, kHorizontal);  // same mode: no flip
  EXPECT_EQ(settings.record(0).reverseRange, 0);

  settings.record(0).reverseRange = std::numeric_limits<std::int32_t>::min();
  ChoosePlotMode(settings, kVertical);
  EXPECT_EQ(settings.record(0).reverseRange, kI32Max);
  ChoosePlotMode(settings, static_cast<PlotMode>(7));  // not a mode: nothing changes
  EXPECT_EQ(settings.graphic.plotMode, kVertical);
}

TEST(SettingsModelUnallocated, OperationsOnEmptyTablesDoNothing) {
  PlotSettings settings;
  DataModel data;
  data.ParameterCount = 5;
  InitColorTables(settings);
  SetAllDefaults(settings);
  ApplyTemplateColors(settings, data, 0);
  SetUnitStyle(settings, data, 1);
  ChoosePlotMode(settings, kHorizontal);
  EXPECT_EQ(settings.graphic.plottedCount, 0);
  EXPECT_FALSE(UpdatePlotState(settings, 0));
}

}  // namespace
}  // namespace sx
