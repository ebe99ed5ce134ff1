#include "core/data_lines.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "core/calendar.h"
#include "core/text_convert.h"
#include "core/utf8.h"

namespace sx {
namespace {

std::atomic<std::uint64_t> twoThreadMinimum{std::uint64_t{1} << 20};

// True when every byte is ASCII and none is NUL; one pass over eight bytes at a time.
bool IsPlainAscii(std::string_view bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  const char* p = bytes.data();
  std::size_t n = bytes.size();
  while (n >= 8) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    if (((w - kOnes) & ~w & kHigh) != 0 || (w & kHigh) != 0) return false;
    p += 8;
    n -= 8;
  }
  for (; n > 0; --n, ++p) {
    if (*p == '\0' || (*p & 0x80) != 0) return false;
  }
  return true;
}

// A cell holding a link to a data set's DOI: what follows its last "." is the data set's number.
bool IsDoiLink(std::string_view field) {
  const bool http = field.substr(0, 7) == "http://" || field.substr(0, 8) == "https://";
  return http && field.find("/10.") != std::string_view::npos;
}

// Where one reader puts a column's values.
struct ColumnCursor {
  std::int64_t next = 0;   // the item the next value goes to
  std::int32_t count = 0;  // values read
  std::int32_t gaps = 0;   // cells without a value: empty, unreadable or text
};

// What the x column holds, decided by the first row and given up by the first later row that
// does not fit it.
struct XKind {
  std::int32_t isDate = 0;
  std::int32_t isTime = 0;
  float dateOffset = 0.0f;
  bool operator==(const XKind&) const = default;
};

struct RunEnd {
  bool capped = false;        // stopped because the row cap was reached
  std::int32_t lastRead = 1;  // what the last line read returned (> 0: more may follow)
};

// One reader's walk over data lines. Row numbers go on from `rows`; rows below 2 decide XKind.
class RowParser {
 public:
  RowParser(DataModel& data, const DataLinesJob& job, std::vector<TextItem>* texts)
      : data_(data), job_(job), texts_(texts) {
    cursors.resize(static_cast<std::size_t>(std::max(job.lastColumn, 0)) + 1);
  }

  // Reads lines until one ends the file (or is too long) or `cap` rows were accepted.
  RunEnd Run(LineSource& source, std::int32_t cap) {
    RunEnd end;
    while (end.lastRead > 0) {
      if (rows >= cap) {
        end.capped = true;
        break;
      }
      std::string_view line;
      end.lastRead = source.Read(line);
      if (Parse(line, rows + 1)) ++rows;
    }
    return end;
  }

  std::vector<ColumnCursor> cursors;  // 1..lastColumn
  XKind kind;
  std::int32_t rows = 0;  // accepted rows: also the number of the last one

 private:
  bool Parse(std::string_view line, std::int32_t row);
  // Takes the x cell off `rest`: false when the line has no x value.
  bool ReadX(std::string_view& rest, bool& more, std::int32_t row, float& value,
             std::int32_t& flag);
  void AddText(std::int32_t column, float position, std::string_view field);
  void Store(ColumnCursor& cursor, float value, std::int32_t flag, std::int32_t row) {
    NumericItem& item = data_.item(cursor.next);
    item.value = value;
    item.flag = flag;
    item.row = row;
    ++cursor.next;
    ++cursor.count;
  }

