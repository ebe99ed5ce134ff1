#pragma once
// Picture files from any drawing: a PNG image, an SVG or a PDF page of width x height pixels at
// a given resolution. The drawing runs on a Qt surface of that size into memory; the file is
// written whole or not at all (a failed write leaves any earlier file in place).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "render/surface.h"

namespace sx {

enum class ImageFormat { kPng, kSvg, kPdf };

// The format a path's extension names (".png", ".svg", ".pdf", any case); none for others.
std::optional<ImageFormat> ImageFormatForPath(std::string_view path);

struct ImageOptions {
  std::int32_t width = 0;   // pixels
  std::int32_t height = 0;  // pixels
  float dpi = 96.0f;        // resolution of the surface and the physical size of the page
  // Text on an opaque white cell, as on every file and printer surface.
  bool opaqueText = true;
  std::string title = "Sondrix";  // SVG and PDF document title
  std::string openDataFile;       // never overwritten (see WriteFileAtomically)
};

// Runs draw on a surface for the picture and writes it to path (bytes, whatever their encoding)
// with WriteFileAtomically; a destination it would refuse is refused before the drawing. Returns
// an empty string on success, otherwise a message naming the file and what failed. A PNG starts
// white; SVG and PDF pages keep no background of their own.
std::string WriteImageFile(const std::string& path, ImageFormat format, const ImageOptions& options,
                           const std::function<void(Surface&)>& draw);

}  // namespace sx
