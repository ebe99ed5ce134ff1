#include "shell/plot_window.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/device_int.h"
#include "plot/legend.h"
#include "plot/mode_items.h"
#include "plot/plotted_list.h"
#include "settings/scales.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

bool IsProfile(PlotMode mode) {
  return mode == kHorizontal || mode == kVertical;
}

// The frames and transforms are there to be read: columns 0..N and the records exist.
bool HasLayoutTables(const DataModel& data, const PlotSettings& settings) {
  const std::int64_t n = data.ParameterCount;
  return n >= 1 &&
         static_cast<std::int64_t>(data.ColumnTable.size()) >
             std::min<std::int64_t>(n, kMaxParameter) &&
         settings.ParameterSettingsTable.size() >= static_cast<std::size_t>(kSettingsRecords);
}

// The plotted strips, when a profile plot shows any.
PlottedList PlottedStrips(const DataModel& data, const PlotSettings& settings) {
  if (!HasLayoutTables(data, settings) || data.column(0).itemCount < 2 ||
      settings.graphic.plottedCount < 1) {
    return {};
  }
  PlottedList list = CollectPlotted(settings);
  // A record beyond the loaded columns has no frame.
  list.count = static_cast<int>(std::count_if(list.index.begin(), list.index.begin() + list.count,
                                              [&](int p) { return p <= data.ParameterCount; }));
  return list;
}

// A value under the pointer: (position + offset) / scale, 0 for a scale of 0.
double ValueAt(std::int32_t position, float offset, float scale) {
  if (scale == 0.0f) return 0.0;
  return (static_cast<double>(position) + offset) / scale;
}

std::string Format(const char* format, auto... values) {
  char text[512];
  const int n = std::snprintf(text, sizeof text, format, values...);
  if (n < 0) return {};
  return std::string(text, static_cast<std::size_t>(std::min<int>(n, sizeof text - 1)));
}

std::string ProfileReadout(const DataModel& data, const PlotSettings& settings, std::int32_t x,
                           std::int32_t y) {
  const std::int32_t p = HitTestProfile(data, settings, x, y);
  if (p < 1 || p > data.ParameterCount) return {};
  const ColumnRecord& c = data.column(p);
  const bool horizontal = settings.graphic.plotMode == kHorizontal;
  const std::int64_t along = horizontal ? x : y;
  const std::int64_t start = horizontal ? c.originX : c.originY;
  const std::int64_t end = start + (horizontal ? c.extentX : c.extentY);
  if (along < std::min(start, end) || along > std::max(start, end)) return {};
  const double xValue =
      horizontal ? ValueAt(x, c.xOffset, c.xScale) : ValueAt(y, c.yOffset, c.yScale);
  const double value =
      horizontal ? ValueAt(y, c.yOffset, c.yScale) : ValueAt(x, c.xOffset, c.xScale);
  // Labels are bounded texts; precision keeps them within the line.
  return Format("%.80s: %.2f, %.80s: %.2f", data.column(0).label.str().c_str(), xValue,
                c.label.str().c_str(), value);
}

std::string TernaryReadout(const ColumnRecord& frame, std::int32_t x, std::int32_t y) {
  const double p3 =
      frame.extentY == 0 ? 0.0 : (static_cast<double>(frame.originY) - y) / frame.extentY;
  const double p1 =
      frame.extentX == 0
          ? 0.0
          : (2.0 - 2.0 * (static_cast<double>(x) - frame.originX) / frame.extentX - p3) / 2.0;
  const double p2 = 1.0 - p1 - p3;
  if (p1 < 0 || p2 < 0 || p3 < 0 || p1 + p2 + p3 > 1.01) return {};
  return Format("P1: %.2f%%, P2: %.2f%%, P3: %.2f%%", p1 * 100, p2 * 100, p3 * 100);
}

