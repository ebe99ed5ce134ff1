// sondrix-cli: the engine without a display, one subcommand per job.

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/cli_info.h"
#include "app/cli_options.h"
#include "app/cli_save.h"

namespace {

constexpr const char* kUsage =
    "usage: sondrix-cli info FILE [--json] [--template T.stf] [--numeric-items N] "
    "[--text-items N]\n"
    "       sondrix-cli render FILE -o OUT.{png,svg,pdf,emf,ops} "
    "[--mode horizontal|vertical|ternary|phase] [--size WxH] [--template T.stf]\n"
    "       sondrix-cli save FILE -o OUT [--template T.stf]\n"
    "       sondrix-cli batch [--format emf|svg|pdf|png] [--template T.stf] [--size WxH] "
    "FILES...\n";

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
  if (command == "save") return sx::cli::RunSave(args, std::cout, std::cerr);
  if (command == "render" || command == "batch") {
    // The drawing commands run in the companion executable beside this one.
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string draw = "sondrix-cli-draw";
    if (n > 0) {
      const std::string path(self, static_cast<std::size_t>(n));
      draw = path.substr(0, path.rfind('/') + 1) + draw;
    }
    std::vector<char*> argvDraw;
    argvDraw.push_back(draw.data());
    for (int i = 1; i < argc; ++i) argvDraw.push_back(argv[i]);
    argvDraw.push_back(nullptr);
    execv(draw.c_str(), argvDraw.data());
    std::cerr << "sondrix-cli: cannot start " << draw << " for drawing\n";
    return 3;
  }
  std::cerr << "sondrix-cli: unknown command " << command << "\n" << kUsage;
  return sx::cli::kExitUsage;
}
