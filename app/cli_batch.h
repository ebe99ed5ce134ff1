#pragma once
// "sondrix-cli batch [--format emf|svg|pdf|png] [--template T.stf] [--size WxH] FILES...": loads
// each data file in turn, lays its plot out as on a screen and exports it beside the data file
// (dep12.sx -> dep12.emf, dep12.tab -> dep12.tab.emf). One progress line per file, then a
// summary of what was written and what was skipped and why.

#include <iosfwd>
#include <string>
#include <vector>

namespace sx::cli {

// Exit status: 0 every file written, 1 some file skipped or not written, 64 usage.
int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sx::cli
