#pragma once
// The engine's message texts and the small functions that show them.

#include <string>
#include <string_view>

#include "core/user_interface.h"

namespace sx {

inline constexpr int kLimitParameters = 128;
inline constexpr int kLimitLineLength = 129;
inline constexpr int kLimitItems = 131;
inline constexpr int kFileWrongFormat = 132;
inline constexpr int kFileOldTemplate = 134;
inline constexpr int kFileCouldNotOpen = 136;

// Code 128: too many columns (value = the limit); 129: a data line too long (value = its line
// number, 0 when unknown); 131: numeric budget reached; others nothing.
void ShowLimitMessage(UserInterface& ui, int code, long value);
// Code 132 "Wrong format of data.", 134 old template, 136 "Could not open file:\n>%s<".
void ShowFileMessage(UserInterface& ui, int code, std::string_view path);

std::string LimitMessageText(int code, long value);
std::string FileMessageText(int code, std::string_view path);

}  // namespace sx