std::string PhaseReadout(const ColumnRecord& frame, float cMax, std::int32_t x, std::int32_t y) {
  const double dx = static_cast<double>(x) - frame.originX;
  const double dy = static_cast<double>(y) - frame.originY;
  const double d = std::sqrt(dx * dx + dy * dy);
  const double length = frame.extentX == 0 ? d : 2.0 * d / frame.extentX;
  if (!(length < 1.0)) return {};
  double angle = d == 0 ? 0.0 : std::asin(std::clamp(dx / d, -1.0, 1.0)) * 57.29578;
  // Clockwise from straight up: the lower half mirrors, the upper left half goes past 180.
  // Straight left (dy = 0) belongs to the upper left so that it reads 270, not -90.
  if (dy > 0) {
    angle = 180.0 - angle;
  } else if (dx < 0) {
    angle += 360.0;
  }
  return Format("Length: %.2f, Angle: %.1f\u00b0", length * cMax, angle);
}

}  // namespace

std::int32_t HitTestProfile(const DataModel& data, const PlotSettings& settings, std::int32_t x,
                            std::int32_t y) {
  const PlottedList list = PlottedStrips(data, settings);
  if (list.count < 1) return 0;
  const ColumnRecord& f = data.column(list[0]);
  const ColumnRecord& g = data.column(list[list.count - 1]);
  const std::int64_t fx = f.originX, fy = f.originY;
  const std::int64_t gRight = std::int64_t{g.originX} + g.extentX;
  const std::int64_t gBottom = std::int64_t{g.originY} + g.extentY;
  // The first plotted parameter before which the pointer lies along the strips, 0 if none.
  const auto firstBefore = [&](auto edge) {
    for (int i = 0; i < list.count; ++i) {
      if (edge(data.column(list[i]))) return list[i];
    }
    return 0;
  };
  if (settings.graphic.plotMode == kHorizontal) {
    const std::int64_t fTop = fy + f.extentY;
    if (fTop <= y && y <= g.originY && x <= gRight) {
      return firstBefore([y](const ColumnRecord& c) { return y < c.originY; });
    }
    std::int32_t r = 0;
    if (x > fx && y < fTop) r = kHitXAxis;
    if (x < fx && y < fTop) r = kHitGraphic;
    if (y > g.originY) r = kHitXAxis;
    if (x > gRight) r = kHitGraphic;
    return r;
  }
  if (settings.graphic.plotMode != kVertical) return 0;
  if (x < fx) {
    if (y > gBottom) return kHitGraphic;
    return y < fy ? kHitGraphic : y == fy ? 0 : kHitXAxis;
  }
  if (x <= gRight) {
    if (y > gBottom) return kHitGraphic;
    return firstBefore(
        [x](const ColumnRecord& c) { return x < std::int64_t{c.originX} + c.extentX; });
  }
  return y <= gBottom ? 0 : kHitGraphic;
}

std::string StatusReadout(const DataModel& data, const PlotSettings& settings, std::int32_t x,
                          std::int32_t y) {
  if (!HasLayoutTables(data, settings)) return {};
  switch (settings.graphic.plotMode) {
    case kHorizontal:
    case kVertical:
      return ProfileReadout(data, settings, x, y);
    case kTernary:
      return TernaryReadout(data.column(0), x, y);
    case kPhase:
      return PhaseReadout(data.column(0), settings.record(1).cMax, x, y);
  }
  return {};
}

ClickRequest ClickOnPlot(const DataModel& data, const PlotSettings& settings,
                         const TextMetrics& metrics, std::int32_t x, std::int32_t y) {
  ClickRequest click;
  if (!HasLayoutTables(data, settings)) return click;
  DialogRequest& d = click.dialog;
  const PlotMode mode = settings.graphic.plotMode;
  if (IsProfile(mode)) {
    const std::int32_t c = HitTestProfile(data, settings, x, y);
    if (c == kHitXAxis) {
      d.resource = "XAXISDIALOG";
    } else if (c == kHitGraphic) {
      d.resource = "GRAPHICDIALOG";
      click.fitOnOk = true;
    } else {
      const ColumnRecord& frame = data.column(c);
      const bool axis = mode == kHorizontal ? x < frame.originX : y < frame.originY;
      d.resource = axis ? "PARAMETERAXISDIALOG" : "PARAMETEROPTIONDIALOG";
      d.record = c;
    }
    return click;
  }
  if (mode != kTernary && mode != kPhase) return click;
  const std::int32_t r = HitTestLegend(data, settings, metrics, x, y);
  if (r < 0) {
    d.resource = mode == kTernary ? "TERNARYMODEDIALOG" : "PHASEMODEDIALOG";
    d.record = -r;
  } else {
    d.resource = "TERNARYMODEGRAPHICDIALOG";
    click.fitOnOk = true;
  }
  return click;
}

