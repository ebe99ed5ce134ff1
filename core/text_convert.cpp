#include "core/text_convert.h"

#include "core/scan.h"

#include <fast_float/fast_float.h>
#include <locale.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "core/utf8.h"

namespace sx {
namespace {

// Texts never reach this many characters.
constexpr std::size_t kTextLimit = 10000;

// Cells longer than this many characters are never numbers.
constexpr std::size_t kCellLimit = 80;

// Bytes of a cell that can matter to the number: white space, sign, prefix and the number are
// ASCII, one byte per character, so they end within the first kCellLimit + 1 bytes of a cell of at
// most kCellLimit characters. The copy keeps comfortably more.
constexpr std::size_t kCopyBytes = 128;

constexpr std::string_view kOSlash = "\xC3\xB8";  // U+00F8, read as a blank

}  // namespace

int ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
  const std::size_t m = pattern.size();
  if (m == 0) return 0;
  const std::size_t r = replacement.size();
  const std::size_t replacementChars = Utf8Length(replacement);
  // A replacement that holds the pattern would be found again by a search that restarts at the
  // start; for such a caller the search resumes behind what was inserted instead.
  const bool selfContaining = replacement.find(pattern) != std::string_view::npos;
  // Cycles of rewrites that neither grow nor shrink the text are conceivable; no caller comes
  // near this many rounds, and the bound makes the loop end on any input.
  const std::size_t maxRounds = 2 * kTextLimit + text.size();

  int count = 0;
  std::size_t from = 0;
  for (std::size_t round = 0; round < maxRounds; ++round) {
    // Each search is equivalent to one from the start: no occurrence begins before 'from'.
    const std::size_t pos = text.find(pattern.data(), from, m);
    if (pos == std::string::npos) break;
    ++count;
    std::size_t inserted = r;
    if (text.size() - m + r < kTextLimit) {
      // Fewer bytes than the limit means fewer characters too.
      text.replace(pos, m, replacement);
    } else {
      const std::size_t prefixChars = Utf8Length(std::string_view(text).substr(0, pos));
      const std::size_t tailChars = Utf8Length(std::string_view(text).substr(pos + m));
      const bool withReplacement = prefixChars + replacementChars < kTextLimit;
      if (!withReplacement) inserted = 0;
      const std::size_t chars = prefixChars + (withReplacement ? replacementChars : 0);
      const std::string_view kept = withReplacement ? replacement : std::string_view();
      if (chars + tailChars < kTextLimit) {
        text.replace(pos, m, kept);
      } else {
        text.resize(pos);
        text.append(kept);
      }
    }
    // The text before pos is unchanged and held no occurrence, so the next one cannot begin
    // before pos - (m - 1).
    if (selfContaining) {
      from = pos + inserted;
    } else {
      from = pos >= m - 1 ? pos - (m - 1) : 0;
    }
  }
  return count;
}

namespace {

// Results of ReadFloat.
constexpr int kReadNumber = 1;
constexpr int kReadNothing = 0;
constexpr int kReadNotFinite = -1;

// The cell most files are made of: digits with at most one point and nothing else, seven
// significant digits or fewer, at most ten of them after the point. Its value is the whole
// number over a power of ten, both exact in a float, and one float division rounds that quotient
// correctly: the same float the general reader gives, at a fraction of the cost. Reads up to
// `end` or the first tab; returns where it stopped, or null when anything else comes first.
const char* ScanShortDecimal(const char* p, const char* end, float& out) {
  static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                      1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  std::uint32_t whole = 0;
  int decimals = 0;
  bool point = false;
  for (; p < end && *p != '\t'; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
    if (digit < 10) {
      whole = whole * 10 + digit;
      if (whole > 9999999) return nullptr;  // an eighth significant digit
      if (point && ++decimals > 10) return nullptr;
    } else if (*p == '.' && !point) {
      point = true;
    } else {
      return nullptr;
    }
  }
  out = static_cast<float>(whole) / kPowers[decimals];
  return p;
}

bool ReadShortDecimal(const char* p, const char* end, float& out) {
  return ScanShortDecimal(p, end, out) == end;
}

// Copies at most kCopyBytes of [p, end) with a terminating NUL; returns the bytes copied.
std::size_t CopyTerminated(const char* p, const char* end, char (&buffer)[kCopyBytes + 1]) {
  const std::size_t n = std::min(static_cast<std::size_t>(end - p), kCopyBytes);
  std::memcpy(buffer, p, n);
  buffer[n] = '\0';
  return n;
}

// The rare forms (hexadecimal floats, "inf", "nan") go to the C library, in the "C" locale
// whatever the process locale is, so that the decimal point is always a point.
int ScanFloatInCLocale(const char* text, float& out) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const locale_t previous = cLocale ? uselocale(cLocale) : static_cast<locale_t>(nullptr);
  const int n = std::sscanf(text, "%f", &out);
  if (cLocale) uselocale(previous);
  return n;
}

// Reads a float from the start of [p, end) as the "%f" conversion reads it: leading white space,
// an optional sign, a decimal number (or a hexadecimal one, "inf", "infinity", "nan"); trailing
// characters are ignored.
int ReadFloat(const char* p, const char* end, float& out) {
  const char* q = p;
  while (q < end && IsCSpace(*q)) ++q;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = *q == '-';
    ++q;
  }
  if (q == end) return kReadNothing;
  const char c = *q;
  const bool hexPrefix = c == '0' && q + 1 < end && (q[1] == 'x' || q[1] == 'X');
  const bool decimal = (IsDigit(c) && !hexPrefix) || (c == '.' && q + 1 < end && IsDigit(q[1]));
  if (decimal) {
    float f = 0.0f;
    if (ReadShortDecimal(q, end, f)) {
      out = negative ? -f : f;
      return kReadNumber;
    }
    const fast_float::from_chars_result result = fast_float::from_chars(q, end, f);
    if (result.ec != std::errc()) return kReadNothing;
    if (!std::isfinite(f)) return kReadNotFinite;
    out = negative ? -f : f;
    return kReadNumber;
  }
  if (!hexPrefix && c != 'i' && c != 'I' && c != 'n' && c != 'N') return kReadNothing;
  char buffer[kCopyBytes + 1];
  CopyTerminated(p, end, buffer);
  float f = 0.0f;
  if (ScanFloatInCLocale(buffer, f) != 1) return kReadNothing;
  if (!std::isfinite(f)) return kReadNotFinite;
  out = f;
  return kReadNumber;
}

