#include "app/cli_render.h"

#include <QImage>
#include <QPainter>

#include <charconv>
#include <fstream>
#include <optional>
#include <ostream>

#include "app/cli_options.h"
#include "core/atomic_file.h"
#include "platform/export_surfaces.h"
#include "platform/image_output.h"
#include "platform/qt_surface.h"
#include "plot/plot_pass.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "settings/template_file.h"
#include "shell/export.h"
#include "shell/open_sequence.h"
#include "shell/startup.h"

namespace sx::cli {
namespace {

constexpr std::int32_t kDefaultWidth = 1200;
constexpr std::int32_t kDefaultHeight = 900;

constexpr const char* kUsage =
    "usage: sondrix-cli render FILE -o OUT.{png,svg,pdf,emf,ops} "
    "[--mode horizontal|vertical|ternary|phase] [--size WxH] [--template T.stf]\n";

struct RenderOptions {
  std::string file, output, templatePath, error;
  std::optional<PlotMode> mode;
  std::int32_t width = 0, height = 0;  // 0: not given
};

RenderOptions Parse(const std::vector<std::string>& args) {
  RenderOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if ((a == "-o" || a == "--output") && hasValue) {
      o.output = args[++i];
    } else if (a == "--template" && hasValue) {
      o.templatePath = args[++i];
    } else if (a == "--mode" && hasValue) {
      const std::string m = args[++i];
      if (m == "horizontal") {
        o.mode = kHorizontal;
      } else if (m == "vertical") {
        o.mode = kVertical;
      } else if (m == "ternary") {
        o.mode = kTernary;
      } else if (m == "phase") {
        o.mode = kPhase;
      } else {
        o.error = "unknown mode " + m;
      }
    } else if (a == "--size" && hasValue) {
      ParsePictureSize(args[++i], o.width, o.height, o.error);
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      const bool wantsValue =
          a == "-o" || a == "--output" || a == "--template" || a == "--mode" || a == "--size";
      o.error = wantsValue ? a + " needs a value" : "unknown option " + a;
    } else if (o.file.empty()) {
      o.file = a;
    } else {
      o.error = "more than one data file";
    }
    if (!o.error.empty()) break;
  }
  if (o.error.empty() && (o.file.empty() || o.output.empty())) {
    o.error = "expects a data file and -o OUT";
  }
  return o;
}

}  // namespace

int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const RenderOptions o = Parse(args);
  if (!o.error.empty()) {
    err << "sondrix-cli render: " << o.error << "\n" << kUsage;
    return kExitUsage;
  }
  const std::optional<ExportFormat> format = ExportFormatForPath(o.output);
  const bool ops = o.output.ends_with(".ops") || o.output.ends_with(".OPS");
  if (!ops && !format) {
    err << "sondrix-cli render: the output must end in .png, .svg, .pdf, .emf or .ops\n" << kUsage;
    return kExitUsage;
  }

  const std::string output = EscapeName(o.output);
  RecordingUserInterface ui;
  const auto report = [&] { PrintMessages(ui, err, {o.file, o.output, o.templatePath}); };
  std::unique_ptr<Session> session = StartSession(ui, 1920, 1080);
  if (!session) {
    report();
    return 3;
  }
  ui.messages.clear();
  SetDataFilePath(session->data, o.file);
  if (OpenDataFile(*session) != 0) {
    report();
    return session->data.ParameterCount == kLoadCouldNotOpen ? 1 : 2;
  }
  // The writers refuse the open data file as well, but only after the drawing, and in their own
  // words: this names the cause before any work is spent.
  if (IsSameFile(o.output, session->data.DataFilePath)) {
    report();
    err << "sondrix-cli render: " << output << " is the data file itself; nothing written\n";
    return 3;
  }
  GraphicSettings& g = session->settings.graphic;
  g.graphicWidth = -1;
  g.graphicHeight = -1;
  if (!o.templatePath.empty()) {
    // A refused template is never passed over: the picture would pass for one made with it.
    const std::int32_t templateResult = LoadTemplateCommand(*session, o.templatePath);
    if (templateResult != kTemplateApplied) {
      report();
      err << "sondrix-cli render: the template was not applied; nothing written\n";
      return TemplateExitStatus(templateResult);
    }
  }
  if (o.mode) ChoosePlotMode(session->settings, *o.mode);
  // Size: --size, else the template's graphic size, else the default.
  if (o.width > 0) {
    g.graphicWidth = o.width;
    g.graphicHeight = o.height;
  } else if (g.graphicWidth < 1 || g.graphicHeight < 1 || g.graphicWidth > kMaxPictureSide ||
             g.graphicHeight > kMaxPictureSide) {
    g.graphicWidth = kDefaultWidth;
    g.graphicHeight = kDefaultHeight;
  }
  report();
  session->render.ScreenResolution = kScreenDpi;

  std::string failure;
  if (ops) {
    // The calls of the screen picture (the PNG), measured in its fonts, so that every
    // coordinate in the list is the one in the picture.
    QImage picture(1, 1, QImage::Format_RGB32);
    QPainter painter(&picture);
    QtSurface metrics(painter, kScreenDpi, kScreenDpi, false);
    RecordingSurface surface(kScreenDpi, kScreenDpi, false, &metrics);
    PlotContext ctx = session->plotContext(ComputeScale(surface, kScreenDpi));
    PlotPass(surface, ctx, kStageScreen);
    std::string writeError;
    if (!WriteFileAtomically(o.output, surface.Dump(), session->data.DataFilePath, &writeError)) {
      failure = "Cannot write \"" + o.output + "\": " + writeError;
    }
  } else if (*format == ExportFormat::kPng) {
    // The screen picture: a new layout, text without a background of its own.
    ImageOptions image;
    image.width = g.graphicWidth;
    image.height = g.graphicHeight;
    image.dpi = kScreenDpi;
    image.opaqueText = false;
    image.openDataFile = session->data.DataFilePath;
    failure = WriteImageFile(o.output, ImageFormat::kPng, image, [&](Surface& surface) {
      PlotContext ctx = session->plotContext(ComputeScale(surface, kScreenDpi));
      PlotPass(surface, ctx, kStageScreen);
    });
  } else {
    // The export: laid out as on a screen of that size, then drawn again with that layout.
    failure = LayOutAndExport(*session, o.output, LayoutOnlyScreen(kScreenDpi),
                              ExportFileFactory(*format));
  }
  if (!failure.empty()) {
    err << EscapeNames(failure, {o.output}) << "\n";
    return 3;
  }
  out << "wrote " << output << " (" << g.graphicWidth << " x " << g.graphicHeight << ")\n";
  const std::string nothing = WhyNothingIsDrawn(session->data, session->settings);
  if (!nothing.empty()) {
    err << "sondrix-cli render: no data drawn: " << nothing << "\n";
    return kExitNothingDrawn;
  }
  return 0;
}

}  // namespace sx::cli
