#pragma once
// Character-level helpers over UTF-8 text, and the decoding of raw file lines: a line that is
// valid UTF-8 stays as it is, any other line is read as Windows-1252.

#include <cstddef>
#include <string>
#include <string_view>

namespace sx {

// Number of characters (code points) in UTF-8 text. Bytes of a broken sequence count as
// characters of their own, so the result is defined for any input.
inline std::size_t Utf8Length(std::string_view text) {
  std::size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

// Byte length of the longest prefix of text holding at most maxChars characters, ending on a
// character boundary.
inline std::size_t Utf8PrefixBytes(std::string_view text, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) != 0x80) {
      if (chars == maxChars) return i;
      ++chars;
    }
  }
  return text.size();
}

inline std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars) {
  return text.substr(0, Utf8PrefixBytes(text, maxChars));
}

// True when bytes form well-formed UTF-8 (no overlongs, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Appends the UTF-8 form of Windows-1252 bytes to out. The five bytes that code page leaves
// undefined map to the C1 controls of the same value, so every byte keeps a character.
void AppendCp1252AsUtf8(std::string_view bytes, std::string& out);

// Decodes one raw line into out (replacing its content): UTF-8 when valid, else Windows-1252.
// Returns true when the line was read as Windows-1252.
bool DecodeLine(std::string_view bytes, std::string& out);

// Encodes UTF-8 text as Windows-1252 when every character has a byte there; returns false
// (out unspecified) otherwise.
bool EncodeCp1252(std::string_view utf8, std::string& out);

}  // namespace sx
