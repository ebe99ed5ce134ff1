// Start-up state (tables, budgets, the command-line path, the info text) and the names and
// filters the file dialogs offer.

#include "shell/session.h"

#include "scene_fixture.h"
#include "shell/file_dialogs.h"

namespace sx {
namespace {

using SessionTest = SceneTest;

TEST_F(SessionTest, BudgetsAndTableCapacities) {
  auto s = CreateSession({1234, 56}, ui);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->data.NumericItemTable.size(), 1235u);
  EXPECT_EQ(s->data.TextItemTable.size(), 57u);
  // Unusable budgets fall back to the defaults.
  auto t = CreateSession({0, -4}, ui);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->data.MaxNumericItems, 100000);
  EXPECT_EQ(t->data.MaxTextItems, 2000);
  EXPECT_FALSE(IsNumericBudgetValid(std::int64_t{400} << 20));  // a table beyond 4 GiB
  EXPECT_FALSE(IsTextBudgetValid(100000000));
  // The "Set memory" fields keep the previous value when they refuse a text.
  EXPECT_EQ(ReadNumericBudgetField("250000", 100000), 250000);
  EXPECT_EQ(ReadNumericBudgetField("  7 ", 100000), 7);  // small budgets stay legal
  for (const char* bad : {"abc", "12abc", "0", "-5", "99999999999999999999"}) {
    EXPECT_EQ(ReadNumericBudgetField(bad, 100000), 100000) << bad;
  }
  EXPECT_EQ(ReadTextBudgetField("", 2000), 2000);
  EXPECT_EQ(ReadTextBudgetField("+300", 2000), 300);
}

TEST_F(SessionTest, CommandLinePath) {
  EXPECT_TRUE(SplitCommandLinePath("\"/home/ana/my data/core 1.tab\"", *session));
  EXPECT_EQ(data().DataFilePath, "/home/ana/my data/core 1.tab");
  EXPECT_EQ(data().DataFileName, "core 1.tab");
  EXPECT_EQ(session->startup.FileFromCommandLine, 1);

  auto t = CreateSession({}, ui);
  EXPECT_FALSE(SplitCommandLinePath("core.tab", *t));
  EXPECT_TRUE(t->data.DataFilePath.empty());
}

TEST_F(SessionTest, InfoText) {
  data().ParameterCount = 2;
  column(0).itemCount = 10;
  EXPECT_EQ(FormatDataInfo(data()),
            "Number of columns: 3\nNumber of lines: 10\nNumber of items: 30");
}

TEST_F(SessionTest, ProposedNamesAndUnknownKinds) {
  EXPECT_EQ(InitialSaveName(*session, kSaveExportKind), "");  // no data file yet
  SetDataFilePath(data(), "/data/core1.tab");
  settings().TemplatePath = "/t/last.stf";
  EXPECT_EQ(InitialSaveName(*session, kSaveDataKind), "/data/core1.tab");
  EXPECT_EQ(InitialSaveName(*session, kSaveTemplateKind), "/t/last.stf");
  EXPECT_EQ(InitialSaveName(*session, kSaveExportKind), "/data/core1.emf");
  EXPECT_EQ(InitialSaveName(*session, kSaveDescriptionKind), "/data/DD_core1.txt");
  EXPECT_EQ(InitialSaveName(*session, 7), "");

  // Only the file name changes, never a folder; an export never proposes the data file itself.
  SetDataFilePath(data(), "/home/my.tables/core1.tab.tab");
  EXPECT_EQ(InitialSaveName(*session, kSaveExportKind), "/home/my.tables/core1.emf.emf");
  EXPECT_EQ(InitialSaveName(*session, kSaveDescriptionKind), "/home/my.tables/DD_core1.txt.txt");
  SetDataFilePath(data(), "/home/my.tables/core1.txt");
  EXPECT_EQ(InitialSaveName(*session, kSaveDescriptionKind), "/home/my.tables/DD_core1.txt");
  // Kinds without a filter list of their own show the text files.
  for (std::int32_t kind : {0, 7, -1}) {
    EXPECT_EQ(FileFilterList(kind).front().text, "Text Files (*.txt)");
  }
  EXPECT_TRUE(SaveDialogFor(1).title.empty());
}

}  // namespace
}  // namespace sx
