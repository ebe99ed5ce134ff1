#include "settings/template_file.h"

#include <fast_float/fast_float.h>
#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <system_error>

#include "core/atomic_file.h"
#include "core/line_reader.h"
#include "core/scan.h"
#include "core/text_convert.h"
#include "core/utf8.h"
#include "core/version.h"
#include "settings/scales.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

using P = ParameterSettings;
using G = GraphicSettings;
using RecordInt = std::int32_t P::*;
using RecordFloat = float P::*;
using GraphicInt = std::int32_t G::*;

// The numeric rows, each in the order of its values; the writer and the reader share them.
// The first value of the globals row is the plot mode, kept as its number in the file.
constexpr GraphicInt kGlobalsRow[] = {nullptr, &G::useColor, &G::allInOne, &G::clipXAxis,
                                      &G::frameWidth};
constexpr GraphicInt kOptionsRow[] = {
    &G::useTemplate,   &G::plottedCount,  &G::graphicWidth,          &G::graphicHeight,
    &G::plotDistance,  &G::spareSettingA, &G::tickIncrementPercent,  &G::fontSize,
    &G::modeFontSize,  &G::spareSettingB, &G::modeEntityKind,        &G::dateTimeStamp,
    &G::fileNameStamp, &G::unitStyle,     &G::horizontalLayoutSwitch};
constexpr RecordInt kStylesRow[] = {&P::plotState,      &P::marker,         &P::lines,
                                    &P::columns,        &P::histogramLines, &P::outline,
                                    &P::valueText,      &P::occurrence,     &P::course,
                                    &P::comment,        &P::lithology,      &P::showParameterLabel,
                                    &P::showGroupLabel, &P::boundary,       &P::lineWidth};
constexpr RecordInt kAxisRow[] = {&P::fixedAxisLength, &P::axisLength,       &P::doWithNext,
                                  &P::colorize,        &P::flagValid,        &P::flagNotValid,
                                  &P::flagUnknown,     &P::flagQuestionable, &P::flagIndividual};
constexpr RecordInt kTicksRow[] = {&P::bothSides, &P::inside, &P::textOrientation, &P::markerSymbol,
                                   &P::markerSize};
constexpr RecordInt kTickLinesRow[] = {&P::minorTicks, &P::ticklines, &P::minorTicklines,
                                       &P::columnWidth, &P::automatic};
constexpr RecordInt kModeRow[] = {&P::modeSelected, &P::modeMarkerSymbol, &P::modeMarkerSize,
                                  &P::modeLineWidth};
constexpr std::span<const RecordInt> kIntRows[] = {kStylesRow, kAxisRow, kTicksRow, kTickLinesRow,
                                                   kModeRow};
constexpr RecordFloat kRangeRow[] = {&P::minimum, &P::maximum, &P::cMax};  // then reverseRange
constexpr RecordFloat kReferenceRow[] = {&P::referenceLine, &P::tickIncrement};

constexpr std::int32_t kLastRecord = kSettingsRecords - 1;

// Records that every table involved holds; allocated tables always have all 257.
int RecordCount(const DataModel& data, const PlotSettings& settings) {
  const std::size_t n =
      std::min({settings.ParameterSettingsTable.size(), settings.ParameterColorTable.size(),
                settings.ModeColorTable.size(), data.ColumnTable.size(),
                static_cast<std::size_t>(kSettingsRecords)});
  return static_cast<int>(n);
}

// ---- Writing ----

// Numbers are formatted without the C library so that the process locale cannot turn the decimal
// point into a comma; "%f" and this give the same digits.
class RowWriter {
 public:
  explicit RowWriter(std::string& out) : out_(out) {}
  void Int(std::int64_t v) {
    Separate();
    char b[24];
    const std::to_chars_result r = std::to_chars(b, b + sizeof b, v);
    out_.append(b, r.ptr);
  }
  void Float(float v) {
    Separate();
    char b[64];
    const std::to_chars_result r =
        std::to_chars(b, b + sizeof b, double{v}, std::chars_format::fixed, 6);
    out_.append(b, r.ec == std::errc() ? r.ptr : b);
  }
  void Color(RGB c) {
    Int(c.red);
    Int(c.green);
    Int(c.blue);
  }
  ~RowWriter() { out_.append("\r\n"); }

