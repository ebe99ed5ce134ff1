// Compares ParseNumericCell with a plain sscanf("%f") reading over a large generated corpus of
// cells: result, flag and the value's bits must agree on every one.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>

#include "tests/core/parse_cell_reference.h"

namespace {

using sx::testing::CellReading;
using sx::testing::ReadCellFast;
using sx::testing::ReadCellReference;

// Small deterministic generator (SplitMix64), so a failure reproduces on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n).
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool OneIn(int n) { return Below(n) == 0; }

 private:
  std::uint64_t state_;
};

// A decimal text close to the midpoint between two neighbouring floats, where rounding decides;
// the midpoint is exact in double precision, printed with 30..60 significant digits and nudged.
std::string NearRoundingBoundary(Random& rng) {
  float f;
  do {
    const std::uint32_t bits = static_cast<std::uint32_t>(rng.Next());
    std::memcpy(&f, &bits, sizeof f);
  } while (!std::isfinite(f));
  // Keep to ordinary magnitudes too, not only the extremes the random bits favour.
  if (rng.OneIn(3)) f = std::ldexp(static_cast<float>(rng.Below(1 << 24)), rng.Below(60) - 40);
  const float up = std::nextafter(f, std::numeric_limits<float>::infinity());
  const double mid = (static_cast<double>(f) + (std::isfinite(up) ? up : f)) / 2.0;
  char text[128];
  std::snprintf(text, sizeof text, "%.*e", 29 + rng.Below(31), mid);
  std::string s = text;
  const std::size_t e = s.find('e');
  const int nudge = rng.Below(4);
  if (nudge == 0) s[e - 1] = static_cast<char>('0' + (s[e - 1] - '0' + 1 + rng.Below(9)) % 10);
  if (nudge == 1) s.insert(e, rng.OneIn(2) ? "0000001" : "9999999");  // a tail beyond the digits
  return s;
}

// The everyday cell: up to eighteen random digits with a point somewhere (or none), which the
// reader takes a short way when seven significant digits or fewer; now and then a whole number
// halfway between two floats.
std::string PlainDecimal(Random& rng) {
  if (rng.OneIn(20)) return std::to_string((1 << 24) + 2 * rng.Below(1 << 20) + 1);
  std::string s;
  for (int n = 1 + rng.Below(rng.OneIn(2) ? 9 : 18); n > 0; --n) {
    s.push_back(static_cast<char>('0' + rng.Below(10)));
  }
  if (!rng.OneIn(4)) {
    s.insert(static_cast<std::size_t>(rng.Below(static_cast<int>(s.size()) + 1)), ".");
  }
  return s;
}

// Pieces of numbers and words, joined at random: decimal and hexadecimal forms, exponents near
// underflow and overflow, special words and their misspellings, signs, codes, commas and blanks.
std::string MakeCell(Random& rng) {
  static const char* const kPieces[] = {
      "0",    "1",    "7",    "42",  "000",  "123456789", "9999999999", ".",   ".5",
      "5.",   "e",    "E",    "e+",  "e-",   "e3",        "e38",        "e39", "e-38",
      "e-45", "e-46", "e999", "0x",  "0X",   "1p",        "p-3",        "p+",  "a",
      "F",    "nan",  "NaN",  "inf", "INF",  "infinity",  "(1)",        "in",  "-",
      "+",    ",",    " ",    "\v",  "\r\n", "\t",        "\303\270",   "/",   "*",
      "?",    "#",    ">",    "<",   "x",    "%"};
  if (rng.OneIn(5)) return NearRoundingBoundary(rng);
  if (rng.OneIn(4)) return PlainDecimal(rng);
  std::string s;
  for (int n = 1 + rng.Below(6); n > 0; --n) {
    s += kPieces[rng.Below(static_cast<int>(std::size(kPieces)))];
  }
  if (rng.OneIn(50)) s += std::string(static_cast<std::size_t>(60 + rng.Below(30)), '0');
  return s;
}

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

