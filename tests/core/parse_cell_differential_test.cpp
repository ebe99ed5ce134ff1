// Compares ParseNumericCell with a plain sscanf("%f") reading over a large generated corpus of
// cells: result, flag and the value's bits must agree on every one.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

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
  char Pick(std::string_view chars) {
    return chars[static_cast<std::size_t>(Below(static_cast<int>(chars.size())))];
  }

 private:
  std::uint64_t state_;
};

std::string Digits(Random& rng, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>('0' + rng.Below(10)));
  return s;
}

std::string Exponent(Random& rng, std::string_view letters = "eE") {
  std::string s(1, rng.Pick(letters));
  switch (rng.Below(4)) {
    case 0:
      s += '+';
      break;
    case 1:
      s += '-';
      break;
    default:
      break;
  }
  // Missing digits are a case of their own.
  if (!rng.OneIn(6)) s += Digits(rng, 1 + rng.Below(rng.OneIn(8) ? 12 : 3));
  return s;
}

// Digits with a point somewhere (or none), possibly an exponent.
std::string DecimalNumber(Random& rng) {
  std::string s = Digits(rng, rng.Below(rng.OneIn(10) ? 30 : 8));
  const int dot = rng.Below(4);
  if (dot == 0) {
    s.insert(0, ".");
  } else if (dot == 1 || s.empty()) {
    s += '.';
    s += Digits(rng, rng.Below(8));
  } else if (dot == 2) {
    s.insert(static_cast<std::size_t>(rng.Below(static_cast<int>(s.size()) + 1)), ".");
  }
  if (rng.OneIn(3)) s += Exponent(rng);
  return s;
}

std::string HexNumber(Random& rng) {
  std::string s = "0";
  s += rng.Pick("xX");
  constexpr std::string_view kHex = "0123456789abcdefABCDEF";
  const int before = rng.Below(5);
  for (int i = 0; i < before; ++i) s += rng.Pick(kHex);
  if (rng.OneIn(2)) {
    s += '.';
    const int after = rng.Below(5);
    for (int i = 0; i < after; ++i) s += rng.Pick(kHex);
  }
  if (!rng.OneIn(3)) s += Exponent(rng, "pP");
  return s;
}

// A decimal text close to the midpoint between two neighbouring floats, where rounding decides;
// the midpoint is exact in double precision, printed with 30..60 significant digits and nudged.
std::string NearRoundingBoundary(Random& rng) {
  float f;
  do {
    const std::uint32_t bits = static_cast<std::uint32_t>(rng.Next());
    std::memcpy(&f, &bits, sizeof f);
  } while (!std::isfinite(f));
  if (rng.OneIn(2)) f = std::fabs(f);
  if (rng.OneIn(3)) {
    // Keep to ordinary magnitudes too, not only the extremes the random bits favour.
    f = std::ldexp(static_cast<float>(rng.Below(1 << 24)), rng.Below(60) - 40);
  }
  const double next = std::nextafter(f, std::numeric_limits<float>::infinity());
  const double mid = (static_cast<double>(f) + next) / 2;
  char text[128];
  std::snprintf(text, sizeof text, "%.*e", 29 + rng.Below(31), mid);
  std::string s = text;
  const std::size_t e = s.find('e');
  switch (rng.Below(4)) {
    case 0: {  // change the last mantissa digit
      char& d = s[e - 1];
      d = static_cast<char>('0' + (d - '0' + 1 + rng.Below(9)) % 10);
      break;
    }
    case 1:  // a tail beyond the printed digits
      s.insert(e, rng.OneIn(2) ? "0000001" : "9999999");
      break;
    default:
      break;
  }
  return s;
}

std::string ExtremeExponent(Random& rng) {
  std::string s = Digits(rng, 1 + rng.Below(9));
  if (rng.OneIn(2)) s.insert(1, ".");
  s += rng.Pick("eE");
  if (rng.OneIn(2)) {
    s += '-';
    s += std::to_string(30 + rng.Below(25));  // subnormals and underflow
  } else {
    if (rng.OneIn(3)) s += '+';
    s += std::to_string(30 + rng.Below(12));  // up to overflow
  }
  return s;
}

std::string Special(Random& rng) {
  static const char* const kWords[] = {"nan",  "NaN",      "nAn(12ab)", "nan(",    "inf", "INF",
                                       "Inf",  "infinity", "INFINITY",  "infinit", "in",  "na",
                                       "nano", "info",     "iNfInItY",  "n",       "i",   "infx"};
  return kWords[rng.Below(static_cast<int>(std::size(kWords)))];
}

std::string Garbage(Random& rng) {
  constexpr std::string_view kChars = "abcdexyzEPp.+-,/*?#><@ 0123456789";
  std::string s;
  const int n = rng.Below(8);
  for (int i = 0; i < n; ++i) s += rng.Pick(kChars);
  return s;
}

