// sondrix-cli: the engine without a display, one subcommand per job.

#include <iostream>
#include <string>
#include <vector>

#include "app/cli_info.h"
#include "app/cli_options.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::cout << "usage: sondrix-cli info FILE [--json] [--template T.stf] [--numeric-items N] "
                 "[--text-items N]\n";
    return args.empty() ? sx::cli::kExitUsage : 0;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "info") return sx::cli::RunInfo(args, std::cout, std::cerr);
  std::cerr << "sondrix-cli: unknown command " << command << "\n";
  return sx::cli::kExitUsage;
}
