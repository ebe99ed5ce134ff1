// Start-up state: tables, budgets, placements, the command-line path and the info texts.

#include "core/session.h"

#include <gtest/gtest.h>

namespace sx {
namespace {

TEST(Session, TablesHaveTheirCapacitiesAndInitialValues) {
  RecordingUserInterface ui;
  auto s = CreateSession({1234, 56}, ui);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->data.NumericItemTable.size(), 1235u);
  EXPECT_EQ(s->data.TextItemTable.size(), 57u);
  EXPECT_TRUE(ui.messages.empty());
  // Unusable budgets fall back to the defaults.
  auto t = CreateSession({0, -4}, ui);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->data.MaxNumericItems, 100000);
  EXPECT_EQ(t->data.MaxTextItems, 2000);
  EXPECT_FALSE(IsNumericBudgetValid(std::int64_t{400} << 20));  // a table beyond 4 GiB
  EXPECT_TRUE(IsTextBudgetValid(1000000));
  EXPECT_FALSE(IsTextBudgetValid(100000000));
}

TEST(Session, SetMemoryFieldsKeepThePreviousValueWhenRefused) {
  EXPECT_EQ(ReadNumericBudgetField("250000", 100000), 250000);
  EXPECT_EQ(ReadNumericBudgetField("  7 ", 100000), 7);  // small budgets stay legal
  for (const char* bad : {"abc", "12abc", "0", "-5", "99999999999999999999"}) {
    EXPECT_EQ(ReadNumericBudgetField(bad, 100000), 100000) << bad;
  }
  EXPECT_EQ(ReadTextBudgetField("", 2000), 2000);
  EXPECT_EQ(ReadTextBudgetField("+300", 2000), 300);
}

TEST(Session, DefaultPlacementOnA1024By768Screen) {
  const WindowPlacements p = DefaultWindowPlacement(1024, 768);
  EXPECT_EQ(p.FramePlacement, (Placement{51, 38, 922, 692}));
  EXPECT_EQ(p.PlotWindowPlacement, (Placement{36, 46, 922 - 36 - 20, 692 - 46 - 60}));
  EXPECT_EQ(p.DescriptionWindowPlacement, (Placement{13, 9, 866, 586}));
}

TEST(Session, CommandLinePath) {
  RecordingUserInterface ui;
  auto s = CreateSession({}, ui);
  EXPECT_TRUE(SplitCommandLinePath("\"/home/ana/my data/core 1.tab\"", *s));
  EXPECT_EQ(s->data.DataFilePath, "/home/ana/my data/core 1.tab");
  EXPECT_EQ(s->data.DataFileName, "core 1.tab");
  EXPECT_EQ(s->startup.FileFromCommandLine, 1);

  auto t = CreateSession({}, ui);
  EXPECT_FALSE(SplitCommandLinePath("core.tab", *t));
  EXPECT_TRUE(t->data.DataFilePath.empty());
}

TEST(Session, InfoAndVersionTexts) {
  RecordingUserInterface ui;
  auto s = CreateSession({}, ui);
  s->data.ParameterCount = 2;
  s->data.column(0).itemCount = 10;
  EXPECT_EQ(FormatDataInfo(s->data),
            "Number of columns: 3\nNumber of lines: 10\nNumber of items: 30");
  EXPECT_EQ(FormatVersionInfo(), "Version number:\n11.04 - Build: 2009-08-24");
}

}  // namespace
}  // namespace sx
