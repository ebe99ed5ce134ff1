#pragma once
// "sondrix-cli render FILE -o OUT": loads a data file as the Open command does, lays the plot out
// at screen resolution and draws it to a PNG, SVG, PDF or a dump of the drawing calls (.ops).

#include <iosfwd>
#include <string>
#include <vector>

namespace sx::cli {

// Exit status: 0 written, 1 could not open, 2 wrong format, 3 output not written, 64 usage.
int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sx::cli
