#include "settings/patterns.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace sx {
namespace {

constexpr const char* kHeader = "Width in pixel\tHeight in pixel\tName\n";

std::vector<std::uint8_t> Head(const Pattern& p, int n) {
  return {p.bits, p.bits + n};
}

// The 32 stored bytes of rows given one byte per row, the second byte of each row 0xFF.
std::vector<std::uint8_t> NarrowRows(const std::vector<std::uint8_t>& rows) {
  std::vector<std::uint8_t> bits(32, 0xFF);
  std::size_t r = 0;
  for (std::uint8_t row : rows) bits[2 * r++] = row;
  return bits;
}

class PatternsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(table.Allocate()); }

  int Load(const std::string& bytes) { return LoadPatterns(table, files.Write("p.ini", bytes)); }
  const Pattern& At(std::int32_t k) const { return table.records[static_cast<std::size_t>(k)]; }

  TestFiles files;
  PatternTable table;
};

TEST_F(PatternsTest, MissingFileIsCreatedByteForByteThenRead) {
  const std::string text = BuiltinPatternFileText();
  // A header line, then per pattern a head line and eight rows, every line ended by CR LF.
  EXPECT_TRUE(text.starts_with(std::string(kHeader, 35) +
                               "\r\n8\t8\tBitmap2\r\n\t\t........\r\n\t\t.**.....\r\n"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 81 * 9);
  const std::string path = files.dir() + "/" + std::string(kPatternFileName);
  EXPECT_EQ(LoadPatterns(table, path), -1);
  EXPECT_EQ(table.PatternCount, 0);
  EXPECT_EQ(ReadBytes(path), text);
  ASSERT_EQ(LoadPatterns(table, path), 0);
  ASSERT_EQ(table.PatternCount, 81);
  for (std::int32_t k = 1; k <= 81; ++k) {
    const BuiltinPattern& b = BuiltinPatterns()[static_cast<std::size_t>(k - 1)];
    EXPECT_EQ(At(k).name.view(), b.name);
    EXPECT_EQ(Head(At(k), 32), NarrowRows({std::begin(b.rows), std::end(b.rows)})) << b.name;
  }
  EXPECT_EQ(FindPattern(table, "Su3-Gr"), 59);
}

TEST_F(PatternsTest, ExistingFilesAreNeverReplaced) {
  // A path that exists but cannot be read as a file is left alone.
  const std::string dir = files.dir() + "/taken";
  std::filesystem::create_directory(dir);
  EXPECT_EQ(LoadPatterns(table, dir), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir));
  EXPECT_EQ(LoadPatterns(table, ""), 0);  // no settings folder
  // A folder that does not exist: nothing can be written, the table stays empty.
  EXPECT_EQ(LoadPatterns(table, files.dir() + "/none/p.ini"), -2);
  EXPECT_EQ(table.PatternCount, 0);
  PatternTable unallocated;
  EXPECT_EQ(LoadPatterns(unallocated, files.dir() + "/q.ini"), -3);
  EXPECT_FALSE(std::filesystem::exists(files.dir() + "/q.ini"));
  EXPECT_EQ(FindPattern(unallocated, "x"), 0);
}

TEST_F(PatternsTest, UserEditedPatterns) {
  // CR line ends and blank lines read like LF ones.
  std::string file = std::string(kHeader) + "16\t16\tBig\n";
  for (int r = 0; r < 16; ++r) file += r == 3 ? "\t\t*..............*\n" : "\t\t****************\n";
  file += "\n12\t2\tTwelve\n\t\t............\n\t\t************\n";
  file += "3\t5\tSmall\n\t\t*..\n\t\t.*.\n\t\t..*\n\t\t101\n\t\t*\n";
  // Blanks are removed from head lines; "%d" takes the leading number; extra fields and pixels
  // past the 16th are ignored; a Windows-1252 name is decoded.
  file += " 8px \t 2 \tSand stone\n\t\t********..******XXXX\tmore\n\t\t..x*****\n";
  file += "2\t1\tTon\xE9\n\t\t*.\n";
  file += "1\t1\t" + std::string(90, 'n') + "\n\t\t*";  // the last line without its end
  std::replace(file.begin(), file.end(), '\n', '\r');
  ASSERT_EQ(Load(file), 0);
  ASSERT_EQ(table.PatternCount, 6);
  std::vector<std::uint8_t> big(32, 0x00);
  big[6] = 0x7F;
  big[7] = 0xFE;
  EXPECT_EQ(Head(At(1), 32), big);
  // Twelve pixels use both bytes; pixels 12..15 stay background.
  EXPECT_EQ(Head(At(2), 4), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00, 0x0F}));
  // Narrow rows are left-aligned: pixel 0 is always the most significant bit.
  EXPECT_EQ(Head(At(3), 32), NarrowRows({0x7F, 0xBF, 0xDF, 0xBF, 0x7F}));
  EXPECT_EQ(std::vector({At(1).width, At(3).width, At(3).height, At(4).width, At(4).height}),
            std::vector({16, 3, 5, 8, 2}));
  EXPECT_EQ(At(4).name.view(), "Sandstone");
  // The row ends at the first character that is no pixel.
  EXPECT_EQ(Head(At(4), 3), (std::vector<std::uint8_t>{0x00, 0xC0, 0xFF}));
  EXPECT_EQ(At(5).name.view(), "Ton\u00E9");
  EXPECT_EQ(At(6).name.view(), std::string(80, 'n'));
  EXPECT_EQ(Head(At(6), 32), NarrowRows({0x7F}));
}

TEST_F(PatternsTest, RefusedOrCutPatternsEndTheReading) {
  const std::string first = std::string(kHeader) + "2\t1\tA\n\t\t*.\n";
  const std::string next = "2\t1\tB\n\t\t.*\n";
  for (const char* head : {"17\t8\tWide", "0\t8\tEmpty", "x\t8\tWord", "8\t2147483648999\tHuge",
                           "8\t8", "8 8 NoTabs", "000000008\t1\tZ"}) {
    ASSERT_EQ(Load(first + head + "\n\t\t********\n" + next), 0) << head;
    EXPECT_EQ(table.PatternCount, 1) << head;
  }
  // An over-long line ends the reading rather than being read again from its middle.
  ASSERT_EQ(Load(first + "2\t1\t" + std::string(20000, 'x') + "\n\t\t..\n" + next), 0);
  EXPECT_EQ(table.PatternCount, 1);
  // A pattern cut short is kept with the rows it has.
  ASSERT_EQ(Load(first + "8\t4\tCut\n\t\t**\n\t\t.*\nnot a row\n\t\t**\n" + next), 0);
  ASSERT_EQ(table.PatternCount, 2);
  EXPECT_EQ(Head(At(2), 32), NarrowRows({0x3F, 0xBF}));
}

}  // namespace
}  // namespace sx
