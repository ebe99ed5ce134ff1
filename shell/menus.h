#pragma once
// The three menus of the desktop program and its accelerator table as data, and the state of
// every menu item (greyed, checked, text) as a model the window layer only shows. What is enabled
// follows from the data and the plot mode; the functions below decide it without any window.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/data_model.h"
#include "settings/plot_settings.h"

namespace sx {

enum class MenuKind { kInit, kDataPlot, kDataDescription };
inline constexpr MenuKind kAllMenus[] = {MenuKind::kInit, MenuKind::kDataPlot,
                                         MenuKind::kDataDescription};

// "MdiMenuInit", "MdiMenuDataPlot", "MdiMenuDataDescription".
std::string_view MenuName(MenuKind menu);

// Popups have no command id of their own; these stand for them in the state model.
inline constexpr std::int32_t kPopupFile = -1;
inline constexpr std::int32_t kPopupEdit = -2;
inline constexpr std::int32_t kPopupOptions = -3;
inline constexpr std::int32_t kPopupWindow = -4;
inline constexpr std::int32_t kPopupHelp = -5;
inline constexpr std::int32_t kPopupTemplates = -6;
inline constexpr std::int32_t kPopupYAxis = -7;
inline constexpr std::int32_t kPopupGlobalOptions = -8;
inline constexpr std::int32_t kPopupColor = -9;

// Command ids the frame and the windows act on.
namespace cmd {
inline constexpr std::int32_t kNew = 1000, kReload = 1010, kSave = 1020, kSaveDataAs = 1030,
                              kSaveDescription = 1035, kExport = 1040, kBatch = 1050,
                              kPageSetup = 1060, kPrint = 1070, kPrintNow = 1071,
                              kLoadTemplate = 1080, kSaveTemplate = 1090, kSavePreferences = 1100;
inline constexpr std::int32_t kUndo = 2000, kRedo = 2001, kCut = 2010, kCopy = 2020, kPaste = 2030,
                              kDelete = 2040, kSelectAll = 2050;
inline constexpr std::int32_t kHorizontal = 3000, kVertical = 3010, kTernary = 3020, kPhase = 3030,
                              kGraphic = 3040, kXAxis = 3050, kSelectByParameters = 3060,
                              kSelectByGroups = 3070, kSelectAllParameters = 3080,
                              kSelectNone = 3090, kGlobalScope = 3100;
inline constexpr std::int32_t kInfo = 5010, kVersion = 5020, kHelp = 5030, kAbout = 5040;
inline constexpr std::int32_t kTile = 6000, kCascade = 6010, kArrangeIcons = 6020, kCloseAll = 6030,
                              kOpenPlotWindow = 6040, kOpenDescriptionWindow = 6050,
                              kEditDescription = 6060, kReloadDescription = 6070;
inline constexpr std::int32_t kOpen = 40001, kExit = 40002, kClose = 40003, kSetMemory = 40004;
}  // namespace cmd

struct MenuItem {
  enum class Type { kCommand, kSeparator, kPopup };
  Type type = Type::kSeparator;
  std::int32_t id = 0;    // the command, or a kPopup... id
  std::string_view text;  // "&" marks the mnemonic, "\t" starts the shortcut text
  bool initiallyGrey = false;
  std::span<const MenuItem> items;  // a popup's items
  std::string_view name;            // a popup's name ("File", "Templates", ...)
};

// The popups of a menu bar, in order.
std::span<const MenuItem> MenuBar(MenuKind menu);

struct Accelerator {
  std::string_view keys;  // "Ctrl+O", "Alt+Backspace", "Shift+F4", ...
  std::int32_t id;
};
std::span<const Accelerator> AcceleratorTable();

// Commands the frame handles itself; every other command goes to the active child window.
bool IsFrameCommand(std::int32_t id);

struct ItemState {
  bool enabled = true;
  bool checked = false;
  std::string text;
};

class MenuState {
 public:
  // Every item of the three menus with its text, enabled unless marked greyed.
  MenuState();

  // Null when the menu has no such item.
  const ItemState* find(MenuKind menu, std::int32_t id) const;
  void enable(MenuKind menu, std::int32_t id, bool on);
  void check(MenuKind menu, std::int32_t id, bool on);
  void setText(MenuKind menu, std::int32_t id, std::string_view text);
  bool enabled(MenuKind menu, std::int32_t id) const;

  // Whether an accelerator key for id does anything while menu is the frame's: the item must be
  // in that menu and neither it nor a popup holding it be greyed. Print-now (Ctrl+P) and the
  // global-scope question (Ctrl+L) have no item of their own and follow "&Print..." and the
  // "Set global options" popup.
  bool acceleratorFires(MenuKind menu, std::int32_t id) const;

 private:
  std::map<std::pair<MenuKind, std::int32_t>, ItemState> items_;
  // The popup holding each item, per menu (0 for the bar).
  std::map<std::pair<MenuKind, std::int32_t>, std::int32_t> parent_;
};

// Greys the plot menu's data commands: 1030, 1040, 1060, 1070, 1100, the Templates popup, the
// Edit and Options popups.
void DisableDataMenus(MenuState& menus);
// Enables the same and Copy; greys the selection commands that have too little to select and
// the items the plot mode does not use.
void EnableDataMenus(MenuState& menus, const DataModel& data, const GraphicSettings& graphic);
// Checks the plot mode's item and names the Y Axis popup for the mode.
void UpdateModeMenu(MenuState& menus, PlotMode plotMode);

}  // namespace sx