 private:
  void Separate() {
    if (!first_) out_.push_back('\t');
    first_ = false;
  }
  std::string& out_;
  bool first_ = true;
};

// A text line; a line break inside the text would split the line and shift the rest of the file.
void AppendTextLine(std::string& out, std::string_view prefix, std::string_view text) {
  out.append(prefix);
  for (const char c : text) out.push_back(c == '\r' || c == '\n' || c == '\0' ? ' ' : c);
  out.append("\r\n");
}

// A Windows-1252 line that happens to be valid UTF-8 (the bytes of "Â°", say) would be read back
// as UTF-8 and change; a file with such a line is written in UTF-8 instead.
bool ReadsBackAsCp1252(std::string_view encoded) {
  std::size_t start = 0;
  while (start < encoded.size()) {
    std::size_t end = encoded.find("\r\n", start);
    if (end == std::string_view::npos) end = encoded.size();
    const std::string_view line = encoded.substr(start, end - start);
    const bool high = std::any_of(line.begin(), line.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (high && IsValidUtf8(line)) return false;
    start = end + 2;
  }
  return true;
}

void AppendTemplate(const DataModel& data, const PlotSettings& settings, std::string& out) {
  const GraphicSettings& g = settings.graphic;
  AppendTextLine(out, "", kTemplateStamp);
  AppendTextLine(out, "Version: ", kVersionText);
  AppendTextLine(out, "Font: ", g.fontName.view());
  AppendTextLine(out, "Copyrighttext: ", g.CreditText.view());
  {
    RowWriter row(out);
    for (const GraphicInt f : kGlobalsRow)
      row.Int(f ? g.*f : static_cast<std::int32_t>(g.plotMode));
  }
  {
    RowWriter row(out);
    for (const GraphicInt f : kOptionsRow) row.Int(g.*f);
  }
  for (int i = 0; i < kSettingsRecords; ++i) {
    const ParameterSettings& r = settings.record(i);
    const ColumnRecord& column = data.column(i);
    out.append("Parameter: ");
    RowWriter(out).Int(i);
    AppendTextLine(out, "Name: ", column.label.view());
    AppendTextLine(out, "Groupname: ", column.groupName.view());
    AppendTextLine(out, "Format: ", r.format.view());
    RowWriter(out).Color(r.color);
    for (const std::span<const RecordInt> fields : kIntRows) {
      RowWriter row(out);
      for (const RecordInt f : fields) row.Int(r.*f);
    }
    RowWriter(out).Color(r.modeColor);
    {
      RowWriter row(out);
      for (const RecordFloat f : kRangeRow) row.Float(r.*f);
      row.Int(r.reverseRange);
    }
    {
      RowWriter row(out);
      for (const RecordFloat f : kReferenceRow) row.Float(r.*f);
    }
  }
}

// ---- Reading ----

// A colour component: a component read beyond the byte range is clamped, not wrapped.
void ScanColor(std::string_view text, std::uint8_t& out) {
  std::int32_t v = 0;
  if (ScanInt32(text, v)) out = static_cast<std::uint8_t>(std::clamp<std::int32_t>(v, 0, 255));
}

// Hexadecimal floats are rare enough to leave to the C library, in the "C" locale whatever the
// process locale is.
bool ScanHexFloat(std::string_view text, float& out) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (cLocale == static_cast<locale_t>(nullptr)) return false;
  const std::string copy(text);
  char* end = nullptr;
  out = strtof_l(copy.c_str(), &end, cLocale);
  return end != copy.c_str();
}

