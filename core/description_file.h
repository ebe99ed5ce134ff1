#pragma once
// The data description as a file of its own: one "label TAB value" line per description line, in
// UTF-8, for the user to change in an editor and to read back.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/result.h"
#include "core/work_buffers.h"

namespace sx {

// Writes description lines 1..DescriptionLineCount to path, whole or not at all. Fails (code -1,
// with the message to show) when the file cannot be written.
Result SaveDescription(const DataModel& data, const std::string& path);

// "Save data description as...": the command clears DescriptionSaved before its dialog, so that
// a cancelled dialog leaves the description unsaved.
void BeginDescriptionSave(DataModel& data);
// After the dialog: saves to path; when that succeeds, path becomes the description file and
// DescriptionSaved becomes 1. Returns SaveDescription's result.
Result SaveDescriptionCommand(DataModel& data, const std::string& path);

// Reads the description file back into the description table: each line (a last line without a
// line end included) becomes a description line, split at its first tab as in a data file's
// description block, up to 1000 lines; "/* " is removed from the first line and "*/" from the
// last, which is dropped when nothing is left of it. Lines are read as UTF-8 when valid, else as
// Windows-1252. When the file cannot be read the table is left as it was and the result fails
// (code -1) with the message to show.
Result ReloadDescription(DataModel& data, WorkBuffers& buffers);

// Splits one description line into label and value: at its first tab; without a tab, a line of
// fewer than 31 characters is a label, a longer one a value.
void StoreDescriptionLine(DescriptionLine& out, std::string_view line);
// Removes "/* " from description line `first` and "*/" from line `last` (1-based); returns
// `last`, or `last - 1` when nothing is left of that line.
std::int32_t TrimDescriptionMarkers(DataModel& data, std::int32_t first, std::int32_t last);

}  // namespace sx
