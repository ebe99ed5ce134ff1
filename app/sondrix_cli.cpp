// sondrix-cli: the engine without a display, one subcommand per job.

#include <clocale>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/cli_info.h"
#include "app/cli_options.h"

#ifdef SONDRIX_WITH_QT
#include <QGuiApplication>

#include "app/cli_render.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: sondrix-cli info FILE [--json] [--template T.stf] [--numeric-items N] "
    "[--text-items N]\n"
    "       sondrix-cli render FILE -o OUT.{png,svg,pdf,ops} "
    "[--mode horizontal|vertical|ternary|phase] [--size WxH] [--template T.stf]\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return args.empty() ? sx::cli::kExitUsage : 0;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "info") return sx::cli::RunInfo(args, std::cout, std::cerr);
#ifdef SONDRIX_WITH_QT
  if (command == "render") {
    // Drawing needs fonts but no display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    // Qt takes the locale from the environment; numbers are always written with a point.
    std::setlocale(LC_NUMERIC, "C");
    return sx::cli::RunRender(args, std::cout, std::cerr);
  }
#endif
  std::cerr << "sondrix-cli: unknown command " << command << "\n" << kUsage;
  return sx::cli::kExitUsage;
}
