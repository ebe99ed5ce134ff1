#pragma once
// "sondrix-cli save FILE -o OUT [--template T.stf]": loads a data file as the Open command does,
// applies the template when one is given (it may rename the columns) and writes the data set with
// "Save data as": description, group and header lines made anew, data lines copied unchanged.

#include <iosfwd>
#include <string>
#include <vector>

namespace sx::cli {

// Exit status: 0 written, 1 could not open, 2 wrong format, 3 not written, 64 usage.
int RunSave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sx::cli
