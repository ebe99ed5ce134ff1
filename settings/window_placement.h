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

struct StartupState {
  WindowPlacements placements;
  // Budgets for the next start, as the window file and the "Set memory" dialog keep them. The
  // tables of this run keep the budgets they were made with (DataModel::MaxNumericItems and
  // MaxTextItems), whatever these become.
  MemoryBudgets budgets;
  std::int32_t FileFromCommandLine = 0;
  std::int32_t PlotWindowState = -1;  // -1 never opened, 1 open, 0 closed
  std::int32_t DescriptionWindowState = -1;
};

}  // namespace sx
