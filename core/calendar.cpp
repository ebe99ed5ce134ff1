#include "core/calendar.h"

#include "core/scan.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "core/device_int.h"
#include "core/utf8.h"

namespace sx {

namespace {

// The parsers work on a copy of at most 31 characters; UTF-8 needs up to four bytes each.
constexpr std::size_t kParseCharacters = 31;
constexpr std::size_t kParseBytes = 4 * kParseCharacters + 1;

// A small NUL-free text buffer on the stack, so the parsers never allocate.
struct ParseBuffer {
  char bytes[kParseBytes];
  std::size_t length = 0;

  std::string_view view() const { return std::string_view(bytes, length); }

  // Takes at most 31 characters of text, cut at its first tab.
  void Take(std::string_view text) {
    text = Utf8Prefix(text, kParseCharacters);
    const std::size_t tab = text.find('\t');
    if (tab != std::string_view::npos) text = text.substr(0, tab);
    length = text.size();
    std::memcpy(bytes, text.data(), length);
  }

  void Cut(std::size_t at) {
    if (at < length) length = at;
  }

  void DropPrefix(std::size_t count) {
    if (count >= length) {
      length = 0;
      return;
    }
    std::memmove(bytes, bytes + count, length - count);
    length -= count;
  }

  // Replaces every occurrence of pattern by a replacement that is not longer than it, searching
  // again from the start after each replacement.
  void ReplaceEvery(std::string_view pattern, std::string_view replacement) {
    for (;;) {
      const std::size_t at = view().find(pattern);
      if (at == std::string_view::npos) return;
      std::memcpy(bytes + at, replacement.data(), replacement.size());
      const std::size_t tail = at + pattern.size();
      std::memmove(bytes + at + replacement.size(), bytes + tail, length - tail);
      length -= pattern.size() - replacement.size();
    }
  }
};

// Reads a number the way the C library's "%f" conversion does, independent of the locale:
// leading white space, an optional sign, then a decimal number (or inf / nan).
bool ReadFloat(std::string_view piece, float& out) {
  std::size_t i = 0;
  while (i < piece.size() && IsCSpace(piece[i])) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
    negative = piece[i] == '-';
    ++i;
  }
  if (i >= piece.size() || piece[i] == '+' || piece[i] == '-') return false;
  float value = 0.0f;
  const char* first = piece.data() + i;
  const auto result = fast_float::from_chars(first, piece.data() + piece.size(), value);
  if (result.ptr == first) return false;
  out = negative ? -value : value;
  return true;
}

bool IsSplitCharacter(char c) {
  return c == '-' || c == '/' || c == '.' || c == '$' || c == 'T' || c == '*';
}

}  // namespace

std::int32_t JulianDay(std::int32_t year, std::int32_t month, std::int32_t day) {
  // 64-bit and double intermediates keep nonsense dates (year 2e9, month 13) defined.
  std::int64_t y = year;
  if (y < 0) y += 1;  // there is no year 0
  std::int64_t jm = 0;
  if (month > 2) {
    jm = std::int64_t{month} + 1;
  } else {
    y -= 1;
    jm = std::int64_t{month} + 13;
  }
  double jd = std::floor(365.25 * static_cast<double>(y)) +
              std::floor(30.6001 * static_cast<double>(jm)) + static_cast<double>(day) + 1720995.0;
  // From 15 October 1582 on, the Gregorian calendar drops the century leap days.
  const std::int64_t gregorianKey =
      std::int64_t{day} + 31 * (std::int64_t{month} + 12 * std::int64_t{year});
  if (gregorianKey >= 588829) {
    const double ja = std::trunc(0.01 * static_cast<double>(y));
    jd = jd + 2.0 - ja + std::trunc(0.25 * ja);
  }
  return ToInt32(jd);
}

void CalendarDate(std::int32_t julianDay, std::int32_t& year, std::int32_t& month,
                  std::int32_t& day) {
  const double jd = julianDay;
  double ja = jd;
  if (julianDay >= 2299161) {
    const double alpha = std::trunc(((jd - 1867216.0) - 0.25) / 36524.25);
    ja = jd + 1.0 + alpha - std::trunc(0.25 * alpha);
  }
  const double jb = ja + 1524.0;
  // Rounding down rather than toward zero keeps the inverse exact for the earliest days too,
  // where the intermediate values turn negative; for all later days both roundings agree.
  const double jc = std::floor(6680.0 + ((ja - 2438346.0) - 122.1) / 365.25);
  const double jdd = std::floor(365.0 * jc + 0.25 * jc);
  const double je = std::floor((jb - jdd) / 30.6001);
  const std::int64_t d = ToInt64(jb - jdd - std::floor(30.6001 * je));
  std::int64_t m = ToInt64(je) - 1;
  if (m > 12) m -= 12;
  std::int64_t y = ToInt64(jc) - 4715;
  if (m > 2) y -= 1;
  if (y <= 0) y -= 1;  // no year 0: 1 BC follows AD 1
  day = ToInt32(static_cast<double>(d));
  month = ToInt32(static_cast<double>(m));
  year = ToInt32(static_cast<double>(y));
}

double DayFraction(std::int32_t hours, std::int32_t minutes, float seconds) {
  constexpr float kSecondsToDays = 1.1574074e-5f;
  return (static_cast<double>(hours) * 3600.0 + static_cast<double>(minutes) * 60.0 +
          static_cast<double>(seconds)) *
         static_cast<double>(kSecondsToDays);
}