std::string_view GlobalOptionDialog(PlotMode mode, std::int32_t id) {
  struct Row {
    std::int32_t id;
    std::string_view profile, ternary, phase;
  };
  static constexpr Row kRows[] = {
      {3101, "YAXISDIALOGMAXAXISLENGTH", "", ""},
      {3102, "YAXISDIALOGRANGE", "", "YAXISDIALOGPHASEMODERANGE"},
      {3103, "YAXISDIALOGTICKS", "YAXISDIALOGTICKS", "YAXISDIALOGTICKS"},
      {3104, "YAXISDIALOGADDNEXT", "YAXISDIALOGADDNEXT", "YAXISDIALOGADDNEXT"},
      {3105, "YAXISDIALOGMARKER", "YAXISDIALOGGMARKER", ""},
      {3106, "YAXISDIALOGOPTIONS", "YAXISDIALOGOPTIONS", "YAXISDIALOGOPTIONS"},
      {3107, "YAXISDIALOGQUALITYFLAGS", "YAXISDIALOGQUALITYFLAGS", "YAXISDIALOGQUALITYFLAGS"},
      {3108, "COLORCHOOSER", "COLORCHOOSER", "COLORCHOOSER"},
      {3109, "COLORMAPPINGDIALOG", "COLORMAPPINGDIALOG", "COLORMAPPINGDIALOG"},
      {3110, "YAXISDIALOGLINEWIDTH", "YAXISDIALOGLINEWIDTH", "YAXISDIALOGLINEWIDTH"},
      {3111, "YAXISDIALOGCOLUMNWIDTH", "YAXISDIALOGCOLUMNWIDTH", "YAXISDIALOGCOLUMNWIDTH"},
      {3112, "YAXISDIALOGTEXTORIENTATION", "YAXISDIALOGTEXTORIENTATION",
       "YAXISDIALOGTEXTORIENTATION"},
      {3113, "EPSILONDIALOG", "EPSILONDIALOG", "EPSILONDIALOG"}};
  for (const Row& row : kRows) {
    if (row.id != id) continue;
    if (IsProfile(mode)) return row.profile;
    return mode == kTernary ? row.ternary : mode == kPhase ? row.phase : std::string_view();
  }
  return {};
}

void SelectAllParameters(const DataModel& data, PlotSettings& settings) {
  GraphicSettings& g = settings.graphic;
  g.plottedCount = 0;
  if (!HasLayoutTables(data, settings)) return;
  const int n = std::min(data.ParameterCount, kMaxParameter);
  if (IsProfile(g.plotMode)) {
    for (int p = 1; p <= n; ++p) {
      ParameterSettings& r = settings.record(p);
      const bool styled = r.colorize || r.lines || r.columns || r.histogramLines || r.occurrence ||
                          r.valueText || r.comment || r.marker;
      if (!styled) {
        if (data.column(p).itemCount == 0) {
          r.comment = 1;
        } else {
          r.marker = 1;
          r.lines = 1;
        }
      }
      // The style kinds decide between plotted and plotted with text only.
      if (!UpdatePlotState(settings, p)) r.plotState = 1;
      ++g.plottedCount;
    }
    return;
  }
  if (!ModeTablesReady(data, settings)) return;
  // A group is selected when the columns of its item all have values.
  const int want = g.plotMode == kTernary ? kTernaryColumns : kPhaseColumns;
  ForEachModeGroup(data, [&](const ModeGroup& group) {
    if (group.size < want) return;
    for (int i = 0; i < want; ++i) {
      if (data.column(group.firstColumn + i).itemCount < 1) return;
    }
    settings.record(group.group).modeSelected = 1;
    ++g.plottedCount;
  });
}

