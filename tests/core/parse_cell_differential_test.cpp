// Reading a data cell, checked against a plain sscanf("%f") reading: result, flag and the value's
// bits must agree, for the general reader and for the reader's two shortcuts. Generated cells
// (rounding boundaries, long digit runs, pieces of words) are seeds of the parse_cell fuzz target.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/core/parse_cell_reference.h"

namespace sx::testing {

void PrintTo(const CellReading& r, std::ostream* os) {
  *os << r.result << "/" << r.flag << "/" << std::hex << r.valueBits << std::dec;
}

namespace {

std::string Escaped(std::string_view s) {
  std::string out;
  for (const char c : s) {
    const unsigned char u = static_cast<unsigned char>(c);
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", u);
    out += u < 0x20 || u >= 0x7F ? std::string(hex) : std::string(1, c);
  }
  return out;
}

void ExpectSameReading(std::string_view cell) {
  SCOPED_TRACE("cell \"" + Escaped(cell) + "\"");
  const CellReading reference = ReadCellReference(cell);
  EXPECT_EQ(ReadCellFast(cell), reference);
  // The reader's own entry for tab-free cells without a comma or "ø".
  if (cell.find_first_of("\t,\xC3") == std::string_view::npos) {
    EXPECT_EQ(ReadCell(ParsePlainNumericField, cell), reference);
  }
  // The line reader's shortcut reads a cell (up to its first tab), followed by more of its line,
  // as the general way, or leaves it to the general way.
  const std::string line = std::string(cell) + "\t7\t";
  float value = 0.0f;
  const std::size_t used = ReadPlainDecimalField(line.data(), line.data() + line.size(), value);
  if (used > 0) {
    EXPECT_EQ(used, std::min(cell.find('\t'), cell.size()));
    CellReading shortcut{kCellNumber, 1, 0};
    std::memcpy(&shortcut.valueBits, &value, sizeof value);
    EXPECT_EQ(shortcut, reference);
  }
}

TEST(ParseCellDifferentialTest, HandPickedCellsReadAsTheCLibraryReadsThem) {
  // Cells separated by "|"; "\303\270" is "ø" in UTF-8. The last ones lie next to the midpoint
  // between two floats, where rounding decides.
  const std::string cells =
      "0x|0X|0x.p1|0x1p3|-0x1.8p1|0xp3|0x1p|0x1p+|0x.|0x.8|00x1|1e|1e+|1e-|1E+-5|.e5|.|-.|+.5|-0|"
      "-0.0e-999|1e-46|1e-45|7e-46|1.4e-45|1.17549435e-38|3.4028235e38|3.4028236e38|1e39|-1e39|"
      "3.40282356779733661637539395458142568448e38|1e0000000000000000000000039|"
      "1e99999999999999999999|1e-99999999999999999999|123456789012345678901234567890|" +
      std::string(55, '0') + "1.5|0." + std::string(65, '0') + "1e70|" +
      "16777217|16777219|0.1|2,5|2,5,6|,5|\303\2705|5\303\270|\303\270\303\2705|<\303\2705|"
      "< 5| <5|<|<<5|<-5|/.5|#1e3|?nan|<inf|>-infinity|*INFINITY|?infinit|nan(abc)|-nan|+inf|"
      "infinity|\v\f\r\n 12|1\t2|\t1|abc|e5|+|-|1.5.5|1e5e5|1..5|5a|0e|0e5|0.|.0|+-1|-+1|"
      "0246.2|.131438|5.607838|4606923637.00|606563962812987.|"
      "5.66985154151916503906250000000000000000000000e+00|"
      "1.1620064141043782399824036609970763819901674281010646e-34|"
      "1.985599287692028280832000000000000000000000002e+21|"
      "-3.1744685477808261545175567024709272628829999999e-22|"
      "1.96350787353515625000000000000000000000000000000000000000009999999e+03";
  for (std::size_t at = 0, end = 0; at <= cells.size(); at = end + 1) {
    end = std::min(cells.find('|', at), cells.size());
    ExpectSameReading(std::string_view(cells).substr(at, end - at));
  }
}

// The rules of the cell itself, which the reference repeats: the quality code must be the first
// character; a decimal comma (only the first) and a leading "ø" read as a blank; nothing is stored
// for a cell that is not finite or is too long.
TEST(ParseCellDifferentialTest, QualityCodesCommasAndLimits) {
  constexpr int N = kCellNumber, T = kCellNotNumber, F = kCellNotFinite;
  struct Case {
    std::string text;
    int result;
    float value;  // -7 and 42: left unchanged
    std::int32_t flag;
  };
  std::string wide = "2";  // 80 characters
  for (int i = 0; i < 40; ++i) wide += "\xC2\xB0";
  wide += std::string(39, 'x');
  const Case cases[] = {
      {"12.5abc", N, 12.5f, 1},    {"/-3e2", N, -300.0f, 2},   {">-3e2", N, -300.0f, 6},
      {"<0.01", N, 0.01f, 7},      {"?", T, -7.0f, 4},         {"bdl", T, -7.0f, -1},
      {" <5", T, -7.0f, -1},       {"", T, -7.0f, 42},         {"3\t4", N, 3.0f, 1},
      {wide, N, 2.0f, 1},          {wide + "x", T, -7.0f, 42}, {"1,5,7", N, 1.5f, 1},
      {"\303\27012", N, 12.0f, 1}, {"-nan", F, -7.0f, 42},     {"<inf", F, -7.0f, 42}};
  for (const Case& c : cases) {
    float value = -7.0f;
    std::int32_t flag = 42;
    EXPECT_EQ(ParseNumericCell(c.text, value, flag), c.result) << "[" << c.text << "]";
    EXPECT_EQ(value, c.value) << "[" << c.text << "]";
    EXPECT_EQ(flag, c.flag) << "[" << c.text << "]";
    ExpectSameReading(c.text);
  }
}

}  // namespace
}  // namespace sx::testing
