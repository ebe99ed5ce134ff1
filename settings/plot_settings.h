#pragma once
// The settings model: one ParameterSettings record per column (record 0 is the X axis; in the
// Ternary and Phase modes group g uses record g), the global graphic settings, the colour memory
// keyed by parameter name and the two colour arrays that carry colours between a template and the
// records.

#include <cstdint>
#include <string>

#include "core/fixed_text.h"
#include "core/rgb.h"
#include "core/table.h"

namespace sx {

inline constexpr int kSettingsRecords = 257;  // records 0..256

// Stored in templates and preference files as its number; a number read from a file may be any
// value, which every user of the mode treats as no mode at all.
enum class PlotMode : std::int32_t {
  kHorizontal = 0,
  kVertical = 1,
  kTernary = 2,
  kPhase = 3,
};
inline constexpr PlotMode kHorizontal = PlotMode::kHorizontal;
inline constexpr PlotMode kVertical = PlotMode::kVertical;
inline constexpr PlotMode kTernary = PlotMode::kTernary;
inline constexpr PlotMode kPhase = PlotMode::kPhase;

inline bool IsPlotMode(PlotMode mode) {
  return mode >= kHorizontal && mode <= kPhase;
}

struct ParameterSettings {
  FixedText<31> format;  // "%.Nf", validated before use
  std::int32_t colorize;
  std::int32_t rgbColumn;
  std::int32_t plotState;  // 0 not plotted, 1 plotted, 2 plotted with text-type styles only
  std::int32_t lines;
  std::int32_t columns;
  std::int32_t histogramLines;
  std::int32_t outline;
  std::int32_t occurrence;
  std::int32_t valueText;
  std::int32_t comment;
  std::int32_t lithology;
  std::int32_t boundary;
  std::int32_t course;
  std::int32_t marker;
  std::int32_t showGroupLabel;
  std::int32_t showParameterLabel;
  float referenceLine;
  std::int32_t flagValid;
  std::int32_t flagNotValid;
  std::int32_t flagUnknown;
  std::int32_t flagQuestionable;
  std::int32_t flagIndividual;
  std::int32_t doWithNext;
  std::int32_t markerSymbol;
  std::int32_t markerSize;
  std::int32_t lineWidth;
  std::int32_t columnWidth;
  float tickIncrement;
  std::int32_t ticklines;
  std::int32_t minorTicks;
  std::int32_t minorTicklines;
  std::int32_t bothSides;
  std::int32_t inside;
  std::int32_t textOrientation;
  float minimum;
  float maximum;
  std::int32_t automatic;
  std::int32_t reverseRange;
  std::int32_t axisLength;
  std::int32_t fixedAxisLength;
  std::int32_t modeSelected;
  std::int32_t modeMarkerSymbol;
  std::int32_t modeMarkerSize;
  std::int32_t modeLineWidth;
  float epsilon;
  float cMax;
  RGB color;
  RGB modeColor;
  // Two fields that only SetAllDefaults sets (to 1); neither saved nor edited.
  std::int32_t reservedA;
  std::int32_t reservedB;
};

struct GraphicSettings {
  PlotMode plotMode = kVertical;
  std::int32_t useColor = 1;
  std::int32_t useDefaultColor = 0;
  std::int32_t useTemplate = 0;
  std::int32_t allInOne = 0;
  std::int32_t clipXAxis = 0;
  std::int32_t frameWidth = 0;
  std::int32_t graphicWidth = -1;
  std::int32_t graphicHeight = -1;
  std::int32_t plotDistance = 0;
  std::int32_t tickIncrementPercent = 0;
  FixedText<31> fontName{};
  std::int32_t fontSize = 10;
  std::int32_t modeFontSize = 10;
  std::int32_t dateTimeStamp = 0;
  std::int32_t fileNameStamp = 0;
  std::int32_t unitStyle = 1;
  std::int32_t modeEntityKind = 1;
  std::int32_t plottedCount = 0;
  FixedText<255> CreditText{};
  FixedText<255> DateText{};
  FixedText<511> TitleText{};
  std::int32_t horizontalLayoutSwitch = 0;
  std::int32_t spareSettingA = 0;
  std::int32_t spareSettingB = 0;
  // The program used to edit data files; customEditor is 1 when a stored path replaced the
  // default.
  std::string editorPath = "Notepad.exe";
  std::int32_t customEditor = 0;

  GraphicSettings() {
    fontName.assign("Arial");
    CreditText.assign("MERIDAT/Sondrix");
  }
};

struct DefaultColorEntry {
  std::int32_t inUse;
  FixedText<80> name;
  RGB rgb;
};

struct PlotSettings {
  Table<ParameterSettings> ParameterSettingsTable;  // kSettingsRecords
  Table<DefaultColorEntry> DefaultColorTable;       // kSettingsRecords
  Table<RGB> ParameterColorTable;                   // kSettingsRecords
  Table<RGB> ModeColorTable;                        // kSettingsRecords
  GraphicSettings graphic;
  std::string TemplatePath;             // the current template, chosen by the template commands
  std::uint32_t customColors[16] = {};  // the colour chooser's custom colours, packed

  ParameterSettings& record(int i) { return ParameterSettingsTable[static_cast<std::size_t>(i)]; }
  const ParameterSettings& record(int i) const {
    return ParameterSettingsTable[static_cast<std::size_t>(i)];
  }
};

}  // namespace sx
