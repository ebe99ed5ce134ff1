// The names the save dialogs propose and the filter lists the file dialogs show.

#include "core/file_dialogs.h"

#include <gtest/gtest.h>

namespace sx {
namespace {

TEST(FileDialogsTest, ProposedNames) {
  RecordingUserInterface ui;
  auto session = CreateSession({}, ui);
  ASSERT_TRUE(session);
  EXPECT_EQ(InitialSaveName(*session, kSaveExportKind), "");  // no data file yet
  SetDataFilePath(session->data, "/data/core1.tab");
  session->settings.TemplatePath = "/t/last.stf";
  EXPECT_EQ(InitialSaveName(*session, kSaveDataKind), "/data/core1.tab");
  EXPECT_EQ(InitialSaveName(*session, kSaveTemplateKind), "/t/last.stf");
  EXPECT_EQ(InitialSaveName(*session, kSaveExportKind), "/data/core1.emf");
  EXPECT_EQ(InitialSaveName(*session, kSaveDescriptionKind), "/data/DD_core1.txt");
  EXPECT_EQ(InitialSaveName(*session, 7), "");

  // Only the file name changes, never a folder; an export never proposes the data file itself.
  SetDataFilePath(session->data, "/home/my.tables/core1.tab.tab");
  EXPECT_EQ(InitialSaveName(*session, kSaveExportKind), "/home/my.tables/core1.emf.emf");
  EXPECT_EQ(InitialSaveName(*session, kSaveDescriptionKind), "/home/my.tables/DD_core1.txt.txt");
  SetDataFilePath(session->data, "/home/my.tables/core1.txt");
  EXPECT_EQ(InitialSaveName(*session, kSaveDescriptionKind), "/home/my.tables/DD_core1.txt");
}

TEST(FileDialogsTest, EveryFilterKindHasAList) {
  EXPECT_EQ(FileFilterList(kInitialDataFilterKind).front().text, "MERIDAT Files (*.tab)");
  // Kinds without a list of their own show the text files.
  for (std::int32_t kind : {0, 2, 7, -1}) {
    const auto text = FileFilterList(kind);
    ASSERT_EQ(text.size(), 4u);
    EXPECT_EQ(text.front().text, "Text Files (*.txt)");
    EXPECT_EQ(text.back().pattern, "*.*");
  }
  EXPECT_EQ(DefaultExtension(kFilterTemplate), "stf");
  EXPECT_EQ(DefaultExtension(kFilterAll), "");
  EXPECT_EQ(SaveDialogFor(kSaveDescriptionKind).filterKind, kFilterDescription);
  EXPECT_TRUE(SaveDialogFor(1).title.empty());
}

}  // namespace
}  // namespace sx
