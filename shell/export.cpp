#include "shell/export.h"

namespace sx {

std::string ExportCommand(Session& session, const std::string& path, std::int32_t clientWidth,
                          std::int32_t clientHeight, const FileSurfaceFactory& factory) {
  BusyCursor busy(*session.ui);
  return ExportMetafile(session.models(), path, clientWidth, clientHeight, factory);
}

std::string LayOutAndExport(Session& session, const std::string& path,
                            const ScreenSurfaceFactory& screen, const FileSurfaceFactory& factory) {
  const GraphicSettings& g = session.settings.graphic;
  PaintScreen(session.models(), g.graphicWidth, g.graphicHeight, screen);
  return ExportCommand(session, path, g.graphicWidth, g.graphicHeight, factory);
}

}  // namespace sx
