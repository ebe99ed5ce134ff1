#pragma once
// The data lines of a data file: every line's cells into the numeric and text items. The data
// part of a large regular file is read by two threads, each from its own half; when both are
// done the second half's items are moved behind the first half's, so that the tables come out
// exactly as one reader going through the whole file leaves them.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/line_reader.h"

namespace sx {

struct ParameterSettings;

// Reads one raw line and gives it as UTF-8: the raw bytes themselves when they are valid UTF-8,
// else their Windows-1252 decoding in `decoded`. The line ends at its first NUL byte, as every
// text of the format always has.
struct LineSource {
  static constexpr std::uint64_t kNoLongLine = UINT64_MAX;

  LineReader& file;
  std::string& raw;
  std::string& decoded;
  bool sawCp1252 = false;
  // Where the first line too long for a line begins (the file offset of its first byte).
  std::uint64_t longLineStart = kNoLongLine;

  std::int32_t Read(std::string_view& line);
};

// Takes the next tab-separated field off `rest`; `more` turns false once the last field of the
// line was taken (every later field is missing, i.e. empty). `special` tells whether the field
// holds a comma or the first byte of "ø", which the cell reading must replace.
std::string_view NextField(std::string_view& rest, bool& more, bool& special);
std::string_view NextField(std::string_view& rest, bool& more);

struct DataLinesJob {
  std::int32_t lastColumn = 0;  // parameter columns 1..lastColumn
  std::int32_t skipCount = 0;   // leading metadata fields of every line
  std::int32_t maxRows = 0;     // reading stops after this many rows
};

// Reads the data lines from `source`, which stands at the first of them, until the file ends, a
// line longer than a line may be ends it (its start goes to source.longLineStart), or maxRows
// rows were accepted. Expects every column's itemBase set, its header item's row and its
// itemCount zero and no text item yet. Leaves every column's itemCount (column 0: the rows), its
// header item's row (the cells without a value), the values, the text items, XIsDate, XIsTime
// and DateOffset; items past a column's values are never written. Returns false when a read
// failed.
bool ReadDataLines(DataModel& data, LineSource& source, const DataLinesJob& job);

// Data parts of at least this many bytes are read by two threads (default 1 MiB). Tests lower it
// to send small files that way.
void SetTwoThreadMinimum(std::uint64_t bytes);

}  // namespace sx
