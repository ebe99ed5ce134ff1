#include "app/cli_batch.h"

#include <charconv>
#include <memory>
#include <optional>
#include <ostream>

#include "app/cli_options.h"
#include "platform/export_surfaces.h"
#include "plot/output.h"
#include "shell/batch.h"
#include "shell/startup.h"

namespace sx::cli {
namespace {

constexpr std::int32_t kScreenWidth = 1920;
constexpr std::int32_t kScreenHeight = 1080;

constexpr const char* kUsage =
    "usage: sondrix-cli batch [--format emf|svg|pdf|png] [--template T.stf] [--size WxH] "
    "FILES...\n";

struct BatchOptions {
  std::vector<std::string> files;
  ExportFormat format = ExportFormat::kEmf;
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
      const std::optional<ExportFormat> format = ExportFormatForPath("." + f);
      if (format && f.size() == 3 && f == ExportExtension(*format).substr(1)) {
        o.format = *format;
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
  RecordingUserInterface ui;
  std::unique_ptr<Session> session = StartSession(ui, kScreenWidth, kScreenHeight);
  if (!session) {
    PrintMessages(ui, err, {});
    return 1;
  }
  ui.messages.clear();
  session->render.ScreenResolution = kScreenDpi;

  const ScreenSurfaceFactory screen = LayoutOnlyScreen(kScreenDpi);
  const FileSurfaceFactory factory = ExportFileFactory(o.format);

  BatchRequest request;
  request.files = o.files;
  request.extension = ExportExtension(o.format);
  request.templatePath = o.templatePath;
  request.width = o.width;
  request.height = o.height;

  // Names are escaped so that each report line stays one line; reasons may name the files too.
  const auto reason = [&](const BatchFileResult& r) {
    return EscapeNames(r.reason, {r.file, r.output, o.templatePath});
  };
  const BatchReport report =
      RunBatch(*session, request, screen, factory,
               [&](const BatchFileResult& r, std::size_t index, std::size_t count) {
                 PrintMessages(ui, err, {r.file, r.output, o.templatePath});
                 out << "[" << index + 1 << "/" << count << "] " << EscapeName(r.file);
                 if (r.status == BatchStatus::kWritten) {
                   out << " -> " << EscapeName(r.output);
                   if (!r.nothingDrawn.empty()) out << " (no data drawn: " << r.nothingDrawn << ")";
                   out << "\n";
                 } else {
                   out << ": " << StatusText(r.status) << " (" << reason(r) << ")\n";
                 }
                 out.flush();
               });
  PrintMessages(ui, err, {o.templatePath});  // what the end of the batch showed, if anything

  out << "batch: " << report.written << " written, " << report.skipped << " skipped, "
      << report.failed << " failed\n";
  for (const BatchFileResult& r : report.files) {
    if (r.status != BatchStatus::kWritten) {
      out << "  " << StatusText(r.status) << ": " << EscapeName(r.file) << ": " << reason(r)
          << "\n";
    } else if (!r.nothingDrawn.empty()) {
      out << "  no data drawn: " << EscapeName(r.file) << ": " << r.nothingDrawn << "\n";
    }
  }
  // The template's failure decides the status: the same for every file it failed.
  if (report.templateResult != kTemplateApplied) {
    err << "sondrix-cli batch: the template could not be used; the files it failed were not "
           "written\n";
    return TemplateExitStatus(report.templateResult);
  }
  if (report.skipped + report.failed > 0 || report.written == 0) return 1;
  return report.nothingDrawn > 0 ? kExitNothingDrawn : 0;
}

}  // namespace sx::cli
