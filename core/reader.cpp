#include "core/reader.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "core/calendar.h"
#include "core/data_lines.h"
#include "core/description_file.h"
#include "core/line_reader.h"
#include "core/messages.h"
#include "core/text_convert.h"
#include "core/utf8.h"

namespace sx {
namespace {

constexpr std::string_view kDescriptionMarker = "/* DATA DESCRIPTION:";

// Reads a description block whose opening line is `line`. A later block appends its lines after
// those already kept (1000 in all), so a one-line comment before the header loses nothing.
// Returns false when the file ends inside the block.
bool ReadDescriptionBlock(DataModel& data, LineSource& source, std::string_view line) {
  std::int32_t r = 1;
  if (line == kDescriptionMarker) {
    r = source.Read(line);
    if (r < 0) return false;
  }
  const int start = data.DescriptionLineCount;  // lines kept from earlier blocks
  int count = 0;
  if (line.find("*/") == std::string_view::npos) {
    for (;;) {
      ++count;
      if (count > 1) {
        r = source.Read(line);
        if (r < 0) return false;
      }
      const int index = start + count;
      if (index <= kDescriptionLines) {
        DescriptionLine& d = data.DescriptionTable[static_cast<std::size_t>(index)];
        d.label.clear();
        d.value.clear();
        StoreDescriptionLine(d, line);
      }
      if (line.find("*/") != std::string_view::npos) break;
    }
  }
  int total = start + count;
  if (total > kDescriptionLines) total = kDescriptionLines;
  if (count > 0 && start < kDescriptionLines)
    total = TrimDescriptionMarkers(data, start + 1, total);
  data.DescriptionLineCount = total;
  return true;
}

void SetEventLabel(DataModel& data) {
  data.EventLabel.clear();
  for (int i = 1; i <= kDescriptionLines; ++i) {
    const DescriptionLine& d = data.DescriptionTable[static_cast<std::size_t>(i)];
    if (d.label == "Event:") {
      std::string_view v = d.value.view();
      const std::size_t cut = v.find(" *");
      if (cut != std::string_view::npos) v = v.substr(0, cut);
      data.EventLabel.assign(v);
    }
  }
}

void CutAtFirst(FixedText<80>& text, std::string_view what) {
  const std::size_t at = text.view().find(what);
  if (at != std::string_view::npos) text.truncate(at);
}

// Cuts a credit after "@" off the X column's name and keeps it for the plot's title and credit.
void CutHeaderCredit(DataModel& data) {
  FixedText<80>& label0 = data.column(0).label;
  const std::size_t at = label0.view().find('@');
  data.HasHeaderCredit = at != std::string_view::npos;
  data.HeaderCredit.clear();
  if (!data.HasHeaderCredit) return;
  data.HeaderCredit.assign(label0.view().substr(at + 1));
  label0.truncate(at);
}

void CleanLabelsAndMarkColorColumns(DataModel& data, std::int32_t n) {
  for (int c = 0; c <= n; ++c) {
    FixedText<80>& label = data.column(c).label;
    ReplaceAll(label, "\u00A1", "\u00B0");
    ReplaceAll(label, "deg ", "\u00B0");
    ReplaceAll(label, "%o", "\u2030");
    ReplaceAll(label, "per mil", "\u2030");
    ReplaceAll(label, "Origin of Values", "MERIDAT Dataset ID");
    std::string plain(label.view());
    std::size_t out = 0;
    for (char ch : plain) {
      if (ch != '/') plain[out++] = ch;
    }
    plain.resize(out);
    data.column(c).rgbColumn = plain.find("RGB") != std::string::npos ? 1 : 0;
  }
}

Result Fail(LineReader& file, std::int32_t code) {
  file.Close();
  return Result::Failed(code);
}

}  // namespace

bool IsSkippableLine(std::string& line) {
  std::size_t spaces = 0;
  while (spaces < line.size() && line[spaces] == ' ') ++spaces;
  line.erase(0, spaces);
  line.push_back('\t');
  return line.front() == '\t';
}

std::int32_t CountTabs(std::string_view line) {
  std::int32_t n = 0;
  for (char c : line) n += c == '\t';
  return n;
}

std::int32_t ParseHeaderLine(DataModel& data, std::int32_t lastColumn, std::string& line) {
  line.push_back('\t');
  std::string_view rest = line;
  bool more = true;
  const std::string_view first = NextField(rest, more);
  data.column(0).label.assign(first);
  const bool groupLine = first.empty();
  std::int32_t received = 0;
  for (std::int32_t c = 1; c <= lastColumn && more; ++c) {
    const std::string_view field = NextField(rest, more);
    if (!more && field.empty()) break;  // nothing followed the last tab
    FixedText<80>& label = data.column(c).label;
    if (groupLine) {
      label.assign(field);
    } else if (!label.empty()) {
      std::string combined(Utf8Prefix(field, 79));
      combined += '@';
      combined += label.view();
      label.assign(combined);
    } else {
      label.assign(Utf8Prefix(field, 79));
    }
    received = c;
  }
  if (groupLine) {
    for (std::int32_t c = 1; c <= received; ++c) {
      ColumnRecord& col = data.column(c);
      CutAtFirst(col.label, "|");
      const std::size_t dot = col.label.view().rfind('.');
      if (dot != std::string_view::npos) col.label.truncate(dot);
      col.groupName.assign(col.label.view());
    }
  }
  return groupLine ? 1 : 0;
}

std::int32_t StripMetadataColumns(DataModel& data, std::int32_t lastColumn) {
  auto removeFirst = [&]() {
    for (std::int32_t c = 0; c < lastColumn; ++c) {
      data.column(c).label = data.column(c + 1).label;
    }
    data.column(lastColumn).label.clear();
  };
  std::int32_t removed = 0;
  const std::string_view tests[4][2] = {{"Event label", "Event"},
                                        {"Station", "Station"},
                                        {"LATITUDE", "Latitude"},
                                        {"LONGITUDE", "Longitude"}};
  for (const auto& names : tests) {
    const std::string_view label = data.column(0).label.view();
    if (label == names[0] || label == names[1]) {
      data.skippedLabels[removed] = data.column(0).label;
      removeFirst();
      ++removed;
    }
  }
  data.skippedColumns = removed;
  return removed;
}

std::int32_t FormGroups(DataModel& data, std::int32_t lastColumn) {
  if (lastColumn < 1) return 0;
  FixedText<80> g1{}, n1{}, unit{};
  SplitParameterName(data.column(1).label.view(), g1, n1, unit);
  FixedText<80> remembered = g1;
  std::int32_t groups = 1;
  for (int g = 1; g <= lastColumn; ++g) data.column(g).groupSize = 0;
  data.column(1).groupSize = 1;
  for (std::int32_t c = 2; c <= lastColumn; ++c) {
    FixedText<80> g{}, n{};
    SplitParameterName(data.column(c).label.view(), g, n, unit);
    bool startsGroup;
    if (g.empty()) {
      startsGroup = n.view() == n1.view();
    } else {
      startsGroup = g.view() != remembered.view();
      if (startsGroup) remembered = g;
    }
    if (startsGroup) ++groups;
    ++data.column(groups).groupSize;
  }
  return groups;
}

Result ParseDataFile(DataModel& data, WorkBuffers& buf) {
  Result result;

  buf.GroupLine.clear();
  buf.HeaderLineBuffer.clear();
  for (int i = 0; i <= kDescriptionLines; ++i) {
    data.DescriptionTable[static_cast<std::size_t>(i)].label.clear();
    data.DescriptionTable[static_cast<std::size_t>(i)].value.clear();
  }
  data.DescriptionLineCount = 0;

  LineReader file;
  if (!file.Open(data.DataDirectory + data.DataFileName)) return Result::Failed(kLoadCouldNotOpen);
  LineSource source{file, buf.LineBuffer, buf.DecodedLine};

  // Scan to the column-header line.
  std::string_view line;
  for (;;) {
    if (source.Read(line) < 0)
      return Fail(file, file.readError() ? kLoadCouldNotOpen : kLoadWrongFormat);
    if (line.find("/*") != std::string_view::npos) {
      if (!ReadDescriptionBlock(data, source, line)) {
        return Fail(file, file.readError() ? kLoadCouldNotOpen : kLoadWrongFormat);
      }
      buf.HeaderLineBuffer.clear();
    } else {
      buf.HeaderLineBuffer.assign(line);
    }
    if (!IsSkippableLine(buf.HeaderLineBuffer)) break;
    buf.GroupLine = buf.HeaderLineBuffer;
  }
  SetEventLabel(data);

  // Column names.
  std::int32_t n = CountTabs(buf.HeaderLineBuffer) - 1;
  if (n < 1) return Fail(file, kLoadWrongFormat);
  if (n > kMaxParameter) {
    result.Tell(LimitMessageText(kLimitParameters, kMaxParameter));
    n = kMaxParameter;
  }
  ClearDataModel(data);
  if (!buf.GroupLine.empty()) ParseHeaderLine(data, n, buf.GroupLine);
  ParseHeaderLine(data, n, buf.HeaderLineBuffer);

  // Metadata columns; a file made of nothing else has no parameter to show.
  const std::int32_t skip = StripMetadataColumns(data, n);
  n -= skip;
  if (n < 1) return Fail(file, kLoadWrongFormat);
  CleanLabelsAndMarkColorColumns(data, n);
  CutHeaderCredit(data);

  // Item budget: an even share of the numeric items per column.
  const std::int32_t perColumn = data.MaxNumericItems / (n + 1);
  for (std::int32_t c = 0; c <= n; ++c) {
    data.column(c).itemBase = c * perColumn;
    data.item(data.column(c).itemBase).row = 0;
  }
  const std::int32_t maxRows = perColumn - 2;
  data.TextItemCount = 0;
  // Every item that an earlier load wrote goes back to the reset state; the rest were never
  // written and are read by nobody past TextItemCount.
  const std::size_t textItems = std::min(data.TextItemTable.size(), data.textItemsWritten + 1);
  for (std::size_t i = 0; i < textItems; ++i) {
    TextItem& t = data.TextItemTable[i];
    t.column = 0;
    t.position = -999.99f;
    t.text.clear();
  }
  data.DateOffset = 0.0f;
  // Every item of the columns' shares may be written from here on.
  data.numericItemsWritten =
      std::max(data.numericItemsWritten, static_cast<std::size_t>(n + 1) * perColumn);

  // Data lines.
  DataLinesJob job;
  job.lastColumn = n;
  job.skipCount = skip;
  job.maxRows = maxRows;
  const bool readOk = ReadDataLines(data, source, job);
  data.textItemsWritten =
      std::max(data.textItemsWritten, static_cast<std::size_t>(data.TextItemCount) + 1);
  const bool longLine = source.longLineStart != LineSource::kNoLongLine;
  const std::uint64_t longLineNumber = longLine ? file.LineNumberAt(source.longLineStart) : 0;
  file.Close();
  data.sourceHadCp1252 = source.sawCp1252;
  if (!readOk) return Result::Failed(kLoadCouldNotOpen);
  // The rows before an over-long line stay; the user learns where the reading stopped.
  if (longLine) {
    result.Tell(LimitMessageText(
        kLimitLineLength, static_cast<long>(std::min<std::uint64_t>(longLineNumber, LONG_MAX))));
  }
  const ColumnRecord& x = data.column(0);
  if (x.itemCount >= maxRows) result.Tell(LimitMessageText(kLimitItems, 0));
  if (x.itemCount == 0) {
    result.code = kLoadWrongFormat;
    return result;
  }

  // Groups and final names.
  data.ParameterCount = n;
  data.GroupCount = FormGroups(data, n);
  data.GroupedColumnCount = 0;
  FixedText<80> group{}, name{}, unit{};
  for (std::int32_t c = 1; c <= n; ++c) {
    SplitParameterName(data.column(c).label.view(), group, name, unit);
    data.column(c).groupName = group;
    if (!group.empty()) ++data.GroupedColumnCount;
  }
  if (data.GroupedColumnCount == 0 && !data.EventLabel.empty()) {
    data.column(1).groupName.assign(data.EventLabel.view());
    data.GroupedColumnCount = 1;
  }
  for (std::int32_t c = 1; c <= n; ++c) {
    FixedText<80>& label = data.column(c).label;
    CutAtFirst(label, "@");
    if (label.empty()) {
      char text[32];
      std::snprintf(text, sizeof text, "Parameter %d", static_cast<int>(c));
      label.assign(text);
    }
  }

  result.code = n;
  return result;
}

}  // namespace sx
