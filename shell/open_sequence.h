#pragma once
// The one open sequence of the program and the file commands built on it: every path that reads
// a data file (Open, Reload, the command line, the template load that falls back to the data,
// the batch) goes through LoadDataFile, so a file always comes up with the same settings.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "shell/session.h"

namespace sx {

// Shows each message of a lower layer's result to the user, in order, with the stop icon.
void Tell(UserInterface& ui, const Result& result);

// Reads DataDirectory + DataFileName and applies what follows from it: the file defaults, the
// preferences, the active template (a template that cannot be opened is reported) and the label
// switches. The limit messages of the reading are shown. Returns N (the last column index) or
// kLoadCouldNotOpen / kLoadWrongFormat; the caller stores it in ParameterCount. When given,
// *templateResult gets what became of the active template: ReadTemplate's code, or
// kTemplateApplied when no template was due (none active, one row, or the file not read).
std::int32_t LoadDataFile(Session& session, std::int32_t* templateResult = nullptr);

// How the open command finds its file.
enum class OpenKind : std::int32_t {
  kNamedFile = 1,   // the current path (the command line, Reload)
  kChosenFile = 2,  // the "Select data" dialog
  kTemplate = 3,    // the "Select template" dialog: a template for the data already loaded
};

// Results of OpenCommand.
inline constexpr std::int32_t kOpenDone = 0;
inline constexpr std::int32_t kOpenFailed = -1;
inline constexpr std::int32_t kOpenCancelled = -2;

// The open command after its dialog (chosen is the dialog's path, or nothing when it was
// cancelled; kNamedFile takes none). kNamedFile and kChosenFile load the data file, set
// ParameterCount and, on success, plottedCount (left to an active template after a dialog), the
// automatic ranges and scales, and unplot the coordinate columns; a failed load shows no file
// message (the open sequence decides that). kTemplate loads the template as
// LoadTemplateCommand does. Returns kOpenDone, kOpenFailed or kOpenCancelled.
std::int32_t OpenCommand(Session& session, OpenKind kind,
                         const std::optional<std::string>& chosen = std::nullopt);

// The headless open: the current path, with "Could not open file" / "Wrong format of data."
// shown on failure. Returns kOpenDone or kOpenFailed.
std::int32_t OpenDataFile(Session& session);

// The template load command after its file dialog: the template becomes the current one and is
// applied, then the automatic scales are renewed. When it is refused, the matching message is
// shown and the data file is read again. A file that cannot be opened (missing, a folder, a FIFO,
// unreadable) is reported and changes nothing else. Returns ReadTemplate's code: kTemplateApplied
// when the template is in use, otherwise why it could not be used, so that a command that was
// asked for the template can fail rather than go on without it.
std::int32_t LoadTemplateCommand(Session& session, const std::string& path);

// "Templates > Save as...": writes the settings to path. False, with the failure shown, when the
// file could not be written.
bool SaveTemplateCommand(Session& session, const std::string& path);

// "Save data as..." after its dialog: the current data file saved to destination, which then
// becomes the current data file. Failures are shown. Returns SaveDataAs's code.
std::int32_t SaveDataAsCommand(Session& session, const std::string& destination);

// "Save data description..." after its dialog, and "Reload data description". Failures are shown.
// Return 0, or -1 on failure.
std::int32_t SaveDescriptionCommand(Session& session, const std::string& path);
std::int32_t ReloadDescriptionCommand(Session& session);

// OK in "Set memory": the two fields read as budgets for the next start (a field that is not a
// usable budget keeps its value) and the window file written at once, so that no later load
// or crash loses them. screenWidth/Height give the placements of windows never placed. False,
// with a message, when the window file could not be written.
bool SetMemoryCommand(Session& session, std::string_view numericField, std::string_view textField,
                      std::int32_t screenWidth, std::int32_t screenHeight);

}  // namespace sx
