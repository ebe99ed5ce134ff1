#include "core/calendar.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "core/device_int.h"
#include "scene_fixture.h"

namespace sx {
namespace {

// year * 10000 + month * 100 + day (or hours, minutes, seconds), for compact expectations.
std::int64_t Ymd(std::int32_t y, std::int32_t m, std::int32_t d) {
  return std::int64_t{y} * 10000 + m * 100 + d;
}

TEST(CalendarTest, JulianDaysAcrossTheReformAndBack) {
  EXPECT_EQ(JulianDay(2000, 1, 1), 2451545);
  EXPECT_EQ(JulianDay(1582, 10, 15), 2299161);               // first Gregorian day
  EXPECT_EQ(JulianDay(1582, 10, 4), 2299160);                // the Julian day before it
  EXPECT_EQ(JulianDay(-1, 12, 31) + 1, JulianDay(1, 1, 1));  // there is no year 0
  std::int32_t y = 0, m = 0, d = 0;
  for (std::int32_t jd = -2000000; jd <= 5400000; jd += 3) {
    CalendarDate(jd, y, m, d);
    ASSERT_TRUE(m >= 1 && m <= 12 && d >= 1 && d <= 31 && y != 0) << jd;
    ASSERT_EQ(JulianDay(y, m, d), jd) << Ymd(y, m, d);
  }
  // Nonsense stays defined.
  EXPECT_EQ(JulianDay(2000000000, 13, -5), kMax);
  EXPECT_EQ(JulianDay(kMin, kMin, kMin), kMin);
  CalendarDate(kMin, y, m, d);
  EXPECT_TRUE(m >= 1 && m <= 12 && d >= 1);
  // Times of day, also before midnight.
  std::int32_t h = -1, min = -1, s = -1;
  TimeOfDay(ToFloat32(DayFraction(14, 25, 58.0f)), h, min, s);
  EXPECT_EQ(Ymd(h, min, s), 142558);
  TimeOfDay(-0.25f, h, min, s);
  EXPECT_EQ(Ymd(h, min, s), 180000);
}

std::int64_t Date(std::string_view text, std::int32_t& isDate) {
  std::int32_t y = 0, m = 0, d = 0;
  return ParseDate(text, y, m, d, isDate) == 1 ? Ymd(y, m, d) : -1;
}

TEST(ParseDateTest, KindsOfDatesAndNonDates) {
  // Month and year alone stand for the middle of the month.
  for (const char* text :
       {"1997-06-26", "06/26/1997", "26.06.1997", "06$26$1997", "26 Jun 1997",
        "1997-06-26T14:25:58", "26.06.1997 14:25", "1997-06-26\tnext", "1997-06", "Jun 1997"}) {
    std::int32_t isDate = 0;
    EXPECT_EQ(Date(text, isDate) / 100, 199706) << text;
    EXPECT_EQ(Date(text, isDate) % 100, std::string_view(text).size() > 8 ? 26 : 15) << text;
    EXPECT_EQ(isDate, 1) << text;
  }
  std::int32_t isDate = 0;
  EXPECT_EQ(Date("3 Mrz 2001", isDate), 20010303);
  // Numbers are no dates; texts too short to judge leave the flag alone.
  for (const char* text : {"26.06", "12.5", "-5", "1997", "1234567890123456789012345678901-06-26",
                           "7", "\t1997-06-26"}) {
    isDate = 1;
    EXPECT_EQ(Date(text, isDate), -1) << text;
    EXPECT_EQ(isDate, text[0] == '7' || text[0] == '\t' ? 1 : 0) << text;
  }
}

// hours * 10000 + minutes * 100 + seconds, or -1 for no time.
std::int64_t Time(std::string_view text) {
  std::int32_t h = 0, m = 0;
  float s = 0.0f;
  return ParseTime(text, h, m, s) == 1 ? Ymd(h, m, ToInt32(s)) : -1;
}

TEST(ParseTimeTest, ClockPartOfTimesAndDateTimes) {
  const std::pair<const char*, std::int64_t> cases[] = {{"14:25:58", 142558},
                                                        {"26.06.1997 14:25:58\tx", 142558},
                                                        {"7:05", 70500},
                                                        {"14.5", -1} /* neither ":" nor "T" */,
                                                        {"26.06.1997 2:30 PM", 143000},
                                                        {"12:00 PM", 120000},
                                                        {"12:15 AM", 1500}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(Time(text), expected) << text;
  EXPECT_EQ(Time("-99999999999:00 PM") / 10000, kMin);  // saturates
}

}  // namespace
}  // namespace sx
