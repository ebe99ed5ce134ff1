#include "settings/preferences.h"

#include <string>

#include "settings/settings_files.h"
#include "settings/settings_model.h"

namespace sx {

void LoadPreferences(DataModel& data, PlotSettings& settings) {
  GraphicSettings& g = settings.graphic;
  const int n = data.ParameterCount < 0
                    ? 0
                    : (data.ParameterCount > kMaxParameter ? kMaxParameter : data.ParameterCount);

  g.modeEntityKind = data.GroupCount < 2 ? 2 : 1;
  SetAllDefaults(settings);

  // A preference file that is missing or cannot be used is replaced by the current state, so the
  // next load finds one. Write failures stay silent: the defaults simply apply again next time.
  const std::string preferences = BuildSettingsPath(kPreferenceFileName);
  if (ReadPreferences(preferences, settings, data) != kPreferencesRead) {
    WritePreferences(preferences, settings, 0, data.DataFilePath);
    // Units take the style a read would have given them, so that the first load (before any
    // preference file exists) names the columns as every later one does.
    SetUnitStyle(settings, data, g.unitStyle);
  }

  // Default styles for parameters the stored preferences leave unplotted.
  for (int i = 1; i <= n; ++i) {
    ParameterSettings& r = settings.record(i);
    if (r.plotState != 0) continue;
    r.plotState = 1;
    r.flagValid = 1;
    r.flagNotValid = 0;
    r.markerSymbol = 1;
    r.comment = 1;
    r.columns = 0;
    r.histogramLines = 0;
    r.outline = 0;
    if (data.column(i).itemCount == 0) {
      r.marker = 0;
      r.lines = 0;
      r.lithology = 0;
      r.boundary = 0;
    } else {
      r.marker = 1;
      r.lines = 1;
    }
  }
  for (int i = 1; i <= n; ++i) {
    ParameterSettings& r = settings.record(i);
    // Dense curves read better without a marker on every value.
    if (data.column(i).itemCount > 250 && r.lines > 0) r.marker = 0;
    if (r.rgbColumn > 0) r.comment = 0;
  }
  for (int i = n + 1; i < kSettingsRecords; ++i) {
    ParameterSettings& r = settings.record(i);
    r.plotState = r.marker = r.lines = r.columns = r.histogramLines = r.outline = 0;
    r.comment = r.rgbColumn = r.lithology = r.boundary = r.flagValid = r.fixedAxisLength = 0;
    r.markerSymbol = 1;
  }
  const int groups =
      data.GroupCount < 0 ? 0 : (data.GroupCount > kMaxParameter ? kMaxParameter : data.GroupCount);
  for (int i = 1; i <= groups; ++i) {
    ParameterSettings& r = settings.record(i);
    if (r.modeSelected == 0) {
      r.modeSelected = 1;
      r.modeMarkerSymbol = 2;
    }
  }
  for (int i = groups + 1; i < kSettingsRecords; ++i) {
    settings.record(i).modeSelected = 0;
    settings.record(i).modeMarkerSymbol = 2;
  }

  ApplyTemplateColors(settings, data, 0);
  if (g.useColor == 0 || g.useDefaultColor == 0) {
    ResetColors(settings);
  } else {
    ApplyTemplateColors(settings, data, 1);
  }
  if (data.GroupCount < 2 && g.modeEntityKind == 1) g.modeEntityKind = 2;
}

}  // namespace sx
