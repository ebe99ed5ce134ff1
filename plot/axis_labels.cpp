#include "plot/axis_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/calendar.h"
#include "core/device_int.h"
#include "settings/scales.h"

namespace sx {

void FormatAxisNumber(float value, std::string_view format, std::string& out) {
  int decimals = FormatDecimals(format);
  if (decimals < 0) decimals = 2;
  char buffer[400];
  out.assign(PrintFixed(value, decimals, buffer, sizeof buffer));
  std::replace(out.begin(), out.end(), 'e', 'E');
}

void FormatDateTimeLabel(const DataModel& data, float value, std::string& out, float span) {
  char date[64] = "";
  char time[64] = "";
  if (data.XIsDate == 1) {
    std::int32_t year = 0, month = 0, day = 0;
    CalendarDate(ToInt32(std::floor(double{data.DateOffset} + double{value})), year, month, day);
    std::snprintf(date, sizeof date, "%d-%02d-%02d", year, month, day);
  }
  if (data.XIsTime == 1) {
    std::int32_t hours = 0, minutes = 0, seconds = 0;
    TimeOfDay(value, hours, minutes, seconds);
    if (span < 0.01f) {
      std::snprintf(time, sizeof time, "%02d:%02d:%02d", hours, minutes, seconds);
    } else if (span < 10.0f) {
      std::snprintf(time, sizeof time, "%02d:%02d", hours, minutes);
    }
  }
  if (data.XIsDate == 1 && data.XIsTime == 1) {
    out.assign(span < 1.0f ? "" : date);
    if (span >= 1.0f) out.push_back(' ');
    out.append(time);
  } else if (data.XIsDate == 1) {
    out.assign(date);
  } else {
    out.assign(time);
  }
}

}  // namespace sx
