#pragma once
// The program's version text, shown by the Version box and written into settings files.

#include <string_view>

namespace sx {

inline constexpr std::string_view kVersionText = "11.04 - Build: 2009-08-24";

}  // namespace sx
