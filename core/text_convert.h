#pragma once
// Text helpers shared by the reader, the settings files and the axis captions: in-place
// replacement, the reading of one data cell, and the split of a column label into group, name
// and unit. Text is UTF-8; limits count characters.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/fixed_text.h"

namespace sx {

// Results of ParseNumericCell.
inline constexpr int kCellNumber = 1;
inline constexpr int kCellNotNumber = 0;
inline constexpr int kCellNotFinite = -1;  // NaN or infinity: the reader treats it as empty

// Replaces, in place, every occurrence of pattern by replacement and returns the number of
// replacements. The text never reaches 10000 characters: a replacement that would make it do so
// is left out, and the rest is kept when it fits. Each search restarts at the start, so
// replacements may meet to form new occurrences; a replacement that contains pattern is not
// searched again (the search goes on behind it).
int ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

// Same on a fixed field: the result is cut to the field's capacity.
template <std::size_t N>
int ReplaceAll(FixedText<N>& field, std::string_view pattern, std::string_view replacement) {
  std::string text(field.view());
  const int n = ReplaceAll(text, pattern, replacement);
  if (n > 0) field.assign(text);
  return n;
}

// Reads one data cell (the text up to its first tab) as the C library's "%f" conversion reads
// it, with the quality-code prefixes "/", "*", "?", "#", ">" and "<". Returns kCellNumber with
// value and flag set, kCellNotNumber (flag set to the prefix code or -1 when the cell is
// non-empty and at most 80 characters, untouched otherwise), or kCellNotFinite for a cell that
// reads as NaN or infinity, a number beyond the float range included (value and flag untouched).
// The rare forms (hexadecimal, "inf", "nan") are read in the "C" locale whatever the process
// locale is.
int ParseNumericCell(std::string_view cell, float& value, std::int32_t& flag);
// The same for a cell already cut at its first tab (the reader's fields).
int ParseNumericField(std::string_view cell, float& value, std::int32_t& flag);
// The same for a field known to hold no comma and no "ø" (nothing to replace).
int ParsePlainNumericField(std::string_view cell, float& value, std::int32_t& flag);
// The common cell straight from a line, without finding its end first: an optional sign, then
// digits with at most one point (seven significant digits, ten decimals at most) up to the next
// tab or `end`. Returns the bytes of the cell, with `value` as ParsePlainNumericField reads it
// (flag 1), or 0 for any other cell, which is then to be read the general way.
std::size_t ReadPlainDecimalField(const char* p, const char* end, float& value);

// Splits a column label into its group text (after the first "@"), its name and its unit (in
// round or square brackets; square brackets win; a bracket with nothing after it is no unit). The
// outputs are emptied first.
void SplitParameterName(std::string_view label, FixedText<80>& group, FixedText<80>& name,
                        FixedText<80>& unit);

}  // namespace sx