void SelectNoParameters(PlotSettings& settings) {
  const bool profile = IsProfile(settings.graphic.plotMode);
  const int last = static_cast<int>(std::min<std::size_t>(settings.ParameterSettingsTable.size(),
                                                          kSettingsRecords)) -
                   1;
  for (int p = 1; p <= last; ++p) {
    (profile ? settings.record(p).plotState : settings.record(p).modeSelected) = 0;
  }
  settings.graphic.plottedCount = 0;
}

std::int32_t FirstPlottedParameter(const PlotSettings& settings) {
  const bool profile = IsProfile(settings.graphic.plotMode);
  const int last = static_cast<int>(std::min<std::size_t>(settings.ParameterSettingsTable.size(),
                                                          kSettingsRecords)) -
                   1;
  for (int p = 1; p <= last; ++p) {
    const ParameterSettings& r = settings.record(p);
    if ((profile ? r.plotState : r.modeSelected) > 0) return p;
  }
  return 0;
}

Placement FitPlotWindow(const GraphicSettings& graphic, Size border, Size client,
                        const Placement& stored) {
  Placement p = stored;
  const auto fit = [](std::int32_t graphicSide, std::int32_t borderSide, std::int32_t clientSide,
                      std::int32_t& at, std::int32_t& side) {
    if (graphicSide >= clientSide) {
      at = 0;
      side = clientSide;
    } else {
      side = Saturate32(std::int64_t{std::max(graphicSide, 0)} + borderSide);
    }
  };
  fit(graphic.graphicWidth, border.width, client.width, p.x, p.width);
  fit(graphic.graphicHeight, border.height, client.height, p.y, p.height);
  return p;
}

std::string ExportTargetPath(std::string_view path, std::int32_t filterIndex) {
  static constexpr std::string_view kExtensions[] = {".emf", ".svg", ".pdf", ".png"};
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
    std::string ext(path.substr(dot));
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (std::string_view known : kExtensions) {
      if (ext == known) return std::string(path);
    }
  }
  const bool listed = filterIndex >= 0 && filterIndex < 4;
  return std::string(path) +
         std::string(kExtensions[listed ? static_cast<std::size_t>(filterIndex) : 0]);
}

PlotWindowController::PlotWindowController(FrameController& frame, SettingsHistory& history,
                                           DialogOpener opener)
    : frame_(frame), session_(frame.session()), history_(history), opener_(std::move(opener)) {}

std::string PlotWindowController::Readout(std::int32_t x, std::int32_t y) const {
  return StatusReadout(session_.data, session_.settings, x, y);
}

WindowAction PlotWindowController::ButtonDown(std::int32_t x, std::int32_t y) {
  if (!clickArmed_) {
    clickArmed_ = true;
    return {};
  }
  const GraphicSettings& g = session_.settings.graphic;
  if (session_.data.ParameterCount < 1) return {};
  if (g.plottedCount < 1 && g.plotMode != kTernary) return {};
  const ClickRequest click =
      ClickOnPlot(session_.data, session_.settings, session_.render.metrics, x, y);
  if (click.dialog.resource.empty()) return {};
  currentParameter_ = click.dialog.record;
  WindowAction action = OpenForStep(click.dialog, click.fitOnOk);
  RefreshMenus();
  // A cancelled dialog still repaints.
  action.repaint = true;
  return action;
}

void PlotWindowController::BeginStep() {
  pending_ = SettingsSnapshot();
  pending_.Take(session_.settings);
}

void PlotWindowController::EndStep(bool changed) {
  if (changed) history_.Push(std::move(pending_));
  pending_ = SettingsSnapshot();
}

void PlotWindowController::RefreshMenus() {
  frame_.RefreshPlotMenus();
}

WindowAction PlotWindowController::OpenForStep(const DialogRequest& request, bool fitOnOk) {
  BeginStep();
  const bool ok = opener_ && opener_(request);
  EndStep(ok);
  return {true, ok && fitOnOk};
}

bool PlotWindowController::Handles(std::int32_t id) const {
  return id == cmd::kUndo || id == cmd::kRedo || (id >= cmd::kHorizontal && id <= 3113);
}

