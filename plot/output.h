#pragma once
// The plot on surfaces other than the window: a picture file of the current plot (the metafile
// export and its vector and image siblings), the page fitting of a print, and the batch that
// loads many data files in a row and exports each. The surfaces themselves come from the
// caller through factory callbacks, so the same code writes an enhanced metafile, an SVG, a PDF
// or a PNG, and tests run it on recording surfaces.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"
#include "render/surface.h"

namespace sx {

inline constexpr std::string_view kMetafileDescription = "Sondrix Metafile";

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

// A metafile's frame rectangle in hundredths of a millimetre.
struct MetafileFrame {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const MetafileFrame&) const = default;
};

// The frame of a picture of the window's client rectangle (0, 0, clientWidth, clientHeight) on a
// reference surface of the given resolution: k = hundredths of a millimetre per device unit,
// whole; right and bottom become trunc(side x k x 1.015), the horizontal k serving both.
MetafileFrame ComputeMetafileFrame(std::int32_t clientWidth, std::int32_t clientHeight,
                                   float referenceResolution);

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

// A screen paint: the device scale of the window's surface, ScreenResolution from it, and the
// plot pass with a new layout (stage 1), which later exports reuse.
void PaintScreen(Session& session, std::int32_t width, std::int32_t height,
                 const ScreenSurfaceFactory& screen);

// Writes the current plot to path, drawn with the layout of the last screen paint (stage 3), the
// picture being the window's client rectangle of clientWidth x clientHeight. Returns an empty
// string when written, otherwise why not (nothing is left at path then).
std::string ExportMetafile(Session& session, const std::string& path, std::int32_t clientWidth,
                           std::int32_t clientHeight, const FileSurfaceFactory& factory);

// The export path of a batch file: cut at the first ".SX" of the file name or, failing that, its
// first ".sx", then extension (e.g. ".emf") appended; a name with neither keeps its own
// extension in front of it (dep12.sx -> dep12.emf, dep12.tab -> dep12.tab.emf). The directory
// part is never cut.
std::string BatchExportPath(std::string_view path, std::string_view extension);

struct BatchRequest {
  std::vector<std::string> files;  // data files in order
  std::string extension = ".emf";  // of the exported pictures
  // When not empty, this template is the active one for every file of the batch.
  std::string templatePath;
  // Window size for every file: when both are positive they replace the graphic size; otherwise
  // the graphic size is used and, when it is unusable, fallbackWidth x fallbackHeight.
  std::int32_t width = 0, height = 0;
  std::int32_t fallbackWidth = 1200, fallbackHeight = 900;
};

enum class BatchStatus { kWritten, kSkipped, kFailed };

struct BatchFileResult {
  std::string file;
  std::string output;
  BatchStatus status = BatchStatus::kSkipped;
  std::string reason;  // why skipped or failed
};

struct BatchReport {
  std::vector<BatchFileResult> files;
  std::int32_t written = 0, skipped = 0, failed = 0;
};

// Called after each file with its result, its index (from 0) and the number of files.
using BatchProgress =
    std::function<void(const BatchFileResult&, std::size_t index, std::size_t count)>;

// For each file: load it; files without a parameter are skipped. Then the automatic ranges and
// scales (all of them, or with an active template only those marked automatic), a screen paint
// and the export to BatchExportPath. Afterwards the file that was open before (its paths, data
// and scales) and the graphic size come back.
BatchReport RunBatch(Session& session, const BatchRequest& request,
                     const ScreenSurfaceFactory& screen, const FileSurfaceFactory& factory,
                     const BatchProgress& progress = {});

}  // namespace sx
