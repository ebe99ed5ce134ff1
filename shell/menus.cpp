#include "shell/menus.h"

#include <array>

namespace sx {
namespace {

using T = MenuItem::Type;

constexpr MenuItem C(std::int32_t id, std::string_view text, bool grey = false) {
  return {T::kCommand, id, text, grey, {}, {}};
}
constexpr MenuItem S() {
  return {};
}
constexpr MenuItem P(std::int32_t id, std::string_view name, std::string_view text,
                     std::span<const MenuItem> items, bool grey = false) {
  return {T::kPopup, id, text, grey, items, name};
}

// MdiMenuInit
constexpr MenuItem kInitFile[] = {C(cmd::kOpen, "&Open...\tCtrl+O"), S(),
                                  C(cmd::kSetMemory, "Set memory\tCtrl+M"), S(),
                                  C(cmd::kExit, "E&xit\tCtrl+Q")};
// Both window items are greyed until a load has made the windows they open.
constexpr MenuItem kInitWindow[] = {
    C(cmd::kOpenDescriptionWindow, "Data &description window", true),
    C(cmd::kOpenPlotWindow, "Data &plot window", true)};
constexpr MenuItem kInitHelp[] = {C(cmd::kVersion, "Version"), S(), C(cmd::kHelp, "&Help"),
                                  C(cmd::kAbout, "&About Sondrix...")};
constexpr MenuItem kInitBar[] = {P(kPopupFile, "File", "&File", kInitFile),
                                 P(kPopupWindow, "Window", "&Window", kInitWindow),
                                 P(kPopupHelp, "Help", "&?", kInitHelp)};

// MdiMenuDataPlot
constexpr MenuItem kTemplates[] = {C(cmd::kLoadTemplate, "&Load..."),
                                   C(cmd::kSaveTemplate, "&Save as...")};
constexpr MenuItem kPlotFile[] = {C(cmd::kNew, "&New\tCtrl+N", true),
                                  C(cmd::kOpen, "&Open...\tCtrl+O"),
                                  C(cmd::kReload, "&Reload...\tCtrl+R"),
                                  C(cmd::kSave, "&Save\tCtrl+S", true),
                                  C(cmd::kSaveDataAs, "Save data as...", true),
                                  S(),
                                  C(cmd::kExport, "&Export (EMF)\tCtrl+E"),
                                  C(cmd::kBatch, "&Batch..."),
                                  S(),
                                  C(cmd::kPageSetup, "Page Set&up", true),
                                  C(cmd::kPrint, "&Print...\tCtrl+P", true),
                                  S(),
                                  P(kPopupTemplates, "Templates", "&Templates", kTemplates),
                                  C(cmd::kSavePreferences, "Save Pre&ferences", true),
                                  C(cmd::kSetMemory, "Set memory\tCtrl+M"),
                                  S(),
                                  C(cmd::kExit, "E&xit\tCtrl+Q")};
constexpr MenuItem kPlotEdit[] = {C(cmd::kUndo, "&Undo\tCtrl+Z", true),
                                  C(cmd::kRedo, "&Redo\tCtrl+Y", true),
                                  S(),
                                  C(cmd::kCut, "Cu&t\tCtrl+X", true),
                                  C(cmd::kCopy, "&Copy\tCtrl+C", true),
                                  C(cmd::kPaste, "&Paste", true),
                                  C(cmd::kDelete, "De&lete\tDel", true),
                                  S(),
                                  C(cmd::kSelectAll, "&Select All", true)};
constexpr MenuItem kColor[] = {C(3108, "Color..."), C(3109, "Color mapping...")};
constexpr MenuItem kGlobalOptions[] = {C(3101, "Maximum axis length..."),
                                       C(3104, "Do with next..."),
                                       C(3112, "Parameter text orientation..."),
                                       C(3102, "Range..."),
                                       C(3103, "Ticks..."),
                                       C(3105, "Marker..."),
                                       C(3106, "Options..."),
                                       C(3107, "Quality flags..."),
                                       P(kPopupColor, "Color", "Color", kColor),
                                       C(3110, "Line width..."),
                                       C(3111, "Column width..."),
                                       C(3113, "Epsilon...")};
constexpr MenuItem kYAxis[] = {
    C(cmd::kSelectByParameters, "&Select by parameters...\tCtrl+T"),
    C(cmd::kSelectByGroups, "Select by groups...\tCtrl+U"),
    C(cmd::kSelectAllParameters, "Select &all\tCtrl+A"),
    C(cmd::kSelectNone, "Select &none\tCtrl+D"),
    S(),
    P(kPopupGlobalOptions, "GlobalOptions", "Set global options", kGlobalOptions)};
constexpr MenuItem kPlotOptions[] = {C(cmd::kHorizontal, "&Horizontal\tF2"),
                                     C(cmd::kVertical, "&Vertical\tF3"),
                                     C(cmd::kTernary, "&Ternary\tF4"),
                                     C(cmd::kPhase, "&Phase\tF5"),
                                     S(),
                                     C(cmd::kGraphic, "&Graphic...\tCtrl+G"),
                                     S(),
                                     C(cmd::kXAxis, "&X Axis..."),
                                     P(kPopupYAxis, "YAxis", "&Y Axis", kYAxis)};
constexpr MenuItem kPlotWindow[] = {
    C(cmd::kCascade, "&Cascade\tShift+F5"),
    C(cmd::kTile, "&Tile\tShift+F4"),
    C(cmd::kArrangeIcons, "Arrange &Icons"),
    C(cmd::kCloseAll, "Close &All"),
    S(),
    C(cmd::kClose, "&Close - Data plot window\tCtrl+W"),
    C(cmd::kOpenDescriptionWindow, "Open - Data description window")};
constexpr MenuItem kChildHelp[] = {C(cmd::kInfo, "Info"), C(cmd::kVersion, "Version"), S(),
                                   C(cmd::kHelp, "&Help"), C(cmd::kAbout, "&About Sondrix...")};
constexpr MenuItem kPlotBar[] = {
    P(kPopupFile, "File", "&File", kPlotFile), P(kPopupEdit, "Edit", "&Edit", kPlotEdit),
    P(kPopupOptions, "Options", "&Options", kPlotOptions),
    P(kPopupWindow, "Window", "&Window", kPlotWindow), P(kPopupHelp, "Help", "&?", kChildHelp)};

// MdiMenuDataDescription
constexpr MenuItem kDescriptionFile[] = {C(cmd::kOpen, "&Open...\tCtrl+O"),
                                         C(cmd::kSave, "&Save\tCtrl+S", true),
                                         C(cmd::kSaveDataAs, "Save &data as..."),
                                         C(cmd::kSaveDescription, "Save data description...", true),
                                         C(cmd::kSetMemory, "Set memory\tCtrl+M"),
                                         S(),
                                         C(cmd::kExit, "E&xit\tCtrl+Q")};
constexpr MenuItem kDescriptionWindow[] = {
    C(cmd::kCascade, "&Cascade\tShift+F5"),
    C(cmd::kTile, "&Tile\tShift+F4"),
    C(cmd::kArrangeIcons, "Arrange &Icons"),
    C(cmd::kCloseAll, "Close &All"),
    S(),
    C(cmd::kClose, "&Close - Data description window\tCtrl+W"),
    C(cmd::kOpenPlotWindow, "Open - Data plot window"),
    S(),
    C(cmd::kEditDescription, "Edit data description"),
    C(cmd::kReloadDescription, "Reload data description")};
constexpr MenuItem kDescriptionBar[] = {P(kPopupFile, "File", "&File", kDescriptionFile),
                                        P(kPopupWindow, "Window", "&Window", kDescriptionWindow),
                                        P(kPopupHelp, "Help", "&?", kChildHelp)};

constexpr Accelerator kAccelerators[] = {{"Ctrl+O", cmd::kOpen},
                                         {"Ctrl+Q", cmd::kExit},
                                         {"Ctrl+M", cmd::kSetMemory},
                                         {"Ctrl+R", cmd::kReload},
                                         {"Ctrl+S", cmd::kSave},
                                         {"Ctrl+N", cmd::kNew},
                                         {"Ctrl+W", cmd::kClose},
                                         {"Ctrl+E", cmd::kExport},
                                         {"Ctrl+B", cmd::kBatch},
                                         {"Ctrl+P", cmd::kPrintNow},
                                         {"Ctrl+Z", cmd::kUndo},
                                         {"Alt+Backspace", cmd::kUndo},
                                         {"Ctrl+Y", cmd::kRedo},
                                         {"Ctrl+Shift+Z", cmd::kRedo},
                                         {"Ctrl+X", cmd::kCut},
                                         {"Shift+Del", cmd::kCut},
                                         {"Ctrl+C", cmd::kCopy},
                                         {"Ctrl+Ins", cmd::kCopy},
                                         {"Shift+Ins", cmd::kPaste},
                                         {"F2", cmd::kHorizontal},
                                         {"F3", cmd::kVertical},
                                         {"F4", cmd::kTernary},
                                         {"F5", cmd::kPhase},
                                         {"Ctrl+G", cmd::kGraphic},
                                         {"Ctrl+T", cmd::kSelectByParameters},
                                         {"Ctrl+U", cmd::kSelectByGroups},
                                         {"Ctrl+A", cmd::kSelectAllParameters},
                                         {"Ctrl+D", cmd::kSelectNone},
                                         {"Ctrl+L", cmd::kGlobalScope},
                                         {"Shift+F4", cmd::kTile},
                                         {"Shift+F5", cmd::kCascade},
                                         {"F1", cmd::kHelp}};

constexpr std::int32_t kFrameCommands[] = {
    cmd::kOpen,     cmd::kReload,         cmd::kExit,
    cmd::kClose,    cmd::kSetMemory,      cmd::kInfo,
    cmd::kVersion,  cmd::kHelp,           cmd::kAbout,
    cmd::kTile,     cmd::kCascade,        cmd::kArrangeIcons,
    cmd::kCloseAll, cmd::kOpenPlotWindow, cmd::kOpenDescriptionWindow};

void AddItems(std::map<std::pair<MenuKind, std::int32_t>, ItemState>& items,
              std::map<std::pair<MenuKind, std::int32_t>, std::int32_t>& parents, MenuKind menu,
              std::span<const MenuItem> list, std::int32_t parent) {
  for (const MenuItem& item : list) {
    if (item.type == T::kSeparator) continue;
    items[{menu, item.id}] = {!item.initiallyGrey, false, std::string(item.text)};
    parents[{menu, item.id}] = parent;
    if (item.type == T::kPopup) AddItems(items, parents, menu, item.items, item.id);
  }
}

// Which items of "Set global options" a mode uses, in menu order; columns: the profile modes,
// Ternary, Phase.
struct ModeUse {
  std::int32_t id;
  bool profile, ternary, phase;
};
constexpr ModeUse kGlobalOptionUse[] = {
    {3101, true, false, false},       {3104, true, false, false}, {3112, true, false, false},
    {3102, true, false, true},        {3103, true, false, false}, {3105, true, true, false},
    {3106, true, false, false},       {3107, true, false, false}, {kPopupColor, true, true, true},
    {3110, true, false, true},        {3111, true, false, false}, {3113, false, true, false},
    {cmd::kXAxis, true, false, false}};

constexpr std::int32_t kDataItems[] = {cmd::kSaveDataAs, cmd::kExport,          cmd::kPageSetup,
                                       cmd::kPrint,      cmd::kSavePreferences, kPopupTemplates,
                                       kPopupEdit,       kPopupOptions};

}  // namespace

std::string_view MenuName(MenuKind menu) {
  switch (menu) {
    case MenuKind::kInit:
      return "MdiMenuInit";
    case MenuKind::kDataPlot:
      return "MdiMenuDataPlot";
    case MenuKind::kDataDescription:
      return "MdiMenuDataDescription";
  }
  return {};
}

std::span<const MenuItem> MenuBar(MenuKind menu) {
  switch (menu) {
    case MenuKind::kInit:
      return kInitBar;
    case MenuKind::kDataPlot:
      return kPlotBar;
    case MenuKind::kDataDescription:
      return kDescriptionBar;
  }
  return {};
}

std::span<const Accelerator> AcceleratorTable() {
  return kAccelerators;
}

bool IsFrameCommand(std::int32_t id) {
  for (std::int32_t c : kFrameCommands) {
    if (c == id) return true;
  }
  return false;
}

MenuState::MenuState() {
  for (MenuKind menu : kAllMenus) AddItems(items_, parent_, menu, MenuBar(menu), 0);
}

const ItemState* MenuState::find(MenuKind menu, std::int32_t id) const {
  const auto it = items_.find({menu, id});
  return it == items_.end() ? nullptr : &it->second;
}

void MenuState::enable(MenuKind menu, std::int32_t id, bool on) {
  const auto it = items_.find({menu, id});
  if (it != items_.end()) it->second.enabled = on;
}

void MenuState::check(MenuKind menu, std::int32_t id, bool on) {
  const auto it = items_.find({menu, id});
  if (it != items_.end()) it->second.checked = on;
}

void MenuState::setText(MenuKind menu, std::int32_t id, std::string_view text) {
  const auto it = items_.find({menu, id});
  if (it != items_.end()) it->second.text = text;
}

bool MenuState::enabled(MenuKind menu, std::int32_t id) const {
  const ItemState* item = find(menu, id);
  return item != nullptr && item->enabled;
}

bool MenuState::acceleratorFires(MenuKind menu, std::int32_t id) const {
  if (id == cmd::kPrintNow) id = cmd::kPrint;
  if (id == cmd::kGlobalScope) id = kPopupGlobalOptions;
  if (find(menu, id) == nullptr) return false;
  for (std::int32_t at = id; at != 0; at = parent_.at({menu, at})) {
    if (!enabled(menu, at)) return false;
  }
  return true;
}

void DisableDataMenus(MenuState& menus) {
  for (std::int32_t id : kDataItems) menus.enable(MenuKind::kDataPlot, id, false);
}

void EnableDataMenus(MenuState& menus, const DataModel& data, const GraphicSettings& graphic) {
  constexpr MenuKind m = MenuKind::kDataPlot;
  for (std::int32_t id : kDataItems) menus.enable(m, id, true);
  menus.enable(m, cmd::kCopy, true);
  menus.enable(m, cmd::kSelectByParameters, data.ParameterCount >= 2);
  menus.enable(m, cmd::kSelectByGroups, data.GroupCount >= 2);
  for (const ModeUse& use : kGlobalOptionUse) {
    const bool on = graphic.plotMode == kTernary ? use.ternary
                    : graphic.plotMode == kPhase ? use.phase
                                                 : use.profile;
    menus.enable(m, use.id, on);
  }
}

void UpdateModeMenu(MenuState& menus, PlotMode plotMode) {
  constexpr std::array<std::int32_t, 4> kModeItems = {cmd::kHorizontal, cmd::kVertical,
                                                      cmd::kTernary, cmd::kPhase};
  for (std::size_t i = 0; i < kModeItems.size(); ++i) {
    menus.check(MenuKind::kDataPlot, kModeItems[i],
                static_cast<std::int32_t>(i) == static_cast<std::int32_t>(plotMode));
  }
  const bool profile = plotMode == kHorizontal || plotMode == kVertical;
  menus.setText(MenuKind::kDataPlot, kPopupYAxis, profile ? "Y Axis..." : "Groups...");
}

}  // namespace sx
