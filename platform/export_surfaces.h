#pragma once
// The surfaces of the plot's picture files: the metafile, SVG, PDF and PNG written by an export
// or a batch, and the surface that stands for the window when the screen layout is made without
// a window (the command line, a batch).

#include <optional>
#include <string_view>

#include "render/picture_files.h"

namespace sx {

enum class ExportFormat { kEmf, kSvg, kPdf, kPng };

// The format a path's extension names (".emf", ".svg", ".pdf", ".png", any case); none for
// others.
std::optional<ExportFormat> ExportFormatForPath(std::string_view path);
// ".emf", ".svg", ".pdf" or ".png".
std::string_view ExportExtension(ExportFormat format);

// Writes each picture of an export in the given format, whole or not at all.
FileSurfaceFactory ExportFileFactory(ExportFormat format);

// A window of the screen's resolution for the layout pass only: the layout takes its size from
// the graphic size and measures texts with the screen's fonts, so a one-pixel picture serves
// and drawing beyond it costs nothing.
ScreenSurfaceFactory LayoutOnlyScreen(float dpi);

}  // namespace sx
