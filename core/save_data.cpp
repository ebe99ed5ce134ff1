#include "core/save_data.h"

#include <sys/stat.h>

#include <algorithm>
#include <new>
#include <string_view>

#include "core/atomic_file.h"
#include "core/byte_lines.h"
#include "core/messages.h"
#include "core/utf8.h"

namespace sx {
namespace {

constexpr std::string_view kDescriptionMarker = "/* DATA DESCRIPTION:";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A data set without description gets a block that opens and closes on one line, so that the
// saved file loads again without description lines.
constexpr std::string_view kEmptyDescription = "/* Data Description */";

std::string Quoted(std::string_view path) {
  std::string text = ">";
  text += path;
  text += "<";
  return text;
}

// A line the reader skips before the column-header line: empty, or a tab after leading blanks.
bool IsSkippable(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  return i == line.size() || line[i] == '\t';
}

// Finds where the data lines of a data file begin: just behind its column-header line, found as
// the reader finds it (description blocks and skippable lines before it). lineEnd receives the
// header's line end. False when the reader would find no column-header line.
bool FindDataLines(std::string_view bytes, std::size_t& dataStart, std::string& lineEnd) {
  ByteLines lines(bytes);
  ByteLine line;
  std::string_view text;
  // The reader needs every line up to the header complete and within its line capacity.
  auto next = [&]() {
    if (!lines.Next(line) || line.terminator == '\0' ||
        line.text.size() > static_cast<std::size_t>(kLineCapacity - 1)) {
      return false;
    }
    text = CutAtNul(line.text);
    return true;
  };
  for (;;) {
    if (!next()) return false;
    if (text.find("/*") != std::string_view::npos) {
      if (text == kDescriptionMarker && !next()) return false;
      while (text.find("*/") == std::string_view::npos) {
        if (!next()) return false;
      }
      continue;
    }
    if (!IsSkippable(text)) break;
  }
  dataStart = line.next;
  if (line.terminator == '\r' && dataStart < bytes.size() && bytes[dataStart] == '\n') {
    ++dataStart;
    lineEnd = "\r\n";
  } else {
    lineEnd.assign(1, line.terminator);
  }
  return true;
}

// Appends text as part of one line: line breaks (and, unless keepTabs, tabs) would split it
// differently on reading, so they become blanks; a NUL would end it early and is left out.
void AppendText(std::string& line, std::string_view text, bool keepTabs = false) {
  for (char c : text) {
    if (c == '\0') continue;
    const bool blank = c == '\r' || c == '\n' || (c == '\t' && !keepTabs);
    line.push_back(blank ? ' ' : c);
  }
}

// Puts a blank between the two characters of every occurrence of a two-character marker, so that
// the reader does not take text for the start or the end of a description block.
void BreakMarker(std::string& line, std::string_view marker) {
  std::size_t at = 0;
  while ((at = line.find(marker, at)) != std::string::npos) {
    line.insert(at + 1, 1, ' ');
    at += 2;
  }
}

// Collects the regenerated lines in the source's encoding.
class RegeneratedLines {
 public:
  RegeneratedLines(std::string& out, bool cp1252, std::string_view lineEnd)
      : out_(out), cp1252_(cp1252), lineEnd_(lineEnd) {}

  void Add(const std::string& utf8) {
    // The reader takes any line that is valid UTF-8 as UTF-8, so Windows-1252 bytes that happen
    // to form UTF-8 would read back as other text: such a line stays UTF-8.
    if (cp1252_ && EncodeCp1252(utf8, encoded_) && (encoded_ == utf8 || !IsValidUtf8(encoded_))) {
      out_ += encoded_;
    } else {
      out_ += utf8;
    }
    out_ += lineEnd_;
  }

