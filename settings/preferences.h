#pragma once
// Preferences applied at every data load: the defaults, the preference file, and the default
// styles of new parameters.

#include "core/data_model.h"
#include "settings/plot_settings.h"

namespace sx {

// Applies the preferences to the columns of a freshly read file: resets the settings to their
// defaults, reads the stored preferences, marks every parameter that has values as plotted with
// the default styles, clears the records beyond the file and assigns the colours.
void LoadPreferences(DataModel& data, PlotSettings& settings);

}  // namespace sx
