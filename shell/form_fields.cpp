#include "shell/form_fields.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/device_int.h"
#include "core/scan.h"
#include "core/utf8.h"
#include "settings/scales.h"

namespace sx {

void Form::chooseRadio(int id) {
  // The buttons of one group have neighbouring ids; the dialogs never place two groups side by
  // side, so the group is the run of radio ids around this one.
  for (int other = id - 1; has(other) && controls[other].kind == ControlKind::kRadio; --other) {
    controls[other].value = 0;
  }
  for (int other = id + 1; has(other) && controls[other].kind == ControlKind::kRadio; ++other) {
    controls[other].value = 0;
  }
  controls.at(id).value = 1;
}

void Form::chooseColor(int id, RGB color) {
  FormControl& c = controls.at(id);
  c.color = color;
  c.colorChosen = true;
}

void Form::addNumber(int id, float value, int decimals) {
  FormControl c;
  c.kind = ControlKind::kNumber;
  controls[id] = c;
  setNumber(id, value, decimals);
}

void Form::setNumber(int id, float value, int decimals) {
  FormControl& c = controls.at(id);
  c.text = ShowNumber(value, decimals);
  c.shown = c.text;
}

void Form::addText(int id, std::string_view text, std::size_t maxLength) {
  FormControl c;
  c.kind = ControlKind::kText;
  c.text = std::string(text);
  c.shown = c.text;
  c.maxLength = maxLength;
  controls[id] = c;
}

void Form::addInteger(int id, std::int32_t value, std::int32_t low, std::int32_t high) {
  FormControl c;
  c.kind = ControlKind::kInteger;
  c.low = low;
  c.high = high;
  if (low < high) value = std::clamp(value, low, high);
  c.text = std::to_string(value);
  c.shown = c.text;
  controls[id] = c;
}

void Form::addCheck(int id, std::int32_t field) {
  FormControl c;
  c.kind = ControlKind::kCheck;
  c.value = field > 0 ? 1 : 0;
  controls[id] = c;
}

void Form::addRadio(int id, bool on) {
  FormControl c;
  c.kind = ControlKind::kRadio;
  c.value = on ? 1 : 0;
  controls[id] = c;
}

void Form::addColor(int id, RGB color) {
  FormControl c;
  c.kind = ControlKind::kColor;
  c.color = color;
  controls[id] = c;
}

void Form::readNumber(int id, float& value, FixedText<31>* format) const {
  const FormControl& c = controls.at(id);
  // A field left as shown keeps the exact value: the text shows it rounded to the format.
  if (c.text == c.shown) return;
  float read = 0.0f;
  int decimals = 0;
  if (!ReadNumberText(c.text, read, decimals)) return;
  value = read;
  if (format == nullptr) return;
  const int old = std::max(0, FormatDecimals(format->view()));
  const int n = std::min(20, std::max(old, decimals));
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%%.%df", n);
  format->assign(buffer);
}

void Form::readInteger(int id, std::int32_t& value) const {
  const FormControl& c = controls.at(id);
  std::int32_t read = 0;
  if (!ScanInt32(c.text, read)) return;
  value = c.low < c.high ? std::clamp(read, c.low, c.high) : read;
}

bool ReadNumberText(std::string_view text, float& value, int& decimals) {
  text = text.substr(0, Utf8PrefixBytes(text, 63));
  std::size_t pos = 0;
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  bool negative = false;
  if (first < last && (*first == '+' || *first == '-')) {
    negative = *first == '-';
    ++first;
  }
  if (first < last && (*first == '+' || *first == '-')) return false;
  double read = 0.0;
  const auto result = fast_float::from_chars(first, last, read, fast_float::chars_format::general);
  if (result.ptr == first) return false;
  if (!std::isfinite(read) || std::fabs(read) > std::numeric_limits<float>::max()) return false;
  value = static_cast<float>(negative ? -read : read);
  // The decimals of the mantissa as typed, without trailing zeros.
  std::string_view mantissa(first, static_cast<std::size_t>(result.ptr - first));
  mantissa = mantissa.substr(0, mantissa.find_first_of("eE"));
  FixedText<31> scratch{};
  decimals = mantissa.find('.') == std::string_view::npos ? 0 : MakeNumberFormat(mantissa, scratch);
  return true;
}

std::string ShowNumber(double value, int decimals) {
  char buffer[400];
  return std::string(PrintFixed(value, std::clamp(decimals, 0, 20), buffer, sizeof buffer));
}

std::int32_t CentimetresToPixels(float centimetres, double pixelsPerCm) {
  const std::int32_t pixels = ToInt32(static_cast<double>(centimetres) * pixelsPerCm);
  return std::clamp(pixels, 0, kMaxDevicePixels);
}

RGB ChooserStartColor(RGB current) {
  if (current == RGB{0, 0, 0}) return RGB{80, 160, 200};
  if (current == RGB{1, 1, 1}) return RGB{0, 0, 0};
  return current;
}

RGB StoredChoice(RGB chosen) {
  return chosen == RGB{0, 0, 0} ? RGB{1, 1, 1} : chosen;
}

namespace {
constexpr int kM = 240;  // hue, lightness and saturation run 0..kM
constexpr int kN = 255;  // red, green and blue run 0..kN
constexpr int kUndefinedHue = kM * 2 / 3;

int HuePart(int n1, int n2, int h) {
  if (h < 0) h += kM;
  if (h > kM) h -= kM;
  if (h < kM / 6) return n1 + ((n2 - n1) * h + kM / 12) / (kM / 6);
  if (h < kM / 2) return n2;
  if (h < kM * 2 / 3) return n1 + ((n2 - n1) * (kM * 2 / 3 - h) + kM / 12) / (kM / 6);
  return n1;
}
}  // namespace

HLS RgbToHls(RGB color) {
  const int r = color.red, g = color.green, b = color.blue;
  const int hi = std::max({r, g, b});
  const int lo = std::min({r, g, b});
  HLS out{};
  out.lightness = ((hi + lo) * kM + kN) / (2 * kN);
  if (hi == lo) {
    out.saturation = 0;
    out.hue = kUndefinedHue;
    return out;
  }
  if (out.lightness <= kM / 2) {
    out.saturation = ((hi - lo) * kM + (hi + lo) / 2) / (hi + lo);
  } else {
    out.saturation = ((hi - lo) * kM + (2 * kN - hi - lo) / 2) / (2 * kN - hi - lo);
  }
  const int span = hi - lo;
  const int dr = ((hi - r) * (kM / 6) + span / 2) / span;
  const int dg = ((hi - g) * (kM / 6) + span / 2) / span;
  const int db = ((hi - b) * (kM / 6) + span / 2) / span;
  int h = 0;
  if (r == hi) {
    h = db - dg;
  } else if (g == hi) {
    h = kM / 3 + dr - db;
  } else {
    h = 2 * kM / 3 + dg - dr;
  }
  if (h < 0) h += kM;
  if (h > kM) h -= kM;
  out.hue = h;
  return out;
}

RGB HlsToRgb(HLS hls) {
  const int h = hls.hue, l = hls.lightness, s = hls.saturation;
  auto byte = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, kN)); };
  if (s == 0) {
    const std::uint8_t grey = byte(l * kN / kM);
    return RGB{grey, grey, grey};
  }
  const int m2 = l <= kM / 2 ? (l * (kM + s) + kM / 2) / kM : l + s - (l * s + kM / 2) / kM;
  const int m1 = 2 * l - m2;
  return RGB{byte((HuePart(m1, m2, h + kM / 3) * kN + kM / 2) / kM),
             byte((HuePart(m1, m2, h) * kN + kM / 2) / kM),
             byte((HuePart(m1, m2, h - kM / 3) * kN + kM / 2) / kM)};
}

}  // namespace sx
