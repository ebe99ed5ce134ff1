#include "plot/output.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

#include "core/device_int.h"
#include "plot/plot_pass.h"
#include "render/drawing.h"

namespace sx {
namespace {

constexpr float kMaxReasonableDpi = 100000.0f;

// Usable resolution of a surface; anything else leaves the pass unscaled at screen resolution.
float UsableResolution(float dpi) {
  return std::isfinite(dpi) && dpi >= 1.0f && dpi <= kMaxReasonableDpi ? dpi : 96.0f;
}

}  // namespace

void SetupDeviceScale(const Surface& surface, std::int32_t useLogicalDpi, float& resolutionX,
                      float& resolutionY) {
  static_cast<void>(useLogicalDpi);
  resolutionX = surface.ResolutionX();
  resolutionY = surface.ResolutionY();
}

std::int32_t ComputeDotsPerCm(float resolutionX) {
  return ToInt32(static_cast<double>(resolutionX) * 0.39370078);
}

void FitGraphicToPage(GraphicSettings& graphic, std::int32_t width, std::int32_t height) {
  const std::int64_t w = graphic.graphicWidth;
  const std::int64_t h = graphic.graphicHeight;
  if (w <= 0 || h <= 0) {
    // No proportion to keep.
    graphic.graphicWidth = width;
    graphic.graphicHeight = height;
    return;
  }
  // Whole-number arithmetic gives trunc(height x a) and trunc(width / a), a = w / h, exactly.
  if (w <= h) {
    graphic.graphicHeight = height;
    graphic.graphicWidth = static_cast<std::int32_t>(std::min<std::int64_t>(height * w / h, width));
  } else {
    graphic.graphicWidth = width;
    graphic.graphicHeight =
        static_cast<std::int32_t>(std::min<std::int64_t>(width * h / w, height));
  }
}

MetafileFrame ComputeMetafileFrame(std::int32_t clientWidth, std::int32_t clientHeight,
                                   float referenceResolution) {
  // Hundredths of a millimetre per device unit, whole, as the size in millimetres x 100 over
  // the size in device units gives it.
  const std::int32_t k =
      ToInt32(2540.0 / static_cast<double>(UsableResolution(referenceResolution)));
  MetafileFrame frame;
  frame.right = ToInt32(static_cast<double>(clientWidth) * k * 1.015);
  frame.bottom = ToInt32(static_cast<double>(clientHeight) * k * 1.015);
  return frame;
}

void PaintScreen(const PlotModels& models, std::int32_t width, std::int32_t height,
                 const ScreenSurfaceFactory& screen) {
  screen(width, height, [&models](Surface& surface) {
    float resolutionX = 0.0f, resolutionY = 0.0f;
    SetupDeviceScale(surface, 1, resolutionX, resolutionY);
    models.render.ScreenResolution = static_cast<float>(ToInt32(UsableResolution(resolutionX)));
    PlotContext ctx = models.context(ComputeScale(surface, models.render.ScreenResolution));
    PlotPass(surface, ctx, kStageScreen);
  });
}

std::string ExportMetafile(const PlotModels& models, const std::string& path,
                           std::int32_t clientWidth, std::int32_t clientHeight,
                           const FileSurfaceFactory& factory) {
  try {
    ExportRequest request;
    request.path = path;
    request.width = clientWidth;
    request.height = clientHeight;
    request.dpi = UsableResolution(models.render.ScreenResolution);
    request.frame = ComputeMetafileFrame(clientWidth, clientHeight, request.dpi);
    request.openDataFile = models.data.DataFilePath;
    return factory(request, [&models](Surface& surface) {
      PlotContext ctx = models.context(ComputeScale(surface, models.render.ScreenResolution));
      PlotPass(surface, ctx, kStageMetafile);
    });
  } catch (const std::exception& e) {
    return path + ": " + e.what();
  } catch (...) {
    return path + ": the picture could not be made";
  }
}

}  // namespace sx
