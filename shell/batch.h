#pragma once
// The batch: many data files loaded in a row, each drawn as the window would show it and
// exported. Afterwards the file that was open before comes back exactly as it was: its data read
// again and its settings, unsaved changes included, as they stood.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/output.h"
#include "settings/template_file.h"
#include "shell/session.h"

namespace sx {

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
  // Asked before each file: true stops the batch there (the files left are not touched).
  std::function<bool()> cancelRequested;
};

enum class BatchStatus { kWritten, kSkipped, kFailed };

struct BatchFileResult {
  std::string file;
  std::string output;
  BatchStatus status = BatchStatus::kSkipped;
  std::string reason;  // why skipped or failed
  // Written, but the plot mode found no data to draw in it: why (empty when data were drawn).
  std::string nothingDrawn;
};

struct BatchReport {
  std::vector<BatchFileResult> files;
  std::int32_t written = 0, skipped = 0, failed = 0;
  std::int32_t nothingDrawn = 0;  // written without data, counted in written as well
  // The request's template could not be used for at least one file: ReadTemplate's code for the
  // first such file (kTemplateApplied when it was used wherever it was due).
  std::int32_t templateResult = kTemplateApplied;
  bool cancelled = false;  // stopped by cancelRequested before the last file
};

// Called after each file with its result, its index (from 0) and the number of files.
using BatchProgress =
    std::function<void(const BatchFileResult&, std::size_t index, std::size_t count)>;

// For each file: load it; files without a parameter are skipped. Then the automatic ranges and
// scales (all of them, or with an active template only those marked automatic), a screen paint
// and the export to BatchExportPath. Afterwards the file that was open before (its paths, data
// and scales) and the graphic size come back.
// A file whose export path is that file itself, another data file of the batch or the file open
// before the batch (links followed) fails before it is loaded. The request's template is never
// passed over: when it cannot be opened, its message is shown once and every file fails with it,
// none loaded; when it is refused for a file (its blocks do not fit that file), that file fails and
// nothing is drawn.
BatchReport RunBatch(Session& session, const BatchRequest& request,
                     const ScreenSurfaceFactory& screen, const FileSurfaceFactory& factory,
                     const BatchProgress& progress = {});

}  // namespace sx
