#include "settings/settings_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <limits>

#include "core/atomic_file.h"
#include "core/device_int.h"
#include "core/line_reader.h"
#include "core/scan.h"
#include "core/text_convert.h"
#include "core/utf8.h"
#include "core/version.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kColorSection = "[Default colors]";
constexpr std::string_view kFixedCredit = "MERIDAT/Sondrix";
constexpr std::string_view kDefaultEditor = "Notepad.exe";
constexpr std::size_t kEditorCharacters = 516;
constexpr std::int32_t kWindowLineCapacity = 80;  // lines of at most 79 characters

// The global settings of line 5, in their stored order. The last one is written but never read
// back (reading sets it to 0). The first is the plot mode, kept as its number in the file.
using G = GraphicSettings;
constexpr std::int32_t G::*kGlobalFields[] = {
    nullptr,
    &G::useColor,
    &G::useDefaultColor,
    &G::allInOne,
    &G::clipXAxis,
    &G::frameWidth,
    &G::plotDistance,
    &G::spareSettingA,
    &G::tickIncrementPercent,
    &G::fontSize,
    &G::modeFontSize,
    &G::spareSettingB,
    &G::modeEntityKind,
    &G::dateTimeStamp,
    &G::fileNameStamp,
    &G::unitStyle,
    &G::horizontalLayoutSwitch,
};
constexpr std::size_t kGlobalFieldCount = std::size(kGlobalFields);
constexpr std::size_t kGlobalFieldsRead = kGlobalFieldCount - 1;

// The record styles of one record line, in their stored order, after the record index.
using P = ParameterSettings;
constexpr std::int32_t P::*kRecordFields[] = {
    &P::plotState,        &P::marker,           &P::lines,          &P::columns,
    &P::histogramLines,   &P::outline,          &P::lithology,      &P::boundary,
    &P::valueText,        &P::occurrence,       &P::course,         &P::comment,
    &P::columnWidth,      &P::fixedAxisLength,  &P::axisLength,     &P::doWithNext,
    &P::colorize,         &P::flagValid,        &P::flagNotValid,   &P::flagUnknown,
    &P::flagQuestionable, &P::flagIndividual,   &P::reverseRange,   &P::bothSides,
    &P::inside,           &P::textOrientation,  &P::markerSymbol,   &P::markerSize,
    &P::minorTicks,       &P::ticklines,        &P::minorTicklines, &P::lineWidth,
    &P::modeSelected,     &P::modeMarkerSymbol, &P::modeMarkerSize, &P::modeLineWidth};
constexpr std::size_t kRecordFieldCount = std::size(kRecordFields);
static_assert(kRecordFieldCount == 36 && kGlobalFieldCount == 17);

// ---------------------------------------------------------------------------------------------
// Reading numbers the way the C library's "%d" / "%ld" conversions do (leading white space, an
// optional sign, decimal digits up to the first other character), but saturating instead of
// overflowing.

// A colour component: read like "%d", then limited to the byte range rather than wrapped.
bool ReadComponent(std::string_view piece, std::uint8_t& out) {
  std::size_t pos = 0;
  std::int64_t v = 0;
  if (!ScanInteger(piece, pos, v)) return false;
  out = static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
  return true;
}

// Splits a numeric row at its tabs; empty pieces are dropped and use up no position. At most N
// pieces are kept: values beyond the listed fields are clipped.
template <std::size_t N>
std::size_t SplitRow(std::string_view row, std::string_view (&pieces)[N]) {
  std::size_t count = 0;
  std::size_t start = 0;
  while (start <= row.size() && count < N) {
    std::size_t tab = row.find('\t', start);
    if (tab == std::string_view::npos) tab = row.size();
    if (tab > start) pieces[count++] = row.substr(start, tab - start);
    start = tab + 1;
  }
  return count;
}

// ---------------------------------------------------------------------------------------------
// Line source over the common line reader. An over-long line counts as one line: its stored
// part is kept and the rest is skipped, so the rest is never taken for the next line.

class SettingsLines {
 public:
  SettingsLines(LineReader& file, std::int32_t capacity) : file_(file), capacity_(capacity) {}

  // False when the file ends before any character of the line.
  bool Next() {
    std::int32_t r = file_.ReadLine(raw, capacity_);
    if (r == -1) return false;
    while (r == -capacity_) r = file_.ReadLine(skipped_, capacity_);
    return true;
  }
  // The current line as UTF-8 (valid UTF-8 stays, anything else is Windows-1252).
  const std::string& Decoded() {
    DecodeLine(raw, decoded_);
    return decoded_;
  }

