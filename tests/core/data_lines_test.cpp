// Reading the data part in two halves must leave exactly what one reader leaves: every item of
// the numeric table, the counts, the text items and the x column's kind. The cases below make the
// halves disagree; generated files that mix such lines are seeds of the reader fuzz target, which
// compares one reader with two on every input.

#include "core/data_lines.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "core/reader.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"
#include "tests/core/model_dump.h"

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
  EXPECT_EQ(one.result, two.result);
  EXPECT_EQ(one.ui.messages.size(), two.ui.messages.size());
  EXPECT_EQ(DumpModel(one.session->data), DumpModel(two.session->data));
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
