// Scenarios of loading data files: what a user finds in the model after opening a file, and the
// same model whether one reader or two read the data lines.

#include "core/reader.h"

#include "core/data_lines.h"
#include "core/messages.h"
#include "scene_fixture.h"
#include "tests/core/model_dump.h"

namespace sx {
namespace {

class ReaderTest : public SceneTest {
 protected:
  // Writes content to a file and loads it as the Open command does (engine steps only), into a
  // new session when the budgets change.
  std::int32_t Load(const std::string& content, MemoryBudgets budgets = {}) {
    return LoadPath(files.Write("data.tab", content), budgets);
  }
  std::int32_t LoadPath(const std::string& path, MemoryBudgets budgets = {}) {
    if (budgets.MaxNumericItems != data().MaxNumericItems ||
        budgets.MaxTextItems != data().MaxTextItems) {
      session = CreateSession(budgets, ui);
    }
    ui.messages.clear();
    SetDataFilePath(data(), path);
    return data().ParameterCount = LoadDataFile(*session);
  }
  std::string label(int c) { return column(c).label.str(); }
  // The k-th stored value of column c.
  const NumericItem& value(int c, int k) { return data().item(column(c).itemBase + k); }
  float x(int row) { return data().item(row).value; }
};

TEST_F(ReaderTest, SmallFileWithoutDescription) {
  ASSERT_EQ(Load("Depth [m]\tT [\u00B0C]\n1\t2.5\n"), 1);
  EXPECT_EQ(value(1, 1).value, 2.5f);
  EXPECT_EQ(graphic().TitleText.view(), "data.tab");
  // A header ending with a tab gains an unnamed parameter. CR line ends, blank lines and a last
  // line without its end read like the others.
  ASSERT_EQ(Load("Depth\tA\t\r1\t2\r\r\n\r\n3\t4"), 2);
  EXPECT_EQ(label(2), "Parameter 2");
  EXPECT_EQ(data().rowCount(), 2);
  EXPECT_EQ(value(1, 2).value, 4.0f);
  // The first label may carry title, date and credit.
  ASSERT_EQ(Load("Depth@Core SX-12 - 2024-01-02 10:00\tA\n1\t2\n"), 1);
  EXPECT_EQ(graphic().TitleText.view(), "Core SX-12");
  EXPECT_EQ(graphic().DateText.view(), "2024-01-02 10:00 h");
  // The credit text that the first label emptied falls back to the program's own.
  EXPECT_EQ(graphic().CreditText.view(), "MERIDAT/Sondrix");
}

TEST_F(ReaderTest, DescriptionBlocks) {
  ASSERT_EQ(Load("/* DATA DESCRIPTION:\nEvent:\tX1 * LATITUDE: 1.0\n*/\nDepth\tA\n1\t2\n"), 1);
  ASSERT_EQ(data().DescriptionLineCount, 1);
  EXPECT_EQ(data().DescriptionTable[1].value.view(), "X1 * LATITUDE: 1.0");
  // Without group names the event label becomes the caption of the first parameter.
  EXPECT_EQ(column(1).groupName.view(), "X1");

  // Markers are removed from the first and last line.
  ASSERT_EQ(Load("/* Citation:\tSomeone (2020)\nNote without tab\nLast:\tend */\nD\tA\n1\t2\n"), 1);
  ASSERT_EQ(data().DescriptionLineCount, 3);
  EXPECT_EQ(data().DescriptionTable[3].value.view(), "end ");

  // A long description keeps its first 1000 lines and the reading goes on.
  std::string text = "/* DATA DESCRIPTION:\n";
  for (int i = 1; i <= 1200; ++i) text += "L" + std::to_string(i) + ":\tv\n";
  ASSERT_EQ(Load(text + "*/\nDepth\tA\n1\t2\n"), 1);
  EXPECT_EQ(data().DescriptionLineCount, 1000);
  EXPECT_EQ(data().rowCount(), 1);
}

TEST_F(ReaderTest, DateAndTimeColumns) {
  ASSERT_EQ(Load("Date/Time\tA\n2001-05-17T00:00\t1\n2001-05-18T12:00\t2\n"), 1);
  EXPECT_EQ(data().XIsTime, 1);
  EXPECT_EQ(data().DateOffset, 2452047.0f);
  EXPECT_EQ(x(1), 0.0f);
  EXPECT_NEAR(x(2), 1.5f, 1e-5);

  // Times are read only when the first row has one.
  ASSERT_EQ(Load("Date\tA\n2001-05-17\t1\n2001-05-18T12:00\t2\n"), 1);
  EXPECT_EQ(data().XIsTime, 0);
  EXPECT_EQ(x(2), 1.0f);

  // A number on the first row makes the column numeric; a later date reads as its year.
  ASSERT_EQ(Load("Depth\tA\n12.5\t1\n2001-05-18\t2\n"), 1);
  EXPECT_EQ(data().XIsDate, 0);
  EXPECT_EQ(x(1), 12.5f);
  EXPECT_EQ(x(2), 2001.0f);
}

TEST_F(ReaderTest, CellsFlagsTextAndGaps) {
  ASSERT_EQ(Load("Depth\tA\tB\n1\t<0.5\tn.d.\n2\t\t7\n3\t3\t\n4\t#4\t8\n"), 2);
  EXPECT_EQ(column(1).itemCount, 3);
  EXPECT_EQ(value(1, 1).value, 0.5f);
  // The empty cell of row 2 is skipped; the next value follows without a gap.
  EXPECT_EQ(value(1, 2).value, 3.0f);
  EXPECT_EQ(value(1, 2).row, 3);
  EXPECT_EQ(value(1, 3).flag, kFlagIndividual);
  ASSERT_EQ(data().TextItemCount, 1);
  EXPECT_EQ(data().TextItemTable[1].text.view(), "n.d.");
  // Link cells read as data set numbers.
  ASSERT_EQ(Load("Depth\tLink\n1\thttps://doi.example.org/10.1234/ARCHIVE.812345\n"
                 "2\thttp://doi.example.org/10.1/x.notanumber\n"),
            1);
  EXPECT_EQ(value(1, 1).value, 812345.0f);
  EXPECT_EQ(data().TextItemCount, 0);  // a link that does not end in a number is skipped
  // Cells that are not finite are empty; in the first column they reject the line.
  ASSERT_EQ(Load("Depth\tA\nnan\t1\n1\tINF\n3\t<inf\n6\t2\n"), 1);
  EXPECT_EQ(data().rowCount(), 3);
  EXPECT_EQ(column(1).itemCount, 1);
  EXPECT_EQ(data().TextItemCount, 0);
}

TEST_F(ReaderTest, MetadataColumnsAreDropped) {
  // (Which ones, and that a save writes them back: the save tests.) A byte-order mark does not
  // stick to the first label.
  ASSERT_EQ(Load("\357\273\277Event\tDepth\tA\nE\t1\t2\n"), 1);
  EXPECT_EQ(label(0), "Depth");
  // A file of nothing but metadata has no parameter: wrong format, not a crash.
  EXPECT_EQ(Load("Event\tStation\nE1\tS1\n"), kLoadWrongFormat);
}

TEST_F(ReaderTest, LabelCleanUpColorColumnsAndLongTexts) {
  ASSERT_EQ(Load("Depth\tT [deg C]\td18O [per mil]\td13C [%o]\tColor R/G/B\tX\xA1\n1\t2\t3\t4\t"
                 "255 0 0\t5\n"),
            5);
  // 0xA1 of the old code page meant a degree sign; units come in the default round brackets.
  for (const auto& [c, text] :
       {std::pair{1, "T (\u00B0C)"}, {2, "d18O (\u2030)"}, {3, "d13C (\u2030)"}, {5, "X\u00B0"}}) {
    EXPECT_EQ(label(c), text);
  }
  EXPECT_EQ(record(4).rgbColumn, 1);
  EXPECT_EQ(record(4).comment, 0);
  EXPECT_EQ(data().TextItemTable[1].text.view(), "255 0 0");
  // Long labels and texts are cut at character boundaries.
  const std::string longName(79, 'a');
  ASSERT_EQ(Load("Depth\t" + longName + "\xC3\xA9\xC3\xA9\n1\t2\n"), 1);
  EXPECT_EQ(label(1), longName);  // 79 characters, the field's limit on a name line
  std::string longText;
  for (int i = 0; i < 100; ++i) longText += "\u00B0";
  ASSERT_EQ(Load("Depth\tA\n1\t" + longText + "\n"), 1);
  EXPECT_EQ(Utf8Length(data().TextItemTable[1].text.view()), 80u);
}

TEST_F(ReaderTest, GroupsFromGroupLineAndNames) {
  ASSERT_EQ(Load("\tCTD 1\tCTD 1\tCTD 2.a\tCTD 2.a\nDepth\tT\tS\tT\tS\n1\t2\t3\t4\t5\n"), 4);
  EXPECT_EQ(data().GroupCount, 2);
  EXPECT_EQ(column(3).groupName.view(), "CTD 2");  // cut at the last "."
  EXPECT_EQ(
      std::vector({record(1).showGroupLabel, record(2).showGroupLabel, record(3).showGroupLabel}),
      std::vector({1, 0, 1}));

  // Without group texts a repeated first name starts a new group.
  ASSERT_EQ(Load("Depth\tT [C]\tS\tT [C]\tS\tT [C]\n1\t2\t3\t4\t5\t6\n"), 5);
  EXPECT_EQ(data().GroupCount, 3);
  EXPECT_EQ(column(3).groupSize, 1);
}

TEST_F(ReaderTest, BudgetsLimitRowsTextsAndColumns) {
  std::string text = "Depth\tA\tB\tC\n";
  for (int i = 1; i <= 25000; ++i) text += std::to_string(i) + "\t1\t2\t3\n";
  ASSERT_EQ(Load(text), 3);
  EXPECT_EQ(data().rowCount(), 24998);
  EXPECT_EQ(Message(), LimitMessageText(kLimitItems, 0));
  // A budget too small for a single row: the limit message and wrong format.
  EXPECT_EQ(Load("Depth\tA\n1\t2\n", {5, 10}), kLoadWrongFormat);
  EXPECT_EQ(ui.messages.size(), 1u);
  // Text cells beyond their budget are dropped.
  text = "Depth\tA\n";
  for (int i = 1; i <= 30; ++i) text += std::to_string(i) + "\tt" + std::to_string(i) + "\n";
  ASSERT_EQ(Load(text, {1000, 10}), 1);
  EXPECT_EQ(data().TextItemCount, 10);
  EXPECT_EQ(data().TextItemTable[10].text.view(), "t10");
  // Columns beyond the 256 parameters are dropped, and the user is told.
  std::string header = "Depth", row = "1";
  for (int c = 1; c <= 299; ++c) {
    header += "\tP" + std::to_string(c);
    row += "\t" + std::to_string(c);
  }
  ASSERT_EQ(Load(header + "\n" + row + "\n"), 256);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages[0].text,
            "maxParameter overflow.\nmaxParameter = 256\nUse Tools:Split data file");
  EXPECT_EQ(value(256, 1).value, 256.0f);
}

TEST_F(ReaderTest, BadFiles) {
  EXPECT_EQ(LoadPath(files.dir() + "/missing.tab"), kLoadCouldNotOpen);
  EXPECT_EQ(Load(""), kLoadWrongFormat);
  EXPECT_EQ(Load("OnlyOneColumn\n1\n"), kLoadWrongFormat);
  EXPECT_EQ(Load("Depth\tA\nabc\t1\n\t2\n"), kLoadWrongFormat);  // no accepted row
  EXPECT_EQ(Load("/* never closed\nA:\t1\n"), kLoadWrongFormat);
  EXPECT_EQ(Load(std::string(10000, 'x') + "\tA\n1\t2\n"), kLoadWrongFormat);
  // A line of 9999 characters still fits.
  EXPECT_EQ(Load("D\t" + std::string(9997, 'x') + "\n1\t2\n"), 1);
  EXPECT_EQ(Load(std::string("Depth\tA\n1\t2\0\t9\n", 15)), 1);  // NUL ends a line
  // An over-long data line is read, then the reading stops, and the user is told where; lines
  // count as an editor counts them, blank ones and CR LF pairs included.
  ASSERT_EQ(Load("Depth\tA\n1\t2\n2\t" + std::string(12000, '5') + "\n3\t4\n"), 1);
  EXPECT_EQ(data().rowCount(), 2);
  EXPECT_EQ(x(2), 2.0f);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Line 3 is too long (10000 bytes or more).\nReading stopped at this line:\n"
            "the rest of the file was not read.");
  ASSERT_EQ(Load("Depth\tA\r\n\r\n1\t2\r\n\n\r2\t" + std::string(10000, '1') + "\r\n3\t4\r\n"), 1);
  EXPECT_EQ(data().rowCount(), 2);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, LimitMessageText(kLimitLineLength, 6));
}

