#include "shell/record_form.h"

#include <algorithm>

#include "settings/scales.h"

namespace sx {

namespace {
int Decimals(const ParameterSettings& r) {
  return std::max(0, FormatDecimals(r.format.view()));
}
constexpr int kStyleIds[] = {1010, 1011, 1012, 1013, 1014, 1027, 1028, 1029, 1030, 1031, 1032};
constexpr int kQualityIds[] = {1040, 1041, 1042, 1043, 1044};

std::int32_t* StyleField(ParameterSettings& r, int id) {
  switch (id) {
    case 1010:
      return &r.lines;
    case 1011:
      return &r.colorize;
    case 1012:
      return &r.columns;
    case 1013:
      return &r.histogramLines;
    case 1014:
      return &r.outline;
    case 1027:
      return &r.valueText;
    case 1028:
      return &r.occurrence;
    case 1029:
      return &r.course;
    case 1030:
      return &r.comment;
    case 1031:
      return &r.lithology;
    default:
      return &r.boundary;  // 1032
  }
}
std::int32_t* QualityField(ParameterSettings& r, int id) {
  switch (id) {
    case 1040:
      return &r.flagValid;
    case 1041:
      return &r.flagNotValid;
    case 1042:
      return &r.flagUnknown;
    case 1043:
      return &r.flagQuestionable;
    default:
      return &r.flagIndividual;  // 1044
  }
}
}  // namespace

void RecordForm::addAxisLength(const ParameterSettings& r, double pixelsPerCm) {
  addCheck(1024, r.fixedAxisLength);
  addNumber(1025, static_cast<float>(r.axisLength / pixelsPerCm), 1);
}

void RecordForm::storeAxisLength(ParameterSettings& r, double pixelsPerCm) const {
  readCheck(1024, r.fixedAxisLength);
  float cm = static_cast<float>(r.axisLength / pixelsPerCm);
  const FormControl& field = controls.at(1025);
  if (field.text == field.shown) return;
  readNumber(1025, cm);
  if (cm < 0.0f) {
    r.axisLength = 0;
    r.fixedAxisLength = 0;
    return;
  }
  r.axisLength = CentimetresToPixels(cm, pixelsPerCm);
}

void RecordForm::addRange(const ParameterSettings& r, RangeIds ids) {
  addCheck(ids.automatic, r.automatic);
  addNumber(ids.minimum, r.minimum, Decimals(r));
  addNumber(ids.maximum, r.maximum, Decimals(r));
  addNumber(ids.referenceLine, r.referenceLine, Decimals(r));
}

void RecordForm::storeRange(ParameterSettings& r, RangeIds ids) const {
  readCheck(ids.automatic, r.automatic);
  readNumber(ids.minimum, r.minimum, &r.format);
  readNumber(ids.maximum, r.maximum, &r.format);
  readNumber(ids.referenceLine, r.referenceLine, &r.format);
}

void RecordForm::addTicks(const ParameterSettings& r, TickIds ids) {
  addNumber(ids.increment, r.tickIncrement, Decimals(r));
  addInteger(ids.minorTicks, r.minorTicks, 1, 100);
  addCheck(ids.bothSides, r.bothSides);
  addCheck(ids.inside, r.inside);
  addCheck(ids.ticklines, r.ticklines);
  addCheck(ids.minorTicklines, r.minorTicklines);
}

void RecordForm::storeTicks(ParameterSettings& r, TickIds ids) const {
  readNumber(ids.increment, r.tickIncrement, &r.format);
  readInteger(ids.minorTicks, r.minorTicks);
  readCheck(ids.bothSides, r.bothSides);
  readCheck(ids.inside, r.inside);
  readCheck(ids.ticklines, r.ticklines);
  readCheck(ids.minorTicklines, r.minorTicklines);
}

void RecordForm::addLabels(const DataModel& data, const ParameterSettings& r, int c) {
  addCheck(1034, r.showGroupLabel);
  addText(1033, data.column(c).groupName.view(), 80);
  addCheck(1035, r.showParameterLabel);
  addText(1000, data.column(c).label.view(), 80);
}

void RecordForm::storeLabels(DataModel& data, ParameterSettings& r, int c) const {
  readCheck(1034, r.showGroupLabel);
  readText(1033, data.column(c).groupName);
  readCheck(1035, r.showParameterLabel);
  readText(1000, data.column(c).label);
}

void RecordForm::addDoWithNext(const ParameterSettings& r) {
  addInteger(1001, r.doWithNext < 0 ? -r.doWithNext : r.doWithNext);
  addRadio(1600, r.doWithNext >= 0);
  addRadio(1601, r.doWithNext < 0);
}

void RecordForm::storeDoWithNext(ParameterSettings& r) const {
  std::int32_t n = r.doWithNext < 0 ? -r.doWithNext : r.doWithNext;
  readInteger(1001, n);
  n = std::max(0, n);
  r.doWithNext = checked(1601) ? -n : n;
}

void RecordForm::addStyles(const ParameterSettings& r) {
  ParameterSettings copy = r;
  for (int id : kStyleIds) addCheck(id, *StyleField(copy, id));
}

void RecordForm::storeStyles(ParameterSettings& r) const {
  for (int id : kStyleIds) readCheck(id, *StyleField(r, id));
}

void RecordForm::addMarker(std::int32_t marker, std::int32_t symbol, std::int32_t size,
                           bool withBox) {
  if (withBox) addCheck(1007, marker);
  addInteger(1008, symbol);
  addInteger(1009, size);
}

void RecordForm::storeMarker(std::int32_t& marker, std::int32_t& symbol, std::int32_t& size) const {
  if (has(1007)) readCheck(1007, marker);
  readInteger(1008, symbol);
  readInteger(1009, size);
}

void RecordForm::addQuality(const ParameterSettings& r) {
  ParameterSettings copy = r;
  for (int id : kQualityIds) addCheck(id, *QualityField(copy, id));
}

void RecordForm::storeQuality(ParameterSettings& r) const {
  for (int id : kQualityIds) readCheck(id, *QualityField(r, id));
}

int RecordForm::qualityMask() const {
  int mask = 0;
  for (int bit = 0; bit < 5; ++bit) mask += checked(kQualityIds[bit]) ? 1 << bit : 0;
  return mask;
}

void RecordForm::addOrientation(const ParameterSettings& r) {
  addRadio(1152, r.textOrientation != 45 && r.textOrientation != 90);
  addRadio(1153, r.textOrientation == 45);
  addRadio(1154, r.textOrientation == 90);
}

void RecordForm::storeOrientation(ParameterSettings& r) const {
  r.textOrientation = checked(1154) ? 90 : checked(1153) ? 45 : 0;
}

}  // namespace sx