  DataModel& data_;
  const DataLinesJob& job_;
  std::vector<TextItem>* texts_;  // null: straight into the text table
};

// Takes a plain decimal cell (see ReadPlainDecimalField) off `rest`; false, with `rest` as it
// was, for any other cell.
bool TakePlainDecimal(std::string_view& rest, bool& more, float& value) {
  if (!more) return false;
  const std::size_t used = ReadPlainDecimalField(rest.data(), rest.data() + rest.size(), value);
  if (used == 0) return false;
  if (used == rest.size()) {
    rest = {};
    more = false;
  } else {
    rest.remove_prefix(used + 1);
  }
  return true;
}

bool RowParser::ReadX(std::string_view& rest, bool& more, std::int32_t row, float& value,
                      std::int32_t& flag) {
  bool special;
  const std::string_view first = NextField(rest, more, special);
  if (first.empty()) return false;

  if (row < 2) kind = XKind{};
  double dayNumber = 0.0;
  double fraction = 0.0;
  if (row < 2 || kind.isDate == 1) {
    std::int32_t y = 0, m = 0, d = 0;
    // The parser's result replaces the kind, also for a text too short to be tested.
    kind.isDate = ParseDate(first, y, m, d, kind.isDate);
    if (kind.isDate == 1) {
      dayNumber = JulianDay(y, m, d);
      if (row < 2) kind.dateOffset = static_cast<float>(dayNumber);
    }
  }
  if (row < 2 || kind.isTime == 1) {
    std::int32_t h = 0, mi = 0;
    float s = 0.0f;
    if (ParseTime(first, h, mi, s) == 1) {
      kind.isTime = 1;
      fraction = DayFraction(h, mi, s);
    } else {
      kind.isTime = 0;
    }
  }
  if (kind.isDate == 0 && kind.isTime == 0) {
    const int read = special ? ParseNumericField(first, value, flag)
                             : ParsePlainNumericField(first, value, flag);
    return read == kCellNumber;
  }
  value = static_cast<float>(dayNumber - static_cast<double>(kind.dateOffset) + fraction);
  flag = kFlagValid;
  return true;
}

bool RowParser::Parse(std::string_view line, std::int32_t row) {
  std::string_view rest = line;
  bool more = true;
  for (std::int32_t i = 0; i < job_.skipCount; ++i) NextField(rest, more);
  float xValue = 0.0f;
  std::int32_t xFlag = kFlagValid;
  // Past the first row a plain number needs neither the date nor the time test.
  const bool plainX =
      row >= 2 && kind.isDate == 0 && kind.isTime == 0 && TakePlainDecimal(rest, more, xValue);
  if (!plainX && !ReadX(rest, more, row, xValue, xFlag)) return false;
  NumericItem& x = data_.item(row);
  x.value = xValue;
  x.flag = xFlag;

  for (std::int32_t c = 1; c <= job_.lastColumn; ++c) {
    ColumnCursor& cursor = cursors[static_cast<std::size_t>(c)];
    const bool rgb = data_.column(c).rgbColumn != 0;
    float value = 0.0f;
    // Most cells are plain decimals: read while looking for their end.
    if (!rgb && TakePlainDecimal(rest, more, value)) {
      Store(cursor, value, kFlagValid, row);
      continue;
    }
    bool special;
    const std::string_view field = NextField(rest, more, special);
    if (field.empty()) {
      ++cursor.gaps;
      continue;
    }
    std::int32_t flag = 0;
    int result = kCellNotNumber;
    if (!rgb) {
      result = special ? ParseNumericField(field, value, flag)
                       : ParsePlainNumericField(field, value, flag);
    }
    if (result == kCellNotNumber && IsDoiLink(field)) {
      const std::string_view number = field.substr(field.rfind('.') + 1);
      result = rgb ? kCellNotNumber : ParseNumericCell(number, value, flag);
      if (result != kCellNumber) result = kCellNotFinite;  // no text item for a link
    }
    if (result == kCellNumber) {
      Store(cursor, value, flag, row);
      continue;
    }
    ++cursor.gaps;
    // NaN or infinity would poison every range: the cell counts as empty.
    if (result == kCellNotNumber) AddText(c, xValue, field);
  }
  return true;
}

void RowParser::AddText(std::int32_t column, float position, std::string_view field) {
  TextItem* t = nullptr;
  if (texts_ != nullptr) {
    if (texts_->size() >= static_cast<std::size_t>(std::max(data_.MaxTextItems, 0))) return;
    t = &texts_->emplace_back();
  } else {
    if (data_.TextItemCount >= data_.MaxTextItems) return;
    ++data_.TextItemCount;
    t = &data_.TextItemTable[static_cast<std::size_t>(data_.TextItemCount)];
  }
  t->column = column;
  t->position = position;
  t->text.assign(field);
}

// Moves `count` items from `from` down to `to` (to <= from), taking `rowShift` off their rows,
// and zeroes what they leave behind.
void MoveItems(DataModel& data, std::int64_t from, std::int64_t to, std::int64_t count,
               std::int32_t rowShift) {
  if (count <= 0) return;
  NumericItem* items = data.NumericItemTable.data();
  if (to != from) {
    for (std::int64_t i = 0; i < count; ++i) items[to + i] = items[from + i];
    const std::int64_t clearFrom = std::max(to + count, from);
    std::memset(static_cast<void*>(items + clearFrom), 0,
                static_cast<std::size_t>(from + count - clearFrom) * sizeof(NumericItem));
  }
  if (rowShift != 0) {
    for (std::int64_t i = 0; i < count; ++i) items[to + i].row -= rowShift;
  }
}

void ClearItems(DataModel& data, std::int64_t from, std::int64_t count) {
  if (count <= 0) return;
  std::memset(static_cast<void*>(data.NumericItemTable.data() + from), 0,
              static_cast<std::size_t>(count) * sizeof(NumericItem));
}

// The second half of the data part, read by its own thread into items placed `lead` rows behind
// the first reader's: the first half has at most `lead` lines, so the two never write the same
// item. Its rows are numbered as if the first half had exactly `lead` rows.
struct SecondHalf {
  SecondHalf(DataModel& data, const DataLinesJob& job, const RowParser& first, std::int32_t lead)
      : parser(data, job, &texts), startRows(first.rows + lead) {
    parser.kind = first.kind;
    parser.rows = startRows;
    for (std::size_t c = 1; c < parser.cursors.size(); ++c) {
      parser.cursors[c].next = first.cursors[c].next + lead;
    }
  }