void ExpectSameReading(std::string_view cell, int& failures) {
  const CellReading fast = ReadCellFast(cell);
  const CellReading reference = ReadCellReference(cell);
  // The reader's own entry for tab-free cells without a comma or "ø" must agree as well.
  const bool plain = cell.find_first_of("\t,\xC3") == std::string_view::npos;
  if (plain && !(sx::testing::ReadCell(sx::ParsePlainNumericField, cell) == reference) &&
      ++failures <= 20) {
    ADD_FAILURE() << "plain cell \"" << Escaped(cell) << "\" differs";
  }
  // The line reader's shortcut reads a cell (up to its first tab), followed by more of its line,
  // as the general way.
  const std::size_t field = std::min(cell.find('\t'), cell.size());
  const std::string line = std::string(cell) + "\t7\t";
  float value = 0.0f;
  const std::size_t used = sx::ReadPlainDecimalField(line.data(), line.data() + line.size(), value);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  if (used > 0 &&
      !(used == field && reference.result == sx::kCellNumber && reference.flag == 1 &&
        reference.valueBits == bits) &&
      ++failures <= 20) {
    ADD_FAILURE() << "shortcut on \"" << Escaped(cell) << "\" differs";
  }
  if (!(fast == reference) && ++failures <= 20) {
    ADD_FAILURE() << "cell \"" << Escaped(cell) << "\": fast " << fast.result << "/" << fast.flag
                  << "/" << std::hex << fast.valueBits << ", reference " << std::dec
                  << reference.result << "/" << reference.flag << "/" << std::hex
                  << reference.valueBits;
  }
}

TEST(ParseCellDifferentialTest, GeneratedCellsReadAsTheCLibraryReadsThem) {
  Random rng(20240517);
  int failures = 0, numbers = 0, notFinite = 0, prefixed = 0, shortcuts = 0;
  constexpr int kCells = 300000;
  for (int i = 0; i < kCells; ++i) {
    const std::string cell = MakeCell(rng);
    ExpectSameReading(cell, failures);
    float ignored = 0.0f;
    shortcuts += sx::ReadPlainDecimalField(cell.data(), cell.data() + cell.size(), ignored) > 0;
    const CellReading reading = ReadCellReference(cell);
    numbers += reading.result == sx::kCellNumber;
    notFinite += reading.result == sx::kCellNotFinite;
    prefixed += reading.flag >= 2 && reading.flag <= 7;
  }
  EXPECT_EQ(failures, 0);
  // The corpus must exercise every outcome, or the comparison proves little.
  EXPECT_GT(numbers, kCells / 3);
  EXPECT_GT(notFinite, kCells / 100);
  EXPECT_GT(prefixed, kCells / 20);
  EXPECT_GT(shortcuts, kCells / 20);
}

TEST(ParseCellDifferentialTest, HandPickedCellsReadAsTheCLibraryReadsThem) {
  // Cells separated by "|"; "\303\270" is "ø" in UTF-8.
  const std::string cells =
      "0x|0X|0x.p1|0x1p3|-0x1.8p1|0xp3|0x1p|0x1p+|0x.|0x.8|00x1|1e|1e+|1e-|1E+-5|.e5|.|-.|+.5|-0|"
      "-0.0e-999|1e-46|1e-45|7e-46|1.4e-45|1.17549435e-38|3.4028235e38|3.4028236e38|1e39|-1e39|"
      "3.40282356779733661637539395458142568448e38|1e0000000000000000000000039|"
      "1e99999999999999999999|1e-99999999999999999999|123456789012345678901234567890|" +
      std::string(55, '0') + "1.5|0." + std::string(65, '0') + "1e70|" +
      "16777217|16777219|0.1|2,5|2,5,6|,5|\303\2705|5\303\270|\303\270\303\2705|<\303\2705|"
      "< 5| <5|<|<<5|<-5|/.5|#1e3|?nan|<inf|>-infinity|*INFINITY|?infinit|nan(abc)|-nan|+inf|"
      "infinity|\v\f\r\n 12|1\t2|\t1|abc|e5|+|-|1.5.5|1e5e5|1..5|5a|0e|0e5|0.|.0|+-1|-+1";
  int failures = 0, count = 0;
  for (std::size_t at = 0, end = 0; at <= cells.size(); at = end + 1, ++count) {
    end = std::min(cells.find('|', at), cells.size());
    ExpectSameReading(std::string_view(cells).substr(at, end - at), failures);
  }
  EXPECT_EQ(count, 80);
  EXPECT_EQ(failures, 0);
}

}  // namespace
