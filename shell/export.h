#pragma once
// Picture files of the plot. The window exports with the layout of its last paint; without a
// window (the command line, each file of a batch) the plot is first laid out as a window of the
// graphic size would show it.

#include <cstdint>
#include <string>

#include "plot/output.h"
#include "shell/session.h"

namespace sx {

// The export command of the window: the picture of its client rectangle, drawn with the layout
// of its last screen paint. Returns an empty string when written, otherwise why not.
std::string ExportCommand(Session& session, const std::string& path, std::int32_t clientWidth,
                          std::int32_t clientHeight, const FileSurfaceFactory& factory);

// Lays the plot out on the screen surface at graphicWidth x graphicHeight, then exports it as
// the window would. Returns an empty string when written, otherwise why not.
std::string LayOutAndExport(Session& session, const std::string& path,
                            const ScreenSurfaceFactory& screen, const FileSurfaceFactory& factory);

}  // namespace sx
