#include "settings/settings_model.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace sx {

namespace {

// The palette by position: colours of DefaultColorTable entries 1..15.
constexpr RGB kPalette[15] = {
    {0, 146, 255}, {119, 54, 255},  {209, 50, 0},  {255, 130, 23},  {255, 23, 33},
    {0, 233, 0},   {164, 255, 54},  {255, 0, 255}, {186, 15, 255},  {163, 0, 178},
    {252, 204, 0}, {127, 255, 161}, {0, 167, 18},  {255, 169, 125}, {0, 255, 255},
};

constexpr RGB kTickColor{212, 212, 212};

// Number of usable entries of a table, never more than the model's 257; a table that was not
// allocated (or was made smaller) is simply shorter, so no loop can run past its end.
template <typename T>
int Usable(const Table<T>& table) {
  return static_cast<int>(std::min<std::size_t>(table.size(), kSettingsRecords));
}

// The last parameter index that may be touched: ParameterCount limited to the records that
// exist in both tables. Negative when there is nothing to touch.
int LastParameter(const PlotSettings& settings, const DataModel& data) {
  const int records = Usable(settings.ParameterSettingsTable);
  const int columns = static_cast<int>(
      std::min<std::size_t>(data.ColumnTable.size(), static_cast<std::size_t>(records)));
  return std::min(data.ParameterCount, columns - 1);
}

RGB DefaultColorAt(const PlotSettings& settings, int i) {
  if (i < 0 || i >= Usable(settings.DefaultColorTable)) return kNeutralGray;
  return settings.DefaultColorTable[static_cast<std::size_t>(i)].rgb;
}

template <std::size_t N>
void ReplaceBrackets(FixedText<N>& text, char openFrom, char closeFrom, char openTo, char closeTo) {
  // ASCII bytes never occur inside a multi-byte UTF-8 sequence, so a byte swap is safe.
  const std::size_t n = std::min<std::size_t>(text.length, FixedText<N>::kBytes);
  for (std::size_t k = 0; k < n; ++k) {
    if (text.bytes[k] == openFrom) {
      text.bytes[k] = openTo;
    } else if (text.bytes[k] == closeFrom) {
      text.bytes[k] = closeTo;
    }
  }
}

bool IsTernaryOrPhase(PlotMode mode) {
  return mode == kTernary || mode == kPhase;
}

}  // namespace

void InitColorTables(PlotSettings& settings) {
  const int entries = Usable(settings.DefaultColorTable);
  for (int i = 0; i < entries; ++i) {
    DefaultColorEntry& e = settings.DefaultColorTable[static_cast<std::size_t>(i)];
    e.inUse = 0;
    e.name.assign("FREE");
    e.rgb = kNeutralGray;
  }
  if (entries > 0) {
    DefaultColorEntry& tick = settings.DefaultColorTable[0];
    tick.name.assign("TICK");
    tick.inUse = 1;
    tick.rgb = kTickColor;
  }
  for (int i = 1; i <= 15 && i < entries; ++i) {
    settings.DefaultColorTable[static_cast<std::size_t>(i)].rgb = kPalette[i - 1];
  }

  const int records = Usable(settings.ParameterSettingsTable);
  for (int i = 0; i < records; ++i) settings.record(i).modeColor = kNeutralGray;

  for (int i = 0; i < 16; ++i) settings.customColors[i] = PackRGB(DefaultColorAt(settings, i));
}

