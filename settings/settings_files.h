#pragma once
// The preference file and the window file: two small text files in the settings folder that carry
// the global settings, the per-record styles, the colour memory, the memory budgets and the window
// placements from one run to the next. Both start with the stamp "2008-08-08", end their lines
// with CR LF and are read with the common line reader (CR, LF or CR LF).

#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "settings/plot_settings.h"
#include "settings/window_placement.h"

namespace sx {

inline constexpr std::string_view kPreferenceFileName = "Sondrix.ini";
inline constexpr std::string_view kWindowFileName = "SondrixWindow.ini";
inline constexpr std::string_view kSettingsFileStamp = "2008-08-08";

// Full path of a settings file. With the environment variable APPDATA set (and not empty) the
// folder is "$APPDATA/Sondrix"; otherwise it is "$XDG_CONFIG_HOME/Sondrix" when that variable
// holds an absolute path, else "$HOME/.config/Sondrix". The folder is created when missing
// (failure ignored: the read or write that follows then fails quietly). Paths are never cut: when
// no folder can be found (no usable variable) or the result would not fit in PATH_MAX bytes, the
// result is empty. Settings files are read only when they are regular files.
std::string BuildSettingsPath(std::string_view fileName);

// ReadPreferences results.
inline constexpr std::int32_t kPreferencesRead = 0;
inline constexpr std::int32_t kPreferencesLineMissing = -1;  // the file ends before line 7
inline constexpr std::int32_t kPreferencesWrongStamp = -2;   // line 1 is not the stamp
inline constexpr std::int32_t kPreferencesUnreadable = -3;   // cannot be opened, or a read failed

// Reads the preference file into the settings: font, editor, the global settings of line 5 (the
// stored plot mode is taken whenever it is a valid mode), the credit text, the record styles by
// index and the colour memory; then brings the unit brackets of the colour names and of the
// column labels 0..ParameterCount to the stored unitStyle. Whatever was read before a failure
// stays applied; fields the file does not hold keep their values.
std::int32_t ReadPreferences(const std::string& path, PlotSettings& settings, DataModel& data);

// The exact bytes of the preference file: the global settings, the credit text (withCredit >= 1)
// or the fixed "MERIDAT/Sondrix", the 257 record lines, the end mark and the used colour entries.
// Sets the name of colour entry 0 to "TICK" first. Windows-1252 when every character has a byte
// there and every line reads back the same; UTF-8 otherwise.
std::string FormatPreferences(PlotSettings& settings, std::int32_t withCredit);

// Writes FormatPreferences to path with WriteFileAtomically (openDataFile: the open data file,
// never overwritten). False when nothing was written (the callers stay silent about it).
bool WritePreferences(const std::string& path, PlotSettings& settings, std::int32_t withCredit,
                      const std::string& openDataFile);

// Reads the window file: the budgets for the next start (an unusable budget becomes the default)
// and the three placements, stopping at the first missing line with what was read kept. A
// missing file or a wrong stamp changes nothing. True only when the stamp matched and all three
// placement lines were there, so the caller computes default placements in every other case.
bool ReadWindowFile(const std::string& path, StartupState& startup);

// The exact bytes of the window file. When a width or height of either child window is negative
// (never placed yet), all three placements written are DefaultWindowPlacement for the given
// screen size; the state itself is not changed.
std::string FormatWindowFile(const StartupState& startup, std::int32_t screenWidth,
                             std::int32_t screenHeight);

// Writes FormatWindowFile to path with WriteFileAtomically (openDataFile: the open data file,
// never overwritten); false when nothing was written.
bool WriteWindowFile(const std::string& path, const StartupState& startup, std::int32_t screenWidth,
                     std::int32_t screenHeight, const std::string& openDataFile);

}  // namespace sx