// "%f": white space, an optional sign, a decimal or hexadecimal number; reading stops at the
// first character that does not fit. Only a finite result is stored: an infinity, a NaN or a
// number beyond the float range leave the field as it was.
void ScanFloat(std::string_view text, float& out) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  const std::size_t start = i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size()) return;
  const char c = text[i];
  const bool hex = c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
  float f = 0.0f;
  if (hex) {
    if (!ScanHexFloat(text.substr(start), f)) return;
  } else if (IsDigit(c) || (c == '.' && i + 1 < text.size() && IsDigit(text[i + 1]))) {
    const fast_float::from_chars_result r =
        fast_float::from_chars(text.data() + i, text.data() + text.size(), f);
    if (r.ec != std::errc()) return;
    if (negative) f = -f;
  } else {
    return;  // no number at all, or "inf" / "nan"
  }
  if (std::isfinite(f)) out = f;
}

// One numeric row cut at its tabs; empty pieces are dropped and use up no position.
struct Row {
  std::array<std::string_view, 15> values;
  std::size_t count = 0;  // values found; those beyond the array are only counted

  std::string_view operator[](std::size_t i) const { return values[i]; }
  bool has(std::size_t i) const { return i < count && i < values.size(); }
};

Row SplitRow(std::string_view line) {
  Row row;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
    if (end > start) {
      if (row.count < row.values.size()) row.values[row.count] = line.substr(start, end - start);
      ++row.count;
    }
    if (tab == std::string_view::npos) return row;
    start = tab + 1;
  }
}

// A row of a block: one of at most one character holds nothing and is passed over; values
// beyond the row's fields are ignored, missing ones leave their fields as they are.
Row SplitBlockRow(std::string_view line) {
  if (Utf8Length(line) <= 1) return Row{};
  return SplitRow(line);
}

template <typename T>
void ReadInts(const Row& row, T& target, std::span<std::int32_t T::*const> fields) {
  for (std::size_t k = 0; k < fields.size() && row.has(k); ++k) {
    if (fields[k] != nullptr) ScanInt32(row[k], target.*fields[k]);
  }
}

void ReadColor(const Row& row, RGB& color) {
  if (row.has(0)) ScanColor(row[0], color.red);
  if (row.has(1)) ScanColor(row[1], color.green);
  if (row.has(2)) ScanColor(row[2], color.blue);
}

void ReadFloats(const Row& row, ParameterSettings& r, std::span<const RecordFloat> fields) {
  for (std::size_t k = 0; k < fields.size() && row.has(k); ++k) ScanFloat(row[k], r.*fields[k]);
}

// Block line 1, read as "%s %d": the label word, then the record index.
void ReadBlockNumber(std::string_view line, std::int32_t& index) {
  std::size_t i = 0;
  while (i < line.size() && IsCSpace(line[i])) ++i;
  while (i < line.size() && !IsCSpace(line[i])) ++i;
  ScanInt32(line.substr(i), index);
}

// The lines of a template as UTF-8 text, each decoded on its own.
class TemplateSource {
 public:
  bool Open(const std::string& path) { return file_.OpenRegular(path); }
  void Close() { file_.Close(); }

  // Reads the next line. False when it is missing: the file ends before any character of it, or
  // it is too long for the line reader, whose rest would be taken for the next line and shift
  // every line after it. A line ends at its first NUL byte, as the format's texts always have.
  bool Next() {
    const std::int32_t r = file_.ReadLine(raw_, kLineCapacity);
    if (r == -1) return false;
    if (r == -kLineCapacity && raw_.size() >= static_cast<std::size_t>(kLineCapacity)) {
      return false;
    }
    std::string_view bytes(raw_);
    if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
      bytes =
          bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
    }
    DecodeLine(bytes, line_);
    return true;
  }
  std::string_view line() const { return line_; }

  // The line with every occurrence of label removed.
  std::string_view Without(std::string_view label) {
    text_.assign(line_);
    ReplaceAll(text_, label, "");
    return text_;
  }

 private:
  LineReader file_;
  std::string raw_, line_, text_;
};