void SetAllDefaults(PlotSettings& settings) {
  GraphicSettings& g = settings.graphic;
  g.tickIncrementPercent = 20;
  g.spareSettingB = 10;
  g.useColor = 1;
  g.useDefaultColor = 1;
  g.fileNameStamp = 1;
  g.dateTimeStamp = 1;
  g.unitStyle = 1;

  // A credit text with an address in it is the user's own; anything else is replaced.
  if (g.CreditText.view().find('@') == std::string_view::npos) {
    g.CreditText.assign("MERIDAT/Sondrix");
  }

  ParameterSettings defaults{};  // every field not named below is 0
  defaults.format.assign("%.2f");
  defaults.comment = 1;
  defaults.flagValid = 1;
  defaults.markerSymbol = 1;
  defaults.markerSize = 1;
  defaults.lineWidth = 1;
  defaults.columnWidth = 10;
  defaults.ticklines = 1;
  defaults.minorTicks = 1;
  defaults.automatic = 1;
  defaults.reverseRange = 0;
  defaults.modeMarkerSymbol = 2;
  defaults.modeMarkerSize = 1;
  defaults.modeLineWidth = 1;
  defaults.epsilon = 100.0f;
  defaults.color = kNeutralGray;
  defaults.reservedA = 1;
  defaults.reservedB = 1;

  const int records = Usable(settings.ParameterSettingsTable);
  for (int i = 0; i < records; ++i) {
    ParameterSettings& r = settings.record(i);
    // rgbColumn describes the loaded column, not a preference: the reader owns it.
    const std::int32_t rgbColumn = r.rgbColumn;
    r = defaults;
    r.rgbColumn = rgbColumn;
    r.modeColor = DefaultColorAt(settings, i);
  }

  g.frameWidth = 1;
  if (records > 0) {
    settings.record(0).lineWidth = 1;
    settings.record(0).reverseRange = 1;
  }

  const int colorsA = Usable(settings.ParameterColorTable);
  for (int i = 0; i < colorsA; ++i) {
    settings.ParameterColorTable[static_cast<std::size_t>(i)] =
        i == 0 ? kNeutralGray : kDefaultDrawColor;
  }
  const int colorsB = Usable(settings.ModeColorTable);
  for (int i = 0; i < colorsB; ++i) {
    settings.ModeColorTable[static_cast<std::size_t>(i)] =
        i == 0 ? kNeutralGray : kDefaultDrawColor;
  }
}

void ApplyTemplateColors(PlotSettings& settings, const DataModel& data, int mode) {
  const int records = Usable(settings.ParameterSettingsTable);
  const int colorsA = Usable(settings.ParameterColorTable);
  const int colorsB = Usable(settings.ModeColorTable);
  const int entries = Usable(settings.DefaultColorTable);
  if (records < 1) return;

  ParameterSettings& axis = settings.record(0);
  if (colorsA > 0) axis.color = settings.ParameterColorTable[0];
  if (colorsB > 0) axis.modeColor = settings.ModeColorTable[0];

  const int last = LastParameter(settings, data);
  if (last < 1) return;

  if (mode == 0) {
    for (int i = 1; i <= last; ++i) {
      ParameterSettings& r = settings.record(i);
      const std::string_view label = data.column(i).label.view();
      r.color = kDefaultDrawColor;
      // Free entries are compared too, by their name "FREE".
      for (int j = 1; j < entries; ++j) {
        const DefaultColorEntry& e = settings.DefaultColorTable[static_cast<std::size_t>(j)];
        if (e.name.view() == label) {
          r.color = e.rgb;
          break;
        }
      }
      const RGB byPosition = DefaultColorAt(settings, i);
      if (i < colorsA) settings.ParameterColorTable[static_cast<std::size_t>(i)] = r.color;
      if (i < colorsB) settings.ModeColorTable[static_cast<std::size_t>(i)] = byPosition;
      r.modeColor = byPosition;
    }
  } else if (mode == 1) {
    for (int i = 1; i <= last; ++i) {
      ParameterSettings& r = settings.record(i);
      if (i < colorsA) r.color = settings.ParameterColorTable[static_cast<std::size_t>(i)];
      if (i < colorsB) r.modeColor = settings.ModeColorTable[static_cast<std::size_t>(i)];
    }
  }
}

void ResetColors(PlotSettings& settings) {
  const int records = Usable(settings.ParameterSettingsTable);
  for (int i = 0; i < records; ++i) {
    ParameterSettings& r = settings.record(i);
    r.color = i == 0 ? kNeutralGray : kDefaultDrawColor;
    r.modeColor = r.color;
  }
}

