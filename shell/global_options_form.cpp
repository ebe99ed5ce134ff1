#include "shell/global_options_form.h"

#include <algorithm>

#include "core/device_int.h"
#include "core/text_convert.h"
#include "settings/scales.h"
#include "settings/settings_model.h"

namespace sx {

namespace {

bool ProfileMode(const PlotSettings& settings) {
  return settings.graphic.plotMode == kHorizontal || settings.graphic.plotMode == kVertical;
}

int LastParameter(const Session& session) {
  return std::clamp(session.data.ParameterCount, 0, kMaxParameter);
}

}  // namespace

int FirstPlottedRecord(const PlotSettings& settings) {
  const bool profile = ProfileMode(settings);
  for (int i = 1; i < kSettingsRecords; ++i) {
    const ParameterSettings& r = settings.record(i);
    if ((profile ? r.plotState : r.modeSelected) > 0) return i;
  }
  return 0;
}

ScopeStep BeginGlobalOptions(Session& session) {
  const GraphicSettings& g = session.settings.graphic;
  if (g.plottedCount < 1) return ScopeStep::kNothing;
  if (!ProfileMode(session.settings)) return ScopeStep::kGo;
  if (g.plottedCount < session.data.ParameterCount) return ScopeStep::kAsk;
  session.dialogs.ApplyScope = OptionScope::kAll;
  return ScopeStep::kGo;
}

ScopeForm::ScopeForm(Session& session) : session_(session) {
  addRadio(1800, session.dialogs.ApplyScope == OptionScope::kAll);
  addRadio(1801, session.dialogs.ApplyScope != OptionScope::kAll);
}

void ScopeForm::store() {
  session_.dialogs.ApplyScope = checked(1800) ? OptionScope::kAll : OptionScope::kSelected;
}

void ScopeForm::cancel() {
  session_.dialogs.ApplyScope = OptionScope::kSelected;
}

bool IsScopeTarget(const Session& session, int i) {
  if (i < 1 || i >= kSettingsRecords) return false;
  if (session.dialogs.ApplyScope == OptionScope::kAll) return true;
  return i <= LastParameter(session) && session.settings.record(i).plotState > 0;
}

// ---- The dialogs of one control group -----------------------------------------------------------

bool GlobalOptionsForm::GroupOf(std::string_view resource, Group& group) {
  static constexpr struct {
    std::string_view name;
    Group group;
  } kDialogs[] = {
      {"YAXISDIALOGMAXAXISLENGTH", Group::kAxisLength},
      {"YAXISDIALOGRANGE", Group::kRange},
      {"YAXISDIALOGPHASEMODERANGE", Group::kPhaseRange},
      {"YAXISDIALOGTICKS", Group::kTicks},
      {"YAXISDIALOGADDNEXT", Group::kDoWithNext},
      {"YAXISDIALOGMARKER", Group::kMarker},
      {"YAXISDIALOGGMARKER", Group::kModeMarker},
      {"YAXISDIALOGOPTIONS", Group::kOptions},
      {"YAXISDIALOGQUALITYFLAGS", Group::kQuality},
      {"YAXISDIALOGLINEWIDTH", Group::kLineWidth},
      {"YAXISDIALOGCOLUMNWIDTH", Group::kColumnWidth},
      {"YAXISDIALOGTEXTORIENTATION", Group::kOrientation},
      {"EPSILONDIALOG", Group::kEpsilon},
  };
  for (const auto& d : kDialogs) {
    if (d.name == resource) {
      group = d.group;
      return true;
    }
  }
  return false;
}

GlobalOptionsForm::GlobalOptionsForm(Session& session, Group group, int record, double pixelsPerCm)
    : session_(session), group_(group), record_(record), pixelsPerCm_(pixelsPerCm) {
  if (record_ < 1 || record_ >= kSettingsRecords)
    record_ = std::max(1, FirstPlottedRecord(session.settings));
  const ParameterSettings& r = session.settings.record(record_);
  switch (group) {
    case Group::kAxisLength:
      addAxisLength(r, pixelsPerCm);
      break;
    case Group::kRange:
      addRange(r, kParameterRangeIds);
      break;
    case Group::kPhaseRange:
      addNumber(1101, r.cMax, 3);
      break;
    case Group::kTicks:
      addTicks(r, kParameterTickIds);
      break;
    case Group::kDoWithNext:
      addDoWithNext(r);
      break;
    case Group::kMarker:
      addMarker(r.marker, r.markerSymbol, r.markerSize, true);
      break;
    case Group::kModeMarker:
      addMarker(0, r.modeMarkerSymbol, r.modeMarkerSize, false);
      break;
    case Group::kOptions:
      addStyles(r);
      break;
    case Group::kQuality:
      addQuality(r);
      break;
    case Group::kLineWidth:
      addInteger(1026, session.settings.graphic.plotMode == kPhase ? r.modeLineWidth : r.lineWidth);
      break;
    case Group::kColumnWidth:
      addInteger(1026, r.columnWidth);
      break;
    case Group::kOrientation:
      addOrientation(r);
      break;
    case Group::kEpsilon:
      addNumber(1101, r.epsilon, 3);
      break;
  }
}

void GlobalOptionsForm::copyGroup(const ParameterSettings& from, ParameterSettings& to) const {
  switch (group_) {
    case Group::kAxisLength:
      to.fixedAxisLength = from.fixedAxisLength;
      to.axisLength = from.axisLength;
      break;
    case Group::kRange:
      to.automatic = from.automatic;
      to.minimum = from.minimum;
      to.maximum = from.maximum;
      to.referenceLine = from.referenceLine;
      to.format = from.format;
      break;
    case Group::kPhaseRange:
      to.cMax = from.cMax;
      break;
    case Group::kTicks:
      to.tickIncrement = from.tickIncrement;
      to.minorTicks = from.minorTicks;
      to.bothSides = from.bothSides;
      to.inside = from.inside;
      to.ticklines = from.ticklines;
      to.minorTicklines = from.minorTicklines;
      to.format = from.format;
      break;
    case Group::kDoWithNext:
      to.doWithNext = from.doWithNext;
      break;
    case Group::kMarker:
      to.marker = from.marker;
      to.markerSymbol = from.markerSymbol;
      to.markerSize = from.markerSize;
      break;
    case Group::kModeMarker:
      to.modeMarkerSymbol = from.modeMarkerSymbol;
      to.modeMarkerSize = from.modeMarkerSize;
      break;
    case Group::kOptions:
      to.lines = from.lines;
      to.colorize = from.colorize;
      to.columns = from.columns;
      to.histogramLines = from.histogramLines;
      to.outline = from.outline;
      to.valueText = from.valueText;
      to.occurrence = from.occurrence;
      to.course = from.course;
      to.comment = from.comment;
      to.lithology = from.lithology;
      to.boundary = from.boundary;
      break;
    case Group::kQuality:
      break;  // written to the targets only, see store()
    case Group::kLineWidth:
      if (session_.settings.graphic.plotMode == kPhase) to.modeLineWidth = from.modeLineWidth;
      if (ProfileMode(session_.settings)) to.lineWidth = from.lineWidth;
      break;
    case Group::kColumnWidth:
      to.columnWidth = from.columnWidth;
      break;
    case Group::kOrientation:
      to.textOrientation = from.textOrientation;
      break;
    case Group::kEpsilon:
      to.epsilon = from.epsilon;
      break;
  }
}

void GlobalOptionsForm::store() {
  PlotSettings& s = session_.settings;
  ParameterSettings& r = s.record(record_);
  if (group_ == Group::kQuality) {
    ParameterSettings flags = r;
    storeQuality(flags);
    for (int i = 1; i < kSettingsRecords; ++i) {
      if (!IsScopeTarget(session_, i)) continue;
      ParameterSettings& t = s.record(i);
      t.flagValid = flags.flagValid;
      t.flagNotValid = flags.flagNotValid;
      t.flagUnknown = flags.flagUnknown;
      t.flagQuestionable = flags.flagQuestionable;
      t.flagIndividual = flags.flagIndividual;
    }
    ComputeAutomaticRanges(session_.data, s);
    ApplyAutomaticScales(session_.data, s, 1);
    ApplyAutomaticScales(session_.data, s, -1);
    return;
  }
  switch (group_) {
    case Group::kAxisLength:
      storeAxisLength(r, pixelsPerCm_);
      break;
    case Group::kRange:
      storeRange(r, kParameterRangeIds);
      break;
    case Group::kPhaseRange:
      readNumber(1101, r.cMax);
      break;
    case Group::kTicks:
      storeTicks(r, kParameterTickIds);
      break;
    case Group::kDoWithNext:
      storeDoWithNext(r);
      break;
    case Group::kMarker:
      storeMarker(r.marker, r.markerSymbol, r.markerSize);
      break;
    case Group::kModeMarker: {
      std::int32_t noBox = 0;
      storeMarker(noBox, r.modeMarkerSymbol, r.modeMarkerSize);
      break;
    }
    case Group::kOptions:
      storeStyles(r);
      break;
    case Group::kLineWidth:
      if (s.graphic.plotMode == kPhase) readInteger(1026, r.modeLineWidth);
      if (ProfileMode(s)) readInteger(1026, r.lineWidth);
      break;
    case Group::kColumnWidth:
      readInteger(1026, r.columnWidth);
      break;
    case Group::kOrientation:
      storeOrientation(r);
      break;
    case Group::kEpsilon:
      readNumber(1101, r.epsilon);
      break;
    case Group::kQuality:
      break;
  }
  // Epsilon and C_max belong to every item, whatever the scope.
  const bool everyRecord = group_ == Group::kEpsilon || group_ == Group::kPhaseRange;
  const ParameterSettings source = r;
  for (int i = 1; i < kSettingsRecords; ++i) {
    if (i != record_ && (everyRecord || IsScopeTarget(session_, i))) copyGroup(source, s.record(i));
  }
  ApplyAutomaticScales(session_.data, s, -1);
}

// ---- Colours ----------------------------------------------------------------------------------

RGB ColorCommandPreset(const Session& session, int record) {
  if (record < 1 || record >= kSettingsRecords) record = FirstPlottedRecord(session.settings);
  const ParameterSettings& r = session.settings.record(std::max(0, record));
  return ProfileMode(session.settings) ? r.color : r.modeColor;
}

void ApplyColorCommand(Session& session, RGB chosen) {
  PlotSettings& s = session.settings;
  const bool profile = ProfileMode(s);
  for (int i = 1; i < kSettingsRecords; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (profile) {
      if (!IsScopeTarget(session, i)) continue;
      s.record(i).color = chosen;
      s.ParameterColorTable[at] = chosen;
    } else {
      s.record(i).modeColor = chosen;
      s.ModeColorTable[at] = chosen;
    }
  }
  s.graphic.useColor = 1;
  ApplyAutomaticScales(session.data, s, -1);
}

namespace {
// The records colour mapping spreads the colours over: all parameters or the plotted ones.
bool IsMappingTarget(const Session& session, int i) {
  if (session.dialogs.ApplyScope == OptionScope::kAll) return true;
  const ParameterSettings& r = session.settings.record(i);
  return (ProfileMode(session.settings) ? r.plotState : r.modeSelected) > 0;
}
}  // namespace

ColorMappingForm::ColorMappingForm(Session& session) : session_(session) {
  const bool profile = ProfileMode(session.settings);
  int first = 0, last = 0;
  for (int i = 1; i <= LastParameter(session); ++i) {
    if (!IsMappingTarget(session, i)) continue;
    if (first == 0) first = i;
    last = i;
  }
  auto colourOf = [&](int i) {
    const ParameterSettings& r = session.settings.record(i);
    return profile ? r.color : r.modeColor;
  };
  addColor(1038, colourOf(first));
  addColor(1039, colourOf(last));
}

void ColorMappingForm::store() {
  PlotSettings& s = session_.settings;
  const bool profile = ProfileMode(s);
  const int n = LastParameter(session_);
  int k = 0;
  for (int i = 1; i <= n; ++i) k += IsMappingTarget(session_, i) ? 1 : 0;
  if (k > 0) {
    const RGB first = controls.at(1038).color;
    const HLS a = RgbToHls(first);
    const HLS b = RgbToHls(controls.at(1039).color);
    // One target alone has no step: it gets the first colour.
    const int steps = std::max(1, k - 1);
    const int step[3] = {(b.hue - a.hue) / steps, (b.lightness - a.lightness) / steps,
                         (b.saturation - a.saturation) / steps};
    std::uint8_t current[3] = {static_cast<std::uint8_t>(a.hue),
                               static_cast<std::uint8_t>(a.lightness),
                               static_cast<std::uint8_t>(a.saturation)};
    RGB colour = first;
    for (int i = 1; i <= n; ++i) {
      if (!IsMappingTarget(session_, i)) continue;
      const auto at = static_cast<std::size_t>(i);
      (profile ? s.record(i).color : s.record(i).modeColor) = colour;
      (profile ? s.ParameterColorTable : s.ModeColorTable)[at] = colour;
      for (int c = 0; c < 3; ++c) {
        current[c] = static_cast<std::uint8_t>(current[c] + step[c]);  // wraps as a byte
        if (current[c] > 240) current[c] = 240;
      }
      colour = HlsToRgb(HLS{current[0], current[1], current[2]});
    }
  }
  ApplyAutomaticScales(session_.data, s, -1);
}

// ---- Select parameter -------------------------------------------------------------------------

SelectForm::SelectForm(Session& session, std::int32_t entityKind)
    : session_(session), kind_(entityKind) {
  session.settings.graphic.modeEntityKind = entityKind;
  if (kind_ == 2) {
    // Pages 0 .. the integer part of ParameterCount / 60, the sixtieth in single precision.
    pageCount_ = ToInt32(static_cast<float>(session.data.ParameterCount) * 0.016666668f) + 1;
  }
  load();
}

int SelectForm::itemOf(int box) const {
  if (box < 1 || box > kBoxes) return 0;
  const int item = kind_ == 2 ? kBoxes * page_ + box : box;
  const int count = kind_ == 2 ? session_.data.ParameterCount : session_.data.GroupCount;
  return item <= std::min(count, kMaxParameter) ? item : 0;
}

void SelectForm::load() {
  controls.clear();
  const PlotSettings& s = session_.settings;
  const bool profile = ProfileMode(s);
  for (int box = 1; box <= kBoxes; ++box) {
    FormControl c;
    c.kind = ControlKind::kCheck;
    const int item = itemOf(box);
    if (item > 0) {
      const ParameterSettings& r = s.record(item);
      if (kind_ == 2) {
        FixedText<80> group{}, name{}, unit{};
        SplitParameterName(session_.data.column(item).label.view(), group, name, unit);
        c.text = name.str() + " " + unit.str();
        c.value = (profile ? r.plotState : r.modeSelected) > 0 ? 1 : 0;
      } else {
        c.text = session_.data.column(item).groupName.str();
        c.value = r.modeSelected > 0 ? 1 : 0;
      }
    }
    controls[kFirstBox + box - 1] = c;
  }
}

void SelectForm::toggle(int box, bool on) {
  const int item = itemOf(box);
  if (item == 0) return;
  setChecked(kFirstBox + box - 1, on);
  ParameterSettings& r = session_.settings.record(item);
  (kind_ == 2 ? r.plotState : r.modeSelected) = on ? 1 : 0;
}

void SelectForm::selectAll() {
  for (int box = 1; box <= kBoxes; ++box) {
    FormControl& c = controls.at(kFirstBox + box - 1);
    if (!c.text.empty()) c.value = 1;
  }
  for (int p = 1; p <= std::min(session_.data.ParameterCount, kMaxParameter); ++p) {
    session_.settings.record(p).plotState = 1;
  }
}

void SelectForm::selectNone() {
  for (int box = 1; box <= kBoxes; ++box) controls.at(kFirstBox + box - 1).value = 0;
  for (int p = 1; p <= std::min(session_.data.ParameterCount, kMaxParameter); ++p) {
    session_.settings.record(p).plotState = 0;
  }
}

void SelectForm::plotWithDefaults(int p) {
  ParameterSettings& r = session_.settings.record(p);
  const bool styled = r.valueText > 0 || r.occurrence > 0 || r.histogramLines > 0 ||
                      r.columns > 0 || r.lines > 0 || r.colorize > 0 || r.comment > 0 ||
                      r.marker > 0;
  if (!styled) {
    if (session_.data.column(p).itemCount > 0) {
      r.marker = 1;
      r.lines = 1;
    } else {
      r.comment = 1;
    }
  }
  r.plotState = 1;
}

void SelectForm::apply() {
  PlotSettings& s = session_.settings;
  const bool profile = ProfileMode(s);
  // First member column of each group: the parameters follow one another group after group.
  int firstOfGroup[kSettingsRecords + 1] = {};
  firstOfGroup[1] = 1;
  for (int g = 1; g < kSettingsRecords; ++g) {
    firstOfGroup[g + 1] = firstOfGroup[g] + std::max(0, session_.data.column(g).groupSize);
  }
  for (int box = 1; box <= kBoxes; ++box) {
    const int item = itemOf(box);
    if (item == 0) continue;
    const bool ticked = checked(kFirstBox + box - 1);
    ParameterSettings& r = s.record(item);
    if (!profile) {
      r.modeSelected = ticked ? 1 : 0;
      continue;
    }
    if (kind_ == 2) {
      if (ticked) {
        plotWithDefaults(item);
      } else {
        r.plotState = 0;
      }
      continue;
    }
    const int last = std::min(firstOfGroup[item + 1], kMaxParameter + 1);
    for (int p = firstOfGroup[item]; p < last; ++p) {
      if (ticked) {
        plotWithDefaults(p);
      } else {
        s.record(p).plotState = 0;
      }
    }
    r.modeSelected = ticked ? 1 : 0;
  }
}

void SelectForm::turn(int direction) {
  apply();
  const int page = page_ + direction;
  if (page < 0 || page >= pageCount_) return;
  page_ = page;
  load();
}

void SelectForm::store() {
  apply();
  RecountPlotted(session_.settings);
  ApplyAutomaticScales(session_.data, session_.settings, -1);
}

}  // namespace sx