  std::int32_t rowsRead() const { return parser.rows - startRows; }

  // Forgets what it read: its items go back to zero.
  void Discard(DataModel& data) {
    ClearItems(data, std::int64_t{startRows} + 1, rowsRead());
    for (const ColumnCursor& c : parser.cursors) ClearItems(data, c.next - c.count, c.count);
  }

  // Moves its items right behind those of `first`, which stopped at the split, and adds its
  // counts, rows and text items to it.
  void JoinTo(DataModel& data, RowParser& first) {
    const std::int32_t shift = startRows - first.rows;
    MoveItems(data, std::int64_t{startRows} + 1, std::int64_t{first.rows} + 1, rowsRead(), 0);
    for (std::size_t c = 1; c < parser.cursors.size(); ++c) {
      const ColumnCursor& mine = parser.cursors[c];
      ColumnCursor& theirs = first.cursors[c];
      MoveItems(data, mine.next - mine.count, theirs.next, mine.count, shift);
      theirs.next += mine.count;
      theirs.count += mine.count;
      theirs.gaps += mine.gaps;
    }
    first.rows += rowsRead();
    first.kind = parser.kind;
    for (const TextItem& t : texts) {
      if (data.TextItemCount >= data.MaxTextItems) break;
      ++data.TextItemCount;
      data.TextItemTable[static_cast<std::size_t>(data.TextItemCount)] = t;
    }
  }

  std::vector<TextItem> texts;
  RowParser parser;
  const std::int32_t startRows;
  XKind startKind;
  RunEnd end;
  bool failed = false;
};

// Reads the rest of the data part with two threads when it is worth it. Returns false when it
// was not tried (the caller reads on); else the first reader has read everything it should and
// `readOk` tells whether every read succeeded.
bool ReadInTwoHalves(DataModel& data, LineSource& source, const DataLinesJob& job, RowParser& first,
                     bool& readOk) {
  LineReader& file = source.file;
  const std::uint64_t begin = file.offset();
  const std::uint64_t size = file.fileSize();
  if (!file.isRegular() || size <= begin || size - begin < twoThreadMinimum.load()) return false;
  const std::uint64_t split = file.NextLineStart(begin + (size - begin) / 2);
  if (split <= begin || split >= size) return false;
  const std::uint64_t lineEnds = file.CountLineEnds(begin, split);
  const std::int64_t room = std::int64_t{job.maxRows} - first.rows;
  if (lineEnds == 0 || room <= 0 || lineEnds >= static_cast<std::uint64_t>(room)) return false;
  const auto lead = static_cast<std::int32_t>(lineEnds);

  SecondHalf second(data, job, first, lead);
  second.startKind = first.kind;
  LineReader secondFile;
  if (!secondFile.OpenShared(file, split)) return false;
  std::string raw, decoded;
  LineSource secondSource{secondFile, raw, decoded};
  std::thread worker;
  try {
    worker = std::thread([&] {
      try {
        second.end = second.parser.Run(secondSource, job.maxRows);
      } catch (...) {  // out of memory for a line or a text item: one reader does it again
        second.failed = true;
      }
    });
  } catch (const std::system_error&) {
    return false;  // no thread to be had: one reader does it all
  }
  // Should the first reader throw, the second is waited for before the tables go.
  struct JoinOnExit {
    std::thread& thread;
    ~JoinOnExit() {
      if (thread.joinable()) thread.join();
    }
  } joinOnExit{worker};
  file.SetLimit(split);
  const RunEnd end = first.Run(source, second.startRows);
  file.SetLimit(UINT64_MAX);
  worker.join();

  if (file.readError()) {
    second.Discard(data);
    readOk = false;
    return true;
  }
  // One reader would go on behind the first half only if that half ended at the split without
  // a line too long for a line; the cap set for the first reader is never the real one.
  const bool atSplit = file.offset() == split;
  if (!end.capped && !(atSplit && end.lastRead == -1)) {
    second.Discard(data);  // the file ended early, or a line too long ended it
    readOk = true;
    return true;
  }
  // The second half assumed the x column's kind at the split and a row cap that holds only if
  // the first half filled all its lines.
  const bool capFits = !second.end.capped || first.rows == second.startRows;
  if (atSplit && !second.failed && second.startKind == first.kind && capFits) {
    if (secondFile.readError()) {  // one reader would have failed at the same place
      second.Discard(data);
      readOk = false;
      return true;
    }
    second.JoinTo(data, first);
    source.sawCp1252 = source.sawCp1252 || secondSource.sawCp1252;
    source.longLineStart = secondSource.longLineStart;
    readOk = true;
    return true;
  }
  // Otherwise one reader reads on from where the first one stopped.
  second.Discard(data);
  LineReader again;
  std::string againRaw, againDecoded;
  LineSource againSource{again, againRaw, againDecoded};
  if (!again.OpenShared(file, file.offset())) {
    readOk = false;
    return true;
  }
  first.Run(againSource, job.maxRows);
  source.sawCp1252 = source.sawCp1252 || againSource.sawCp1252;
  source.longLineStart = againSource.longLineStart;
  readOk = !again.readError();
  return true;
}

}  // namespace

