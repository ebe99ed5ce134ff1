#pragma once
// The settings that follow from a freshly read data file, before and after the preferences and
// the template are applied.

#include "core/data_model.h"
#include "settings/plot_settings.h"

namespace sx {

// Before the preferences: every record back to its defaults, the colour-column marks of the
// file's columns, the Vertical mode, the title, date and credit texts (from the file name, the
// local time and a credit in the X column's name), and the group titles on the first member of
// each group.
void ApplyFileDefaults(const DataModel& data, PlotSettings& settings);

// After the preferences and the template: every parameter's name is shown, and each group's
// title stands on its first plotted member (only the first group's when all are in one strip).
void ShowLabelsOfFile(const DataModel& data, PlotSettings& settings);

// Unplots latitude, longitude, altitude, height and unnamed parameters.
void DeselectCoordinateColumns(const DataModel& data, PlotSettings& settings);

}  // namespace sx
