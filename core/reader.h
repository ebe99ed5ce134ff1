#pragma once
// The data file reader: description block, column-header line with units and groups, and the
// data lines into the numeric and text items. The only reader of data files. It fills the data
// model and nothing else; the settings that follow from a file are applied above it.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/result.h"
#include "core/work_buffers.h"

namespace sx {

// Reads DataDirectory + DataFileName into the data model. The result's code is N (the last
// column index, >= 1), kLoadCouldNotOpen when the file cannot be opened or read, kLoadWrongFormat
// when its format is wrong (no column-header line, fewer than two columns, no parameter left, or
// no accepted data line). Its messages are the limits the file ran into (too many columns, the
// numeric budget reached), in the order met; the caller shows them and stores the code in
// ParameterCount.
Result ParseDataFile(DataModel& data, WorkBuffers& buffers);

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

}  // namespace sx
