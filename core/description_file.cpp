#include "core/description_file.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "core/atomic_file.h"
#include "core/byte_lines.h"
#include "core/messages.h"
#include "core/text_convert.h"
#include "core/utf8.h"

namespace sx {
namespace {

// Appends text as part of one line: line breaks (and, unless keepTabs, tabs) would split it
// differently on reading, so they become blanks; a NUL would end it early and is left out.
void AppendText(std::string& line, std::string_view text, bool keepTabs = false) {
  for (char c : text) {
    if (c == '\0') continue;
    const bool blank = c == '\r' || c == '\n' || (c == '\t' && !keepTabs);
    line.push_back(blank ? ' ' : c);
  }
}

void SetDescriptionFilePath(DataModel& data, const std::string& path) {
  data.DescriptionFilePath = path;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    data.DescriptionDirectory.clear();
    data.DescriptionFileName = path;
  } else {
    data.DescriptionDirectory = path.substr(0, slash + 1);
    data.DescriptionFileName = path.substr(slash + 1);
  }
}

Result Reload(DataModel& data, WorkBuffers& buffers) {
  if (data.DescriptionFileName.empty()) {
    return Result::Failed(-1, "The data description has not been saved to a file yet.");
  }
  // Read the whole file first: a file that cannot be read must not cost the description held.
  const std::string path = data.DescriptionDirectory + data.DescriptionFileName;
  std::string bytes;
  if (!ReadFileBytes(path, bytes))
    return Result::Failed(-1, FileMessageText(kFileCouldNotOpen, path));

  buffers.GroupLine.clear();
  buffers.HeaderLineBuffer.clear();
  for (int i = 0; i <= kDescriptionLines; ++i) {
    data.DescriptionTable[static_cast<std::size_t>(i)].label.clear();
    data.DescriptionTable[static_cast<std::size_t>(i)].value.clear();
  }
  ByteLines lines(bytes);
  ByteLine line;
  std::string decoded;
  std::int32_t count = 0;
  while (count < kDescriptionLines && lines.Next(line)) {
    ++count;
    DecodeLine(CutAtNul(line.text), decoded);
    StoreDescriptionLine(data.DescriptionTable[static_cast<std::size_t>(count)], decoded);
  }
  if (count > 0) count = TrimDescriptionMarkers(data, 1, count);
  data.DescriptionLineCount = count;
  return Result{};
}

}  // namespace

Result SaveDescription(const DataModel& data, const std::string& path) {
  std::string error;
  bool written = false;
  try {
    std::string out;
    const std::int32_t count = std::min(data.DescriptionLineCount, kDescriptionLines);
    for (std::int32_t i = 1; i <= count; ++i) {
      const DescriptionLine& d = data.DescriptionTable[static_cast<std::size_t>(i)];
      AppendText(out, d.label.view());
      out += '\t';
      AppendText(out, d.value.view(), true);
      out += '\n';
    }
    written = WriteFileAtomically(path, out, data.DataFilePath, &error);
  } catch (const std::bad_alloc&) {
    error = "not enough memory";
  }
  if (!written) {
    return Result::Failed(-1,
                          "Could not save the data description to file:\n>" + path + "<\n" + error);
  }
  return Result{};
}

void BeginDescriptionSave(DataModel& data) {
  data.DescriptionSaved = 0;
}

Result SaveDescriptionCommand(DataModel& data, const std::string& path) {
  Result result = SaveDescription(data, path);
  if (result.ok()) {
    SetDescriptionFilePath(data, path);
    data.DescriptionSaved = 1;
  }
  return result;
}

Result ReloadDescription(DataModel& data, WorkBuffers& buffers) {
  try {
    return Reload(data, buffers);
  } catch (const std::bad_alloc&) {
    return Result::Failed(-1, "Not enough memory to read the data description file.");
  }
}

void StoreDescriptionLine(DescriptionLine& out, std::string_view line) {
  const std::size_t tab = line.find('\t');
  if (tab != std::string_view::npos) {
    out.label.assign(line.substr(0, tab));
    out.value.assign(line.substr(tab + 1));
  } else if (Utf8Length(line) < 31) {
    out.label.assign(line);
  } else {
    out.value.assign(line);
  }
}

std::int32_t TrimDescriptionMarkers(DataModel& data, std::int32_t first, std::int32_t last) {
  DescriptionLine& opening = data.DescriptionTable[static_cast<std::size_t>(first)];
  ReplaceAll(opening.label, "/* ", "");
  ReplaceAll(opening.value, "/* ", "");
  DescriptionLine& closing = data.DescriptionTable[static_cast<std::size_t>(last)];
  ReplaceAll(closing.label, "*/", "");
  ReplaceAll(closing.value, "*/", "");
  return closing.label.empty() && closing.value.empty() ? last - 1 : last;
}

}  // namespace sx
