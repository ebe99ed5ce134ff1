#include "core/text_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "core/utf8.h"

namespace {

constexpr std::string_view kDegree = "\xC2\xB0";        // °
constexpr std::string_view kPerMille = "\xE2\x80\xB0";  // ‰

TEST(ReplaceAllTest, CleansLabelsAndDescriptionMarkers) {
  std::string line = "/* Citation:";
  EXPECT_EQ(sx::ReplaceAll(line, "/* ", ""), 1);
  EXPECT_EQ(line, "Citation:");

  std::string label = "d18O [per mil]";
  EXPECT_EQ(sx::ReplaceAll(label, "per mil", kPerMille), 1);
  EXPECT_EQ(label, "d18O [" + std::string(kPerMille) + "]");

  std::string lat = "Lat [deg N], Lon [deg E]";
  EXPECT_EQ(sx::ReplaceAll(lat, "deg ", kDegree), 2);
  EXPECT_EQ(lat, "Lat [" + std::string(kDegree) + "N], Lon [" + std::string(kDegree) + "E]");

  std::string none = "Depth [m]";
  EXPECT_EQ(sx::ReplaceAll(none, "per mil", kPerMille), 0);
  EXPECT_EQ(sx::ReplaceAll(none, "", "x"), 0);
  EXPECT_EQ(none, "Depth [m]");
}

TEST(ReplaceAllTest, SearchRestartsSoReplacementsMayMeetAgain) {
  // Removing one blank of every pair until none is left: each round can create a new pair.
  std::string text = "a      b";
  EXPECT_EQ(sx::ReplaceAll(text, "  ", " "), 5);
  EXPECT_EQ(text, "a b");

  // Removing "ab" from "aabb" uncovers a second "ab"; long patterns behave the same.
  std::string nested = "aabb";
  EXPECT_EQ(sx::ReplaceAll(nested, "ab", ""), 2);
  EXPECT_EQ(nested, "");
  std::string longNested = "xxyyyyz";
  EXPECT_EQ(sx::ReplaceAll(longNested, "xyyy", ""), 1);
  EXPECT_EQ(longNested, "xyz");
  std::string deep = "abcabcdedede";
  EXPECT_EQ(sx::ReplaceAll(deep, "abcde", ""), 2);
  EXPECT_EQ(deep, "de");
}

TEST(ReplaceAllTest, ReplacementHoldingThePatternStillEnds) {
  std::string text = "a-b-c";
  EXPECT_EQ(sx::ReplaceAll(text, "-", "--"), 2);
  EXPECT_EQ(text, "a--b--c");
}

TEST(ReplaceAllTest, TextNeverReachesTenThousandCharacters) {
  // A replacement that would reach the limit is left out; the tail is kept as it fits.
  std::string atEnd = std::string(9998, 'a') + "X";
  EXPECT_EQ(sx::ReplaceAll(atEnd, "X", "YY"), 1);
  EXPECT_EQ(atEnd, std::string(9998, 'a'));

  std::string growing = std::string(9997, 'a') + "X";
  EXPECT_EQ(sx::ReplaceAll(growing, "X", "YY"), 1);
  EXPECT_EQ(growing, std::string(9997, 'a') + "YY");

  // The replacement fits but the saved tail then does not: the tail is lost.
  std::string atStart = "X" + std::string(9998, 'a');
  EXPECT_EQ(sx::ReplaceAll(atStart, "X", "YY"), 1);
  EXPECT_EQ(atStart, "YY");

  // Every occurrence is counted, also those whose replacement was left out.
  std::string many = std::string(9990, 'a') + "XX";
  EXPECT_EQ(sx::ReplaceAll(many, "X", std::string(10, 'Y')), 2);
  EXPECT_EQ(many, std::string(9990, 'a'));
}

TEST(ReplaceAllTest, LimitCountsCharactersNotBytes) {
  // 4999 degree signs are 9998 bytes but only 4999 characters.
  std::string degrees;
  for (int i = 0; i < 4999; ++i) degrees += kDegree;
  std::string text = degrees + "per mil";
  EXPECT_EQ(sx::ReplaceAll(text, "per mil", std::string(kPerMille) + std::string(kPerMille)), 1);
  EXPECT_EQ(text, degrees + std::string(kPerMille) + std::string(kPerMille));

  std::string full;
  for (int i = 0; i < 9998; ++i) full += kDegree;
  full += "X";
  EXPECT_EQ(sx::ReplaceAll(full, "X", std::string(kPerMille) + std::string(kPerMille)), 1);
  EXPECT_EQ(sx::Utf8Length(full), 9998u);
}

TEST(ReplaceAllTest, FixedFieldIsCutToItsCapacity) {
  sx::FixedText<10> field;
  field.assign("abcabcabc");
  EXPECT_EQ(sx::ReplaceAll(field, "b", "BBB"), 3);
  EXPECT_EQ(field, "aBBBcaBBBc");
}

struct Cell {
  int result;
  float value;
  std::int32_t flag;
};

Cell Parse(std::string_view text) {
  Cell cell{0, -7.0f, 42};
  cell.result = sx::ParseNumericCell(text, cell.value, cell.flag);
  return cell;
}

TEST(ParseNumericCellTest, NumbersWithTrailingTextAndQualityCodes) {
  Cell c = Parse("12.5abc");
  EXPECT_EQ(c.result, sx::kCellNumber);
  EXPECT_EQ(c.value, 12.5f);
  EXPECT_EQ(c.flag, 1);

  c = Parse("<0.01");
  EXPECT_EQ(c.result, sx::kCellNumber);
  EXPECT_EQ(c.value, 0.01f);
  EXPECT_EQ(c.flag, 7);

  const char* const kPrefixes = "/*?#><";
  for (int i = 0; i < 6; ++i) {
    c = Parse(std::string(1, kPrefixes[i]) + "-3e2");
    EXPECT_EQ(c.result, sx::kCellNumber) << kPrefixes[i];
    EXPECT_EQ(c.value, -300.0f) << kPrefixes[i];
    EXPECT_EQ(c.flag, i + 2) << kPrefixes[i];
  }

  c = Parse("?");
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, 4);
  EXPECT_EQ(c.value, -7.0f);

