#pragma once
// "sondrix-cli info FILE": loads a data file as the Open command does and prints the model.

#include <iosfwd>
#include <string>
#include <vector>

namespace sx::cli {

// Exit status: 0 loaded, 1 could not open, 2 wrong format, 64 bad arguments.
int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sx::cli