TEST_F(ReaderTest, OpenDataFileComputesScalesAndDeselectsCoordinates) {
  Open("Depth [m]\tLatitude\tAltitude [m]\tT\n1\t5\t7\t3\n2\t6\t8\t7\n");
  EXPECT_EQ(data().ParameterCount, 3);
  EXPECT_EQ(graphic().plottedCount, 3);
  EXPECT_EQ(record(1).plotState + record(2).plotState, 0);
  EXPECT_LT(record(3).minimum, 3.0f);
  EXPECT_GT(record(3).maximum, 7.0f);
}

// Reading the data part in two halves must leave exactly what one reader leaves: every item of
// the numeric table, the counts, the text items and the x column's kind. The cases below make the
// halves disagree; generated files that mix such lines are seeds of the reader fuzz target, which
// compares one reader with two on every input.
class TwoHalvesTest : public ::testing::Test {
 protected:
  void TearDown() override { SetTwoThreadMinimum(std::uint64_t{1} << 20); }

  void Compare(const std::string& content, MemoryBudgets budgets, const std::string& what) {
    std::string seen[2];
    for (int k = 0; k < 2; ++k) {
      Scene scene;
      scene.session = CreateSession(budgets, scene.ui);
      SetDataFilePath(scene.data(), scene.files.Write("data.tab", content));
      SetTwoThreadMinimum(k == 0 ? UINT64_MAX : 0);
      const std::int32_t result = LoadDataFile(*scene.session);
      seen[k] = std::to_string(result) + "\n";
      for (const auto& m : scene.ui.messages) seen[k] += m.text + "\n";  // a long line's number too
      seen[k] += DumpModel(scene.data());
    }
    EXPECT_EQ(seen[0], seen[1]) << what;
  }

