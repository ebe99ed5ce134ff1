#include "core/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8Test, ValidityRejectsOverlongsSurrogatesAndTruncation) {
  EXPECT_TRUE(sx::IsValidUtf8(""));
  EXPECT_TRUE(sx::IsValidUtf8("plain ASCII text, longer than eight bytes"));
  EXPECT_TRUE(
      sx::IsValidUtf8("T [\xC2\xB0"
                      "C] d18O [\xE2\x80\xB0] \xF0\x9F\x98\x80"));
  EXPECT_TRUE(sx::IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF

  EXPECT_FALSE(sx::IsValidUtf8("\xC0\x80"));          // overlong NUL
  EXPECT_FALSE(sx::IsValidUtf8("\xC1\xBF"));          // overlong two-byte
  EXPECT_FALSE(sx::IsValidUtf8("\xE0\x80\xAF"));      // overlong three-byte
  EXPECT_FALSE(sx::IsValidUtf8("\xF0\x8F\xBF\xBF"));  // overlong four-byte
  EXPECT_FALSE(sx::IsValidUtf8("\xED\xA0\x80"));      // surrogate U+D800
  EXPECT_FALSE(sx::IsValidUtf8("\xED\xBF\xBF"));      // surrogate U+DFFF
  EXPECT_FALSE(sx::IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(sx::IsValidUtf8("\xF8\x88\x80\x80\x80"));
  EXPECT_FALSE(sx::IsValidUtf8("abc\xE2\x82"));  // truncated at the end
  EXPECT_FALSE(
      sx::IsValidUtf8("\xE2\x82"
                      "abc"));                    // truncated before ASCII
  EXPECT_FALSE(sx::IsValidUtf8("abcdefgh\x80"));  // stray continuation after the fast path
  EXPECT_FALSE(sx::IsValidUtf8("\xB0"));          // a Windows-1252 degree sign
}

TEST(Utf8Test, InvalidLinesAreReadAsWindows1252) {
  std::string out = "old";
  EXPECT_TRUE(sx::DecodeLine("\xB0\x89\xB5\x80", out));
  EXPECT_EQ(out, "\xC2\xB0\xE2\x80\xB0\xC2\xB5\xE2\x82\xAC");  // °‰µ€

  EXPECT_FALSE(
      sx::DecodeLine("T [\xC2\xB0"
                     "C]",
                     out));
  EXPECT_EQ(out,
            "T [\xC2\xB0"
            "C]");

  // A line mixing both is one Windows-1252 line.
  EXPECT_TRUE(sx::DecodeLine("\xC2\xB0 \xB0", out));
  EXPECT_EQ(out, "\xC3\x82\xC2\xB0 \xC2\xB0");
}

TEST(Utf8Test, EveryWindows1252ByteSurvivesTheRoundTrip) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  std::string utf8;
  sx::AppendCp1252AsUtf8(bytes, utf8);
  EXPECT_TRUE(sx::IsValidUtf8(utf8));
  std::string back;
  ASSERT_TRUE(sx::EncodeCp1252(utf8, back));
  EXPECT_EQ(back, bytes);
}

TEST(Utf8Test, EncodingRefusesCharactersOutsideWindows1252) {
  std::string out;
  EXPECT_FALSE(sx::EncodeCp1252("\xC4\x80", out));          // U+0100
  EXPECT_FALSE(sx::EncodeCp1252("\xF0\x9F\x98\x80", out));  // emoji
  EXPECT_FALSE(sx::EncodeCp1252("\xC2\x80", out));          // a C1 control 1252 does not hold
  // Broken sequences are no characters at all.
  EXPECT_FALSE(sx::EncodeCp1252("\xC3(", out));
  EXPECT_FALSE(sx::EncodeCp1252("\xC1\x81", out));
  EXPECT_FALSE(sx::EncodeCp1252("\xE2\x82", out));
}

TEST(Utf8Test, LengthAndPrefixCountCharacters) {
  const std::string text = "a\xC2\xB0\xE2\x80\xB0z";  // a°‰z
  EXPECT_EQ(sx::Utf8Length(text), 4u);
  EXPECT_EQ(sx::Utf8Prefix(text, 2), "a\xC2\xB0");
  EXPECT_EQ(sx::Utf8Prefix(text, 3), "a\xC2\xB0\xE2\x80\xB0");
  EXPECT_EQ(sx::Utf8Prefix(text, 9), text);
  EXPECT_EQ(sx::Utf8Prefix(text, 0), "");
}

}  // namespace
