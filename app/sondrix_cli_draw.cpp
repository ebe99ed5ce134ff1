// The drawing half of sondrix-cli: the commands that need fonts and the picture back ends.
// sondrix-cli hands these commands over to it with their arguments unchanged.

#include <QGuiApplication>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_batch.h"
#include "app/cli_options.h"
#include "app/cli_render.h"

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
  QGuiApplication app(argc, argv);
  // Qt takes the locale from the environment; numbers are always written with a point.
  std::setlocale(LC_NUMERIC, "C");
  if (command == "render") return sx::cli::RunRender(args, std::cout, std::cerr);
  if (command == "batch") return sx::cli::RunBatchCommand(args, std::cout, std::cerr);
  std::cerr << "sondrix-cli: unknown command " << command << "\n";
  return sx::cli::kExitUsage;
}