void TimeOfDay(float value, std::int32_t& hours, std::int32_t& minutes, std::int32_t& seconds) {
  const double v = value;
  // The clock time of a day value is its distance from the day's start, also for days before
  // the first row (negative values), so the fraction is taken from the floor.
  const double fraction = std::isfinite(v) ? v - std::floor(v) : 0.0;
  const std::int32_t s = ToInt32(fraction * 86400.0 + 0.5);
  hours = s / 3600;
  minutes = (s - hours * 3600) / 60;
  seconds = s - hours * 3600 - minutes * 60;
}

int ParseDate(std::string_view text, std::int32_t& year, std::int32_t& month, std::int32_t& day,
              std::int32_t& xIsDate) {
  ParseBuffer buffer;
  buffer.Take(text);
  if (Utf8Length(buffer.view()) < 2) return 0;

  // The kind of date comes from its separators, looked for after the first character (a
  // leading sign is no separator); later kinds win.
  const std::string_view rest = buffer.view().substr(Utf8PrefixBytes(buffer.view(), 1));
  int kind = 0;
  if (rest.find('/') != std::string_view::npos) kind = 1;
  if (rest.find('.') != std::string_view::npos) kind = 2;
  if (rest.find('$') != std::string_view::npos) kind = 3;
  if (rest.find('-') != std::string_view::npos) kind = 4;
  if (kind == 0) {
    kind = 5;
    buffer.ReplaceEvery(" ", "*");
    static constexpr std::string_view kMonths[][2] = {
        {"Jan", "01"}, {"Feb", "02"}, {"Mrz", "03"}, {"Mar", "03"}, {"Apr", "04"},
        {"May", "05"}, {"Jun", "06"}, {"Jul", "07"}, {"Aug", "08"}, {"Sep", "09"},
        {"Oct", "10"}, {"Nov", "11"}, {"Dec", "12"}};
    for (const auto& m : kMonths) buffer.ReplaceEvery(m[0], m[1]);
  }

  // Each of the first three pieces between separators is read on its own; empty pieces do not
  // count as pieces.
  std::int32_t numbers[3] = {0, 0, 0};
  int count = 0;
  int pieces = 0;
  const std::string_view all = buffer.view();
  std::size_t i = 0;
  while (pieces < 3 && i < all.size()) {
    while (i < all.size() && IsSplitCharacter(all[i])) ++i;
    if (i >= all.size()) break;
    std::size_t end = i;
    while (end < all.size() && !IsSplitCharacter(all[end])) ++end;
    ++pieces;
    std::int32_t n = 0;
    if (ScanInt32(all.substr(i, end - i), n)) numbers[count++] = n;
    i = end;
  }

  bool ok = false;
  if (count == 3) {
    ok = true;
    switch (kind) {
      case 1:
      case 3:
        month = numbers[0];
        day = numbers[1];
        year = numbers[2];
        break;
      case 4:
        year = numbers[0];
        month = numbers[1];
        day = numbers[2];
        break;
      default:
        day = numbers[0];
        month = numbers[1];
        year = numbers[2];
        break;
    }
  } else if (count == 2 && kind != 2) {
    // Month and year alone stand for the middle of the month.
    ok = true;
    day = 15;
    if (kind == 4) {
      year = numbers[0];
      month = numbers[1];
    } else {
      month = numbers[0];
      year = numbers[1];
    }
  }
  xIsDate = ok ? 1 : 0;
  return ok ? 1 : 0;
}

int ParseTime(std::string_view text, std::int32_t& hours, std::int32_t& minutes, float& seconds) {
  ParseBuffer buffer;
  buffer.Take(text);
  if (Utf8Length(buffer.view()) < 2) return 0;

  int meridiem = 0;  // 1 AM, 2 PM
  std::size_t at = buffer.view().find("AM");
  if (at != std::string_view::npos) {
    buffer.Cut(at);
    meridiem = 1;
  }
  at = buffer.view().find("PM");
  if (at != std::string_view::npos) {
    buffer.Cut(at);
    meridiem = 2;
  }
  // "2:30 PM": the blank before the marker belongs to the marker, not to a date part.
  if (meridiem != 0) {
    while (buffer.length > 0 && buffer.bytes[buffer.length - 1] == ' ') --buffer.length;
  }

  if (buffer.view().find_first_of(":T") == std::string_view::npos) return 0;

  // Keep only the clock part of "1997-06-26T14:25:58" or "26.06.1997 14:25".
  while ((at = buffer.view().find(' ')) != std::string_view::npos) buffer.DropPrefix(at + 1);
  while ((at = buffer.view().find('T')) != std::string_view::npos) buffer.DropPrefix(at + 1);

  float parts[3] = {0.0f, 0.0f, 0.0f};
  const std::string_view clock = buffer.view();
  std::size_t start = 0;
  for (int k = 0; k < 3 && start <= clock.size(); ++k) {
    std::size_t end = clock.find(':', start);
    if (end == std::string_view::npos) end = clock.size();
    float v = 0.0f;
    if (ReadFloat(clock.substr(start, end - start), v)) parts[k] = v;
    start = end + 1;
  }

  double h = std::trunc(static_cast<double>(parts[0]));
  if (meridiem == 1 && h == 12.0) h = 0.0;
  if (meridiem == 2 && h < 12.0) h += 12.0;
  hours = ToInt32(h);
  minutes = ToInt32(static_cast<double>(parts[1]));
  seconds = parts[2];
  return 1;
}

}  // namespace sx