  c = Parse("bdl");
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, -1);

  c = Parse(" <5");  // the code must be the first character
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, -1);
}

TEST(ParseNumericCellTest, EmptyOverlongAndTabCutCells) {
  Cell c = Parse("");
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, 42);

  c = Parse("\t5");
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, 42);

  c = Parse("3\t4");
  EXPECT_EQ(c.result, sx::kCellNumber);
  EXPECT_EQ(c.value, 3.0f);

  c = Parse("1" + std::string(80, ' '));  // 81 characters
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, 42);

  c = Parse("1" + std::string(79, ' '));
  EXPECT_EQ(c.result, sx::kCellNumber);

  // 80 characters of which 40 take two bytes each: still short enough.
  std::string wide = "2";
  for (int i = 0; i < 40; ++i) wide += kDegree;
  wide += std::string(39, 'x');
  c = Parse(wide);
  EXPECT_EQ(c.result, sx::kCellNumber);
  EXPECT_EQ(c.value, 2.0f);
  c = Parse(wide + "x");
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, 42);
}

TEST(ParseNumericCellTest, DecimalCommaAndOSlash) {
  Cell c = Parse("2,5");
  EXPECT_EQ(c.result, sx::kCellNumber);
  EXPECT_EQ(c.value, 2.5f);

  c = Parse("1,5,7");  // only the first comma is a point
  EXPECT_EQ(c.value, 1.5f);

  c = Parse("<0,25");
  EXPECT_EQ(c.value, 0.25f);
  EXPECT_EQ(c.flag, 7);

  c = Parse(
      "\xC3\xB8"
      "12");  // the first "ø" reads as a blank
  EXPECT_EQ(c.result, sx::kCellNumber);
  EXPECT_EQ(c.value, 12.0f);

  c = Parse(
      "\xC3\xB8\xC3\xB8"
      "12");  // only the first
  EXPECT_EQ(c.result, sx::kCellNotNumber);
  EXPECT_EQ(c.flag, -1);

  c = Parse(
      "12"
      "\xC2\xB0"
      "C");
  EXPECT_EQ(c.value, 12.0f);
}

TEST(ParseNumericCellTest, FormsOfTheCLibraryConversion) {
  EXPECT_EQ(Parse("  \v\f\r\n-1.").value, -1.0f);
  EXPECT_EQ(Parse("+.5").value, 0.5f);
  EXPECT_EQ(Parse("1e").value, 1.0f);
  EXPECT_EQ(Parse("1e+").value, 1.0f);
  EXPECT_EQ(Parse("1E-2x").value, 0.01f);
  EXPECT_EQ(Parse("0x1p3").value, 8.0f);
  EXPECT_EQ(Parse("-0X1.8P1").value, -3.0f);
  EXPECT_EQ(Parse("0x").result, sx::kCellNotNumber);
  EXPECT_EQ(Parse("0x.p1").result, sx::kCellNumber);
  EXPECT_EQ(Parse("0x.p1").value, 0.0f);
  EXPECT_EQ(Parse("1e-50").value, 0.0f);
  EXPECT_TRUE(std::signbit(Parse("-0").value));
  EXPECT_EQ(Parse(".").result, sx::kCellNotNumber);
  EXPECT_EQ(Parse("-").result, sx::kCellNotNumber);
  EXPECT_EQ(Parse("e5").flag, -1);
  // Correct rounding of a long mantissa: 2^24 + 1 lies halfway, ties go to even.
  EXPECT_EQ(Parse("16777217").value, 16777216.0f);
  EXPECT_EQ(Parse("16777217.000000000000000000000000001").value, 16777218.0f);
}