// Where one pass over the file puts what it reads: the model itself, or scratch copies when the
// pass only checks the file (or the block's record index is unusable).
struct Scratch {
  GraphicSettings graphic;
  ParameterSettings record{};
  ColumnRecord column{};
  RGB color{}, modeColor{};
};

// Reads the whole file once. With apply false nothing of the model changes; the result is the
// same as with apply true, so a file can be checked before any of it is applied.
std::int32_t ReadPass(TemplateSource& source, DataModel& data, PlotSettings& settings, bool apply,
                      std::string* versionText) {
  Scratch scratch;
  GraphicSettings& g = apply ? settings.graphic : scratch.graphic;

  if (!source.Next()) return kTemplateHeaderMissing;
  if (source.line() != kTemplateStamp) return kTemplateWrongStamp;
  if (!source.Next()) return kTemplateNoVersionLine;
  if (apply && versionText != nullptr) {
    const std::string_view line =
        source.line().find("Version") != std::string_view::npos ? source.line() : " unknown";
    const std::size_t blank = line.find(' ');
    versionText->assign(blank == std::string_view::npos ? std::string_view()
                                                        : line.substr(blank + 1));
  }
  if (!source.Next()) return kTemplateHeaderMissing;
  g.fontName.assign(source.Without("Font: "));
  if (!source.Next()) return kTemplateHeaderMissing;
  g.CreditText.assign(source.Without("Copyrighttext: "));

  if (!source.Next()) return kTemplateGlobalsMissing;
  Row row = SplitRow(source.line());
  if (row.count > std::size(kGlobalsRow)) return kTemplateGlobalsTooMany;
  ReadInts<G>(row, g, kGlobalsRow);
  std::int32_t mode = 0;
  if (row.has(0) && ScanInt32(row[0], mode)) g.plotMode = static_cast<PlotMode>(mode);
  if (!source.Next()) return kTemplateOptionsMissing;
  row = SplitRow(source.line());
  if (row.count > std::size(kOptionsRow)) return kTemplateOptionsTooMany;
  ReadInts<G>(row, g, kOptionsRow);

  // Blocks 0..ParameterCount; the rest of the file is not read.
  const int records = RecordCount(data, settings);
  const std::int32_t last = std::clamp<std::int32_t>(data.ParameterCount, -1, kLastRecord);
  for (std::int32_t k = 0; k <= last; ++k) {
    if (!source.Next()) return kTemplateBlockHeadMissing;
    std::int32_t index = k;
    if (Utf8Length(source.line()) > 1) ReadBlockNumber(source.line(), index);
    // A block that names no record of the model is read past, never used as an index.
    const bool target = apply && index >= 0 && index < records;
    const std::size_t at = target ? static_cast<std::size_t>(index) : 0;
    ParameterSettings& r = target ? settings.record(index) : scratch.record;
    ColumnRecord& column = target ? data.column(index) : scratch.column;
    RGB& color = target ? settings.ParameterColorTable[at] : scratch.color;
    RGB& modeColor = target ? settings.ModeColorTable[at] : scratch.modeColor;

    if (!source.Next()) return kTemplateBlockHeadMissing;
    column.label.assign(source.Without("Name: "));
    if (!source.Next()) return kTemplateBlockHeadMissing;
    column.groupName.assign(source.Without("Groupname: "));
    if (!source.Next()) return kTemplateBlockHeadMissing;
    // Formats reach printf-like code later; one that is not "%.Nf" keeps the record's own.
    const std::string_view format = source.Without("Format: ");
    if (IsValidNumberFormat(format)) r.format.assign(format);

    // Block lines 5 to 13; a missing line n gives the code -4 - n.
    std::int32_t missing = kTemplateBlockColorMissing;
    if (!source.Next()) return missing;
    ReadColor(SplitBlockRow(source.line()), color);
    for (const std::span<const RecordInt> fields : kIntRows) {
      --missing;
      if (!source.Next()) return missing;
      ReadInts<P>(SplitBlockRow(source.line()), r, fields);
    }
    if (!source.Next()) return missing - 1;
    ReadColor(SplitBlockRow(source.line()), modeColor);
    if (!source.Next()) return missing - 2;
    row = SplitBlockRow(source.line());
    ReadFloats(row, r, kRangeRow);
    if (row.has(std::size(kRangeRow))) ScanInt32(row[std::size(kRangeRow)], r.reverseRange);
    if (!source.Next()) return kTemplateLastBlockLineMissing;
    ReadFloats(SplitBlockRow(source.line()), r, kReferenceRow);
  }
  return kTemplateApplied;
}

