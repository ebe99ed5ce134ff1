#pragma once
// Operations that keep the settings model consistent: defaults, colour assignment, plot-state
// recount, unit bracket style, the quality filter and the mode switch.

#include <cstdint>

#include "core/data_model.h"
#include "settings/plot_settings.h"

namespace sx {

// Run once after the tables are allocated: colour constants, the DefaultColorTable with its
// palette, every record's modeColor and the chooser's 16 custom colours.
void InitColorTables(PlotSettings& settings);

// Resets the model for a new data set (record fields, graphic settings, colour arrays).
void SetAllDefaults(PlotSettings& settings);

// Colours into the records: mode 0 from the name memory (DefaultColorTable), mode 1 from the
// ParameterColorTable / ModeColorTable arrays.
void ApplyTemplateColors(PlotSettings& settings, const DataModel& data, int mode);

// Record 0 neutral grey, records 1..256 no colour.
void ResetColors(PlotSettings& settings);

// Recomputes plotState of record index; returns whether it is plotted.
bool UpdatePlotState(PlotSettings& settings, int index);

// Brackets of units: 1 round, 2 square; in column labels 0..ParameterCount and in the names of
// the used DefaultColorTable entries.
void SetUnitStyle(PlotSettings& settings, DataModel& data, int style);

// plottedCount = records 1..256 plotted (profile modes) or selected (Ternary, Phase).
void RecountPlotted(PlotSettings& settings);

// 1 when record index draws a value of quality code `code`, else 0.
int IsQualityFlagShown(const PlotSettings& settings, int index, std::int32_t code);

// The mode choice: Horizontal <-> Vertical flips record 0's reverseRange; Ternary and Phase set
// modeEntityKind 1; then RecountPlotted for the new mode.
void ChoosePlotMode(PlotSettings& settings, PlotMode newMode);

}  // namespace sx