  std::string raw;

 private:
  LineReader& file_;
  std::int32_t capacity_;
  std::string decoded_;
  std::string skipped_;
};

// Removes every occurrence of a caption such as "Font: " from a decoded line.
std::string WithoutCaption(std::string_view line, std::string_view caption) {
  std::string text(line);
  ReplaceAll(text, caption, "");
  return text;
}

void ReadGlobalSettings(std::string_view row, GraphicSettings& g) {
  std::string_view pieces[kGlobalFieldCount];
  const std::size_t n = std::min(SplitRow(row, pieces), kGlobalFieldsRead);
  for (std::size_t k = 0; k < n; ++k) {
    std::int32_t v = 0;
    if (!ScanInt32(pieces[k], v)) continue;
    if (kGlobalFields[k] == nullptr) {
      // The stored mode is taken whatever the current mode is; a value that is no mode would
      // leave the plot empty, so it keeps the current one.
      if (IsPlotMode(static_cast<PlotMode>(v))) g.plotMode = static_cast<PlotMode>(v);
      continue;
    }
    g.*kGlobalFields[k] = v;
  }
  g.horizontalLayoutSwitch = 0;
}

void ReadRecordLine(std::string_view row, PlotSettings& settings) {
  std::string_view pieces[1 + kRecordFieldCount];
  const std::size_t n = SplitRow(row, pieces);
  std::int32_t index = 0;
  if (n == 0 || !ScanInt32(pieces[0], index)) return;
  const std::size_t records = settings.ParameterSettingsTable.size();
  if (index < 0 || index >= kSettingsRecords || static_cast<std::size_t>(index) >= records) return;
  ParameterSettings& r = settings.record(index);
  for (std::size_t k = 1; k < n; ++k) {
    std::int32_t v = 0;
    if (ScanInt32(pieces[k], v)) r.*kRecordFields[k - 1] = v;
  }
}

void ReadColorLine(std::string_view line, DefaultColorEntry& entry) {
  const std::size_t tab = line.find('\t');
  entry.inUse = 1;
  entry.name.assign(line.substr(0, tab));  // at most 80 characters
  if (tab == std::string_view::npos) return;
  std::string_view pieces[3];
  const std::size_t n = SplitRow(line.substr(tab + 1), pieces);
  std::uint8_t* components[3] = {&entry.rgb.red, &entry.rgb.green, &entry.rgb.blue};
  for (std::size_t k = 0; k < n; ++k) ReadComponent(pieces[k], *components[k]);
}

// ---------------------------------------------------------------------------------------------
// Writing.

void AppendInt(std::string& out, std::int64_t v) {
  char buf[24];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec == std::errc()) out.append(buf, end);
}

// "%2d": numbers of one character get a leading blank.
void AppendPadded(std::string& out, std::int32_t v) {
  if (v >= 0 && v <= 9) out.push_back(' ');
  AppendInt(out, v);
}

// A text that must stay on its line: line breaks (and, inside a tab-separated row, tabs) would
// split it and shift every later line, so they become blanks.
void AppendText(std::string& out, std::string_view text, bool inRow) {
  for (char c : text) {
    const bool breaks = c == '\r' || c == '\n' || (inRow && c == '\t');
    out.push_back(breaks ? ' ' : c);
  }
}

void EndLine(std::string& out) {
  out.append(kLineEnd);
}

// True when every line of Windows-1252 bytes is read back as Windows-1252: a line whose bytes
// also form valid UTF-8 with non-ASCII characters would be taken for UTF-8 by the reader.
bool ReadsBackAsCp1252(std::string_view bytes) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    const bool highBytes = std::any_of(
        line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (highBytes && IsValidUtf8(line)) return false;
    start = end + 1;
  }
  return true;
}

std::string EncodeSettingsFile(std::string utf8) {
  std::string cp1252;
  if (EncodeCp1252(utf8, cp1252) && ReadsBackAsCp1252(cp1252)) return cp1252;
  return utf8;
}

std::string TrimTrailingSlashes(std::string text) {
  while (!text.empty() && text.back() == '/') text.pop_back();
  return text;
}

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

}  // namespace

