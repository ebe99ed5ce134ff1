// Commands of the shell that the desktop program and the command line share.

#include <gtest/gtest.h>

#include "settings/settings_files.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {
namespace {

TEST(SetMemoryTest, OkWritesTheWindowFileAtOnceAndALoadKeepsIt) {
  TestFiles files;
  setenv("APPDATA", files.dir().c_str(), 1);
  RecordingUserInterface ui;
  std::unique_ptr<Session> s = CreateSession({}, ui);
  ASSERT_TRUE(s);
  s->startup.placements = DefaultWindowPlacement(1024, 768);
  // An unreadable field keeps its value; a usable one is taken.
  ASSERT_TRUE(SetMemoryCommand(*s, " 250000 ", "lots", 1024, 768));
  EXPECT_EQ(s->startup.budgets.MaxNumericItems, 250000);
  EXPECT_EQ(s->startup.budgets.MaxTextItems, kDefaultMaxTextItems);

  // Opening a file (which reads the preference file) leaves the budgets as the user set them,
  // and they are on disk for the next start.
  SetDataFilePath(s->data, files.Write("a.tab", "Depth [m]\tT [C]\n1\t2\n2\t3\n"));
  ASSERT_EQ(OpenDataFile(*s), 0);
  EXPECT_EQ(s->startup.budgets.MaxNumericItems, 250000);
  StartupState stored;
  ASSERT_TRUE(ReadWindowFile(BuildSettingsPath(kWindowFileName), stored));
  EXPECT_EQ(stored.budgets.MaxNumericItems, 250000);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace sx
