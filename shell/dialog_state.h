#pragma once
// What the settings dialogs remember from one command to the next.

#include <cstdint>

namespace sx {

struct DialogState {
  // 0: the "all parameters" dialogs change every record 1..256; 1: only the plotted parameters.
  std::int32_t ApplyScope = 1;
};

}  // namespace sx
