#pragma once
// What the file dialogs of the file commands show: the filter list of each filter kind, and for
// each save command its dialog's filter kind, title and the name it proposes at first.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "shell/session.h"

namespace sx {

struct FileFilter {
  std::string_view text;     // what the dialog shows
  std::string_view pattern;  // the file names it lets through
};

// Filter kinds. Any kind not named here shows the text-file list, as kind 0 and 2 do.
inline constexpr std::int32_t kFilterText = 0;
inline constexpr std::int32_t kFilterData = 1;
inline constexpr std::int32_t kFilterDescription = 2;
inline constexpr std::int32_t kFilterTemplate = 3;
inline constexpr std::int32_t kFilterMetafile = 4;
inline constexpr std::int32_t kFilterProgram = 5;
inline constexpr std::int32_t kFilterAll = 6;

// The data dialog's filter kind starts as the data list; the user's later choice is a setting.
inline constexpr std::int32_t kInitialDataFilterKind = kFilterData;

// The entries of a filter kind, in the order the dialog shows them; it starts on the first.
std::span<const FileFilter> FileFilterList(std::int32_t filterKind);

// The extension a save dialog appends to a name typed without one: that of the kind's first
// pattern ("tab", "txt", "stf", ...), or none for the all-files list.
std::string_view DefaultExtension(std::int32_t filterKind);

// The save commands.
inline constexpr std::int32_t kSaveDataKind = 4;         // "Save data as..."
inline constexpr std::int32_t kSaveTemplateKind = 5;     // "Select template"
inline constexpr std::int32_t kSaveExportKind = 6;       // "Select export file"
inline constexpr std::int32_t kSaveDescriptionKind = 8;  // "Save data description as..."

struct SaveDialog {
  std::int32_t filterKind = kFilterText;
  std::string_view title;  // empty for a kind that is no save command
};

SaveDialog SaveDialogFor(std::int32_t kind);

// The name a save command's dialog proposes: the current data file (kind 4), the last template
// (5), the data file's name with ".emf" in place of every ".tab" (6), or "DD_" in front of the
// data file's name with ".txt" in place of every ".tab" (8). Only the file name is changed, never
// the folder; an export name for a file without ".tab" gets ".emf" added, so that it never
// proposes the data file itself. Empty when there is nothing to propose.
std::string InitialSaveName(const Session& session, std::int32_t kind);

}  // namespace sx
