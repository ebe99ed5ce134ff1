#pragma once
// Tick-label texts: axis numbers in their fixed-point format and date/time labels.

#include <string>
#include <string_view>

#include "core/data_model.h"

namespace sx {

// Prints one axis number with format (validated; an invalid format prints as "%.2f"); an exponent
// letter becomes upper case.
void FormatAxisNumber(float value, std::string_view format, std::string& out);

// Tick label of a date/time X axis; span is the axis maximum minus minimum in days.
void FormatDateTimeLabel(const DataModel& data, float value, std::string& out, float span);

}  // namespace sx