std::int32_t FlagOfPrefix(char c) {
  switch (c) {
    case '/':
      return 2;
    case '*':
      return 3;
    case '?':
      return 4;
    case '#':
      return 5;
    case '>':
      return 6;
    case '<':
      return 7;
    default:
      return 0;
  }
}

// Reads a cell whose comma and "ø" are already replaced: the number, else a flag prefix.
int ParseCleanCell(const char* p, const char* end, float& value, std::int32_t& flag);

}  // namespace

int ParseNumericCell(std::string_view cell, float& value, std::int32_t& flag) {
  if (const void* tab = std::memchr(cell.data(), '\t', cell.size())) {
    cell = cell.substr(0, static_cast<std::size_t>(static_cast<const char*>(tab) - cell.data()));
  }
  return ParseNumericField(cell, value, flag);
}

int ParseNumericField(std::string_view cell, float& value, std::int32_t& flag) {
  if (cell.empty()) return kCellNotNumber;
  if (cell.size() > kCellLimit && Utf8Length(cell) > kCellLimit) return kCellNotNumber;

  // A decimal comma reads as a point and the first "ø" as a blank; only cells that hold one are
  // copied. One pass looks for both (0xC3 is the first byte of "ø").
  bool special = false;
  for (const char ch : cell) {
    if (ch == ',' || ch == '\xC3') {
      special = true;
      break;
    }
  }
  char copy[kCopyBytes + 1];
  const char* p = cell.data();
  const char* end = p + cell.size();
  const std::size_t comma = special ? cell.find(',') : std::string_view::npos;
  const std::size_t oSlash = special ? cell.find(kOSlash) : std::string_view::npos;
  if (comma != std::string_view::npos || oSlash != std::string_view::npos) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < cell.size() && n < kCopyBytes; ++i) {
      if (i == oSlash) {
        copy[n++] = ' ';
        ++i;  // the second byte of the character
      } else {
        copy[n++] = i == comma ? '.' : cell[i];
      }
    }
    copy[n] = '\0';
    p = copy;
    end = copy + n;
  }

  return ParseCleanCell(p, end, value, flag);
}

int ParsePlainNumericField(std::string_view cell, float& value, std::int32_t& flag) {
  if (cell.empty()) return kCellNotNumber;
  if (cell.size() > kCellLimit && Utf8Length(cell) > kCellLimit) return kCellNotNumber;
  return ParseCleanCell(cell.data(), cell.data() + cell.size(), value, flag);
}

std::size_t ReadPlainDecimalField(const char* p, const char* end, float& value) {
  const char* q = p;
  const bool negative = q < end && *q == '-';
  if (q < end && (*q == '-' || *q == '+')) ++q;
  if (q == end || !(IsDigit(*q) || (*q == '.' && q + 1 < end && IsDigit(q[1])))) return 0;
  float f = 0.0f;
  const char* stop = ScanShortDecimal(q, end, f);
  if (stop == nullptr) return 0;
  const auto used = static_cast<std::size_t>(stop - p);
  if (used > kCellLimit) return 0;
  value = negative ? -f : f;
  return used;
}

namespace {

int ParseCleanCell(const char* p, const char* end, float& value, std::int32_t& flag) {
  float f = 0.0f;
  int read = ReadFloat(p, end, f);
  if (read == kReadNotFinite) return kCellNotFinite;
  if (read == kReadNumber) {
    value = f;
    flag = 1;
    return kCellNumber;
  }
  const std::int32_t code = FlagOfPrefix(*p);
  if (code == 0) {
    flag = -1;
    return kCellNotNumber;
  }
  read = ReadFloat(p + 1, end, f);
  if (read == kReadNotFinite) return kCellNotFinite;
  flag = code;
  if (read != kReadNumber) return kCellNotNumber;
  value = f;
  return kCellNumber;
}

}  // namespace

void SplitParameterName(std::string_view label, FixedText<80>& group, FixedText<80>& name,
                        FixedText<80>& unit) {
  group.clear();
  name.clear();
  unit.clear();
  std::string_view copy = label;
  if (const std::size_t at = copy.find('@'); at != std::string_view::npos) {
    group.assign(copy.substr(at + 1));
    copy = copy.substr(0, at);
  }
  // The unit runs from the bracket to the end; its length counts the blank before it.
  std::size_t unitLength = 0;
  if (const std::size_t blank = copy.find(" ("); blank != std::string_view::npos) {
    unit.assign(copy.substr(blank + 1));
    unitLength = copy.size() - blank;
  }
  if (const std::size_t blank = copy.find(" ["); blank != std::string_view::npos) {
    unit.assign(copy.substr(blank + 1));
    unitLength = copy.size() - blank;
  }
  if (unitLength < 3) {
    // A bracket with nothing after it is no unit: the label keeps it in its name.
    name.assign(copy);
    unit.clear();
  } else {
    name.assign(copy.substr(0, copy.size() - unitLength));
  }
}

}  // namespace sx
