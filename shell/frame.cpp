#include "shell/frame.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/messages.h"
#include "settings/settings_files.h"
#include "settings/settings_model.h"
#include "shell/file_dialogs.h"
#include "shell/open_sequence.h"

namespace sx {
namespace {

constexpr std::string_view kUntitled = "(untitled)";
constexpr std::string_view kDefaultEditor = "Notepad.exe";

std::string WithPath(std::string_view prefix, std::string_view path) {
  std::string title(prefix);
  title += path.empty() ? kUntitled : path;
  return title;
}

bool UnplacedSize(const Placement& p) {
  return p.width == -1 && p.height == -1;
}

}  // namespace

bool IsDefaultEditor(std::string_view editorPath) {
  if (editorPath.empty()) return true;
  if (editorPath.size() != kDefaultEditor.size()) return false;
  return std::equal(editorPath.begin(), editorPath.end(), kDefaultEditor.begin(),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

EditorLaunch PlanEditorLaunch(const GraphicSettings& graphic, const DataModel& data) {
  EditorLaunch launch;
  launch.desktopDefault = IsDefaultEditor(graphic.editorPath);
  if (!launch.desktopDefault) launch.program = graphic.editorPath;
  launch.file = data.DescriptionFilePath;
  return launch;
}

std::string PlotWindowTitle(std::string_view path) {
  return WithPath("Data plot - ", path);
}
std::string DescriptionWindowTitle(std::string_view path) {
  return WithPath("Data description - ", path);
}

std::string FormatNotice(std::string_view text, std::string_view argument) {
  std::string out(text);
  const std::size_t at = out.find("%s");
  if (at != std::string::npos) {
    out.replace(at, 2, argument.empty() ? kUntitled : argument);
  }
  return out;
}

Placement PlacePlotWindow(Placement& stored, Size client, bool hasDescription) {
  if (UnplacedSize(stored)) {
    stored = hasDescription ? Placement{25, 28, client.width - 30, client.height - 28}
                            : Placement{5, 5, client.width - 10, client.height - 10};
  }
  return stored;
}

Placement PlaceDescriptionWindow(Placement& stored, Size client) {
  if (UnplacedSize(stored)) {
    stored.width = client.width - 30;
    stored.height = client.height - 30;
  }
  return stored;
}

WindowState Lowered(WindowState state) {
  return state == WindowState::kOpen ? WindowState::kClosed : WindowState::kNeverOpened;
}

std::vector<Placement> CascadePlacements(std::int32_t count, Size client, std::int32_t step) {
  // A window smaller than this shows nothing of a plot; the cascade then reaches past the area.
  constexpr std::int32_t kSmallest = 100;
  step = std::max(0, step);
  const std::int32_t reach = std::max(0, count - 1) * step;
  const std::int32_t width = std::max(kSmallest, client.width - reach);
  const std::int32_t height = std::max(kSmallest, client.height - reach);
  std::vector<Placement> placements;
  for (std::int32_t i = 0; i < count; ++i)
    placements.push_back({i * step, i * step, width, height});
  return placements;
}

FrameController::FrameController(Session& session, FrameView& view)
    : session_(session), view_(view), recent_(BuildSettingsPath(kRecentFileName)) {}

void FrameController::CloseChildren() {
  for (ChildKind kind : {ChildKind::kPlot, ChildKind::kDescription}) {
    if (view_.HasChild(kind)) view_.CloseChild(kind);
  }
}

void FrameController::CloseAll() {
  StartupState& s = session_.startup;
  s.PlotWindowState = Lowered(s.PlotWindowState);
  s.DescriptionWindowState = Lowered(s.DescriptionWindowState);
  CloseChildren();
}

bool FrameController::MayCloseFrame() {
  CloseAll();
  return !view_.HasChild(ChildKind::kPlot) && !view_.HasChild(ChildKind::kDescription);
}

void FrameController::Open() {
  StartupState& s = session_.startup;
  DataModel& data = session_.data;
  // The file is chosen before anything is closed: cancelling the dialog leaves the windows and
  // the loaded file as they were, rather than an empty frame whose windows cannot be reopened.
  const bool named = s.FileFromCommandLine >= 1;
  std::optional<std::string> chosen;
  if (!named) {
    FileDialogRequest request;
    request.title = "Select data";
    request.filterKind = kFilterData;
    request.filterIndex = dataFilterIndex_;
    request.directory = data.DataDirectory;
    chosen = view_.RunFileDialog(request);
    if (!chosen) {
      OpenCommand(session_, OpenKind::kChosenFile, chosen);
      view_.MenusChanged();
      return;
    }
    dataFilterIndex_ = request.filterIndex;
  }
  // 1. The windows of the previous file go; a window that refuses stops the open.
  CloseChildren();
  if (view_.HasChild(ChildKind::kPlot) || view_.HasChild(ChildKind::kDescription)) return;
  if (s.DescriptionWindowState == WindowState::kClosed) {
    menus_.enable(MenuKind::kDataPlot, cmd::kOpenDescriptionWindow, true);
  }
  // 2.
  menus_.enable(MenuKind::kInit, cmd::kOpenDescriptionWindow, false);
  menus_.enable(MenuKind::kInit, cmd::kOpenPlotWindow, false);
  s.PlotWindowState = WindowState::kNeverOpened;
  s.DescriptionWindowState = WindowState::kNeverOpened;
  data.DescriptionSaved = 0;
  // 3.
  const std::int32_t result = named ? OpenCommand(session_, OpenKind::kNamedFile)
                                    : OpenCommand(session_, OpenKind::kChosenFile, chosen);
  // 4.
  if (result == kOpenDone) {
    history_.Clear();
    recent_.add(data.DataFilePath);
    if (data.DescriptionLineCount > 0) {
      CreateDescriptionWindow();
      menus_.enable(MenuKind::kInit, cmd::kOpenDescriptionWindow, true);
      menus_.enable(MenuKind::kDataDescription, cmd::kSaveDescription, true);
    }
    CreatePlotWindow();
    menus_.enable(MenuKind::kInit, cmd::kOpenPlotWindow, true);
    menus_.enable(MenuKind::kDataDescription, cmd::kReloadDescription, false);
    EnableAfterLoad();
    view_.RepaintChildren();
    return;
  }
  // 5.
  if (data.ParameterCount == kLoadWrongFormat) {
    ShowFileMessage(*session_.ui, kFileWrongFormat, data.DataFilePath);
  } else if (data.ParameterCount == kLoadCouldNotOpen) {
    ShowFileMessage(*session_.ui, kFileCouldNotOpen, data.DataFilePath);
  }
  ForgetDataFile(data);
  DisableDataMenus(menus_);
  view_.MenusChanged();
}

void FrameController::Reload() {
  session_.startup.FileFromCommandLine = 1;
  Open();
}

void FrameController::OpenNamedFile(const std::string& path, bool fromRecentList) {
  std::error_code ec;
  if (fromRecentList && !std::filesystem::is_regular_file(path, ec)) {
    ShowFileMessage(*session_.ui, kFileCouldNotOpen, path);
    recent_.remove(path);
    view_.MenusChanged();
    return;
  }
  SetDataFilePath(session_.data, path);
  session_.startup.FileFromCommandLine = 1;
  Open();
}

void FrameController::CreatePlotWindow() {
  StartupState& s = session_.startup;
  const Placement placement =
      PlacePlotWindow(s.placements.PlotWindowPlacement, view_.FrameClientSize(),
                      session_.data.DescriptionLineCount >= 1);
  s.PlotWindowState = WindowState::kOpen;
  view_.CreateChild(ChildKind::kPlot, placement, PlotWindowTitle(session_.data.DataFilePath));
}

void FrameController::CreateDescriptionWindow() {
  StartupState& s = session_.startup;
  const Placement placement =
      PlaceDescriptionWindow(s.placements.DescriptionWindowPlacement, view_.FrameClientSize());
  s.DescriptionWindowState = WindowState::kOpen;
  FindLongestRows(description_, session_.data);
  view_.CreateChild(ChildKind::kDescription, placement,
                    DescriptionWindowTitle(session_.data.DataFilePath));
}

void FrameController::OpenPlotWindow() {
  if (session_.startup.PlotWindowState != WindowState::kClosed) return;
  CreatePlotWindow();
}

void FrameController::OpenDescriptionWindow() {
  if (session_.startup.DescriptionWindowState != WindowState::kClosed) return;
  CreateDescriptionWindow();
}

void FrameController::ChildActivated(std::optional<ChildKind> kind) {
  const StartupState& s = session_.startup;
  if (!kind) {
    current_ = MenuKind::kInit;
  } else if (*kind == ChildKind::kPlot) {
    current_ = MenuKind::kDataPlot;
    menus_.enable(current_, cmd::kOpenDescriptionWindow,
                  s.DescriptionWindowState == WindowState::kClosed);
  } else {
    current_ = MenuKind::kDataDescription;
    menus_.enable(current_, cmd::kOpenPlotWindow, s.PlotWindowState == WindowState::kClosed);
  }
  view_.MenusChanged();
}

void FrameController::ChildClosing(ChildKind kind, const Placement& child, const Placement& frame) {
  StartupState& s = session_.startup;
  WindowState& state = kind == ChildKind::kPlot ? s.PlotWindowState : s.DescriptionWindowState;
  (kind == ChildKind::kPlot ? s.placements.PlotWindowPlacement
                            : s.placements.DescriptionWindowPlacement) = child;
  s.placements.FramePlacement = frame;
  if (state == WindowState::kOpen) state = WindowState::kClosed;
  const Size screen = view_.ScreenSize();
  // Placements are a convenience: a settings folder that cannot be written only loses them.
  WriteWindowFile(BuildSettingsPath(kWindowFileName), s, screen.width, screen.height,
                  session_.data.DataFilePath);
}

void FrameController::EnableAfterLoad() {
  menus_.enable(MenuKind::kDataPlot, cmd::kUndo, history_.canUndo());
  menus_.enable(MenuKind::kDataPlot, cmd::kRedo, history_.canRedo());
  UpdateModeMenu(menus_, session_.settings.graphic.plotMode);
  EnableDataMenus(menus_, session_.data, session_.settings.graphic);
  view_.MenusChanged();
}

void FrameController::ChangeMode(PlotMode mode) {
  if (session_.data.ParameterCount < 1) return;
  ChoosePlotMode(session_.settings, mode);
  EnableAfterLoad();
  view_.RepaintChildren();
}

void FrameController::Retitle() {
  const std::string& path = session_.data.DataFilePath;
  if (view_.HasChild(ChildKind::kPlot))
    view_.SetChildTitle(ChildKind::kPlot, PlotWindowTitle(path));
}

void FrameController::RefreshPlotMenus() {
  EnableAfterLoad();
}

bool FrameController::LoadTemplate() {
  FileDialogRequest request;
  request.title = "Select template";
  request.filterKind = kFilterTemplate;
  request.proposed = session_.settings.TemplatePath;
  const std::optional<std::string> chosen = view_.RunFileDialog(request);
  if (!chosen) return false;
  OpenCommand(session_, OpenKind::kTemplate, chosen);
  if (session_.data.ParameterCount < 1) {
    DisableDataMenus(menus_);
    view_.MenusChanged();
  } else {
    EnableAfterLoad();
  }
  Retitle();
  view_.RepaintChildren();
  return true;
}

FileDialogRequest SaveRequestFor(const Session& session, std::int32_t kind) {
  const SaveDialog dialog = SaveDialogFor(kind);
  return {true, std::string(dialog.title),      dialog.filterKind,
          0,    InitialSaveName(session, kind), {}};
}

void FrameController::SaveDataAs() {
  FileDialogRequest request = SaveRequestFor(session_, kSaveDataKind);
  const std::optional<std::string> chosen = view_.RunFileDialog(request);
  if (!chosen) return;
  if (SaveDataAsCommand(session_, *chosen) == 0) recent_.add(session_.data.DataFilePath);
  Retitle();
  view_.RepaintChildren();
}

void FrameController::SaveDescription() {
  session_.data.DescriptionSaved = 0;
  FileDialogRequest request = SaveRequestFor(session_, kSaveDescriptionKind);
  const std::optional<std::string> chosen = view_.RunFileDialog(request);
  if (!chosen) return;
  if (SaveDescriptionCommand(session_, *chosen) == 0 && session_.data.DescriptionSaved == 1) {
    menus_.enable(MenuKind::kDataDescription, cmd::kReloadDescription, true);
    view_.MenusChanged();
  }
}

void FrameController::ReloadDescription() {
  ReloadDescriptionCommand(session_);
  // The longest rows are those of the text read back, so the columns fit it.
  FindLongestRows(description_, session_.data);
  view_.RepaintChildren();
}

void FrameController::EditDescription() {
  DataModel& data = session_.data;
  GraphicSettings& graphic = session_.settings.graphic;
  if (data.DescriptionSaved != 1) {
    SaveDescription();
    if (data.DescriptionSaved != 1) return;
  }
  if (graphic.customEditor == 0) {
    FileDialogRequest request;
    request.title = "Select editor";
    request.filterKind = kFilterAll;
    request.directory = "/usr/bin/";
    const std::optional<std::string> chosen = view_.RunFileDialog(request);
    if (chosen) {
      graphic.editorPath = *chosen;
      graphic.customEditor = 1;
    } else {
      graphic.editorPath = std::string(kDefaultEditor);
    }
  }
  for (MenuKind menu : kAllMenus) menus_.enable(menu, cmd::kReloadDescription, true);
  view_.MenusChanged();
  const EditorLaunch launch = PlanEditorLaunch(graphic, data);
  const std::string failure = view_.StartEditor(launch);
  if (!failure.empty()) {
    session_.ui->ShowMessage(
        MessageIcon::kStop,
        "Could not start the editor:\n>" +
            (launch.desktopDefault ? std::string("the desktop's editor") : launch.program) + "<\n" +
            failure);
  }
}

}  // namespace sx
