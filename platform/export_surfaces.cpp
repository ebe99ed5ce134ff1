#include "platform/export_surfaces.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>

#include "platform/image_output.h"
#include "platform/qt_surface.h"
#include "render/emf_surface.h"

namespace sx {
namespace {

// The metafile measures its text with the fonts that the screen layout was measured with, so
// that the reused layout fits the texts drawn into it.
EmfTextMetrics QtTextMetrics(float dpi) {
  auto device = std::make_shared<QImage>(1, 1, QImage::Format_RGB32);
  EmfTextMetrics metrics;
  metrics.lineHeight = [device, dpi](const FontSpec& wanted) {
    const QFontMetrics m(QtSurface::MakeQFont(wanted, dpi), device.get());
    return static_cast<std::int32_t>(m.ascent() + m.descent());
  };
  metrics.textWidth = [device, dpi](const FontSpec& wanted, std::string_view text) {
    const QFontMetrics m(QtSurface::MakeQFont(wanted, dpi), device.get());
    return static_cast<std::int32_t>(
        m.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
  };
  return metrics;
}

std::string WriteEmf(const ExportRequest& request, const DrawFunction& draw) {
  EmfSurface surface(request.width, request.height, request.dpi, request.dpi,
                     QtTextMetrics(request.dpi));
  draw(surface);
  // Worded as the other formats' failures.
  const std::string cannot = "Cannot write \"" + request.path + "\": ";
  if (surface.truncated()) return cannot + "the picture is too large for a metafile";
  std::string error;
  if (!surface.WriteEmf(request.path, request.openDataFile, &error)) return cannot + error;
  return {};
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = s[s.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<ExportFormat> ExportFormatForPath(std::string_view path) {
  for (ExportFormat f :
       {ExportFormat::kEmf, ExportFormat::kSvg, ExportFormat::kPdf, ExportFormat::kPng}) {
    if (EndsWithNoCase(path, ExportExtension(f))) return f;
  }
  return std::nullopt;
}

std::string_view ExportExtension(ExportFormat format) {
  switch (format) {
    case ExportFormat::kSvg:
      return ".svg";
    case ExportFormat::kPdf:
      return ".pdf";
    case ExportFormat::kPng:
      return ".png";
    case ExportFormat::kEmf:
      break;
  }
  return ".emf";
}

FileSurfaceFactory ExportFileFactory(ExportFormat format) {
  if (format == ExportFormat::kEmf) return WriteEmf;
  const ImageFormat image = format == ExportFormat::kSvg   ? ImageFormat::kSvg
                            : format == ExportFormat::kPdf ? ImageFormat::kPdf
                                                           : ImageFormat::kPng;
  return [image](const ExportRequest& request, const DrawFunction& draw) {
    ImageOptions options;
    options.width = request.width;
    options.height = request.height;
    options.dpi = request.dpi;
    options.title = request.description;
    options.openDataFile = request.openDataFile;
    return WriteImageFile(request.path, image, options, draw);
  };
}

ScreenSurfaceFactory LayoutOnlyScreen(float dpi) {
  auto image = std::make_shared<QImage>(1, 1, QImage::Format_RGB32);
  return [image, dpi](std::int32_t, std::int32_t, const DrawFunction& draw) {
    QPainter painter(image.get());
    QtSurface surface(painter, dpi, dpi, false);
    draw(surface);
  };
}

}  // namespace sx