  TestFiles files;
};

TEST_F(TwoHalvesTest, HalvesThatDisagreeAreReadAgain) {
  MemoryBudgets budgets;
  std::string rows;
  for (int i = 1; i <= 200; ++i) rows += "2001-01-0" + std::to_string(1 + i % 9) + "\t1\n";
  // The first half gives up the date column: the second half, read as dates, is read again.
  Compare("Date\tA\n" + rows.substr(0, 30 * 16) + "17.5\t2\n" + rows.substr(30 * 16), budgets,
          "date given up in the first half");
  // A line too long for a line ends the reading in the first half: the second half, Windows-1252
  // text included, is never read.
  Compare("Depth\tA\n1\t1\n2\t" + std::string(12000, '5') + "\n" + std::string(4000, '\n') +
              "3\t3\n4\tcaf\xE9\n",
          budgets, "long line in the first half");
  // Blank CR LF lines around the middle and a budget that ends in the second half.
  std::string crlf = "Depth\tA\r\n";
  for (int i = 1; i <= 300; ++i) crlf += std::to_string(i) + "\t" + std::to_string(i) + "\r\n\r\n";
  budgets.MaxNumericItems = 2 * 250;
  Compare(crlf, budgets, "CR LF with a budget");
  // Text cells in both halves, far more than their budget.
  std::string texts = "Depth\tA\tB\n";
  for (int i = 1; i <= 300; ++i) texts += std::to_string(i) + "\tn.d.\t" + std::to_string(i) + "\n";
  Compare(texts, {1000, 7}, "text budget");
}

TEST_F(TwoHalvesTest, LineEndsAreCountedAndLineStartsFound) {
  // Line ends at every alignment of an eight-byte word, and bytes that differ from CR and LF in
  // one bit only.
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += std::string(static_cast<std::size_t>(i % 11), 'x') + (i % 3 ? "\n" : "\r") +
            "\x0B\x0C\x8A\x8D";
  LineReader reader;
  ASSERT_TRUE(reader.Open(files.Write("ends.txt", text)));
  EXPECT_EQ(reader.CountLineEnds(0, text.size()), 3000u);
  const std::size_t lf = text.find('\n', 5000);
  EXPECT_EQ(reader.NextLineStart(5000), lf + 1);
  EXPECT_EQ(reader.NextLineStart(text.rfind('\n') + 1), 0u);
}

}  // namespace
}  // namespace sx
