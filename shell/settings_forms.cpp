#include "shell/settings_forms.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/calendar.h"
#include "core/device_int.h"
#include "settings/scales.h"
#include "settings/settings_model.h"

namespace sx {

namespace {

bool ProfileMode(const PlotSettings& settings) {
  return settings.graphic.plotMode == kHorizontal || settings.graphic.plotMode == kVertical;
}

// A typed size in centimetres; false when the field is untouched or unreadable.
bool TypedCentimetres(const FormControl& field, float& cm) {
  if (field.text == field.shown) return false;
  int decimals = 0;
  return ReadNumberText(field.text, cm, decimals);
}

void AddSize(std::map<int, FormControl>& controls, int id, std::int32_t pixels,
             double pixelsPerCm) {
  FormControl c;
  c.kind = ControlKind::kNumber;
  // A size never set (-1) shows an empty field, which keeps it unset.
  if (pixels >= 0) c.text = ShowNumber(pixels / pixelsPerCm, 2);
  c.shown = c.text;
  controls[id] = c;
}

}  // namespace

// ---- Graphic settings ----------------------------------------------------------------------

GraphicForm::GraphicForm(Session& session, bool ternary, double pixelsPerCm)
    : session_(session), ternary_(ternary), pixelsPerCm_(pixelsPerCm) {
  const PlotSettings& s = session.settings;
  const GraphicSettings& g = s.graphic;
  AddSize(controls, 1300, g.graphicWidth, pixelsPerCm);
  AddSize(controls, 1301, g.graphicHeight, pixelsPerCm);
  if (!ternary) {
    AddSize(controls, 1302, g.plotDistance, pixelsPerCm);
    addCheck(1303, g.allInOne);
    addRadio(1144, g.unitStyle != 2);
    addRadio(1145, g.unitStyle == 2);
    addCheck(1307, g.useDefaultColor);
  } else {
    addInteger(1314, g.tickIncrementPercent, 1, 50);
  }
  addText(1305, g.CreditText.view(), 255);
  addCheck(1315, g.dateTimeStamp);
  addCheck(1316, g.fileNameStamp);
  addInteger(1311, s.record(0).lineWidth, 1, 10);
  addInteger(1312, g.frameWidth, 1, 10);
  addColor(1310, s.ParameterColorTable[0]);
  addCheck(1306, g.useColor);
  addCheck(1308, g.useTemplate);
}

void GraphicForm::chooseFont(std::string_view face, int points) {
  fontChosen_ = true;
  fontFace_ = std::string(face);
  fontPoints_ = std::clamp(points, 5, 40);
}

void GraphicForm::store() {
  PlotSettings& s = session_.settings;
  GraphicSettings& g = s.graphic;
  std::int32_t unitStyle = g.unitStyle;
  if (!ternary_) {
    readCheck(1303, g.allInOne);
    readCheck(1307, g.useDefaultColor);
    unitStyle = checked(1145) ? 2 : 1;
  }
  readCheck(1306, g.useColor);
  readCheck(1308, g.useTemplate);
  readCheck(1315, g.dateTimeStamp);
  readCheck(1316, g.fileNameStamp);

  if (controls.at(1310).colorChosen) s.ParameterColorTable[0] = controls.at(1310).color;
  if (g.useColor == 0) {
    ResetColors(s);
  } else if (ProfileMode(s)) {
    ApplyTemplateColors(s, session_.data, g.useDefaultColor == 1 ? 0 : 1);
  } else {
    ApplyTemplateColors(s, session_.data, 1);
  }

  if (fontChosen_) {
    g.fontName.assign(fontFace_);
    const int points = fontPoints_ < 5 ? 10 : fontPoints_;
    (ProfileMode(s) ? g.fontSize : g.modeFontSize) = points;
  }

  float cm = 0.0f;
  if (TypedCentimetres(controls.at(1300), cm)) {
    g.graphicWidth = std::max(100, CentimetresToPixels(cm, pixelsPerCm_));
  }
  if (TypedCentimetres(controls.at(1301), cm)) {
    g.graphicHeight = std::max(100, CentimetresToPixels(cm, pixelsPerCm_));
  }
  if (has(1302) && TypedCentimetres(controls.at(1302), cm)) {
    g.plotDistance = CentimetresToPixels(cm, pixelsPerCm_);
  }

  readInteger(1311, s.record(0).lineWidth);
  s.record(0).lineWidth = std::max(1, s.record(0).lineWidth);
  readInteger(1312, g.frameWidth);
  g.frameWidth = std::max(1, g.frameWidth);
  if (has(1314)) readInteger(1314, g.tickIncrementPercent);
  g.tickIncrementPercent = std::clamp(g.tickIncrementPercent, 1, 50);
  readText(1305, g.CreditText);

  if (unitStyle != g.unitStyle) {
    g.unitStyle = unitStyle;
    SetUnitStyle(s, session_.data, unitStyle);
  }
}

// ---- X axis settings -----------------------------------------------------------------------

XAxisForm::XAxisForm(Session& session, double pixelsPerCm)
    : session_(session), pixelsPerCm_(pixelsPerCm) {
  const DataModel& data = session.data;
  const ParameterSettings& r = session.settings.record(0);
  dateAxis_ = data.XIsDate == 1 || data.XIsTime == 1;
  const int decimals = std::max(0, FormatDecimals(r.format.view())) + 1;
  addText(1400, data.column(0).label.view(), 80);
  addAxisLength(r, pixelsPerCm);
  addLimit(1401, r.minimum, decimals);
  addLimit(1402, r.maximum, decimals);
  addLimit(1410, r.referenceLine, decimals);
  addCheck(1403, r.automatic);
  addCheck(1046, r.reverseRange);
  addTicks(r, kXTickIds);
  addCheck(1411, session.settings.graphic.clipXAxis);
}

void XAxisForm::addLimit(int id, float value, int decimals) {
  addNumber(id, value, decimals);
  if (!dateAxis_) return;
  const DataModel& data = session_.data;
  char text[64] = "";
  if (data.XIsDate == 1) {
    std::int32_t y = 0, m = 0, d = 0;
    CalendarDate(ToInt32(std::floor(static_cast<double>(data.DateOffset) + value)), y, m, d);
    std::snprintf(text, sizeof text, "%d-%02d-%02d", y, m, d);
  }
  if (data.XIsTime == 1) {
    std::int32_t h = 0, mi = 0, sec = 0;
    TimeOfDay(value, h, mi, sec);
    const std::size_t used = std::char_traits<char>::length(text);
    std::snprintf(text + used, sizeof text - used, "%s%02d:%02d:%02d", used > 0 ? " " : "", h, mi,
                  sec);
  }
  controls[id].text = text;
  controls[id].shown = text;
}

void XAxisForm::readLimit(int id, float& value, FixedText<31>& format) const {
  if (!dateAxis_) {
    readNumber(id, value, &format);
    return;
  }
  const FormControl& c = controls.at(id);
  if (c.text == c.shown) return;
  const DataModel& data = session_.data;
  double days = std::floor(value);  // a time alone keeps the day it was on
  if (data.XIsDate == 1) {
    std::int32_t y = 0, m = 0, d = 0, isDate = 0;
    const std::string_view text = c.text;
    if (ParseDate(text.substr(0, text.find_first_of(" T")), y, m, d, isDate) != 1) return;
    days = static_cast<double>(JulianDay(y, m, d)) - data.DateOffset;
  }
  if (data.XIsTime == 1) {
    std::int32_t h = 0, mi = 0;
    float sec = 0.0f;
    if (ParseTime(c.text, h, mi, sec) == 1) {
      days += DayFraction(h, mi, sec);
    } else if (data.XIsDate != 1) {
      return;
    }
  }
  value = ToFloat32(days);
}

void XAxisForm::store() {
  DataModel& data = session_.data;
  ParameterSettings& r = session_.settings.record(0);
  readText(1400, data.column(0).label);
  storeAxisLength(r, pixelsPerCm_);
  readLimit(1401, r.minimum, r.format);
  readLimit(1402, r.maximum, r.format);
  readLimit(1410, r.referenceLine, r.format);
  readCheck(1403, r.automatic);
  readCheck(1046, r.reverseRange);
  storeTicks(r, kXTickIds);
  readCheck(1411, session_.settings.graphic.clipXAxis);
}

// ---- One parameter's axis and styles ----------------------------------------------------------

void ParameterForm::move(int direction) {
  store();
  const PlotSettings& s = session_.settings;
  const int last = std::min(session_.data.ParameterCount, kMaxParameter);
  record_ =
      NearestItem(record_, direction, last, [&](int i) { return s.record(i).plotState >= 1; });
  load();
}

ParameterAxisForm::ParameterAxisForm(Session& session, int record, double pixelsPerCm)
    : ParameterForm(session, record), pixelsPerCm_(pixelsPerCm) {
  load();
}

void ParameterAxisForm::load() {
  controls.clear();
  const ParameterSettings& r = session_.settings.record(record_);
  addLabels(session_.data, r, record_);
  addAxisLength(r, pixelsPerCm_);
  addRange(r, kParameterRangeIds);
  addCheck(1045, r.reverseRange);
  addOrientation(r);
  addTicks(r, kParameterTickIds);
}

void ParameterAxisForm::toggleGroupLabel(bool on) {
  setChecked(1034, on);
  session_.data.GroupedColumnCount += on ? 1 : -1;
}

void ParameterAxisForm::store() {
  ParameterSettings& r = session_.settings.record(record_);
  storeLabels(session_.data, r, record_);
  storeAxisLength(r, pixelsPerCm_);
  storeRange(r, kParameterRangeIds);
  readCheck(1045, r.reverseRange);
  storeOrientation(r);
  storeTicks(r, kParameterTickIds);
  ApplyAutomaticScales(session_.data, session_.settings, -1);
}

ParameterOptionForm::ParameterOptionForm(Session& session, int record)
    : ParameterForm(session, record) {
  load();
}

void ParameterOptionForm::load() {
  controls.clear();
  const ParameterSettings& r = session_.settings.record(record_);
  addLabels(session_.data, r, record_);
  addDoWithNext(r);
  addInteger(1026, r.lineWidth);
  addInteger(1311, r.columnWidth);
  addStyles(r);
  addMarker(r.marker, r.markerSymbol, r.markerSize, true);
  addQuality(r);
  addColor(1023, r.color);
  qualityAtLoad_ = qualityMask();
}

void ParameterOptionForm::toggleGroupLabel(bool on) {
  setChecked(1034, on);
  session_.data.GroupedColumnCount += on ? 1 : -1;
}

void ParameterOptionForm::store() {
  PlotSettings& s = session_.settings;
  ParameterSettings& r = s.record(record_);
  storeLabels(session_.data, r, record_);
  const FormControl& colour = controls.at(1023);
  if (colour.colorChosen) {
    r.color = colour.color;
    s.ParameterColorTable[static_cast<std::size_t>(record_)] = colour.color;
    // Remember the colour under the parameter's name: its old entry is freed when met, and the
    // first free entry takes it.
    const std::string_view label = session_.data.column(record_).label.view();
    for (int i = 1; i < kSettingsRecords; ++i) {
      DefaultColorEntry& e = s.DefaultColorTable[static_cast<std::size_t>(i)];
      if (e.name.view() == label) e.inUse = 0;
      if (e.inUse < 1) {
        e.inUse = 1;
        e.rgb = colour.color;
        e.name.assign(label);
        break;
      }
    }
  }
  storeDoWithNext(r);
  readInteger(1026, r.lineWidth);
  r.lineWidth = std::max(1, r.lineWidth);
  readInteger(1311, r.columnWidth);
  storeMarker(r.marker, r.markerSymbol, r.markerSize);
  storeStyles(r);
  storeQuality(r);
  const bool wasPlotted = r.plotState > 0;
  const bool plotted = UpdatePlotState(s, record_);
  // The count follows the record both ways, so that a parameter given its first style counts.
  if (wasPlotted && !plotted) --s.graphic.plottedCount;
  if (!wasPlotted && plotted) ++s.graphic.plottedCount;
  if (qualityMask() != qualityAtLoad_) {
    ComputeAutomaticRanges(session_.data, s);
    ApplyAutomaticScales(session_.data, s, 1);
    qualityAtLoad_ = qualityMask();
  }
}

// ---- Items of the Ternary and Phase plots -----------------------------------------------------

ModeItemForm::ModeItemForm(Session& session, int item, bool phase)
    : session_(session), item_(item), phase_(phase) {
  load();
}

void ModeItemForm::load() {
  controls.clear();
  const ParameterSettings& r = session_.settings.record(item_);
  addText(1100, session_.data.column(item_).groupName.view(), 80);
  if (phase_) {
    addInteger(1009, r.modeLineWidth);
    addNumber(1101, r.cMax, 3);
  } else {
    addMarker(0, r.modeMarkerSymbol, r.modeMarkerSize, false);
    addNumber(1101, r.epsilon, 3);
  }
  addColor(1023, r.modeColor);
}

void ModeItemForm::store() {
  PlotSettings& s = session_.settings;
  ParameterSettings& r = s.record(item_);
  readText(1100, session_.data.column(item_).groupName);
  if (phase_) {
    readInteger(1009, r.modeLineWidth);
    r.modeLineWidth = std::max(1, r.modeLineWidth);
    readNumber(1101, r.cMax);
  } else {
    std::int32_t noBox = 0;
    storeMarker(noBox, r.modeMarkerSymbol, r.modeMarkerSize);
    readNumber(1101, r.epsilon);
  }
  const FormControl& colour = controls.at(1023);
  if (colour.colorChosen) {
    r.modeColor = colour.color;
    s.ModeColorTable[static_cast<std::size_t>(item_)] = colour.color;
  }
}

void ModeItemForm::move(int direction) {
  store();
  const PlotSettings& s = session_.settings;
  const DataModel& data = session_.data;
  const int count = s.graphic.modeEntityKind == 1 ? data.GroupCount : data.ParameterCount;
  const int last = std::min(count, kMaxParameter);
  item_ = NearestItem(item_, direction, last, [&](int i) { return s.record(i).modeSelected > 0; });
  load();
}

}  // namespace sx
