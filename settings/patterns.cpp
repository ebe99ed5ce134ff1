#include "settings/patterns.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "core/atomic_file.h"
#include "core/line_reader.h"
#include "core/scan.h"
#include "core/utf8.h"

namespace sx {
namespace {

constexpr std::int32_t kLineCapacity = 10000;
// Width and height are read from at most this many characters each.
constexpr std::size_t kSizeCharacters = 8;

enum class LineStatus { kLine, kEnd, kTooLong };

// Reads the next non-empty line as UTF-8. Empty lines are skipped because the line reader
// already drops them in files with bare line feeds; skipping them everywhere makes a file read
// the same whatever its line ends. A last line without a line end is a line like any other. A
// line too long for the buffer would be read again as the next line from its middle, so it ends
// the reading instead.
LineStatus NextLine(LineReader& reader, std::string& raw, std::string& line) {
  for (;;) {
    const std::int32_t n = reader.ReadLine(raw, kLineCapacity);
    if (raw.size() >= static_cast<std::size_t>(kLineCapacity)) return LineStatus::kTooLong;
    if (!raw.empty()) {
      DecodeLine(raw, line);
      return LineStatus::kLine;
    }
    if (n < 0) return LineStatus::kEnd;
  }
}

// The "%d" reading of a size field: leading white space, an optional sign, then decimal digits,
// taken from the field's first 8 characters only. No digit means no number.
std::optional<std::int32_t> ReadSize(std::string_view field) {
  std::int32_t value = 0;
  if (!ScanInt32(Utf8Prefix(field, kSizeCharacters), value)) return std::nullopt;
  return value;
}

// One byte of a row from up to 8 pixel characters, the leftmost in the most significant bit:
// "." or "1" is background (bit 1), "*" or "0" ink (bit 0). The row ends at the first other
// character; pixels not given stay background.
std::uint8_t RowByte(std::string_view pixels) {
  unsigned value = 0xFF;
  for (std::size_t i = 0; i < pixels.size() && i < 8; ++i) {
    const char c = pixels[i];
    if (c == '*' || c == '0') {
      value &= ~(0x80u >> i);
    } else if (c != '.' && c != '1') {
      break;
    }
  }
  return static_cast<std::uint8_t>(value);
}

// Reads the head line into record; false when it is not a usable pattern head.
bool ReadHead(std::string& line, Pattern& record) {
  std::erase(line, ' ');
  const std::string_view text = line;
  const std::size_t tab1 = text.find('\t');
  if (tab1 == std::string_view::npos) return false;
  const std::size_t tab2 = text.find('\t', tab1 + 1);
  if (tab2 == std::string_view::npos) return false;
  const std::optional<std::int32_t> width = ReadSize(text.substr(0, tab1));
  const std::optional<std::int32_t> height = ReadSize(text.substr(tab1 + 1, tab2 - tab1 - 1));
  // Larger patterns would not fit the record, and a pattern without a pixel cannot tile.
  if (!width || !height || *width < 1 || *width > kMaxPatternSize || *height < 1 ||
      *height > kMaxPatternSize) {
    return false;
  }
  record.width = *width;
  record.height = *height;
  record.name.assign(text.substr(tab2 + 1));
  std::memset(record.bits, 0xFF, sizeof record.bits);
  return true;
}

// Stores row r from a row line "<TAB><TAB>pixels[<TAB>...]"; false when the line has fewer
// than two tabs. Characters beyond the 16th pixel are ignored.
bool ReadRow(std::string_view line, std::int32_t r, Pattern& record) {
  const std::size_t tab1 = line.find('\t');
  if (tab1 == std::string_view::npos) return false;
  const std::size_t tab2 = line.find('\t', tab1 + 1);
  if (tab2 == std::string_view::npos) return false;
  std::string_view row = line.substr(tab2 + 1);
  row = row.substr(0, row.find('\t'));
  const std::size_t first = Utf8PrefixBytes(row, 8);
  record.bits[2 * r] = RowByte(row.substr(0, first));
  if (first < row.size()) record.bits[2 * r + 1] = RowByte(row.substr(first));
  return true;
}

bool FileIsMissing(const std::string& path) {
  if (path.empty()) return false;  // no settings folder: nowhere to read or write
  struct stat st;
  return ::lstat(path.c_str(), &st) != 0 && errno == ENOENT;
}

}  // namespace

int LoadPatterns(PatternTable& table, const std::string& path) {
  table.PatternCount = 0;
  if (table.records.size() < static_cast<std::size_t>(kPatternRecords)) return -3;

  LineReader reader;
  if (!reader.OpenRegular(path)) {
    // Only a file that is not there is replaced by the built-in set: one that exists but cannot
    // be read may hold the user's own patterns.
    if (!FileIsMissing(path)) return 0;
    // Patterns load at start-up, before any data file is open.
    return WriteFileAtomically(path, BuiltinPatternFileText(), std::string()) ? -1 : -2;
  }

  std::string raw;
  std::string line;
  raw.reserve(kLineCapacity);
  line.reserve(kLineCapacity);
  if (NextLine(reader, raw, line) != LineStatus::kLine) return 0;  // the ignored header line

  for (std::int32_t k = 1; k <= kMaxPatterns; ++k) {
    if (NextLine(reader, raw, line) != LineStatus::kLine) break;
    Pattern& record = table.records[static_cast<std::size_t>(k)];
    if (!ReadHead(line, record)) break;
    table.PatternCount = k;
    bool complete = true;
    for (std::int32_t r = 0; r < record.height; ++r) {
      if (NextLine(reader, raw, line) != LineStatus::kLine || !ReadRow(line, r, record)) {
        complete = false;
        break;
      }
    }
    if (!complete) break;
  }
  return 0;
}

std::int32_t FindPattern(const PatternTable& table, std::string_view name) {
  const std::int64_t last = std::min<std::int64_t>(
      table.PatternCount, static_cast<std::int64_t>(table.records.size()) - 1);
  for (std::int32_t k = 1; k <= last; ++k) {
    if (table.records[static_cast<std::size_t>(k)].name == name) return k;
  }
  return 0;
}

}  // namespace sx
