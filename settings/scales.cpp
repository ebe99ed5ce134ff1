#include "settings/scales.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/calendar.h"
#include "core/device_int.h"
#include "core/utf8.h"
#include "settings/settings_model.h"

namespace sx {

namespace {

constexpr int kMaxFormatDecimals = 20;

// 10^e. Positive powers up to 1e22 are exact; negative ones come from one correctly rounded
// division, so 0.1 is the double nearest to a tenth.
double PowerOfTen(int e) {
  double p = 1.0;
  for (int i = 0; i < (e < 0 ? -e : e); ++i) p *= 10.0;
  return e < 0 ? 1.0 / p : p;
}

// A value handed to OrderOfMagnitude, which takes f32: beyond the f32 range it saturates.
double Magnitude(double v) {
  return OrderOfMagnitude(ToFloat32(v));
}

// Moves lo up and hi down in steps of `step` as long as they stay outside [a, b]. The multiples
// are taken from the starting point instead of being summed, so no rounding creeps in; the
// count is bounded because the frame spans at most a few hundred steps.
void Tighten(double& lo, double& hi, double a, double b, double step) {
  if (!(step > 0.0) || !std::isfinite(step)) return;
  constexpr int kMaxSteps = 100000;
  const double loStart = lo;
  for (int k = 1; k < kMaxSteps; ++k) {
    const double t = loStart + k * step;
    if (!(t < a)) break;
    lo = t;
  }
  const double hiStart = hi;
  for (int k = 1; k < kMaxSteps; ++k) {
    const double t = hiStart - k * step;
    if (!(t > b)) break;
    hi = t;
  }
}

bool ItemIndexValid(const DataModel& data, std::int64_t index) {
  return index >= 0 && static_cast<std::uint64_t>(index) < data.NumericItemTable.size();
}

// Highest column index that both the data and the settings tables hold.
int LastUsableColumn(const DataModel& data, const PlotSettings& settings, int wanted) {
  const auto columns = static_cast<std::int64_t>(data.ColumnTable.size()) - 1;
  const auto records = static_cast<std::int64_t>(settings.ParameterSettingsTable.size()) - 1;
  std::int64_t last = std::min<std::int64_t>({wanted, kMaxParameter, columns, records});
  return static_cast<int>(std::max<std::int64_t>(last, -1));
}

void ComputeXRange(DataModel& data) {
  ColumnRecord& x = data.column(0);
  double lo = 1e36;
  double hi = -1e36;
  data.XAscending = 1;
  bool any = false;
  for (std::int64_t i = 1; i <= x.itemCount; ++i) {
    if (!ItemIndexValid(data, i)) break;
    const double v = data.item(i).value;
    if (i >= 2 && v < data.item(i - 1).value) data.XAscending = 0;
    if (!std::isfinite(v)) continue;
    any = true;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  if (!any) lo = hi = 0.0;
  if (lo == hi) {
    lo -= 1.0;
    hi += 1.0;
  }
  x.autoMinimum = ToFloat32(lo);
  x.autoMaximum = ToFloat32(hi);
  // A range on one side of zero that comes close to it is drawn from zero.
  const double mn = x.autoMinimum;
  const double mx = x.autoMaximum;
  if (std::fabs(mn) < 0.3 * std::fabs(mx) && mn * mx > 0.0) x.autoMinimum = 0.0f;
}

void ComputeParameterRange(DataModel& data, const PlotSettings& settings, int p) {
  ColumnRecord& col = data.column(p);
  double lo = -1.0;
  double hi = 1.0;
  if (col.itemCount > 0) {
    lo = 1e36;
    hi = -1e36;
    // The quality filter as a table over the codes 1..7, every other code never shown; the
    // item range clamped to the table once, so the loop over the values stays tight.
    bool shown[8] = {};
    for (std::int32_t code = 1; code <= 7; ++code) {
      shown[code] = IsQualityFlagShown(settings, p, code) == 1;
    }
    const std::int64_t first = std::max<std::int64_t>(std::int64_t{col.itemBase} + 1, 0);
    const std::int64_t last =
        std::min<std::int64_t>(std::int64_t{col.itemBase} + col.itemCount,
                               static_cast<std::int64_t>(data.NumericItemTable.size()) - 1);
    for (std::int64_t i = first; i <= last; ++i) {
      const NumericItem& item = data.item(i);
      if (item.row <= 0 || item.flag < 1 || item.flag > 7 || !shown[item.flag]) continue;
      const double v = item.value;
      if (!std::isfinite(v)) continue;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
    if (lo > 1e35) lo = -1.0;
    if (hi < -1e35) hi = 1.0;
  }

  const double dmin = lo;
  const double dmax = hi;
  const double span = dmax - dmin;
  double a = 0.0;
  double b = 0.0;
  if (lo < hi) {
    // A decade-wide frame around the data, then tightened towards the padded extremes.
    if (hi != 0.0) hi = 10.0 * Magnitude(hi);
    if (lo != 0.0) lo = -10.0 * Magnitude(lo);
    if (dmax < 0.0 && hi > 0.0) hi = 0.0;
    if (dmin > 0.0 && lo < 0.0) lo = 0.0;
    a = dmin == 0.0 ? 0.0 : dmin - 0.1 * span;
    b = dmax == 0.0 ? 0.0 : dmax + 0.1 * span;
    const double step = Magnitude(hi - lo);
    Tighten(lo, hi, a, b, step);
    // While the frame is more than twice the data span, widen by the step just used and
    // tighten again with a finer one.
    static constexpr double kWiden[3] = {1.0, 0.5, 0.2};
    static constexpr double kFiner[3] = {0.5, 0.2, 0.1};
    double s = step;
    for (int k = 0; k < 3 && (hi - lo) / span > 2.0; ++k) {
      lo -= step * kWiden[k];
      hi += step * kWiden[k];
      s = step * kFiner[k];
      Tighten(lo, hi, a, b, s);
    }
    // The tolerance scales with the step, so small-valued data keep their own frame.
    if (std::fabs(lo - s) < 0.01 * s) lo = 0.0;
    if (std::fabs(hi + s) < 0.01 * s) hi = 0.0;
    if (hi == 0.0 && lo == 0.0) {
      lo = -0.01;
      hi = 0.01;
    }
    if (a == 0.0) lo = 0.0;
    if (b == 0.0) hi = 0.0;
  } else {
    // All values equal: widen by a tenth of their order of magnitude (by 1 around zero).
    double d = 0.1 * Magnitude(std::fabs(hi));
    if (d == 0.0) d = 1.0;
    lo -= d;
    hi += d;
    a = lo;
    b = hi;
  }

  // A frame more than a decade wider than the data loses to the padded extremes.
  const double frameMagnitude = Magnitude(hi - lo);
  double spanMagnitude = Magnitude(span);
  if (spanMagnitude == 0.0) spanMagnitude = 1.0;
  const bool useFrame = frameMagnitude / spanMagnitude <= 10.0;
  col.autoMinimum = ToFloat32(useFrame ? lo : a);
  col.autoMaximum = ToFloat32(useFrame ? hi : b);
}

// The smallest power of ten from 1e-10 up for which range holds at most 20 increments.
double AutomaticIncrement(double range) {
  constexpr int kLargestExponent = 40;  // beyond any f32 range
  int e = -10;
  if (1e10 * range > 20.0) {
    while (range / PowerOfTen(e) > 20.0 && e < kLargestExponent) ++e;
  }
  return PowerOfTen(e);
}

// The format showing as many decimals as formatValue printed with "%f" needs.
void SetFormatFrom(double formatValue, FixedText<31>& format) {
  char buffer[400];
  MakeNumberFormat(PrintFixed(formatValue, 6, buffer, sizeof buffer), format);
}

void ApplyScale(const ColumnRecord& col, ParameterSettings& r, bool extraDecimal) {
  const double range = std::fabs(double{col.autoMaximum} - double{col.autoMinimum});
  const double inc = AutomaticIncrement(range);
  r.minimum = col.autoMinimum;
  r.maximum = col.autoMaximum;
  r.referenceLine = col.autoMinimum;
  r.tickIncrement = ToFloat32(inc);
  SetFormatFrom(extraDecimal && inc < 1.0 ? inc * 0.1 : inc, r.format);
}

}  // namespace

std::string_view PrintFixed(double v, int decimals, char* buffer, std::size_t size) {
  const auto result = std::to_chars(buffer, buffer + size, v, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return {};
  return std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

int FormatDecimals(std::string_view format) {
  if (format.size() < 4 || format.size() > 5) return -1;
  if (format.substr(0, 2) != "%." || format.back() != 'f') return -1;
  const std::string_view digits = format.substr(2, format.size() - 3);
  int n = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n <= kMaxFormatDecimals ? n : -1;
}

double OrderOfMagnitude(float x) {
  if (x == 0.0f || std::isnan(x)) return 0.0;
  // The products are kept in double, so 100 * 0.1f lies just above 10 while 10 itself is not
  // above 10: an exact 10 stays one decade low.
  constexpr double kTenth = 0.1f;
  constexpr double kTen = 10.0f;
  double a = std::isinf(x) ? double{std::numeric_limits<float>::max()} : std::fabs(double{x});
  int e = 0;
  while (a > 10.0) {
    a *= kTenth;
    ++e;
  }
  while (a < 1.0) {
    a *= kTen;
    --e;
  }
  return PowerOfTen(e);
}

void ComputeAutomaticRanges(DataModel& data, PlotSettings& settings) {
  const int last = LastUsableColumn(data, settings, data.ParameterCount);
  if (last < 0) return;
  for (int c = 0; c <= last; ++c) {
    data.column(c).autoMinimum = 0.0f;
    data.column(c).autoMaximum = 0.0f;
  }
  ComputeXRange(data);
  for (int p = 1; p <= last; ++p) {
    if (data.XAscending == 0) {
      // Lines through X values that go back and forth would scribble; markers stay readable.
      ParameterSettings& r = settings.record(p);
      r.marker = 1;
      r.lines = 0;
      r.columns = 0;
      r.histogramLines = 0;
      r.outline = 0;
    }
    ComputeParameterRange(data, settings, p);
  }
}

void ApplyAutomaticScales(const DataModel& data, PlotSettings& settings, int applyToAll) {
  const int last = LastUsableColumn(data, settings, kMaxParameter);
  if (last < 0) return;
  ParameterSettings& x = settings.record(0);
  // The X axis shows one decimal more than its increment, for the finer positions read off it.
  if (x.automatic > 0) ApplyScale(data.column(0), x, true);
  for (int p = 1; p <= last; ++p) {
    ParameterSettings& r = settings.record(p);
    if (applyToAll == 1 || (r.automatic > 0 && r.plotState > 0)) {
      ApplyScale(data.column(p), r, false);
    }
  }
  if (applyToAll == 0) {
    for (int p = 0; p <= last; ++p) settings.record(p).automatic = 0;
  }
}

int MakeNumberFormat(std::string_view numberText, FixedText<31>& format) {
  // Drops every run of zeros at the end of the text (and, for texts that hold "*", before each
  // "*"), then the "*" themselves; the decimals are what is left after the first ".".
  char stripped[512];
  std::size_t length = 0;
  const auto dropZeros = [&] {
    while (length > 0 && stripped[length - 1] == '0') --length;
  };
  for (const char c : numberText) {
    if (c == '*') {
      dropZeros();
    } else if (length < sizeof stripped) {
      stripped[length++] = c;
    }
  }
  dropZeros();
  const std::string_view text(stripped, length);
  int n = 0;
  const std::size_t dot = text.find('.');
  if (dot != std::string_view::npos) {
    const std::size_t after = Utf8Length(text.substr(dot + 1));
    n = static_cast<int>(std::min<std::size_t>(after, kMaxFormatDecimals));
  }
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%%.%df", n);
  format.assign(buffer);
  return n;
}

bool IsValidNumberFormat(std::string_view format) {
  return FormatDecimals(format) >= 0;
}

}  // namespace sx