std::string BuildSettingsPath(std::string_view fileName) {
  std::string base;  // a folder that must exist for the settings folder to be made in it
  std::string folder;
  if (const char* appData = NonEmptyEnv("APPDATA")) {
    folder = TrimTrailingSlashes(appData) + "/Sondrix";
  } else {
    const char* xdg = NonEmptyEnv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
      base = TrimTrailingSlashes(xdg);
    } else if (const char* home = NonEmptyEnv("HOME")) {
      base = TrimTrailingSlashes(home) + "/.config";
    } else {
      return {};
    }
    folder = base + "/Sondrix";
  }
  std::string path = folder + "/";
  path.append(fileName);
  // The temporary file of a write has a name no longer than these files' own.
  if (path.size() >= PATH_MAX) return {};
  // Failures are ignored: the file operations that follow report them by failing quietly.
  if (!base.empty()) ::mkdir(base.c_str(), 0700);
  ::mkdir(folder.c_str(), 0700);
  return path;
}

std::int32_t ReadPreferences(const std::string& path, PlotSettings& settings, DataModel& data) {
  LineReader file;
  if (path.empty() || !file.OpenRegular(path)) return kPreferencesUnreadable;
  SettingsLines lines(file, kLineCapacity);
  GraphicSettings& g = settings.graphic;
  const auto missing = [&file] {
    return file.readError() ? kPreferencesUnreadable : kPreferencesLineMissing;
  };

  if (!lines.Next()) return missing();
  if (lines.raw != kSettingsFileStamp) return kPreferencesWrongStamp;
  if (!lines.Next()) return missing();  // the version line is information only

  if (!lines.Next()) return missing();
  g.fontName.assign(WithoutCaption(lines.Decoded(), "Font: "));

  if (!lines.Next()) return missing();
  const std::string editor = WithoutCaption(lines.Decoded(), "Editor: ");
  g.editorPath.assign(Utf8Prefix(editor, kEditorCharacters));
  if (Utf8Length(g.editorPath) > kDefaultEditor.size()) g.customEditor = 1;

  if (!lines.Next()) return missing();
  ReadGlobalSettings(lines.raw, g);

  if (!lines.Next()) return missing();
  const std::size_t at = g.CreditText.view().find('@');
  if (at == std::string_view::npos) {
    g.CreditText.assign(lines.Decoded());
  } else {
    g.CreditText.truncate(at);
  }

  // Record lines, by index. A file whose record section is short may reach the colour section
  // early; its head ends the records instead of being taken for one.
  bool atColors = false;
  bool more = true;
  for (int k = 0; k < kSettingsRecords && more; ++k) {
    more = lines.Next();
    if (!more) break;
    if (lines.raw == kColorSection) {
      atColors = true;
      break;
    }
    if (lines.raw.size() > 1) ReadRecordLine(lines.raw, settings);
  }
  // The end mark and the section head.
  if (more && !atColors) {
    more = lines.Next();
    if (more && lines.raw != kColorSection) more = lines.Next();
  }

  const std::size_t entries =
      std::min<std::size_t>(settings.DefaultColorTable.size(), kSettingsRecords);
  for (std::size_t e = 0; e < entries && more; ++e) {
    more = lines.Next();
    if (more && lines.raw.size() > 1) {
      ReadColorLine(lines.Decoded(), settings.DefaultColorTable[e]);
    }
  }

  SetUnitStyle(settings, data, g.unitStyle);
  return file.readError() ? kPreferencesUnreadable : kPreferencesRead;
}

std::string FormatPreferences(PlotSettings& settings, std::int32_t withCredit) {
  const GraphicSettings& g = settings.graphic;
  std::string out;
  out.reserve(48 * 1024);
  out.append(kSettingsFileStamp);
  EndLine(out);
  out.append("Version: ").append(kVersionText);
  EndLine(out);
  out.append("Font: ");
  AppendText(out, g.fontName.view(), false);
  EndLine(out);
  out.append("Editor: ");
  AppendText(out, g.editorPath, false);
  EndLine(out);

  for (std::size_t k = 0; k < kGlobalFieldCount; ++k) {
    if (k == 0) {
      AppendPadded(out, static_cast<std::int32_t>(g.plotMode));
    } else {
      out.push_back('\t');
      AppendInt(out, g.*kGlobalFields[k]);
    }
  }
  EndLine(out);
  AppendText(out, withCredit >= 1 ? g.CreditText.view() : kFixedCredit, false);
  EndLine(out);

  const int records = static_cast<int>(
      std::min<std::size_t>(settings.ParameterSettingsTable.size(), kSettingsRecords));
  for (int i = 0; i < records; ++i) {
    const ParameterSettings& r = settings.record(i);
    AppendPadded(out, i);
    for (std::size_t k = 0; k < kRecordFieldCount; ++k) {
      out.push_back('\t');
      AppendInt(out, r.*kRecordFields[k]);
    }
    EndLine(out);
  }
  out.append("0\t0");
  EndLine(out);
  out.append(kColorSection);
  EndLine(out);

  const std::size_t entries =
      std::min<std::size_t>(settings.DefaultColorTable.size(), kSettingsRecords);
  if (entries > 0) settings.DefaultColorTable[0].name.assign("TICK");
  for (std::size_t e = 0; e < entries; ++e) {
    const DefaultColorEntry& entry = settings.DefaultColorTable[e];
    if (entry.inUse == 0) break;
    AppendText(out, entry.name.view(), true);
    for (const std::uint8_t c : {entry.rgb.red, entry.rgb.green, entry.rgb.blue}) {
      out.push_back('\t');
      AppendInt(out, c);
    }
    EndLine(out);
  }
  return EncodeSettingsFile(std::move(out));
}

