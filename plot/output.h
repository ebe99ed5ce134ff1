#pragma once
// The plot on surfaces other than the window: a picture file of the current plot (the metafile
// export and its vector and image siblings) and the page fitting of a print. The surfaces
// themselves come from the caller through factory callbacks, so the same code writes an enhanced
// metafile, an SVG, a PDF or a PNG, and tests run it on recording surfaces.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "render/picture_files.h"
#include "render/plot_context.h"
#include "render/surface.h"

namespace sx {

// The device-scale set-up every surface gets before a pass. Our surfaces start each pass with
// an identity transform and their origin at (0, 0), so there is nothing to reset; they know one
// resolution only, which serves whether logical or physical dots per inch are asked for.
void SetupDeviceScale(const Surface& surface, std::int32_t useLogicalDpi, float& resolutionX,
                      float& resolutionY);

// trunc(resolutionX x 0.39370078), saturating.
std::int32_t ComputeDotsPerCm(float resolutionX);

// Scales graphicWidth / graphicHeight into a page of width x height keeping their proportion;
// the side that then exceeds the page is cut to it (the other side is not corrected). A graphic
// without a usable size (a side of 0 or less) takes the whole page.
void FitGraphicToPage(GraphicSettings& graphic, std::int32_t width, std::int32_t height);

// The frame of a picture of the window's client rectangle (0, 0, clientWidth, clientHeight) on a
// reference surface of the given resolution: k = hundredths of a millimetre per device unit,
// whole; right and bottom become trunc(side x k x 1.015), the horizontal k serving both.
MetafileFrame ComputeMetafileFrame(std::int32_t clientWidth, std::int32_t clientHeight,
                                   float referenceResolution);

// A screen paint: the device scale of the window's surface, ScreenResolution from it, and the
// plot pass with a new layout (stage 1), which later exports reuse.
void PaintScreen(const PlotModels& models, std::int32_t width, std::int32_t height,
                 const ScreenSurfaceFactory& screen);

// Writes the current plot to path, drawn with the layout of the last screen paint (stage 3), the
// picture being the window's client rectangle of clientWidth x clientHeight. Returns an empty
// string when written, otherwise why not (nothing is left at path then).
std::string ExportMetafile(const PlotModels& models, const std::string& path,
                           std::int32_t clientWidth, std::int32_t clientHeight,
                           const FileSurfaceFactory& factory);

}  // namespace sx
