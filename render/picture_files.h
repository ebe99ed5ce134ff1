#pragma once
// What a picture file of the plot is made from: the request (path, size, resolution, frame and
// description) and the callbacks through which the caller supplies the surfaces, so the same
// code writes an enhanced metafile, an SVG, a PDF or a PNG, and tests run it on recording
// surfaces.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "render/surface.h"

namespace sx {

inline constexpr std::string_view kMetafileDescription = "Sondrix Metafile";

// A metafile's frame rectangle in hundredths of a millimetre.
struct MetafileFrame {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const MetafileFrame&) const = default;
};

// One picture file to make.
struct ExportRequest {
  std::string path;        // destination (UTF-8)
  std::int32_t width = 0;  // device units: the window's client size
  std::int32_t height = 0;
  float dpi = 96.0f;    // the reference (screen) resolution
  MetafileFrame frame;  // for formats that keep one
  std::string description{kMetafileDescription};
  std::string openDataFile;  // the data file shown: never to be overwritten by the picture
};

using DrawFunction = std::function<void(Surface&)>;
// Makes the picture's surface, runs draw on it and writes the file whole or not at all. Returns
// an empty string on success, otherwise a message naming the file and what failed.
using FileSurfaceFactory = std::function<std::string(const ExportRequest&, const DrawFunction&)>;
// Runs draw on a surface standing for the window, of width x height device units.
using ScreenSurfaceFactory =
    std::function<void(std::int32_t width, std::int32_t height, const DrawFunction&)>;

}  // namespace sx
