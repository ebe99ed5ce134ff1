#pragma once
// The data file reader: description block, column-header line with units and groups, and the
// data lines into the numeric and text items. The only reader of data files.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/session.h"

namespace sx {

// Reads DataDirectory + DataFileName into the data model. Returns N (the last column index,
// >= 1), -1 when the file cannot be opened, -2 when its format is wrong (no column-header line,
// fewer than two columns, no parameter left, or no accepted data line). Shows the limit messages
// itself; the caller stores the result in ParameterCount and shows the file messages.
std::int32_t LoadDataFile(Session& session);

// The open command's engine steps for a named file: load, then on success plottedCount = N,
// automatic ranges and scales (applyToAll 0) and the deselection of coordinate columns. Shows
// "Could not open file" / "Wrong format of data." on failure. Returns 0 or -1.
std::int32_t OpenDataFile(Session& session);

// Removes leading spaces in place, appends one tab; true when the line then begins with a tab.
bool IsSkippableLine(std::string& line);
std::int32_t CountTabs(std::string_view line);

// Column names from a header or group line (a tab is appended); returns 1 for a group line
// (empty first field), 0 for a name line.
std::int32_t ParseHeaderLine(DataModel& data, std::int32_t lastColumn, std::string& line);
// Drops leading metadata columns (event, station, latitude, longitude); returns how many.
std::int32_t StripMetadataColumns(DataModel& data, std::int32_t lastColumn);
// Forms the parameter groups; group g's size goes to record g. Returns the group count.
std::int32_t FormGroups(DataModel& data, std::int32_t lastColumn);
// Unplots latitude, longitude, altitude, height and unnamed parameters.
void DeselectCoordinateColumns(const DataModel& data, PlotSettings& settings);

}  // namespace sx
