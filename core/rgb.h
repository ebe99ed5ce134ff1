#pragma once
// A colour as three unsigned bytes, and the packed form the drawing back ends take.

#include <cstdint>

namespace sx {

struct RGB {
  std::uint8_t red, green, blue;
  bool operator==(const RGB&) const = default;
};

inline constexpr RGB kDefaultDrawColor{0, 0, 0};
inline constexpr RGB kNeutralGray{213, 213, 213};
inline constexpr RGB kWhite{255, 255, 255};

// Colour handed to the platform: red + 256 * green + 65536 * blue.
inline std::uint32_t PackRGB(RGB c) {
  return c.red + 256u * c.green + 65536u * c.blue;
}

}  // namespace sx
