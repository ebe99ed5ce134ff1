#pragma once
// Command-line parsing shared by the subcommands of sondrix-cli.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/session.h"

namespace sx::cli {

inline constexpr int kExitUsage = 64;
// The picture was written, but the plot mode had no data to draw in it (the reason is told).
inline constexpr int kExitNothingDrawn = 4;

struct Options {
  std::vector<std::string> files;
  bool json = false;
  std::string templatePath;   // --template FILE
  bool budgetsGiven = false;  // --numeric-items / --text-items were given
  MemoryBudgets budgets;
  std::string error;  // set when the arguments cannot be used
};

// Parses the arguments after the subcommand name. Recognised: --json, --numeric-items N,
// --text-items N (memory budgets for this run, in place of the stored ones), --template FILE,
// "--" ends the options.
Options ParseOptions(const std::vector<std::string>& args);

// Pictures have sides of 1 to this many pixels.
inline constexpr std::int32_t kMaxPictureSide = 20000;
// The resolution the command-line pictures are laid out for, as on a common screen.
inline constexpr float kScreenDpi = 96.0f;

// Reads a --size value "WxH" (or "WXH"); false, with the message for it in `error`, when the
// text is not two whole numbers of 1 to kMaxPictureSide.
bool ParsePictureSize(const std::string& text, std::int32_t& width, std::int32_t& height,
                      std::string& error);

}  // namespace sx::cli
