#include "shell/open_sequence.h"

#include "core/description_file.h"
#include "core/messages.h"
#include "core/reader.h"
#include "core/save_data.h"
#include "settings/file_defaults.h"
#include "settings/preferences.h"
#include "settings/scales.h"
#include "settings/settings_files.h"
#include "settings/template_file.h"

namespace sx {
namespace {

// The automatic ranges and scales of a freshly loaded file: every parameter rescaled, or with a
// template in charge only those it marks automatic.
void ScaleLoadedFile(Session& session, bool keepTemplateScales) {
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  if (!keepTemplateScales) settings.graphic.plottedCount = data.ParameterCount;
  ComputeAutomaticRanges(data, settings);
  ApplyAutomaticScales(data, settings, keepTemplateScales ? -1 : 0);
  DeselectCoordinateColumns(data, settings);
}

std::int32_t LoadAndScale(Session& session, bool keepTemplateScales) {
  BusyCursor busy(*session.ui);
  const std::int32_t n = LoadDataFile(session);
  session.data.ParameterCount = n;
  if (n <= 0) return kOpenFailed;
  ScaleLoadedFile(session, keepTemplateScales);
  return kOpenDone;
}

void ShowLoadFailure(Session& session) {
  const std::int32_t n = session.data.ParameterCount;
  ShowFileMessage(*session.ui, n == kLoadCouldNotOpen ? kFileCouldNotOpen : kFileWrongFormat,
                  session.data.DataFilePath);
}

}  // namespace

void Tell(UserInterface& ui, const Result& result) {
  for (const std::string& text : result.messages) ui.ShowMessage(MessageIcon::kStop, text);
}

std::int32_t LoadDataFile(Session& session, std::int32_t* templateResult) {
  BusyCursor busy(*session.ui);
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  if (templateResult != nullptr) *templateResult = kTemplateApplied;
  const Result parsed = ParseDataFile(data, session.buffers);
  Tell(*session.ui, parsed);
  if (parsed.code <= 0) return parsed.code;
  ApplyFileDefaults(data, settings);
  LoadPreferences(data, settings);
  const std::int32_t reapplied = ReapplyTemplate(data, settings);
  if (templateResult != nullptr) *templateResult = reapplied;
  if (reapplied == kTemplateCouldNotOpen) {
    ShowFileMessage(*session.ui, kFileCouldNotOpen, settings.TemplatePath);
  }
  ShowLabelsOfFile(data, settings);
  return parsed.code;
}

std::int32_t OpenCommand(Session& session, OpenKind kind,
                         const std::optional<std::string>& chosen) {
  DataModel& data = session.data;
  switch (kind) {
    case OpenKind::kNamedFile:
      session.startup.FileFromCommandLine = 0;
      return LoadAndScale(session, false);
    case OpenKind::kChosenFile:
      if (!chosen) {
        if (data.ParameterCount < 0) data.ParameterCount = kNoData;
        return kOpenCancelled;
      }
      SetDataFilePath(data, *chosen);
      session.startup.FileFromCommandLine = 0;
      return LoadAndScale(session, IsTemplateActive(session.settings));
    case OpenKind::kTemplate:
      if (chosen) LoadTemplateCommand(session, *chosen);
      return kOpenDone;
  }
  return kOpenFailed;
}

std::int32_t OpenDataFile(Session& session) {
  const std::int32_t result = OpenCommand(session, OpenKind::kNamedFile);
  if (result != kOpenDone) ShowLoadFailure(session);
  return result;
}

std::int32_t LoadTemplateCommand(Session& session, const std::string& path) {
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  UserInterface& ui = *session.ui;
  BusyCursor busy(ui);
  settings.TemplatePath = path;
  const std::int32_t result = ReadTemplate(data, settings, path);
  if (result == kTemplateApplied) {
    ApplyAutomaticScales(data, settings, -1);
    return result;
  }
  if (result == kTemplateCouldNotOpen) {
    ShowFileMessage(ui, kFileCouldNotOpen, path);
    return result;
  }
  ShowFileMessage(ui, result < kTemplateNoVersionLine ? kFileWrongFormat : kFileOldTemplate, path);
  // The data file is read again, which brings back its own settings and preferences.
  if (LoadAndScale(session, false) != kOpenDone) {
    settings.graphic.plottedCount = data.ParameterCount;
    ShowLoadFailure(session);
  }
  return result;
}

bool SaveTemplateCommand(Session& session, const std::string& path) {
  BusyCursor busy(*session.ui);
  std::string error;
  if (WriteTemplate(session.data, session.settings, path, &error)) return true;
  session.ui->ShowMessage(MessageIcon::kStop,
                          "Could not save the template to file:\n>" + path + "<\n" + error);
  return false;
}

std::int32_t SaveDataAsCommand(Session& session, const std::string& destination) {
  BusyCursor busy(*session.ui);
  DataModel& data = session.data;
  const std::string source = data.DataDirectory + data.DataFileName;
  const Result result =
      SaveDataAs(data, session.settings.graphic.CreditText.view(), source, destination);
  Tell(*session.ui, result);
  if (result.ok()) SetDataFilePath(data, destination);
  return result.code;
}

std::int32_t SaveDescriptionCommand(Session& session, const std::string& path) {
  const Result result = SaveDescriptionCommand(session.data, path);
  Tell(*session.ui, result);
  return result.ok() ? 0 : -1;
}

std::int32_t ReloadDescriptionCommand(Session& session) {
  const Result result = ReloadDescription(session.data, session.buffers);
  Tell(*session.ui, result);
  return result.ok() ? 0 : -1;
}

bool SetMemoryCommand(Session& session, std::string_view numericField, std::string_view textField,
                      std::int32_t screenWidth, std::int32_t screenHeight) {
  MemoryBudgets& budgets = session.startup.budgets;
  budgets.MaxNumericItems = ReadNumericBudgetField(numericField, budgets.MaxNumericItems);
  budgets.MaxTextItems = ReadTextBudgetField(textField, budgets.MaxTextItems);
  const std::string path = BuildSettingsPath(kWindowFileName);
  if (!path.empty() && WriteWindowFile(path, session.startup, screenWidth, screenHeight,
                                       session.data.DataFilePath)) {
    return true;
  }
  session.ui->ShowMessage(MessageIcon::kStop,
                          "Could not save the memory sizes to file:\n>" + path + "<");
  return false;
}

}  // namespace sx
