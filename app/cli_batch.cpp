#include "app/cli_batch.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <charconv>
#include <fstream>
#include <memory>
#include <ostream>

#include "app/cli_options.h"
#include "platform/image_output.h"
#include "platform/qt_surface.h"
#include "plot/output.h"
#include "render/emf_surface.h"
#include "settings/startup.h"

namespace sx::cli {
namespace {

constexpr std::int32_t kScreenWidth = 1920;
constexpr std::int32_t kScreenHeight = 1080;

constexpr const char* kUsage =
    "usage: sondrix-cli batch [--format emf|svg|pdf|png] [--template T.stf] [--size WxH] "
    "FILES...\n";

enum class BatchFormat { kEmf, kSvg, kPdf, kPng };

struct BatchOptions {
  std::vector<std::string> files;
  BatchFormat format = BatchFormat::kEmf;
  std::string templatePath, error;
  std::int32_t width = 0, height = 0;  // 0: not given
};

BatchOptions Parse(const std::vector<std::string>& args) {
  BatchOptions o;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size() && o.error.empty(); ++i) {
    const std::string& a = args[i];
    const bool isOption = !optionsEnded && !a.empty() && a[0] == '-' && a != "-";
    if (!isOption) {
      o.files.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    const bool wantsValue = a == "--format" || a == "--template" || a == "--size";
    if (!wantsValue) {
      o.error = "unknown option " + a;
    } else if (i + 1 >= args.size()) {
      o.error = a + " needs a value";
    } else if (a == "--template") {
      o.templatePath = args[++i];
    } else if (a == "--format") {
      const std::string f = args[++i];
      if (f == "emf") {
        o.format = BatchFormat::kEmf;
      } else if (f == "svg") {
        o.format = BatchFormat::kSvg;
      } else if (f == "pdf") {
        o.format = BatchFormat::kPdf;
      } else if (f == "png") {
        o.format = BatchFormat::kPng;
      } else {
        o.error = "unknown format " + f;
      }
    } else {
      ParsePictureSize(args[++i], o.width, o.height, o.error);
    }
  }
  if (o.error.empty() && o.files.empty()) o.error = "expects at least one data file";
  return o;
}

const char* Extension(BatchFormat format) {
  switch (format) {
    case BatchFormat::kEmf:
      return ".emf";
    case BatchFormat::kSvg:
      return ".svg";
    case BatchFormat::kPdf:
      return ".pdf";
    case BatchFormat::kPng:
      return ".png";
  }
  return ".emf";
}

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
  if (surface.truncated()) return request.path + ": the picture is too large for a metafile";
  std::string error;
  if (!surface.WriteEmf(request.path, request.openDataFile, &error)) {
    return request.path + ": " + error;
  }
  return {};
}

const char* StatusText(BatchStatus status) {
  switch (status) {
    case BatchStatus::kWritten:
      return "written";
    case BatchStatus::kSkipped:
      return "skipped";
    case BatchStatus::kFailed:
      return "failed";
  }
  return "failed";
}

}  // namespace

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const BatchOptions o = Parse(args);
  if (!o.error.empty()) {
    err << "sondrix-cli batch: " << o.error << "\n" << kUsage;
    return kExitUsage;
  }
  if (!o.templatePath.empty() && !std::ifstream(o.templatePath)) {
    err << "sondrix-cli batch: cannot open the template " << o.templatePath << "\n";
    return 1;
  }
  RecordingUserInterface ui;
  std::unique_ptr<Session> session = StartSession(ui, kScreenWidth, kScreenHeight);
  if (!session) {
    for (const auto& m : ui.messages) err << m.text << "\n";
    return 1;
  }
  ui.messages.clear();
  session->render.ScreenResolution = kScreenDpi;

  // The window: the screen pass only lays the plot out and measures its texts (the layout takes
  // its size from the graphic size), so a one-pixel picture with the screen's resolution serves,
  // and the drawing beyond it costs nothing.
  QImage screenImage(1, 1, QImage::Format_RGB32);
  ScreenSurfaceFactory screen = [&screenImage](std::int32_t, std::int32_t,
                                               const DrawFunction& draw) {
    QPainter painter(&screenImage);
    QtSurface surface(painter, kScreenDpi, kScreenDpi, false);
    draw(surface);
  };

  FileSurfaceFactory factory;
  if (o.format == BatchFormat::kEmf) {
    factory = WriteEmf;
  } else {
    const ImageFormat format = o.format == BatchFormat::kSvg   ? ImageFormat::kSvg
                               : o.format == BatchFormat::kPdf ? ImageFormat::kPdf
                                                               : ImageFormat::kPng;
    factory = [format](const ExportRequest& request, const DrawFunction& draw) {
      ImageOptions image;
      image.width = request.width;
      image.height = request.height;
      image.dpi = request.dpi;
      image.title = request.description;
      image.openDataFile = request.openDataFile;
      return WriteImageFile(request.path, format, image, draw);
    };
  }

  BatchRequest request;
  request.files = o.files;
  request.extension = Extension(o.format);
  request.templatePath = o.templatePath;
  request.width = o.width;
  request.height = o.height;

  const BatchReport report =
      RunBatch(*session, request, screen, factory,
               [&](const BatchFileResult& r, std::size_t index, std::size_t count) {
                 for (const auto& m : ui.messages) err << m.text << "\n";
                 ui.messages.clear();
                 out << "[" << index + 1 << "/" << count << "] " << r.file;
                 if (r.status == BatchStatus::kWritten) {
                   out << " -> " << r.output << "\n";
                 } else {
                   out << ": " << StatusText(r.status) << " (" << r.reason << ")\n";
                 }
                 out.flush();
               });

  out << "batch: " << report.written << " written, " << report.skipped << " skipped, "
      << report.failed << " failed\n";
  for (const BatchFileResult& r : report.files) {
    if (r.status != BatchStatus::kWritten) {
      out << "  " << StatusText(r.status) << ": " << r.file << ": " << r.reason << "\n";
    }
  }
  return report.skipped + report.failed == 0 && report.written > 0 ? 0 : 1;
}

}  // namespace sx::cli
