#pragma once
// The frame window's decisions, without any window: which child windows exist and in which
// state, where they go and how they are titled, what the open sequence does step by step, which
// menu the frame shows and what is greyed in it. The window layer implements FrameView to carry
// them out and forwards every command and event here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/description_view.h"
#include "shell/menus.h"
#include "shell/recent_files.h"
#include "shell/session.h"
#include "shell/settings_history.h"

namespace sx {

enum class ChildKind { kPlot, kDescription };

struct Size {
  std::int32_t width = 0, height = 0;
};

struct FileDialogRequest {
  bool save = false;
  std::string title;
  std::int32_t filterKind = 0;
  std::int32_t filterIndex = 0;  // the entry shown first; the chosen one after OK
  std::string proposed;          // the file proposed, with its folder
  std::string directory;         // where the dialog starts when nothing is proposed
};

// The save dialog of a kind (kSaveDataKind, kSaveExportKind, ...): its title, filters and the
// name it proposes for the session's file.
FileDialogRequest SaveRequestFor(const Session& session, std::int32_t kind);

// How an editor is started: the desktop's application for the file, or the program itself with
// the file as its one argument (no shell in between).
struct EditorLaunch {
  bool desktopDefault = true;
  std::string program;
  std::string file;
};

// The stored default editor of files written elsewhere stands for the desktop's default
// application; so does an empty path.
bool IsDefaultEditor(std::string_view editorPath);
EditorLaunch PlanEditorLaunch(const GraphicSettings& graphic, const DataModel& data);

// "Data plot - %s" / "Data description - %s", "(untitled)" for an empty path.
std::string PlotWindowTitle(std::string_view path);
std::string DescriptionWindowTitle(std::string_view path);
// The notice text: the first "%s" replaced by argument, "(untitled)" when that is empty.
std::string FormatNotice(std::string_view text, std::string_view argument);

// Where a new child window goes in the frame's client area. A stored placement of width and
// height -1 is replaced by the rule's and stored; any other is used as it is.
Placement PlacePlotWindow(Placement& stored, Size client, bool hasDescription);
Placement PlaceDescriptionWindow(Placement& stored, Size client);

// Close All lowers a state by one step (never below "never opened").
WindowState Lowered(WindowState state);

// Cascade: count windows, the first at the client area's top left and each next one step lower
// and further right, all of one size that keeps the last one inside the client area, so that
// every title stays visible and every window keeps a usable size.
std::vector<Placement> CascadePlacements(std::int32_t count, Size client, std::int32_t step);

class FrameView {
 public:
  virtual ~FrameView() = default;
  virtual bool HasChild(ChildKind kind) const = 0;
  // Asks the child whether it may close and destroys it when it agrees; its close handler calls
  // FrameController::ChildClosing first.
  virtual void CloseChild(ChildKind kind) = 0;
  virtual void CreateChild(ChildKind kind, const Placement& placement,
                           const std::string& title) = 0;
  virtual void SetChildTitle(ChildKind kind, const std::string& title) = 0;
  // A modal file dialog; the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> RunFileDialog(FileDialogRequest& request) = 0;
  virtual Size FrameClientSize() const = 0;
  virtual Size ScreenSize() const = 0;
  // The menu state or the current menu changed: show them.
  virtual void MenusChanged() = 0;
  virtual void RepaintChildren() = 0;
  // Starts the editor without waiting for it; an empty result when it started, else why not.
  virtual std::string StartEditor(const EditorLaunch& launch) = 0;
};

class FrameController {
 public:
  FrameController(Session& session, FrameView& view);

  Session& session() { return session_; }
  const MenuState& menus() const { return menus_; }
  MenuState& menus() { return menus_; }
  FrameView& view() { return view_; }
  // The undo history of the plot settings; a successful open starts a new one.
  SettingsHistory& history() { return history_; }
  MenuKind currentMenu() const { return current_; }
  DescriptionView& descriptionView() { return description_; }
  RecentFiles& recentFiles() { return recent_; }

  // Open (40001) and the start-up's first command: the open sequence. A cancelled "Select data"
  // changes nothing.
  void Open();
  // Reload (1010): the current file again, without a dialog.
  void Reload();
  // A data file from outside the menus (dropped on the frame, chosen from the recent files):
  // opened as the command line's file is. A recent file that no longer exists is reported and
  // leaves the list.
  void OpenNamedFile(const std::string& path, bool fromRecentList = false);
  // Close All (6030).
  void CloseAll();
  // The frame's close: Close All, then true when no child window is left.
  bool MayCloseFrame();
  // 6040 and 6050: only when the window was closed by the user.
  void OpenPlotWindow();
  void OpenDescriptionWindow();
  // The active child changed (none: the frame shows MdiMenuInit).
  void ChildActivated(std::optional<ChildKind> kind);
  // A child closes: its placement (relative to the frame's client area) and the frame's are
  // kept and the window file written.
  void ChildClosing(ChildKind kind, const Placement& child, const Placement& frame);

  // Plot window commands of this stage: the four modes (3000..3030) and the template load.
  void ChangeMode(PlotMode mode);
  // The template load; true when a template was chosen and the settings may have changed.
  bool LoadTemplate();
  // The data menus and the mode menu for the current data and mode, shown.
  void RefreshPlotMenus();
  // Description window commands.
  void SaveDataAs();
  void SaveDescription();
  void ReloadDescription();
  void EditDescription();

  // Whether an accelerator for id acts in the frame's current menu.
  bool AcceleratorFires(std::int32_t id) const { return menus_.acceleratorFires(current_, id); }

  // The data dialog's remembered filter entry.
  std::int32_t dataFilterIndex() const { return dataFilterIndex_; }

 private:
  void CloseChildren();
  void CreatePlotWindow();
  void CreateDescriptionWindow();
  void EnableAfterLoad();

 public:
  // Gives the plot window its title for the current data file.
  void Retitle();

 private:
  Session& session_;
  FrameView& view_;
  MenuState menus_;
  MenuKind current_ = MenuKind::kInit;
  DescriptionView description_;
  RecentFiles recent_;
  SettingsHistory history_;
  std::int32_t dataFilterIndex_ = 0;
};

}  // namespace sx
