#pragma once
// The numbers behind every axis: automatic value ranges of the columns, automatic tick
// increments and number formats, and the number-to-text rules of tick labels.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/fixed_text.h"
#include "core/user_interface.h"
#include "settings/plot_settings.h"

namespace sx {

// 10 raised to floor(log10 |x|), one decade lower for |x| = 10 exactly; 0 for x = 0.
double OrderOfMagnitude(float x);

// autoMinimum / autoMaximum of columns 0..ParameterCount; sets XAscending (and switches every
// parameter to markers when the X values are not ascending).
void ComputeAutomaticRanges(DataModel& data, PlotSettings& settings, UserInterface& ui);

// Copies the automatic limits into the axis settings and derives tick increment, reference line
// and number format. applyToAll: 1 every parameter, 0 the automatic plotted ones and then clears
// every automatic flag, -1 the automatic plotted ones.
void ApplyAutomaticScales(const DataModel& data, PlotSettings& settings, int applyToAll);

// Fixed-point format ("%.Nf") with as many decimals as the printed number needs; returns N.
int MakeNumberFormat(std::string_view numberText, FixedText<31>& format);

// True for the only number formats the program uses: "%.Nf" with 0 <= N <= 20.
bool IsValidNumberFormat(std::string_view format);

// Prints one axis number with format (validated; an invalid format prints as "%.2f"); an exponent
// letter becomes upper case.
void FormatAxisNumber(float value, std::string_view format, std::string& out);

// Tick label of a date/time X axis; span is the axis maximum minus minimum in days.
void FormatDateTimeLabel(const DataModel& data, float value, std::string& out, float span);

}  // namespace sx
