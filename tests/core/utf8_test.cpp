#include "core/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8Test, ValidityRejectsOverlongsSurrogatesAndTruncation) {
  for (const char* ok : {"", "plain ASCII text, longer than eight bytes",
                         "T [\xC2\xB0"
                         "C] d18O [\xE2\x80\xB0] \xF0\x9F\x98\x80",
                         "\xF4\x8F\xBF\xBF"}) {  // U+10FFFF
    EXPECT_TRUE(sx::IsValidUtf8(ok)) << ok;
  }
  // Overlongs, surrogates, beyond U+10FFFF, five bytes, truncated, a stray continuation after
  // the fast path, a Windows-1252 degree sign.
  for (const char* bad :
       {"\xC0\x80", "\xC1\xBF", "\xE0\x80\xAF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "abc\xE2\x82",
        "\xE2\x82"
        "abc",
        "abcdefgh\x80", "\xB0"}) {
    EXPECT_FALSE(sx::IsValidUtf8(bad)) << bad;
  }
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

TEST(Utf8Test, Windows1252RoundTripAndRefusals) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  std::string utf8, back;
  sx::AppendCp1252AsUtf8(bytes, utf8);
  EXPECT_TRUE(sx::IsValidUtf8(utf8));
  ASSERT_TRUE(sx::EncodeCp1252(utf8, back));
  EXPECT_EQ(back, bytes);
  // Characters outside the code page (U+0100, an emoji, a C1 control) and broken sequences.
  for (const char* bad :
       {"\xC4\x80", "\xF0\x9F\x98\x80", "\xC2\x80", "\xC3(", "\xC1\x81", "\xE2\x82"}) {
    EXPECT_FALSE(sx::EncodeCp1252(bad, back)) << bad;
  }
}

TEST(Utf8Test, LengthAndPrefixCountCharacters) {
  const std::string text = "a\xC2\xB0\xE2\x80\xB0z";  // a°‰z
  EXPECT_EQ(sx::Utf8Length(text), 4u);
  EXPECT_EQ(sx::Utf8Prefix(text, 3), "a\xC2\xB0\xE2\x80\xB0");
  EXPECT_EQ(sx::Utf8Prefix(text, 9), text);
  EXPECT_EQ(sx::Utf8Prefix(text, 0), "");
}

}  // namespace