 private:
  std::string& out_;
  bool cp1252_;
  std::string_view lineEnd_;
  std::string encoded_;
};

void AddDescription(const DataModel& data, RegeneratedLines& lines) {
  const std::int32_t count = std::min(data.DescriptionLineCount, kDescriptionLines);
  if (count <= 0) {
    lines.Add(std::string(kEmptyDescription));
    return;
  }
  std::string line, label, value;
  for (std::int32_t i = 1; i <= count; ++i) {
    const DescriptionLine& d = data.DescriptionTable[static_cast<std::size_t>(i)];
    label.clear();
    value.clear();
    AppendText(label, d.label.view());
    AppendText(value, d.value.view(), true);
    // A "*/" inside the block would end it there and turn the rest into header lines.
    BreakMarker(label, "*/");
    BreakMarker(value, "*/");
    line = i == 1 ? "/* " : "";
    line += label;
    line += '\t';
    line += value;
    lines.Add(line);
  }
  lines.Add("*/");
}

// The counts of the model, kept within the tables whatever they hold.
std::int32_t ParameterCountOf(const DataModel& data) {
  return std::clamp(data.ParameterCount, 0, kMaxParameter);
}
std::int32_t SkippedColumnsOf(const DataModel& data) {
  return std::clamp(data.skippedColumns, 0, kMaxSkippedColumns);
}

// Whether any parameter has a group name of its own. Without one, the first parameter carries
// the event label as its group, which the saved description brings back on loading.
bool HasOwnGroupNames(const DataModel& data) {
  for (std::int32_t p = 2; p <= ParameterCountOf(data); ++p) {
    if (!data.column(p).groupName.empty()) return true;
  }
  const std::string_view first = data.column(1).groupName.view();
  if (first.empty()) return false;
  return data.EventLabel.empty() || first != Utf8Prefix(data.EventLabel.view(), 80);
}

std::string GroupLine(const DataModel& data) {
  // Empty fields under the dropped metadata columns and the X column; the line begins with a tab.
  std::string line(static_cast<std::size_t>(SkippedColumnsOf(data)), '\t');
  for (std::int32_t p = 1; p <= ParameterCountOf(data); ++p) {
    line += '\t';
    const std::string_view group = data.column(p).groupName.view();
    AppendText(line, group);
    // The reader cuts a group field at its last ".": one more keeps the name whole.
    if (group.find('.') != std::string_view::npos) line += '.';
  }
  BreakMarker(line, "/*");
  return line;
}

std::string HeaderLine(const DataModel& data, std::string_view credit) {
  std::string line;
  for (std::int32_t k = 0; k < SkippedColumnsOf(data); ++k) {
    AppendText(line, data.skippedLabels[k].view());
    line += '\t';
  }
  AppendText(line, data.column(0).label.view());
  line += '@';
  // The reader marks a credit taken from a file with a trailing "@" and adds it again on
  // loading: only the text before it is the credit.
  AppendText(line, credit.substr(0, credit.find('@')));
  for (std::int32_t p = 1; p <= ParameterCountOf(data); ++p) {
    line += '\t';
    AppendText(line, data.column(p).label.view());
  }
  BreakMarker(line, "/*");
  return line;
}

Result Save(const DataModel& data, std::string_view credit, const std::string& source,
            const std::string& destination) {
  if (source == destination || IsSameFile(source, destination)) {
    return Result::Failed(kSaveOverSource,
                          "The data cannot be saved over the file they were read from:\n" +
                              Quoted(destination) + "\nPlease choose another name.");
  }
  if (data.ParameterCount < 1) {
    return Result::Failed(kSaveSourceUnreadable, "There is no data to save.");
  }
  // The lines are read a second time: a FIFO or a device would block or give other bytes.
  struct stat st;
  if (::stat(source.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    return Result::Failed(kSaveSourceUnreadable,
                          "Could not save the data: their file\n" + Quoted(source) +
                              "\nis not a regular file and cannot be read again.");
  }
  std::string bytes;
  if (!ReadFileBytes(source, bytes)) {
    return Result::Failed(kSaveSourceUnreadable, FileMessageText(kFileCouldNotOpen, source));
  }
  std::size_t dataStart = 0;
  std::string lineEnd;
  if (!FindDataLines(bytes, dataStart, lineEnd)) {
    return Result::Failed(kSaveSourceUnreadable, "Could not save the data: their file\n" +
                                                     Quoted(source) +
                                                     "\nno longer has a column-header line.");
  }

  std::string error;
  bool written;
  {
    std::string out;
    out.reserve(bytes.size() + 4096);
    if (std::string_view(bytes).substr(0, 3) == kByteOrderMark) out += kByteOrderMark;
    RegeneratedLines lines(out, data.sourceHadCp1252, lineEnd);
    AddDescription(data, lines);
    if (HasOwnGroupNames(data)) lines.Add(GroupLine(data));
    lines.Add(HeaderLine(data, credit));
    const std::string_view tail = std::string_view(bytes).substr(dataStart);
    out += tail;
    if (!tail.empty() && tail.back() != '\r' && tail.back() != '\n') out += lineEnd;
    written = WriteFileAtomically(destination, out, source, &error);
  }
  if (!written) {
    return Result::Failed(kSaveDestinationFailed, "Could not save the data to file:\n" +
                                                      Quoted(destination) + "\n" + error);
  }
  return Result{};
}

}  // namespace

Result SaveDataAs(const DataModel& data, std::string_view credit, const std::string& source,
                  const std::string& destination) {
  // The whole source is held in memory while the new file is made; a file too big for that is
  // reported instead of ending the program.
  try {
    return Save(data, credit, source, destination);
  } catch (const std::bad_alloc&) {
    return Result::Failed(kSaveDestinationFailed,
                          "Not enough memory to save the data to file:\n" + Quoted(destination));
  }
}

}  // namespace sx
