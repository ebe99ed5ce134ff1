// The description file: saved for an editor, read back after editing.

#include "core/description_file.h"

#include "scene_fixture.h"

namespace sx {
namespace {

class DescriptionFileTest : public SceneTest {
 protected:
  void SetLines(std::initializer_list<std::pair<const char*, const char*>> lines) {
    int i = 0;
    for (const auto& [label, value] : lines) {
      ++i;
      data().DescriptionTable[static_cast<std::size_t>(i)].label.assign(label);
      data().DescriptionTable[static_cast<std::size_t>(i)].value.assign(value);
    }
    data().DescriptionLineCount = i;
  }
  std::string Line(int i, bool label) {
    const DescriptionLine& d = data().DescriptionTable[static_cast<std::size_t>(i)];
    return label ? d.label.str() : d.value.str();
  }
  // Points the session at an edited description file and reads it back.
  std::int32_t Reload(const std::string& content) {
    const std::string path = files.Write("DD_core.txt", content);
    data().DescriptionDirectory = files.dir() + "/";
    data().DescriptionFileName = "DD_core.txt";
    data().DescriptionFilePath = path;
    return ReloadDescriptionCommand(*session);
  }
};

TEST_F(DescriptionFileTest, SavedFileReadsBackToTheSameLines) {
  SetLines({{"Citation:", "A & B (2020)\tsee also C"},
            {"Note", ""},
            {"", "a value without label, K\u00F6ln \u2030"}});
  BeginDescriptionSave(data());
  const std::string path = files.dir() + "/DD_core.txt";
  ASSERT_EQ(SaveDescriptionCommand(*session, path), 0);
  EXPECT_EQ(data().DescriptionSaved, 1);
  EXPECT_EQ(data().DescriptionFileName, "DD_core.txt");
  EXPECT_EQ(ReadBytes(path),
            "Citation:\tA & B (2020)\tsee also C\nNote\t\n"
            "\ta value without label, K\xC3\xB6ln \xE2\x80\xB0\n");

  SetLines({{"x", "y"}});
  ASSERT_EQ(ReloadDescriptionCommand(*session), 0);
  ASSERT_EQ(data().DescriptionLineCount, 3);
  EXPECT_EQ(Line(1, false), "A & B (2020)\tsee also C");
  EXPECT_EQ(Line(3, false), "a value without label, K\u00F6ln \u2030");
  EXPECT_TRUE(ui.messages.empty());

  // A new save starts unsaved; one that fails stays so and keeps the former file.
  BeginDescriptionSave(data());
  EXPECT_EQ(data().DescriptionSaved, 0);
  const std::string missing = files.dir() + "/missing/DD_core.txt";
  EXPECT_EQ(SaveDescriptionCommand(*session, missing), -1);
  EXPECT_EQ(data().DescriptionSaved, 0);
  EXPECT_EQ(data().DescriptionFilePath, path);
  EXPECT_TRUE(
      Message().starts_with("Could not save the data description to file:\n>" + missing + "<\n"));
}

TEST_F(DescriptionFileTest, ReloadReadsEveryLineAnEditorMayLeave) {
  // A byte-order mark, CR LF line ends, a Windows-1252 line.
  ASSERT_EQ(Reload("\xEF\xBB\xBFSite:\tK\xF6ln\r\nC:\t3\r\n"), 0);
  ASSERT_EQ(data().DescriptionLineCount, 2);
  EXPECT_EQ(Line(1, true), "Site:");
  EXPECT_EQ(Line(1, false), "K\u00F6ln");
  // Block markers left in the file are removed; a closing line left empty is dropped.
  ASSERT_EQ(Reload("/* A:\t/* 1\nB:\t2 */\n*/\n"), 0);
  ASSERT_EQ(data().DescriptionLineCount, 2);
  EXPECT_EQ(Line(1, false), "1");
  EXPECT_EQ(Line(2, false), "2 */");
  // At most 1000 lines are kept; the last needs no line end.
  std::string many;
  for (int i = 1; i <= 1005; ++i) many += "L:\tv\n";
  ASSERT_EQ(Reload(many), 0);
  EXPECT_EQ(data().DescriptionLineCount, 1000);
  ASSERT_EQ(Reload("A:\t1\nB:\t2"), 0);
  EXPECT_EQ(Line(2, false), "2");
  // An empty file empties the description.
  ASSERT_EQ(Reload(""), 0);
  EXPECT_EQ(data().DescriptionLineCount, 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DescriptionFileTest, UnreadableFileKeepsTheDescription) {
  SetLines({{"Kept:", "yes"}});
  EXPECT_EQ(ReloadDescriptionCommand(*session), -1);  // nothing saved yet
  EXPECT_EQ(Message(), "The data description has not been saved to a file yet.");
  data().DescriptionDirectory = files.dir() + "/";
  data().DescriptionFileName = "gone.txt";
  EXPECT_EQ(ReloadDescriptionCommand(*session), -1);
  EXPECT_EQ(Message(), "Could not open file:\n>" + files.dir() + "/gone.txt<");
  EXPECT_EQ(data().DescriptionLineCount, 1);
  EXPECT_EQ(Line(1, true), "Kept:");
}

}  // namespace
}  // namespace sx
