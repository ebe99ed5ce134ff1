// Reading the data part in two halves must leave exactly what one reader leaves: every item of
// the numeric table, the counts, the text items and the x column's kind. Generated files mix the
// lines that make the halves disagree (date columns that stop being dates, lines too long for a
// line, the row budget running out, text cells, CR, LF and CR LF endings).

#include "core/data_lines.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/reader.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {
namespace {

struct Loaded {
  std::int32_t result = 0;
  std::unique_ptr<Session> session;
  RecordingUserInterface ui;
};

void LoadInto(Loaded& out, const std::string& path, MemoryBudgets budgets) {
  out.session = CreateSession(budgets, out.ui);
  ASSERT_NE(out.session, nullptr);
  SetDataFilePath(out.session->data, path);
  out.result = LoadDataFile(*out.session);
}

void ExpectSameModel(const Loaded& one, const Loaded& two, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_EQ(one.result, two.result);
  ASSERT_EQ(one.ui.messages.size(), two.ui.messages.size());
  for (std::size_t m = 0; m < one.ui.messages.size(); ++m) {
    EXPECT_EQ(one.ui.messages[m].text, two.ui.messages[m].text);  // a long line's number too
  }
  const DataModel& a = one.session->data;
  const DataModel& b = two.session->data;
  EXPECT_EQ(a.XIsDate, b.XIsDate);
  EXPECT_EQ(a.XIsTime, b.XIsTime);
  EXPECT_EQ(a.DateOffset, b.DateOffset);
  EXPECT_EQ(a.sourceHadCp1252, b.sourceHadCp1252);
  for (int c = 0; c <= kMaxParameter; ++c) {
    ASSERT_EQ(a.column(c).itemCount, b.column(c).itemCount) << "column " << c;
  }
  ASSERT_EQ(a.NumericItemTable.size(), b.NumericItemTable.size());
  for (std::size_t i = 0; i < a.NumericItemTable.size(); ++i) {
    const NumericItem& p = a.NumericItemTable[i];
    const NumericItem& q = b.NumericItemTable[i];
    ASSERT_TRUE(p.flag == q.flag && p.row == q.row &&
                std::memcmp(&p.value, &q.value, sizeof p.value) == 0)
        << "item " << i << ": " << p.flag << "/" << p.row << "/" << p.value << " vs " << q.flag
        << "/" << q.row << "/" << q.value;
  }
  ASSERT_EQ(a.TextItemCount, b.TextItemCount);
  for (int i = 1; i <= a.TextItemCount; ++i) {
    const TextItem& p = a.TextItemTable[static_cast<std::size_t>(i)];
    const TextItem& q = b.TextItemTable[static_cast<std::size_t>(i)];
    ASSERT_TRUE(p.column == q.column && p.position == q.position && p.text.view() == q.text.view())
        << "text item " << i;
  }
}

// A data file of random lines; `dates` gives the x column as dates, with a line now and then
// that is no date (after which the column is no longer read as dates).
std::string RandomFile(std::mt19937& rng, bool dates, int lines) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char* ends[] = {"\n", "\r\n", "\r"};
  const char* end = ends[pick(3)];
  std::string text = dates ? "Date\tA\tB RGB\tC\n" : "Depth\tA\tB RGB\tC\n";
  for (int i = 1; i <= lines; ++i) {
    const int kind = pick(100);
    if (kind < 3) {
      text += end;  // blank line
    } else if (kind < 5) {
      text += "END\tx\n";  // no x value: the line is passed over
    } else if (kind < 6 && pick(16) == 0) {
      text += std::to_string(i) + "\t" + std::string(10050, '7') + "\n";  // ends the reading
    } else {
      if (dates && pick(60) != 0) {
        text += "2001-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10);
      } else {
        text += std::to_string(i) + "." + std::to_string(pick(10));
      }
      for (int c = 0; c < 3; ++c) {
        text += "\t";
        switch (pick(10)) {
          case 0:
            break;  // empty
          case 1:
            text += pick(2) ? "n.d." : "caf\xE9";
            break;
          case 2:
            text += "<" + std::to_string(pick(100));
            break;
          case 3:
            text += "https://doi.example.org/10.1/X." + std::to_string(pick(1000));
            break;
          case 4:
            text += "nan";
            break;
          case 5:
            text += std::to_string(pick(50)) + "," + std::to_string(pick(10));
            break;
          default:
            text += std::to_string(pick(100000)) + "." + std::to_string(pick(100));
        }
      }
      text += pick(20) == 0 ? ends[pick(3)] : end;
    }
  }
  if (pick(2) == 0) text += "99\t1";  // a last line without its end
  return text;
}

class TwoHalvesTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("APPDATA", files_.dir().c_str(), 1); }
  void TearDown() override { SetTwoThreadMinimum(std::uint64_t{1} << 20); }

  void Compare(const std::string& content, MemoryBudgets budgets, const std::string& what) {
    const std::string path = files_.Write("data.tab", content);
    Loaded one, two;
    SetTwoThreadMinimum(UINT64_MAX);
    LoadInto(one, path, budgets);
    SetTwoThreadMinimum(0);
    LoadInto(two, path, budgets);
    ExpectSameModel(one, two, what);
  }

  TestFiles files_;
};

TEST_F(TwoHalvesTest, GeneratedFilesReadAlikeByOneAndTwoReaders) {
  std::mt19937 rng(20261206);
  for (int round = 0; round < 120; ++round) {
    const bool dates = round % 3 == 0;
    const int lines = 2 + static_cast<int>(rng() % 400);
    MemoryBudgets budgets;
    budgets.MaxNumericItems = round % 5 == 0 ? 5 * (lines / 2 + 3) : 5 * (lines + 10);
    budgets.MaxTextItems = round % 4 == 0 ? 7 : 2000;
    Compare(RandomFile(rng, dates, lines), budgets, "round " + std::to_string(round));
    if (HasFatalFailure()) return;
  }
}

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
}

TEST_F(TwoHalvesTest, LineEndsAreCountedAndLineStartsFound) {
  // Line ends at every alignment of an eight-byte word, and bytes that differ from CR and LF in
  // one bit only.
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += std::string(static_cast<std::size_t>(i % 11), 'x') + (i % 3 ? "\n" : "\r") +
            "\x0B\x0C\x8A\x8D";
  LineReader reader;
  ASSERT_TRUE(reader.Open(files_.Write("ends.txt", text)));
  EXPECT_EQ(reader.CountLineEnds(0, text.size()), 3000u);
  EXPECT_EQ(reader.CountLineEnds(1, 17), static_cast<std::uint64_t>(std::count_if(
                                             text.begin() + 1, text.begin() + 17,
                                             [](char c) { return c == '\n' || c == '\r'; })));
  const std::size_t lf = text.find('\n', 5000);
  EXPECT_EQ(reader.NextLineStart(5000), lf + 1);
  EXPECT_EQ(reader.NextLineStart(text.rfind('\n') + 1), 0u);
}

}  // namespace
}  // namespace sx
