#pragma once
// Where the frame and the two child windows stand, the budgets for the next start, and the
// states of the child windows: what the window file carries from one run to the next.

#include <cstdint>

#include "core/memory_budgets.h"

namespace sx {

struct Placement {
  std::int32_t x = -1, y = -1, width = -1, height = -1;
  bool operator==(const Placement&) const = default;
};

struct WindowPlacements {
  Placement FramePlacement;
  Placement PlotWindowPlacement;
  Placement DescriptionWindowPlacement;
};

// The three placements computed from the screen size (integer divisions).
WindowPlacements DefaultWindowPlacement(std::int32_t screenWidth, std::int32_t screenHeight);

// A child window's state: never opened since the last load, closed by the user, or open. Close All
// lowers it by one step, so a window open before can be reopened and one closed before cannot.
enum class WindowState : std::int32_t { kNeverOpened = -1, kClosed = 0, kOpen = 1 };

struct StartupState {
  WindowPlacements placements;
  // Budgets for the next start, as the window file and the "Set memory" dialog keep them. The
  // tables of this run keep the budgets they were made with (DataModel::MaxNumericItems and
  // MaxTextItems), whatever these become.
  MemoryBudgets budgets;
  std::int32_t FileFromCommandLine = 0;
  WindowState PlotWindowState = WindowState::kNeverOpened;
  WindowState DescriptionWindowState = WindowState::kNeverOpened;
};

}  // namespace sx
