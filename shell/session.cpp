#include "shell/session.h"

#include <cstdio>

#include "settings/settings_model.h"

namespace sx {

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
  session->startup.PlotWindowState = WindowState::kNeverOpened;
  session->startup.DescriptionWindowState = WindowState::kNeverOpened;
  session->settings.graphic.graphicWidth = -1;
  session->settings.graphic.graphicHeight = -1;
  ui.ShowArrowCursor();
  session->settings.graphic.fontName.assign("Arial");
  InitColorTables(session->settings);
  return session;
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

std::string FormatVersionInfo() {
  return "Version number:\n" + std::string(kVersionText);
}

}  // namespace sx