bool WritePreferences(const std::string& path, PlotSettings& settings, std::int32_t withCredit,
                      const std::string& openDataFile) {
  if (path.empty()) return false;
  return WriteFileAtomically(path, FormatPreferences(settings, withCredit), openDataFile);
}

bool ReadWindowFile(const std::string& path, StartupState& startup) {
  LineReader file;
  if (path.empty() || !file.OpenRegular(path)) return false;
  SettingsLines lines(file, kWindowLineCapacity);
  if (!lines.Next() || lines.raw != kSettingsFileStamp) return false;

  // "%ld\t%ld": the text budget, then the numeric budget.
  if (!lines.Next()) return false;
  std::size_t pos = 0;
  std::int64_t v = 0;
  if (ScanInteger(lines.raw, pos, v)) {
    startup.budgets.MaxTextItems =
        IsTextBudgetValid(v) ? static_cast<std::int32_t>(v) : kDefaultMaxTextItems;
    if (ScanInteger(lines.raw, pos, v)) {
      startup.budgets.MaxNumericItems =
          IsNumericBudgetValid(v) ? static_cast<std::int32_t>(v) : kDefaultMaxNumericItems;
    }
  }

  // "%d\t%d\t%d\t%d": x, y, width, height; conversion stops at the first value that is no
  // number, keeping the ones before it.
  Placement* placements[3] = {&startup.placements.FramePlacement,
                              &startup.placements.PlotWindowPlacement,
                              &startup.placements.DescriptionWindowPlacement};
  for (Placement* p : placements) {
    if (!lines.Next()) return false;
    std::int32_t* fields[4] = {&p->x, &p->y, &p->width, &p->height};
    pos = 0;
    for (std::int32_t* field : fields) {
      if (!ScanInteger(lines.raw, pos, v)) break;
      *field = Saturate32(v);
    }
  }
  return true;
}

std::string FormatWindowFile(const StartupState& startup, std::int32_t screenWidth,
                             std::int32_t screenHeight) {
  WindowPlacements p = startup.placements;
  const Placement& plot = p.PlotWindowPlacement;
  const Placement& description = p.DescriptionWindowPlacement;
  if (plot.width < 0 || plot.height < 0 || description.width < 0 || description.height < 0) {
    p = DefaultWindowPlacement(screenWidth, screenHeight);
  }
  std::string out;
  out.append(kSettingsFileStamp);
  EndLine(out);
  AppendInt(out, startup.budgets.MaxTextItems);
  out.push_back('\t');
  AppendInt(out, startup.budgets.MaxNumericItems);
  EndLine(out);
  for (const Placement& q :
       {p.FramePlacement, p.PlotWindowPlacement, p.DescriptionWindowPlacement}) {
    AppendInt(out, q.x);
    out.push_back('\t');
    AppendInt(out, q.y);
    out.push_back('\t');
    AppendInt(out, q.width);
    out.push_back('\t');
    AppendInt(out, q.height);
    EndLine(out);
  }
  return out;
}

bool WriteWindowFile(const std::string& path, const StartupState& startup, std::int32_t screenWidth,
                     std::int32_t screenHeight, const std::string& openDataFile) {
  if (path.empty()) return false;
  return WriteFileAtomically(path, FormatWindowFile(startup, screenWidth, screenHeight),
                             openDataFile);
}

}  // namespace sx