bool UpdatePlotState(PlotSettings& settings, int index) {
  if (index < 0 || index >= Usable(settings.ParameterSettingsTable)) return false;
  ParameterSettings& r = settings.record(index);
  r.plotState = 0;
  // Summed in 64 bits: the style fields come from files and may hold any i32.
  const std::int64_t textOnly =
      std::int64_t{r.occurrence} + r.valueText + r.comment + r.lithology + r.boundary + r.course;
  const std::int64_t total = textOnly + r.colorize + r.rgbColumn + r.lines + r.columns +
                             r.histogramLines + r.outline + r.marker;
  if (total > 0) r.plotState = 1;
  if (textOnly == total && textOnly >= 1 && r.plotState > 0) r.plotState = 2;
  return r.plotState > 0;
}

void SetUnitStyle(PlotSettings& settings, DataModel& data, int style) {
  if (style != 1 && style != 2) return;
  const char openFrom = style == 1 ? '[' : '(';
  const char closeFrom = style == 1 ? ']' : ')';
  const char openTo = style == 1 ? '(' : '[';
  const char closeTo = style == 1 ? ')' : ']';

  const int columns =
      static_cast<int>(std::min<std::size_t>(data.ColumnTable.size(), kSettingsRecords));
  const int last = std::min(data.ParameterCount, columns - 1);
  for (int c = 0; c <= last; ++c) {
    ReplaceBrackets(data.column(c).label, openFrom, closeFrom, openTo, closeTo);
  }

  const int entries = Usable(settings.DefaultColorTable);
  for (int j = 1; j < entries; ++j) {
    DefaultColorEntry& e = settings.DefaultColorTable[static_cast<std::size_t>(j)];
    if (e.inUse < 1) break;
    ReplaceBrackets(e.name, openFrom, closeFrom, openTo, closeTo);
  }
}

void RecountPlotted(PlotSettings& settings) {
  const bool byModeSelection = IsTernaryOrPhase(settings.graphic.plotMode);
  const int records = Usable(settings.ParameterSettingsTable);
  std::int32_t count = 0;
  for (int i = 1; i < records; ++i) {
    const ParameterSettings& r = settings.record(i);
    if ((byModeSelection ? r.modeSelected : r.plotState) > 0) ++count;
  }
  settings.graphic.plottedCount = count;
}

int IsQualityFlagShown(const PlotSettings& settings, int index, std::int32_t code) {
  if (index < 0 || index >= Usable(settings.ParameterSettingsTable)) return 0;
  const ParameterSettings& r = settings.record(index);
  switch (code) {
    case kFlagValid:
      return r.flagValid > 0 ? 1 : 0;
    case kFlagNotValid:
      return r.flagNotValid > 0 ? 1 : 0;
    case kFlagUnknown:
      return r.flagUnknown > 0 ? 1 : 0;
    case kFlagQuestionable:
      return r.flagQuestionable > 0 ? 1 : 0;
    case kFlagIndividual:
      return r.flagIndividual > 0 ? 1 : 0;
    default:
      return 0;  // ">" and "<" values and non-numbers are never drawn
  }
}

void ChoosePlotMode(PlotSettings& settings, PlotMode newMode) {
  // Only the four plot modes can be chosen; anything else leaves the model as it is.
  if (newMode < kHorizontal || newMode > kPhase) return;
  GraphicSettings& g = settings.graphic;
  const bool profileSwap = (g.plotMode == kHorizontal && newMode == kVertical) ||
                           (g.plotMode == kVertical && newMode == kHorizontal);
  // The common axis turns from vertical to horizontal, so its direction flips with it.
  if (profileSwap && Usable(settings.ParameterSettingsTable) > 0) {
    // |old - 1| in 64 bits, so that a value read from a file cannot overflow.
    std::int32_t& reverse = settings.record(0).reverseRange;
    const std::int64_t flipped = std::int64_t{reverse} - 1;
    reverse = static_cast<std::int32_t>(std::min<std::int64_t>(
        flipped < 0 ? -flipped : flipped, std::numeric_limits<std::int32_t>::max()));
  }
  if (IsTernaryOrPhase(newMode)) g.modeEntityKind = 1;
  g.plotMode = newMode;
  RecountPlotted(settings);
}

}  // namespace sx
