#include "core/text_convert.h"

#include <gtest/gtest.h>

#include <string>

#include "core/utf8.h"

namespace {

const std::string kDegree = "\xC2\xB0";        // °
const std::string kPerMille = "\xE2\x80\xB0";  // ‰

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(ReplaceAllTest, Cases) {
  struct Case {
    std::string text, from, to;
    int count;
    std::string expected;
  };
  const Case cases[] = {
      {"Lat [deg N], Lon [deg E]", "deg ", kDegree, 2,
       "Lat [" + kDegree + "N], Lon [" + kDegree + "E]"},
      {"Depth [m]", "", "x", 0, "Depth [m]"},
      // The search restarts, so a replacement may create a new match.
      {"a      b", "  ", " ", 5, "a b"},
      // A replacement holding the pattern still ends.
      {"a-b-c", "-", "--", 2, "a--b--c"},
      // The text never reaches 10000 characters: a replacement that would is left out, a saved
      // tail that no longer fits is lost, and every occurrence is counted.
      {std::string(9998, 'a') + "X", "X", "YY", 1, std::string(9998, 'a')},
      {"X" + std::string(9998, 'a'), "X", "YY", 1, "YY"},
      {std::string(9990, 'a') + "XX", "X", std::string(10, 'Y'), 2, std::string(9990, 'a')},
      // The limit counts characters, not bytes.
      {Repeat(kDegree, 4999) + "per mil", "per mil", kPerMille + kPerMille, 1,
       Repeat(kDegree, 4999) + kPerMille + kPerMille},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(sx::ReplaceAll(text, c.from, c.to), c.count) << c.text.substr(0, 30);
    EXPECT_EQ(text, c.expected) << c.text.substr(0, 30);
  }
  sx::FixedText<10> field;  // a fixed field is cut to its capacity
  field.assign("abcabcabc");
  EXPECT_EQ(sx::ReplaceAll(field, "b", "BBB"), 3);
  EXPECT_EQ(field, "aBBBcaBBBc");
}

TEST(SplitParameterNameTest, Cases) {
  struct Case {
    std::string label, group, name, unit;
  };
  const std::string longName = Repeat(kDegree, 100);
  const Case cases[] = {
      {"Temp (" + kDegree + "C)", "", "Temp", "(" + kDegree + "C)"},
      {"d18O [" + kPerMille + "]@Core A@2", "Core A@2", "d18O", "[" + kPerMille + "]"},
      {"Sal@CTD [x]", "CTD [x]", "Sal", ""},  // a bracket in the group is no unit
      // A bracket with nothing after it, or without a blank before it, is no unit.
      {"Age [", "", "Age [", ""},
      {"Age[ka]", "", "Age[ka]", ""},
      {"", "", "", ""},
      // Every part is cut to 80 characters.
      {longName + " [" + longName + "]@" + longName, Repeat(kDegree, 80), Repeat(kDegree, 80),
       "[" + Repeat(kDegree, 79)},
  };
  for (const Case& c : cases) {
    sx::FixedText<80> group, name, unit;
    for (sx::FixedText<80>* part : {&group, &name, &unit}) part->assign("old");
    sx::SplitParameterName(c.label, group, name, unit);
    EXPECT_EQ(group.str() + "|" + name.str() + "|" + unit.str(),
              c.group + "|" + c.name + "|" + c.unit)
        << c.label.substr(0, 40);
  }
}

TEST(Utf8Test, ValidityLengthAndPrefix) {
  for (const char* ok : {"", "plain ASCII text, longer than eight bytes",
                         "T [\u00B0C] d18O [\u2030] \U0001F600", "\xF4\x8F\xBF\xBF"}) {  // U+10FFFF
    EXPECT_TRUE(sx::IsValidUtf8(ok)) << ok;
  }
  // Overlongs, surrogates, beyond U+10FFFF, five bytes, truncated, a stray continuation after
  // the fast path, a Windows-1252 degree sign.
  for (const char* bad :
       {"\xC0\x80", "\xE0\x80\xAF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
        "\xF8\x88\x80\x80\x80", "abc\xE2\x82", "\342\202abc", "abcdefgh\x80", "\xB0"}) {
    EXPECT_FALSE(sx::IsValidUtf8(bad)) << bad;
  }
  // Lengths and prefixes count characters.
  const std::string text = "a\u00B0\u2030z";
  EXPECT_EQ(sx::Utf8Length(text), 4u);
  EXPECT_EQ(sx::Utf8Prefix(text, 3), "a\u00B0\u2030");
  EXPECT_EQ(sx::Utf8Prefix(text, 9), text);
}

TEST(Utf8Test, Windows1252LinesAndRoundTrip) {
  // A line that is not valid UTF-8 is read as Windows-1252 as a whole, even where part of it is.
  std::string out = "old";
  EXPECT_TRUE(sx::DecodeLine("\xB0\x89\xB5\x80", out));
  EXPECT_EQ(out, "\u00B0\u2030\u00B5\u20AC");
  EXPECT_FALSE(sx::DecodeLine("T [\u00B0C]", out));
  EXPECT_EQ(out, "T [\u00B0C]");
  EXPECT_TRUE(sx::DecodeLine("\xC2\xB0 \xB0", out));
  EXPECT_EQ(out, "\u00C2\u00B0 \u00B0");

  std::string bytes, utf8, back;
  for (int b = 1; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  sx::AppendCp1252AsUtf8(bytes, utf8);
  EXPECT_TRUE(sx::IsValidUtf8(utf8));
  ASSERT_TRUE(sx::EncodeCp1252(utf8, back));
  EXPECT_EQ(back, bytes);
  // Characters outside the code page (U+0100, an emoji, a C1 control) and broken sequences.
  for (const char* bad : {"\u0100", "\U0001F600", "\xC2\x80", "\xC3(", "\xC1\x81", "\xE2\x82"}) {
    EXPECT_FALSE(sx::EncodeCp1252(bad, back)) << bad;
  }
}

}  // namespace
