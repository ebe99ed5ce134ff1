// "Save data as...": what the saved file holds, that it loads back to the same data set, and that
// a save never harms the source or leaves a broken file; the description file likewise.

#include "core/save_data.h"

#include "core/description_file.h"
#include "core/reader.h"
#include "scene_fixture.h"
#include "tests/core/model_dump.h"

namespace sx {
namespace {

class SaveDataTest : public SceneTest {
 protected:
  // "Save data as" of the loaded data from source, its messages shown as the shell shows them.
  std::int32_t SaveAs(const std::string& source, const std::string& destination) {
    const Result r = SaveDataAs(data(), graphic().CreditText.view(), source, destination);
    Tell(ui, r);
    return r.code;
  }

  std::int32_t Load(const std::string& path) {
    SetDataFilePath(data(), path);
    return data().ParameterCount = LoadDataFile(*session);
  }

  // Everything a load puts into the model, which a save must carry, and the credit.
  std::string Dump() {
    const std::string_view credit = graphic().CreditText.view();
    return DumpModel(data()) + "credit " + std::string(credit.substr(0, credit.find('@')));
  }

  // Loads content (twice, so that the stored preferences apply to both loads alike), saves it
  // and loads the saved file; expects the same model and returns the saved bytes.
  std::string RoundTrip(const std::string& content) {
    const std::string source = files.Write("source.tab", content);
    EXPECT_GE(Load(source), 1);
    EXPECT_GE(Load(source), 1);
    const std::string before = Dump();
    const std::string saved = files.dir() + "/saved.tab";
    EXPECT_EQ(SaveAs(source, saved), kSaveDone);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_GE(Load(saved), 1);
    EXPECT_EQ(Dump(), before);
    return ReadBytes(saved);
  }
};

TEST_F(SaveDataTest, RegeneratesHeadLinesAndCopiesDataLinesUnchanged) {
  // The rejected line (text in the first column), the blank line and the last line without
  // its line end all stay in the file; only that last line gains a line end.
  const std::string rows = "1\t2.5\tn.d.\nbad\t1\t2\n\n2\t<0.5\t\n3\t?\tx";
  const std::string saved = RoundTrip(
      "/* DATA DESCRIPTION:\nCitation:\tA & B (2020)\nNote without tab\nLast:\tend */\n"
      "\tCore 1.a\tCore 1.b\nDepth\tT\tS\n" +
      rows);
  EXPECT_EQ(saved,
            "/* Citation:\tA & B (2020)\nNote without tab\t\nLast:\tend \n*/\n"
            "\tCore 1\tCore 1\nDepth@MERIDAT/Sondrix\tT\tS\n" +
                rows + "\n");
  EXPECT_EQ(data().column(2).groupName.view(), "Core 1");
}

TEST_F(SaveDataTest, GroupsSurviveWhereverTheyCameFrom) {
  // A file without description loads again without one.
  EXPECT_EQ(RoundTrip("Depth [m]\tA [mg/l]\n1\t2\n").substr(0, 23), "/* Data Description */\n");
  // A group given only in a later header field, and a group line whose text the reader cuts.
  RoundTrip("Depth\tA\tB@Gauge 2\n1\t2\t3\n");
  EXPECT_EQ(data().column(2).groupName.view(), "Gauge 2");
  RoundTrip("\tLeg 2.1.x|y\tLeg 2.1.x\nDepth\tA\tB\n1\t2\t3\n");
  EXPECT_EQ(data().column(1).groupName.view(), "Leg 2.1");
  // The event label that captions the first parameter comes back with the description; it is
  // not turned into a group line.
  const std::string saved = RoundTrip("/* DATA DESCRIPTION:\nEvent:\tE1 * x\n*/\nD\tA\n1\t2\n");
  EXPECT_EQ(saved.substr(0, 40), "/* Event:\tE1 * x\n*/\nD@MERIDAT/Sondrix\tA\n");
}

TEST_F(SaveDataTest, DroppedMetadataColumnsAreWrittenBack) {
  const std::string saved =
      RoundTrip("Event\tLatitude\tLONGITUDE\tDepth\tA\nE1\t10\t20\t1\t2\nE1\t10\t20\t2\t3\n");
  EXPECT_EQ(data().skippedColumns, 3);
  EXPECT_NE(
      saved.find("\nEvent\tLatitude\tLONGITUDE\tDepth@MERIDAT/Sondrix\tA\nE1\t10\t20\t1\t2\n"),
      std::string::npos);
  // With a group line the metadata and X columns keep empty group fields.
  const std::string grouped = RoundTrip("\t\t\tG\nStation\tDepth\tA\tB\nS1\t1\t2\t3\n");
  EXPECT_NE(grouped.find("\n\t\t\tG\nStation\tDepth@"), std::string::npos);
}

TEST_F(SaveDataTest, CreditIsWrittenOnce) {
  const std::string saved = RoundTrip("Depth@Lab 7\tA\n1\t2\n");
  EXPECT_NE(saved.find("\nDepth@Lab 7\tA\n"), std::string::npos);
  // A typed credit may hold a tab, which must not add a column.
  const std::string again = files.dir() + "/again.tab";
  graphic().CreditText.assign("Lab\t7");
  ASSERT_EQ(SaveAs(files.dir() + "/saved.tab", again), kSaveDone);
  EXPECT_NE(ReadBytes(again).find("\nDepth@Lab 7\tA\n"), std::string::npos);
}

TEST_F(SaveDataTest, KeepsTheEncodingOfTheSource) {
  // Windows-1252 lines, one UTF-8 line with a character that code page lacks, and a text whose
  // Windows-1252 bytes would read back as other UTF-8 text; CR LF line ends.
  const std::string head =
      "/* Site:\tK\xF6ln\r\nSymbol:\t\xCE\xA9\r\nName:\t\xC3\x83\xC2\xA9\r\n*/\r\nDepth";
  const std::string tail = "\tTemp \260C\r\n1\t\xB5g\r\n";
  EXPECT_EQ(RoundTrip(head + tail), head + "@MERIDAT/Sondrix" + tail);
  EXPECT_TRUE(data().sourceHadCp1252);
  EXPECT_EQ(data().DescriptionTable[3].value.view(), "\u00C3\u00A9");
  // A UTF-8 source stays UTF-8, with its byte-order mark; a CR source keeps its CR.
  const std::string utf8 = "\xEF\xBB\xBF/* Site:\tK\xC3\xB6ln\r*/\rDepth";
  EXPECT_EQ(RoundTrip(utf8 + "\tA\r1\t2\r"), utf8 + "@MERIDAT/Sondrix\tA\r1\t2\r");
}

TEST_F(SaveDataTest, DescriptionTextCannotEndTheBlockEarly) {
  // A description read back from an edited file may hold the closing marker anywhere.
  RoundTrip("D\tA\n1\t2\n");
  data().DescriptionLineCount = 1;
  data().DescriptionTable[1].label.assign("A:");
  data().DescriptionTable[1].value.assign("x */ y");
  const std::string saved = files.dir() + "/again.tab";
  ASSERT_EQ(SaveAs(files.dir() + "/source.tab", saved), kSaveDone);
  ASSERT_EQ(Load(saved), 1);
  ASSERT_EQ(data().DescriptionLineCount, 1);
  EXPECT_EQ(data().DescriptionTable[1].value.view(), "x * / y");
}

TEST_F(SaveDataTest, RefusesTheSourceUnderAnyOtherPath) {
  const std::string content = "Depth\tA\n1\t2\n";
  const std::string source = files.Write("data.tab", content);
  ASSERT_EQ(Load(source), 1);
  const std::string dir = files.dir();
  const std::string name = std::filesystem::path(dir).filename().string();
  ASSERT_EQ(symlink(source.c_str(), (dir + "/link.tab").c_str()), 0);
  ASSERT_EQ(link(source.c_str(), (dir + "/hard.tab").c_str()), 0);
  const std::string cwd = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(dir.c_str()), 0);
  for (const std::string& path :
       {source, std::string("data.tab"), std::string("./data.tab"), dir + "//./data.tab",
        dir + "/../" + name + "/data.tab", dir + "/link.tab", dir + "/hard.tab"}) {
    EXPECT_EQ(SaveAs(source, path), kSaveOverSource) << path;
    EXPECT_TRUE(!ui.messages.empty() && ui.messages[0].icon == MessageIcon::kStop);
    EXPECT_EQ(Message(), "The data cannot be saved over the file they were read from:\n>" + path +
                             "<\nPlease choose another name.");
    EXPECT_EQ(ReadBytes(source), content);
  }
  ASSERT_EQ(chdir(cwd.c_str()), 0);
}

TEST_F(SaveDataTest, FailuresAreShownLeaveNoFileAndKeepTheCurrentFile) {
  const std::string source = files.Write("data.tab", "Depth\tA\n1\t2\n");
  ASSERT_EQ(Load(source), 1);
  const std::string plain = files.Write("plain.txt", "keep");
  for (const std::string& dest :
       {files.dir() + "/missing/out.tab", plain + "/out.tab", files.dir()}) {
    EXPECT_EQ(SaveAs(source, dest), kSaveDestinationFailed) << dest;
    EXPECT_TRUE(Message().starts_with("Could not save the data to file:\n>" + dest + "<\n"));
  }
  EXPECT_EQ(ReadBytes(plain), "keep");

  // A source that is gone, or no longer has a header line, is reported too.
  EXPECT_EQ(SaveAs(files.dir() + "/gone.tab", files.dir() + "/o.tab"), kSaveSourceUnreadable);
  EXPECT_EQ(Message(), "Could not open file:\n>" + files.dir() + "/gone.tab<");
  EXPECT_FALSE(std::filesystem::exists(files.dir() + "/o.tab"));

  // The command makes the saved file the current one, only when it was saved.
  EXPECT_EQ(SaveDataAsCommand(*session, files.dir() + "/no/such.tab"), kSaveDestinationFailed);
  EXPECT_EQ(data().DataFilePath, source);
  EXPECT_EQ(SaveDataAsCommand(*session, files.dir() + "/copy.tab"), kSaveDone);
  EXPECT_EQ(data().DataFileName, "copy.tab");
  EXPECT_EQ(data().DataFilePath, files.dir() + "/copy.tab");
}

// The description file: saved for an editor, read back after editing.
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
