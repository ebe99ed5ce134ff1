// The drawing half of sondrix-cli: the commands that need fonts and the picture back ends.
// sondrix-cli hands these commands over to it with their arguments unchanged.

#include <QGuiApplication>
#include <QString>
#include <QtGlobal>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_batch.h"
#include "app/cli_options.h"
#include "app/cli_render.h"

namespace {

QtMessageHandler defaultHandler = nullptr;

// A command-line run has no session runtime folder, and Qt says so on every start; that says
// nothing about the picture, so it is dropped. Everything else goes to Qt's own handler.
void QuietRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) {
    return;
  }
  if (defaultHandler != nullptr) {
    defaultHandler(type, context, text);
  } else {
    std::cerr << qFormatLogMessage(type, context, text).toStdString() << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << "sondrix-cli-draw: started by sondrix-cli with a drawing command\n";
    return sx::cli::kExitUsage;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  // Drawing needs fonts but no display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  defaultHandler = qInstallMessageHandler(QuietRuntimeFolder);
  QGuiApplication app(argc, argv);
  // Qt takes the locale from the environment; numbers are always written with a point.
  std::setlocale(LC_NUMERIC, "C");
  if (command == "render") return sx::cli::RunRender(args, std::cout, std::cerr);
  if (command == "batch") return sx::cli::RunBatchCommand(args, std::cout, std::cerr);
  std::cerr << "sondrix-cli: unknown command " << command << "\n";
  return sx::cli::kExitUsage;
}