WindowAction PlotWindowController::Command(std::int32_t id) {
  PlotSettings& settings = session_.settings;
  switch (id) {
    case cmd::kUndo:
    case cmd::kRedo: {
      const bool done = id == cmd::kUndo ? history_.Undo(settings) : history_.Redo(settings);
      RefreshMenus();
      return {done, false};
    }
    case cmd::kHorizontal:
    case cmd::kVertical:
    case cmd::kTernary:
    case cmd::kPhase:
      return ModeChange(static_cast<PlotMode>((id - cmd::kHorizontal) / 10));
    case cmd::kGraphic: {
      const bool profile = IsProfile(settings.graphic.plotMode);
      const WindowAction action =
          OpenForStep({profile ? "GRAPHICDIALOG" : "TERNARYMODEGRAPHICDIALOG", 0, id}, true);
      RefreshMenus();
      return action;
    }
    case cmd::kXAxis: {
      BeginStep();
      const bool ok = opener_ && opener_({"XAXISDIALOG", 0, id});
      ApplyAutomaticScales(session_.data, settings, -1);
      EndStep(ok);
      return {true, false};
    }
    case cmd::kSelectByParameters:
    case cmd::kSelectByGroups:
    case cmd::kSelectAllParameters:
    case cmd::kSelectNone:
      return Selection(id);
    default:
      break;
  }
  if (id >= cmd::kGlobalScope && id <= 3113) return GlobalOption(id);
  return {};
}

WindowAction PlotWindowController::ModeChange(PlotMode mode) {
  PlotSettings& settings = session_.settings;
  if (session_.data.ParameterCount < 1) return {};
  const PlotMode before = settings.graphic.plotMode;
  BeginStep();
  ChoosePlotMode(settings, mode);
  EndStep(before != mode);
  RefreshMenus();
  return {true, false};
}

WindowAction PlotWindowController::Selection(std::int32_t id) {
  PlotSettings& settings = session_.settings;
  GraphicSettings& g = settings.graphic;
  BeginStep();
  bool changed = true;
  if (id == cmd::kSelectAllParameters) {
    SelectAllParameters(session_.data, settings);
  } else if (id == cmd::kSelectNone) {
    SelectNoParameters(settings);
  } else {
    const std::int32_t kind = g.modeEntityKind;
    const auto selection = [&settings] {
      std::vector<std::int32_t> ticked;
      for (std::size_t p = 0; p < settings.ParameterSettingsTable.size(); ++p) {
        const ParameterSettings& r = settings.ParameterSettingsTable[p];
        ticked.push_back(r.plotState);
        ticked.push_back(r.modeSelected);
      }
      return ticked;
    };
    const std::vector<std::int32_t> before = selection();
    g.modeEntityKind = id == cmd::kSelectByParameters ? kItemsByParameters : kItemsByGroups;
    changed = opener_ && opener_({"SELECT", 0, id});
    // Cancel leaves the legend's items as they were too; the boxes act at once, so what they
    // changed before a Cancel is still a step to undo.
    if (!changed) g.modeEntityKind = kind;
    changed = changed || selection() != before;
  }
  ApplyAutomaticScales(session_.data, settings, -1);
  EndStep(changed);
  RefreshMenus();
  return {true, false};
}

WindowAction PlotWindowController::GlobalOption(std::int32_t id) {
  PlotSettings& settings = session_.settings;
  const GraphicSettings& g = settings.graphic;
  if (g.plottedCount < 1) return {};
  // The dialog layer runs the whole command: the scope question when only some parameters are
  // plotted (its Cancel ends the command), then the option's dialog; the quality flags' OK
  // recomputes the ranges there.
  const std::int32_t first = FirstPlottedParameter(settings);
  currentParameter_ = first;
  BeginStep();
  bool changed = false;
  const std::string_view resource = GlobalOptionDialog(g.plotMode, id);
  if (!resource.empty()) changed = opener_ && opener_({std::string(resource), first, id});
  ApplyAutomaticScales(session_.data, settings, -1);
  EndStep(changed);
  RefreshMenus();
  return {true, false};
}

}  // namespace sx
