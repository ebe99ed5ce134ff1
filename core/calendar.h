#pragma once
// Calendar arithmetic and the date and time parsers that let a column of dates or clock times
// serve as the X axis. Values are days relative to the first row's date plus the fraction of day.

#include <cstdint>
#include <string_view>

namespace sx {

// Julian day number of a calendar date (Gregorian from 15 October 1582, Julian before).
std::int32_t JulianDay(std::int32_t year, std::int32_t month, std::int32_t day);
// Inverse of JulianDay.
void CalendarDate(std::int32_t julianDay, std::int32_t& year, std::int32_t& month,
                  std::int32_t& day);
// (hours * 3600 + minutes * 60 + seconds) / 86400, with the single-precision factor.
double DayFraction(std::int32_t hours, std::int32_t minutes, float seconds);
// Clock time of the fractional part of a day value.
void TimeOfDay(float value, std::int32_t& hours, std::int32_t& minutes, std::int32_t& seconds);

// 1 when text is a date (then xIsDate = 1), else 0 (xIsDate = 0, except for texts shorter than
// two characters, which leave it unchanged).
int ParseDate(std::string_view text, std::int32_t& year, std::int32_t& month, std::int32_t& day,
              std::int32_t& xIsDate);
// 1 when text is a clock time, else 0.
int ParseTime(std::string_view text, std::int32_t& hours, std::int32_t& minutes, float& seconds);

}  // namespace sx
