#include "core/session.h"

#include <charconv>
#include <cstdio>

#include "settings/settings_model.h"

namespace sx {
namespace {

constexpr std::int64_t kTableByteLimit = std::int64_t{4} << 30;  // 4 GiB per table

template <typename Record>
bool BudgetFits(std::int64_t count) {
  return count > 0 && (count + 1) * static_cast<std::int64_t>(sizeof(Record)) <= kTableByteLimit;
}

// Reads a field as a signed decimal integer (leading blanks and a sign allowed, trailing blanks
// ignored); false for anything else or a value outside int64.
bool ReadInteger(std::string_view text, std::int64_t& out) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

bool IsNumericBudgetValid(std::int64_t maxNumericItems) {
  return BudgetFits<NumericItem>(maxNumericItems) && maxNumericItems <= INT32_MAX - 1;
}

bool IsTextBudgetValid(std::int64_t maxTextItems) {
  return BudgetFits<TextItem>(maxTextItems) && maxTextItems <= INT32_MAX - 1;
}

MemoryBudgets SanitizeBudgets(MemoryBudgets budgets) {
  if (!IsNumericBudgetValid(budgets.MaxNumericItems)) {
    budgets.MaxNumericItems = kDefaultMaxNumericItems;
  }
  if (!IsTextBudgetValid(budgets.MaxTextItems)) budgets.MaxTextItems = kDefaultMaxTextItems;
  return budgets;
}

std::int32_t ReadNumericBudgetField(std::string_view text, std::int32_t remembered) {
  std::int64_t v = 0;
  if (!ReadInteger(text, v) || !IsNumericBudgetValid(v)) return remembered;
  return static_cast<std::int32_t>(v);
}

std::int32_t ReadTextBudgetField(std::string_view text, std::int32_t remembered) {
  std::int64_t v = 0;
  if (!ReadInteger(text, v) || !IsTextBudgetValid(v)) return remembered;
  return static_cast<std::int32_t>(v);
}

WindowPlacements DefaultWindowPlacement(std::int32_t screenWidth, std::int32_t screenHeight) {
  const std::int32_t w = screenWidth;
  const std::int32_t h = screenHeight;
  WindowPlacements p;
  const std::int32_t fw = w - 2 * (w / 20);
  const std::int32_t fh = h - 2 * (h / 20);
  p.FramePlacement = {w / 20, h / 20, fw, fh};
  const std::int32_t childWidth = fw - fw / 25 - 20;
  const std::int32_t childHeight = fh - fh / 15 - 60;
  p.PlotWindowPlacement = {fw / 25, fh / 15, childWidth, childHeight};
  p.DescriptionWindowPlacement = {fw / 70, fh / 70, childWidth, childHeight};
  return p;
}

void WorkBuffers::Reserve() {
  // A raw line holds at most 10000 bytes; decoding Windows-1252 at most triples it; the
  // header and group lines get a tab or two appended.
  LineBuffer.reserve(kLineCapacity + 1);
  DecodedLine.reserve(3 * kLineCapacity + 4);
  HeaderLineBuffer.reserve(3 * kLineCapacity + 4);
  GroupLine.reserve(3 * kLineCapacity + 4);
  ScratchBuffer.reserve(3 * kLineCapacity + 4);
}

std::int32_t AllocateTables(Session& s, MemoryBudgets budgets) {
  PlotSettings& ps = s.settings;
  DataModel& d = s.data;
  if (!ps.ParameterColorTable.Allocate(kSettingsRecords)) return -1;
  if (!ps.ModeColorTable.Allocate(kSettingsRecords)) return -1;
  if (!ps.DefaultColorTable.Allocate(kSettingsRecords)) return -1;
  if (!s.patterns.Allocate()) return -1;
  if (!d.DescriptionTable.Allocate(kDescriptionLines + 1)) return -1;
  if (!ps.ParameterSettingsTable.Allocate(kSettingsRecords)) return -1;
  if (!d.ColumnTable.Allocate(kColumnRecords)) return -1;
  if (!d.TextItemTable.Allocate(static_cast<std::size_t>(budgets.MaxTextItems) + 1)) return -1;
  if (!d.NumericItemTable.Allocate(static_cast<std::size_t>(budgets.MaxNumericItems) + 1)) {
    return -1;
  }
  d.MaxNumericItems = budgets.MaxNumericItems;
  d.MaxTextItems = budgets.MaxTextItems;
  s.buffers.Reserve();
  return 0;
}

std::unique_ptr<Session> CreateSession(MemoryBudgets budgets, UserInterface& ui) {
  auto session = std::make_unique<Session>();
  session->ui = &ui;
  budgets = SanitizeBudgets(budgets);
  if (AllocateTables(*session, budgets) != 0) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "Not enough memory for %ld numeric and %ld text data items.\n"
                  "Sondrix starts with the default sizes.",
                  static_cast<long>(budgets.MaxNumericItems),
                  static_cast<long>(budgets.MaxTextItems));
    ui.ShowMessage(MessageIcon::kStop, text);
    session = std::make_unique<Session>();
    session->ui = &ui;
    if (AllocateTables(*session, MemoryBudgets{}) != 0) {
      ui.ShowMessage(MessageIcon::kStop, "Not enough memory to start Sondrix.");
      return nullptr;
    }
  }
  session->startup.budgets = {session->data.MaxNumericItems, session->data.MaxTextItems};
  session->startup.FileFromCommandLine = 0;
  session->startup.PlotWindowState = -1;
  session->startup.DescriptionWindowState = -1;
  session->settings.graphic.graphicWidth = -1;
  session->settings.graphic.graphicHeight = -1;
  ui.ShowArrowCursor();
  session->settings.graphic.fontName.assign("Arial");
  InitColorTables(session->settings);
  return session;
}

void SetDataFilePath(DataModel& data, std::string_view path) {
  data.DataFilePath.assign(path);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) {
    data.DataDirectory.clear();
    data.DataFileName.assign(path);
  } else {
    data.DataDirectory.assign(path.substr(0, slash + 1));
    data.DataFileName.assign(path.substr(slash + 1));
  }
}

bool SplitCommandLinePath(std::string_view commandLine, Session& session) {
  std::string_view text = commandLine;
  const std::size_t lastQuote = text.rfind('"');
  if (lastQuote != std::string_view::npos) {
    text = text.substr(0, lastQuote);
    const std::size_t firstQuote = text.find('"');
    if (firstQuote != std::string_view::npos) text.remove_prefix(firstQuote + 1);
  }
  if (text.find('/') == std::string_view::npos) return false;
  SetDataFilePath(session.data, text);
  session.startup.FileFromCommandLine = 1;
  return true;
}

std::string FormatDataInfo(const DataModel& data) {
  const long columns = static_cast<long>(data.ParameterCount) + 1;
  const long lines = data.ParameterCount >= 1 ? data.rowCount() : 0;
  char text[160];
  std::snprintf(text, sizeof text,
                "Number of columns: %d\nNumber of lines: %ld\nNumber of items: %ld",
                static_cast<int>(columns), lines, lines * columns);
  return text;
}

std::string FormatVersionInfo() {
  return "Version number:\n" + std::string(kVersionText);
}

}  // namespace sx
