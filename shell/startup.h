#pragma once
// The engine half of start-up: the window file first (its budgets size the tables), then the
// tables, the defaults and colour tables, and the fill patterns (written when missing).

#include <memory>
#include <optional>

#include "shell/session.h"

namespace sx {

// screenWidth / screenHeight give the default placements when the window file has none or was
// written on a larger screen. budgets, when given, replace the stored ones for this run only.
std::unique_ptr<Session> StartSession(UserInterface& ui, std::int32_t screenWidth,
                                      std::int32_t screenHeight,
                                      std::optional<MemoryBudgets> budgets = std::nullopt);

}  // namespace sx
