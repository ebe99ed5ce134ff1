#pragma once
// Command-line parsing shared by the subcommands of sondrix-cli.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/user_interface.h"

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

// A file name as the command line prints it: one line whatever its bytes. A backslash is
// doubled; tab, line feed and carriage return become \t, \n and \r; any other control byte
// (below 0x20, and 0x7F) becomes \x and two hex digits; every other byte is kept.
std::string EscapeName(std::string_view name);

// text with every occurrence of each of names put as EscapeName prints it: messages of the lower
// layers carry the names raw.
std::string EscapeNames(std::string text, std::initializer_list<std::string_view> names);

// Prints the messages shown so far, one after the other, with the names escaped, and forgets
// them.
void PrintMessages(RecordingUserInterface& ui, std::ostream& err,
                   std::initializer_list<std::string_view> names);

// The exit status of a command whose template (ReadTemplate's code) could not be used: 1 when it
// could not be opened, 2 when its content was refused, as for a data file.
int TemplateExitStatus(std::int32_t code);

}  // namespace sx::cli