// Brackets of the units in the column names 0..last, to the template's style; the colour memory
// keeps its names here.
void BringNamesToUnitStyle(DataModel& data, std::int32_t last, std::int32_t style) {
  if (style != 1 && style != 2) return;
  const char openFrom = style == 1 ? '[' : '(';
  const char closeFrom = style == 1 ? ']' : ')';
  const char openTo = style == 1 ? '(' : '[';
  const char closeTo = style == 1 ? ')' : ']';
  for (std::int32_t c = 0; c <= last; ++c) {
    FixedText<80>& label = data.column(c).label;
    // ASCII bytes never occur inside a multi-byte UTF-8 sequence, so a byte swap is safe.
    for (std::size_t k = 0; k < label.length && k < FixedText<80>::kBytes; ++k) {
      char& b = label.bytes[k];
      if (b == openFrom) {
        b = openTo;
      } else if (b == closeFrom) {
        b = closeTo;
      }
    }
  }
}

}  // namespace

bool WriteTemplate(const DataModel& data, const PlotSettings& settings, const std::string& path,
                   std::string* error) {
  if (RecordCount(data, settings) < kSettingsRecords) {
    if (error != nullptr) *error = "the settings tables are not allocated";
    return false;
  }
  std::string text;
  text.reserve(1 << 17);
  AppendTemplate(data, settings, text);
  std::string encoded;
  const bool cp1252 = EncodeCp1252(text, encoded) && ReadsBackAsCp1252(encoded);
  return WriteFileAtomically(path, cp1252 ? encoded : text, data.DataFilePath, error);
}

std::int32_t ReadTemplate(DataModel& data, PlotSettings& settings, const std::string& path,
                          std::string* versionText) {
  TemplateSource source;
  // A template that breaks off or is malformed is refused before any of it is applied, so a
  // refused file can never leave half of itself in the settings.
  if (!source.Open(path)) return kTemplateCouldNotOpen;
  std::int32_t result = ReadPass(source, data, settings, false, nullptr);
  source.Close();
  if (result != kTemplateApplied) return result;
  if (!source.Open(path)) return kTemplateCouldNotOpen;
  result = ReadPass(source, data, settings, true, versionText);
  source.Close();
  if (result != kTemplateApplied) return result;  // the file changed between the two passes

  GraphicSettings& g = settings.graphic;
  const std::int32_t last = std::clamp<std::int32_t>(data.ParameterCount, -1, kLastRecord);
  BringNamesToUnitStyle(data, last, g.unitStyle);
  const int records = RecordCount(data, settings);
  for (int i = std::max(last + 1, 0); i < records; ++i) settings.record(i).plotState = 0;
  if (g.useColor == 0 || g.useDefaultColor == 0) {
    ResetColors(settings);
  } else {
    ApplyTemplateColors(settings, data, 1);
  }
  // The stored count belongs to the file the template was made from; count what is plotted here.
  RecountPlotted(settings);
  return kTemplateApplied;
}

bool IsTemplateActive(const PlotSettings& settings) {
  return settings.graphic.useTemplate != 0 && !settings.TemplatePath.empty();
}

std::int32_t ReapplyTemplate(DataModel& data, PlotSettings& settings) {
  if (!IsTemplateActive(settings) || data.rowCount() <= 1) return kTemplateApplied;
  return ReadTemplate(data, settings, settings.TemplatePath);
}

}  // namespace sx
