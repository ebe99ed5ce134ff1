#include "app/cli_save.h"

#include <memory>
#include <ostream>

#include "app/cli_options.h"
#include "core/save_data.h"
#include "settings/template_file.h"
#include "shell/open_sequence.h"
#include "shell/startup.h"

namespace sx::cli {
namespace {

constexpr std::int32_t kScreenWidth = 1920;
constexpr std::int32_t kScreenHeight = 1080;

constexpr const char* kUsage = "usage: sondrix-cli save FILE -o OUT [--template T.stf]\n";

struct SaveOptions {
  std::string file, output, templatePath, error;
};

SaveOptions Parse(const std::vector<std::string>& args) {
  SaveOptions o;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size() && o.error.empty(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    const bool isOption = !optionsEnded && !a.empty() && a[0] == '-' && a != "-";
    if (isOption && a == "--") {
      optionsEnded = true;
    } else if (isOption && (a == "-o" || a == "--output" || a == "--template")) {
      if (!hasValue) {
        o.error = a + " needs a value";
      } else if (a == "--template") {
        o.templatePath = args[++i];
      } else {
        o.output = args[++i];
      }
    } else if (isOption) {
      o.error = "unknown option " + a;
    } else if (o.file.empty()) {
      o.file = a;
    } else {
      o.error = "more than one data file";
    }
  }
  if (o.error.empty() && (o.file.empty() || o.output.empty())) {
    o.error = "expects a data file and -o OUT";
  }
  return o;
}

}  // namespace

int RunSave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const SaveOptions o = Parse(args);
  if (!o.error.empty()) {
    err << "sondrix-cli save: " << o.error << "\n" << kUsage;
    return kExitUsage;
  }
  const std::string file = EscapeName(o.file), output = EscapeName(o.output);
  RecordingUserInterface ui;
  const auto report = [&] { PrintMessages(ui, err, {o.file, o.output, o.templatePath}); };
  std::unique_ptr<Session> session = StartSession(ui, kScreenWidth, kScreenHeight);
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
  if (!o.templatePath.empty()) {
    const std::int32_t templateResult = LoadTemplateCommand(*session, o.templatePath);
    // A template that is refused must not be passed over: the file would be saved without it.
    if (templateResult != kTemplateApplied) {
      report();
      err << "sondrix-cli save: the template was not applied; nothing written\n";
      return TemplateExitStatus(templateResult);
    }
  }
  report();
  const std::int32_t result = SaveDataAsCommand(*session, o.output);
  report();
  if (result == kSaveDone) {
    out << "wrote " << output << "\n";
    return 0;
  }
  if (result == kSaveOverSource) {
    err << "sondrix-cli save: " << output << " is the data file itself; nothing written\n";
  } else if (result == kSaveSourceUnreadable) {
    err << "sondrix-cli save: " << file << " could not be read again; nothing written\n";
  } else {
    err << "sondrix-cli save: " << output << " could not be written\n";
  }
  return 3;
}

}  // namespace sx::cli
