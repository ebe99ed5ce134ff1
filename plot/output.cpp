#include "plot/output.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

#include "core/device_int.h"
#include "core/reader.h"
#include "plot/plot_pass.h"
#include "plot/scales.h"
#include "render/drawing.h"
#include "settings/template_file.h"

namespace sx {
namespace {

constexpr float kMaxReasonableDpi = 100000.0f;

// Usable resolution of a surface; anything else leaves the pass unscaled at screen resolution.
float UsableResolution(float dpi) {
  return std::isfinite(dpi) && dpi >= 1.0f && dpi <= kMaxReasonableDpi ? dpi : 96.0f;
}

// The automatic ranges and scales after a batch load: with an active template only the
// parameters it marks automatic are rescaled, and the marks stay.
void RenewScales(Session& session, bool templateActive) {
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  ComputeAutomaticRanges(data, settings, *session.ui);
  if (templateActive) {
    ApplyAutomaticScales(data, settings, -1);
  } else {
    settings.graphic.plottedCount = data.ParameterCount;
    ApplyAutomaticScales(data, settings, 0);
  }
}

std::string LoadFailureReason(std::int32_t n) {
  if (n == kLoadCouldNotOpen) return "could not open file";
  if (n == kLoadWrongFormat) return "wrong format of data";
  return "no parameter to plot";
}

bool IsUsableSide(std::int32_t side) {
  return side >= 1 && side <= 20000;
}

// Everything RunBatch changes besides the data of the files it loads.
struct SavedState {
  std::string path, directory, name;
  std::int32_t parameterCount = 0;
  std::int32_t graphicWidth = -1, graphicHeight = -1;
  std::string templatePath;
  std::int32_t useTemplate = 0;
};

void ReturnToPreviousFile(Session& session, const SavedState& saved, bool restoreTemplate) {
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  if (restoreTemplate) {
    settings.TemplatePath = saved.templatePath;
    settings.graphic.useTemplate = saved.useTemplate;
  }
  data.DataFilePath = saved.path;
  data.DataDirectory = saved.directory;
  data.DataFileName = saved.name;
  if (saved.parameterCount >= 1 && !saved.path.empty()) {
    const bool templateActive = IsTemplateActive(settings);
    const std::int32_t n = LoadDataFile(session);
    data.ParameterCount = n;
    if (n >= 1) RenewScales(session, templateActive);
  } else {
    // Nothing was shown before the batch: show nothing afterwards either, rather than the last
    // file of the batch under no name.
    ClearDataModel(data);
    data.ParameterCount = saved.parameterCount;
  }
  settings.graphic.graphicWidth = saved.graphicWidth;
  settings.graphic.graphicHeight = saved.graphicHeight;
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

void PaintScreen(Session& session, std::int32_t width, std::int32_t height,
                 const ScreenSurfaceFactory& screen) {
  screen(width, height, [&session](Surface& surface) {
    float resolutionX = 0.0f, resolutionY = 0.0f;
    SetupDeviceScale(surface, 1, resolutionX, resolutionY);
    session.render.ScreenResolution = static_cast<float>(ToInt32(UsableResolution(resolutionX)));
    PlotContext ctx = session.plotContext(ComputeScale(surface, session.render.ScreenResolution));
    PlotPass(surface, ctx, kStageScreen);
  });
}

std::string ExportMetafile(Session& session, const std::string& path, std::int32_t clientWidth,
                           std::int32_t clientHeight, const FileSurfaceFactory& factory) {
  try {
    ExportRequest request;
    request.path = path;
    request.width = clientWidth;
    request.height = clientHeight;
    request.dpi = UsableResolution(session.render.ScreenResolution);
    request.frame = ComputeMetafileFrame(clientWidth, clientHeight, request.dpi);
    request.openDataFile = session.data.DataFilePath;
    return factory(request, [&session](Surface& surface) {
      PlotContext ctx = session.plotContext(ComputeScale(surface, session.render.ScreenResolution));
      PlotPass(surface, ctx, kStageMetafile);
    });
  } catch (const std::exception& e) {
    return path + ": " + e.what();
  } catch (...) {
    return path + ": the picture could not be made";
  }
}

std::string BatchExportPath(std::string_view path, std::string_view extension) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::size_t cut = path.find(".SX", nameStart);
  if (cut == std::string_view::npos) cut = path.find(".sx", nameStart);
  std::string out(path.substr(0, cut));
  out += extension;
  return out;
}

BatchReport RunBatch(Session& session, const BatchRequest& request,
                     const ScreenSurfaceFactory& screen, const FileSurfaceFactory& factory,
                     const BatchProgress& progress) {
  BatchReport report;
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  GraphicSettings& g = settings.graphic;
  SavedState saved;
  try {
    saved = {data.DataFilePath, data.DataDirectory, data.DataFileName,     data.ParameterCount,
             g.graphicWidth,    g.graphicHeight,    settings.TemplatePath, g.useTemplate};
  } catch (...) {
    return report;  // not even the current state can be kept: nothing is touched
  }
  const bool forceTemplate = !request.templatePath.empty();
  const std::size_t count = request.files.size();
  try {
    report.files.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      BatchFileResult result;
      result.file = request.files[i];
      result.output = BatchExportPath(result.file, request.extension);
      SetDataFilePath(data, result.file);
      if (forceTemplate) {
        settings.TemplatePath = request.templatePath;
        g.useTemplate = 1;
      }
      const bool templateActive = IsTemplateActive(settings);
      const std::int32_t n = LoadDataFile(session);
      data.ParameterCount = n;
      if (n < 1) {
        result.status = BatchStatus::kSkipped;
        result.reason = LoadFailureReason(n);
      } else {
        RenewScales(session, templateActive);
        if (IsUsableSide(request.width) && IsUsableSide(request.height)) {
          g.graphicWidth = request.width;
          g.graphicHeight = request.height;
        } else if (!IsUsableSide(g.graphicWidth) || !IsUsableSide(g.graphicHeight)) {
          g.graphicWidth = request.fallbackWidth;
          g.graphicHeight = request.fallbackHeight;
        }
        PaintScreen(session, g.graphicWidth, g.graphicHeight, screen);
        result.reason =
            ExportMetafile(session, result.output, g.graphicWidth, g.graphicHeight, factory);
        result.status = result.reason.empty() ? BatchStatus::kWritten : BatchStatus::kFailed;
      }
      switch (result.status) {
        case BatchStatus::kWritten:
          ++report.written;
          break;
        case BatchStatus::kSkipped:
          ++report.skipped;
          break;
        case BatchStatus::kFailed:
          ++report.failed;
          break;
      }
      report.files.push_back(std::move(result));
      if (progress) progress(report.files.back(), i, count);
    }
  } catch (...) {
    // Out of memory for a report line or a failing callback: the remaining files count as
    // failed, and the previous file still comes back.
    const std::int64_t done = std::int64_t{report.written} + report.skipped + report.failed;
    const std::int64_t left = static_cast<std::int64_t>(std::min<std::size_t>(count, INT32_MAX));
    report.failed =
        ToInt32(static_cast<double>(report.failed + std::max<std::int64_t>(0, left - done)));
  }
  try {
    ReturnToPreviousFile(session, saved, forceTemplate);
  } catch (...) {
    data.ParameterCount = kNoData;  // the previous file could not be read back
  }
  return report;
}

}  // namespace sx
