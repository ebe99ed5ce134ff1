#pragma once
// Named monochrome fill patterns for the lithology style, kept in a user-editable text file.
//
// File format (lines end with CR LF when written; CR, LF and CR LF are accepted on reading):
//   a header line, ignored;
//   per pattern a head line "width<TAB>height<TAB>name" (blanks are removed from it), followed by
//   `height` row lines "<TAB><TAB>row", one character per pixel: "." background, "*" ink.
// Empty lines are ignored wherever they stand, so a file reads the same whatever its line ends.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/fixed_text.h"
#include "core/table.h"

namespace sx {

inline constexpr std::int32_t kPatternRecords = 257;
// Record 0 is never used, so at most 255 patterns are read.
inline constexpr std::int32_t kMaxPatterns = 255;
inline constexpr std::int32_t kMaxPatternSize = 16;
inline constexpr std::string_view kPatternFileName = "SondrixBitmaps.ini";

struct Pattern {
  // After loading, width and height are always 1..16: patterns of other sizes are refused.
  std::int32_t width;
  std::int32_t height;
  FixedText<80> name;  // lookup key, compared exactly (case-sensitive)
  // Two bytes per row, rows from the top, the word-aligned layout of a monochrome bitmap: byte
  // 2r holds pixels 0..7 of row r, byte 2r+1 pixels 8..15, the most significant bit leftmost.
  // Bit 1 is background, bit 0 ink. Pixels the file does not give are background.
  std::uint8_t bits[32];
};

struct PatternTable {
  Table<Pattern> records;  // kPatternRecords records, allocated by Allocate()
  std::int32_t PatternCount = 0;

  bool Allocate() { return records.Allocate(kPatternRecords); }
};

// Fills the table from the pattern file at path.
// Returns
//    0  the file existed; the patterns it holds up to the first faulty one are in the table (none
//       when it could not be opened, or the path is empty: an existing file is never
//       overwritten);
//   -1  the file did not exist; the built-in set was written to it but nothing was read yet, so
//       the caller loads once more to read it;
//   -2  the file did not exist and could not be written; the table is empty;
//   -3  the table is not allocated; nothing was done.
// Reading stops silently at the first pattern with a head line that has no width or height, a
// size outside 1..16, or at a line longer than 9999 bytes. A pattern whose rows end early (end of
// file, or a row line with fewer than two tabs) is kept with its missing rows as background, and
// reading stops there.
int LoadPatterns(PatternTable& table, const std::string& path);

// Index 1..PatternCount of the first pattern whose name equals name exactly, else 0.
std::int32_t FindPattern(const PatternTable& table, std::string_view name);

// One pattern of the built-in set: 8 x 8 pixels, one byte per row (the second byte of each
// stored row is 0xFF).
struct BuiltinPattern {
  const char* name;
  std::uint8_t rows[8];
};

// The 81 built-in patterns in file order.
std::span<const BuiltinPattern> BuiltinPatterns();

// The exact bytes written for the built-in set.
std::string BuiltinPatternFileText();

}  // namespace sx
