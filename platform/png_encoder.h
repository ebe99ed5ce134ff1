#pragma once
// PNG encoding of an opaque 32-bit picture, tuned for plots: large even areas and thin lines.
// Each row is filtered with whichever of the "Sub" and "Up" filters leaves the smaller sum, and
// the result is deflated with run-length matching, which is several times faster than the
// general encoder on such pictures and packs them about as tightly.

#include <cstdint>
#include <string>

namespace sx {

struct PngPicture {
  const std::uint32_t* pixels = nullptr;  // 0xAARRGGBB rows; alpha is ignored (opaque)
  std::int64_t stride = 0;                // pixels from one row to the next
  std::int32_t width = 0, height = 0;
  std::int32_t dotsPerMeter = 0;  // written as the picture's resolution when > 0
};

// Appends the whole PNG file to `out`; false (with `out` as it was) when the picture is empty
// or the compressor fails.
bool EncodePng(const PngPicture& picture, std::string& out);

}  // namespace sx
