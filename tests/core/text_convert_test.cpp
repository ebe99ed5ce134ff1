#include "core/text_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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
      {"/* Citation:", "/* ", "", 1, "Citation:"},
      {"d18O [per mil]", "per mil", kPerMille, 1, "d18O [" + kPerMille + "]"},
      {"Lat [deg N], Lon [deg E]", "deg ", kDegree, 2,
       "Lat [" + kDegree + "N], Lon [" + kDegree + "E]"},
      {"Depth [m]", "", "x", 0, "Depth [m]"},
      // The search restarts, so a replacement may create a new match.
      {"a      b", "  ", " ", 5, "a b"},
      {"abcabcdedede", "abcde", "", 2, "de"},
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
      {Repeat(kDegree, 9998) + "X", "X", kPerMille + kPerMille, 1, Repeat(kDegree, 9998)},
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

TEST(ParseNumericCellTest, Cases) {
  constexpr int N = sx::kCellNumber, T = sx::kCellNotNumber, F = sx::kCellNotFinite;
  struct Case {
    std::string text;
    int result;
    float value;  // -7 and 42: left unchanged
    std::int32_t flag;
  };
  const std::string wide = "2" + Repeat(kDegree, 40) + std::string(39, 'x');  // 80 characters
  // The C-library forms and rounding are compared with a reference in the differential test.
  const Case cases[] = {
      {"12.5abc", N, 12.5f, 1},
      {"/-3e2", N, -300.0f, 2},
      {"*-3e2", N, -300.0f, 3},
      {"?-3e2", N, -300.0f, 4},
      {"#-3e2", N, -300.0f, 5},
      {">-3e2", N, -300.0f, 6},
      {"<0.01", N, 0.01f, 7},
      {"?", T, -7.0f, 4},
      {"bdl", T, -7.0f, -1},
      {" <5", T, -7.0f, -1},  // the code must be the first character
      {"", T, -7.0f, 42},
      {"3\t4", N, 3.0f, 1},
      {"1" + std::string(80, ' '), T, -7.0f, 42},  // 81 characters
      {wide, N, 2.0f, 1},
      {wide + "x", T, -7.0f, 42},
      // Decimal comma (only the first) and a leading "ø" read as a blank.
      {"1,5,7", N, 1.5f, 1},
      {"\xC3\xB8"
       "12",
       N, 12.0f, 1},
      {"12" + kDegree + "C", N, 12.0f, 1},
      {"16777217", N, 16777216.0f, 1},
      // Not finite: nothing is stored.
      {"-nan", F, -7.0f, 42},
      {"1e39", F, -7.0f, 42},
      {"<inf", F, -7.0f, 42},
  };
  for (const Case& c : cases) {
    float value = -7.0f;
    std::int32_t flag = 42;
    EXPECT_EQ(sx::ParseNumericCell(c.text, value, flag), c.result) << "[" << c.text << "]";
    EXPECT_EQ(value, c.value) << "[" << c.text << "]";
    EXPECT_EQ(flag, c.flag) << "[" << c.text << "]";
  }
  float value = 1.0f;
  std::int32_t flag = 0;
  sx::ParseNumericCell("-0", value, flag);
  EXPECT_TRUE(std::signbit(value));
}

TEST(SplitParameterNameTest, Cases) {
  struct Case {
    std::string label, group, name, unit;
  };
  const std::string longName = Repeat(kDegree, 100);
  const Case cases[] = {
      {"Depth water [m]", "", "Depth water", "[m]"},
      {"Temp (" + kDegree + "C)", "", "Temp", "(" + kDegree + "C)"},
      {"Sal@CTD 1", "CTD 1", "Sal", ""},
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
    group.assign("old");
    name.assign("old");
    unit.assign("old");
    sx::SplitParameterName(c.label, group, name, unit);
    EXPECT_EQ(group.str(), c.group) << c.label.substr(0, 40);
    EXPECT_EQ(name.str(), c.name) << c.label.substr(0, 40);
    EXPECT_EQ(unit.str(), c.unit) << c.label.substr(0, 40);
  }
}

}  // namespace
