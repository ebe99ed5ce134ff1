#pragma once
// What the settings dialogs remember from one command to the next.

#include <cstdint>

namespace sx {

// Which records the "Set global options" dialogs change.
enum class OptionScope : std::int32_t {
  kAll = 0,       // every record 1..256
  kSelected = 1,  // only the plotted parameters
};

struct DialogState {
  OptionScope ApplyScope = OptionScope::kSelected;
};

}  // namespace sx
