#pragma once
// The plot window's decisions, without any window: what lies under the pointer (a strip, the
// X axis, the graphic, a legend line), the read-out shown in the status bar, which settings
// dialog a click or a command opens on which record, the mode and selection commands, the
// global options with their scope question, and the undo history of the settings. The window
// layer shows the results and forwards its events here.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "settings/settings_snapshot.h"
#include "shell/dialog_request.h"
#include "shell/frame.h"
#include "shell/session.h"
#include "shell/settings_history.h"

namespace sx {

// HitTestProfile's results besides a parameter (>= 0).
inline constexpr std::int32_t kHitXAxis = -2;
inline constexpr std::int32_t kHitGraphic = -1;

// The thing under (x, y) in the Horizontal and Vertical modes, from the frames of the last
// layout: a plotted parameter (its record; 0 where a click edits the X axis record), kHitXAxis
// or kHitGraphic. 0 when the X column has fewer than two values or nothing is plotted.
std::int32_t HitTestProfile(const DataModel& data, const PlotSettings& settings, std::int32_t x,
                            std::int32_t y);

// The status bar's text for the pointer at (x, y) in the current mode; empty where no value
// applies.
std::string StatusReadout(const DataModel& data, const PlotSettings& settings, std::int32_t x,
                          std::int32_t y);

// What a click at (x, y) asks for: the dialog (its record is the new CurrentParameter) and
// whether the window fits itself to the graphic size after OK. No resource: nothing to open.
struct ClickRequest {
  DialogRequest dialog;
  bool fitOnOk = false;
};
ClickRequest ClickOnPlot(const DataModel& data, const PlotSettings& settings,
                         const TextMetrics& metrics, std::int32_t x, std::int32_t y);

// The dialog a global-options command (3101..3113) opens in a mode; empty where it opens none.
std::string_view GlobalOptionDialog(PlotMode mode, std::int32_t id);

// "Select all": in the profile modes every parameter is plotted, one without any style getting
// the comment style (no numeric values) or markers and lines; in Ternary and Phase every group
// with the columns of an item selected. Recounts plottedCount.
void SelectAllParameters(const DataModel& data, PlotSettings& settings);
// "Select none" in the current mode.
void SelectNoParameters(PlotSettings& settings);

// The first plotted (profile modes) or selected (Ternary, Phase) record, 0 when none.
std::int32_t FirstPlottedParameter(const PlotSettings& settings);

// Where the plot window goes to show graphicWidth x graphicHeight inside the frame's client
// area: border is what the window adds around the graphic (frame, title, status bar); a side as
// large as the client area or larger takes the whole client side from 0, any other keeps the
// stored position.
Placement FitPlotWindow(const GraphicSettings& graphic, Size border, Size client,
                        const Placement& stored);

// The file an export writes and so its format: a path ending in ".emf", ".svg", ".pdf" or
// ".png" (any case) is kept; any other gets the extension of the chosen filter entry (0 EMF,
// 1 SVG, 2 PDF, 3 PNG; EMF for every other entry).
std::string ExportTargetPath(std::string_view path, std::int32_t filterIndex);

// Shows a settings dialog: true after OK (the settings may have changed), false after Cancel.
using DialogOpener = std::function<bool(const DialogRequest&)>;

// What the window does after an event or command.
struct WindowAction {
  bool repaint = false;
  bool fitWindow = false;  // store the placement and fit the window to the graphic size
};

// The plot window's state and its commands that need no file or device.
class PlotWindowController {
 public:
  PlotWindowController(FrameController& frame, SettingsHistory& history, DialogOpener opener);

  std::int32_t currentParameter() const { return currentParameter_; }
  bool clickArmed() const { return clickArmed_; }

  // Deactivation disarms the next click.
  void Deactivated() { clickArmed_ = false; }
  // A button went down at (x, y).
  WindowAction ButtonDown(std::int32_t x, std::int32_t y);
  std::string Readout(std::int32_t x, std::int32_t y) const;

  // The commands 3000..3113 and Undo / Redo; false for an id that is none of them.
  bool Handles(std::int32_t id) const;
  WindowAction Command(std::int32_t id);

  // Makes one undo step of a change done elsewhere (a template load): call before it.
  void BeginStep();
  // Ends it: kept when changed is true.
  void EndStep(bool changed);
  // Renews the menu state (data menus, mode, undo and redo).
  void RefreshMenus();

 private:
  WindowAction OpenForStep(const DialogRequest& request, bool fitOnOk);
  WindowAction ModeChange(PlotMode mode);
  WindowAction GlobalOption(std::int32_t id);
  WindowAction Selection(std::int32_t id);

  FrameController& frame_;
  Session& session_;
  SettingsHistory& history_;
  DialogOpener opener_;
  bool clickArmed_ = true;
  std::int32_t currentParameter_ = 0;
  SettingsSnapshot pending_;
};

}  // namespace sx