TEST(ParseNumericCellTest, NaNAndInfinityAreNotNumbers) {
  for (const char* text :
       {"nan", "NaN", "-nan", "inf", "-Infinity", "1e39", "-3.5e38", "<inf", "?nan", "0x1p200"}) {
    const Cell c = Parse(text);
    EXPECT_EQ(c.result, sx::kCellNotFinite) << text;
    EXPECT_EQ(c.value, -7.0f) << text;
    EXPECT_EQ(c.flag, 42) << text;
  }
  // The largest float and a text that still rounds down to it stay numbers.
  EXPECT_EQ(Parse("3.4028235e38").value, 3.4028235e38f);
  EXPECT_EQ(Parse("3.40282356e38").result, sx::kCellNumber);
  // "infinit" is not a word the conversion accepts.
  EXPECT_EQ(Parse("infinit").result, sx::kCellNotNumber);
}

struct Split {
  std::string group, name, unit;
};

Split SplitLabel(std::string_view label) {
  sx::FixedText<80> group, name, unit;
  group.assign("old");
  name.assign("old");
  unit.assign("old");
  sx::SplitParameterName(label, group, name, unit);
  return {group.str(), name.str(), unit.str()};
}

TEST(SplitParameterNameTest, NameUnitAndGroup) {
  Split s = SplitLabel("Depth water [m]");
  EXPECT_EQ(s.name, "Depth water");
  EXPECT_EQ(s.unit, "[m]");
  EXPECT_EQ(s.group, "");

  s = SplitLabel("Temp (" + std::string(kDegree) + "C) [K]");
  EXPECT_EQ(s.name, "Temp (" + std::string(kDegree) + "C)");
  EXPECT_EQ(s.unit, "[K]");

  s = SplitLabel("Temp (" + std::string(kDegree) + "C)");
  EXPECT_EQ(s.name, "Temp");
  EXPECT_EQ(s.unit, "(" + std::string(kDegree) + "C)");

  s = SplitLabel("Sal@CTD 1");
  EXPECT_EQ(s.name, "Sal");
  EXPECT_EQ(s.group, "CTD 1");
  EXPECT_EQ(s.unit, "");

  s = SplitLabel("d18O [" + std::string(kPerMille) + "]@Core A@2");
  EXPECT_EQ(s.name, "d18O");
  EXPECT_EQ(s.unit, "[" + std::string(kPerMille) + "]");
  EXPECT_EQ(s.group, "Core A@2");

  // The unit bracket belongs to the name part only, not to the group.
  s = SplitLabel("Sal@CTD [x]");
  EXPECT_EQ(s.name, "Sal");
  EXPECT_EQ(s.unit, "");
}

TEST(SplitParameterNameTest, BracketWithNothingAfterItIsNoUnit) {
  Split s = SplitLabel("Age [");
  EXPECT_EQ(s.name, "Age [");
  EXPECT_EQ(s.unit, "");

  s = SplitLabel("Age (ka) [");
  EXPECT_EQ(s.name, "Age (ka) [");
  EXPECT_EQ(s.unit, "");

  s = SplitLabel("Age[ka]");  // no blank before the bracket
  EXPECT_EQ(s.name, "Age[ka]");
  EXPECT_EQ(s.unit, "");

  s = SplitLabel("");
  EXPECT_EQ(s.name, "");
  EXPECT_EQ(s.group, "");
}

TEST(SplitParameterNameTest, OutputsAreCutToEightyCharacters) {
  std::string longName;
  for (int i = 0; i < 100; ++i) longName += kDegree;
  const Split s = SplitLabel(longName + " [" + longName + "]@" + longName);
  EXPECT_EQ(sx::Utf8Length(s.name), 80u);
  EXPECT_EQ(sx::Utf8Length(s.unit), 80u);
  EXPECT_EQ(sx::Utf8Length(s.group), 80u);
  EXPECT_TRUE(sx::IsValidUtf8(s.unit));
}

}  // namespace
