#include "core/messages.h"

#include <cstdio>

namespace sx {

std::string LimitMessageText(int code, long value) {
  if (code == kLimitParameters) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "maxParameter overflow.\nmaxParameter = %ld\nUse Tools:Split data file", value);
    return text;
  }
  if (code == kLimitLineLength) {
    char text[160];
    char line[40] = "A line";
    if (value > 0) std::snprintf(line, sizeof line, "Line %ld", value);
    std::snprintf(text, sizeof text,
                  "%s is too long (10000 bytes or more).\nReading stopped at this line:\n"
                  "the rest of the file was not read.",
                  line);
    return text;
  }
  if (code == kLimitItems) {
    return "Maximum number of data items reached.\nUse the \"set memory\" function to extend\n"
           "the memory.";
  }
  return {};
}

std::string FileMessageText(int code, std::string_view path) {
  switch (code) {
    case kFileWrongFormat:
      return "Wrong format of data.";
    case kFileOldTemplate:
      return "Sorry, you can't use this old template.";
    case kFileCouldNotOpen:
      return "Could not open file:\n>" + std::string(path) + "<";
    default:
      return {};
  }
}

void ShowLimitMessage(UserInterface& ui, int code, long value) {
  const std::string text = LimitMessageText(code, value);
  if (!text.empty()) ui.ShowMessage(MessageIcon::kStop, text);
}

void ShowFileMessage(UserInterface& ui, int code, std::string_view path) {
  const std::string text = FileMessageText(code, path);
  if (!text.empty()) ui.ShowMessage(MessageIcon::kStop, text);
}

}  // namespace sx