std::int32_t LineSource::Read(std::string_view& line) {
  std::string_view bytes;
  const std::int32_t r = file.ReadLine(bytes, raw, kLineCapacity);
  // An over-long line gives its first kLineCapacity bytes and stops there.
  if (r == -kLineCapacity && longLineStart == kNoLongLine) {
    longLineStart = file.offset() - static_cast<std::uint64_t>(kLineCapacity);
  }
  if (IsPlainAscii(bytes)) {  // the common case: nothing to cut, nothing to decode
    line = bytes;
    return r;
  }
  if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
    bytes = bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
  }
  if (IsValidUtf8(bytes)) {
    line = bytes;
  } else {
    decoded.clear();
    AppendCp1252AsUtf8(bytes, decoded);
    line = decoded;
    sawCp1252 = true;
  }
  return r;
}

std::string_view NextField(std::string_view& rest, bool& more, bool& special) {
  special = false;
  if (!more) return {};
  // Cells are short: a plain loop beats a library call per cell.
  const char* p = rest.data();
  const std::size_t n = rest.size();
  std::size_t i = 0;
  for (; i < n; ++i) {
    const char c = p[i];
    if (c == '\t') break;
    special |= c == ',' || c == '\xC3';
  }
  const std::string_view field(p, i);
  if (i == n) {
    rest = {};
    more = false;
  } else {
    rest = std::string_view(p + i + 1, n - i - 1);
  }
  return field;
}

std::string_view NextField(std::string_view& rest, bool& more) {
  bool special;
  return NextField(rest, more, special);
}

bool ReadDataLines(DataModel& data, LineSource& source, const DataLinesJob& job) {
  RowParser first(data, job, nullptr);
  first.kind = XKind{data.XIsDate, data.XIsTime, data.DateOffset};
  for (std::int32_t c = 1; c <= job.lastColumn; ++c) {
    first.cursors[static_cast<std::size_t>(c)].next = std::int64_t{data.column(c).itemBase} + 1;
  }

  // The first row decides what the x column holds, so a second reader can only start behind it.
  RunEnd end = first.Run(source, std::min(job.maxRows, 1));
  bool readOk = true;
  const bool more = end.capped && end.lastRead > 0;
  if (!more || !ReadInTwoHalves(data, source, job, first, readOk)) {
    if (more) first.Run(source, job.maxRows);
    readOk = !source.file.readError();
  }

  data.column(0).itemCount = first.rows;
  for (std::int32_t c = 1; c <= job.lastColumn; ++c) {
    ColumnRecord& column = data.column(c);
    const ColumnCursor& cursor = first.cursors[static_cast<std::size_t>(c)];
    column.itemCount = cursor.count;
    data.item(column.itemBase).row = cursor.gaps;
  }
  data.XIsDate = first.kind.isDate;
  data.XIsTime = first.kind.isTime;
  data.DateOffset = first.kind.dateOffset;
  return readOk;
}

void SetTwoThreadMinimum(std::uint64_t bytes) {
  twoThreadMinimum.store(bytes);
}

}  // namespace sx