std::string MakeCell(Random& rng) {
  std::string s;
  switch (rng.Below(10)) {
    case 0:
    case 1:
    case 2:
      s = DecimalNumber(rng);
      break;
    case 3:
      s = HexNumber(rng);
      break;
    case 4:
      s = NearRoundingBoundary(rng);
      break;
    case 5:
      s = ExtremeExponent(rng);
      break;
    case 6:
      s = Special(rng);
      break;
    case 7:
      s = Garbage(rng);
      break;
    case 8:
      s = Digits(rng, 1 + rng.Below(6));
      break;
    default:
      s = DecimalNumber(rng) + Garbage(rng);
      break;
  }
  if (rng.OneIn(4)) s.insert(0, 1, rng.Pick("+-"));
  if (rng.OneIn(6)) {
    const int n = 1 + rng.Below(3);
    for (int i = 0; i < n; ++i) s.insert(0, 1, rng.Pick(" \v\f\r\n"));
  }
  if (rng.OneIn(5)) s.insert(0, 1, rng.Pick("/*?#><"));
  if (rng.OneIn(8)) {
    // A decimal comma, or a comma elsewhere.
    const std::size_t dot = s.find('.');
    if (dot != std::string::npos && !rng.OneIn(3)) {
      s[dot] = ',';
    } else {
      s.insert(static_cast<std::size_t>(rng.Below(static_cast<int>(s.size()) + 1)), ",");
    }
  }
  if (rng.OneIn(20)) {
    s.insert(static_cast<std::size_t>(rng.Below(static_cast<int>(s.size()) + 1)), "\xC3\xB8");
  }
  if (rng.OneIn(6)) s += rng.Pick("x. eE,;m%");
  if (rng.OneIn(30))
    s.insert(static_cast<std::size_t>(rng.Below(static_cast<int>(s.size()) + 1)), "\t");
  if (rng.OneIn(50)) s += std::string(static_cast<std::size_t>(60 + rng.Below(30)), '0');
  return s;
}

std::string Escaped(std::string_view s) {
  std::string out;
  for (const char c : s) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

void ExpectSameReading(std::string_view cell, int& failures) {
  const CellReading fast = ReadCellFast(cell);
  const CellReading reference = ReadCellReference(cell);
  // The reader's own entry for tab-free cells without a comma or "ø" must agree as well.
  const bool plain = cell.find_first_of("\t,") == std::string_view::npos &&
                     cell.find('\xC3') == std::string_view::npos;
  if (plain && !(sx::testing::ReadCell(sx::ParsePlainNumericField, cell) == reference) &&
      ++failures <= 20) {
    ADD_FAILURE() << "plain cell \"" << Escaped(cell) << "\" differs";
  }
  if (fast == reference) return;
  if (++failures <= 20) {
    ADD_FAILURE() << "cell \"" << Escaped(cell) << "\": fast " << fast.result << "/" << fast.flag
                  << "/" << std::hex << fast.valueBits << ", reference " << std::dec
                  << reference.result << "/" << reference.flag << "/" << std::hex
                  << reference.valueBits;
  }
}

TEST(ParseCellDifferentialTest, GeneratedCellsReadAsTheCLibraryReadsThem) {
  Random rng(20240517);
  int failures = 0;
  int numbers = 0;
  int notFinite = 0;
  int prefixed = 0;
  constexpr int kCells = 300000;
  for (int i = 0; i < kCells; ++i) {
    const std::string cell = MakeCell(rng);
    ExpectSameReading(cell, failures);
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
}

TEST(ParseCellDifferentialTest, HandPickedCellsReadAsTheCLibraryReadsThem) {
  const char* const kCells[] = {
      "0x",
      "0X",
      "0x.p1",
      "0x1p3",
      "-0x1.8p1",
      "0xp3",
      "0x1p",
      "0x1p+",
      "0x.",
      "0x.8",
      "00x1",
      "1e",
      "1e+",
      "1e-",
      "1E+-5",
      ".e5",
      ".",
      "-.",
      "+.5",
      "-0",
      "-0.0e-999",
      "1e-46",
      "1e-45",
      "7e-46",
      "1.4e-45",
      "1.17549435e-38",
      "3.4028235e38",
      "3.40282356779733661637539395458142568448e38",
      "3.4028236e38",
      "1e39",
      "-1e39",
      "1e0000000000000000000000039",
      "1e99999999999999999999",
      "1e-99999999999999999999",
      "00000000000000000000000000000000000000000000000000000001.5",
      "0.000000000000000000000000000000000000000000000000000000000000000001e70",
      "123456789012345678901234567890",
      "16777217",
      "16777219",
      "0.1",
      "2,5",
      "2,5,6",
      ",5",
      "\xC3\xB8"
      "5",
      "5\xC3\xB8",
      "\xC3\xB8\xC3\xB8"
      "5",
      "<\xC3\xB8"
      "5",
      "< 5",
      " <5",
      "<",
      "<<5",
      "<-5",
      "/.5",
      "#1e3",
      "?nan",
      "<inf",
      ">-infinity",
      "*INFINITY",
      "?infinit",
      "nan(abc)",
      "-nan",
      "+inf",
      "infinity",
      "\v\f\r\n 12",
      "1\t2",
      "\t1",
      "abc",
      "e5",
      "+",
      "-",
      "1.5.5",
      "1e5e5",
      "1..5",
      "5a",
      "0e",
      "0e5",
      "0.",
      ".0",
      "+-1",
      "-+1"};
  int failures = 0;
  for (const char* cell : kCells) ExpectSameReading(cell, failures);
  EXPECT_EQ(failures, 0);
}

}  // namespace
