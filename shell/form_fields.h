#pragma once
// The controls of a settings dialog as plain values, and the rules every dialog shares for
// showing and reading them: number fields, integer fields with their spin ranges, check boxes,
// radio buttons and colour buttons. A form copies the model into its controls when the dialog
// opens and back into the model on OK; the window layer only mirrors the controls.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "core/fixed_text.h"
#include "core/rgb.h"

namespace sx {

enum class ControlKind {
  kNumber,   // text read as "%f"
  kInteger,  // text read as "%d"; with a spin range when low < high
  kText,     // free text
  kCheck,    // value 1 ticked, 0 not
  kRadio,    // one button of a group: value 1 for the chosen one
  kColor,    // colour button with a swatch
};

struct FormControl {
  ControlKind kind = ControlKind::kCheck;
  std::string text;        // number, integer and text fields
  std::string shown;       // the text as copied in, to tell an edited field from an untouched one
  std::int32_t value = 0;  // check boxes and radio buttons
  std::int32_t low = 0;    // spin range of an integer field
  std::int32_t high = 0;
  std::size_t maxLength = 0;  // characters of a text field
  RGB color{};                // colour button
  bool colorChosen = false;
};

// The largest device size the dialogs accept for the graphic, the distance between plots and
// fixed axis lengths: the longest side Qt's raster images and widgets take.
inline constexpr std::int32_t kMaxDevicePixels = 32767;

class Form {
 public:
  virtual ~Form() = default;
  std::map<int, FormControl> controls;

  bool has(int id) const { return controls.count(id) > 0; }
  FormControl& control(int id) { return controls.at(id); }
  // The text of a field, as the user would type it.
  void setText(int id, std::string_view text) { controls.at(id).text = std::string(text); }
  void setChecked(int id, bool on) { controls.at(id).value = on ? 1 : 0; }
  // Ticks one radio button and clears the others of its group.
  void chooseRadio(int id);
  bool checked(int id) const { return controls.at(id).value > 0; }
  // A colour picked in the chooser (already in stored form).
  void chooseColor(int id, RGB color);

 protected:
  void addNumber(int id, float value, int decimals);
  void addText(int id, std::string_view text, std::size_t maxLength);
  void addInteger(int id, std::int32_t value, std::int32_t low = 0, std::int32_t high = 0);
  void addCheck(int id, std::int32_t field);
  void addRadio(int id, bool on);
  void addColor(int id, RGB color);
  void setNumber(int id, float value, int decimals);  // shows a value again (after a move)

  // Reads a number field into value. Untouched, unreadable or non-finite texts keep the old
  // value. When format is given and the text was read, the format gets as many decimals as
  // typed, never fewer than it had.
  void readNumber(int id, float& value, FixedText<31>* format = nullptr) const;
  // Reads an integer field: an unreadable text keeps the old value; a spin range limits it.
  void readInteger(int id, std::int32_t& value) const;
  void readCheck(int id, std::int32_t& field) const { field = checked(id) ? 1 : 0; }
  template <std::size_t N>
  void readText(int id, FixedText<N>& field) const {
    field.assign(controls.at(id).text);
  }
};

// "%f" of the text (at most 63 characters): false when nothing reads as a number or the number
// is not a finite single-precision value. decimals gets the number of decimals typed, trailing
// zeros not counted.
bool ReadNumberText(std::string_view text, float& value, int& decimals);

// A value printed with n decimals ("%.nf", C locale).
std::string ShowNumber(double value, int decimals);

// Centimetres typed for a device size: pixels = cm x pixels-per-cm, truncated, limited to
// 0..kMaxDevicePixels (negative values give 0).
std::int32_t CentimetresToPixels(float centimetres, double pixelsPerCm);

// The colour chooser: the colour it starts with for a current colour, and the colour stored for
// a choice. (0,0,0) means no colour, so it starts at (80,160,200); a stored (1,1,1) is black and
// a chosen black is stored as (1,1,1).
RGB ChooserStartColor(RGB current);
RGB StoredChoice(RGB chosen);

// The integer RGB <-> HLS pair on the 0..240 scale (grey has hue 160).
struct HLS {
  int hue, lightness, saturation;
  bool operator==(const HLS&) const = default;
};
HLS RgbToHls(RGB color);
RGB HlsToRgb(HLS hls);

}  // namespace sx
