#pragma once
// The numbers behind every axis: automatic value ranges of the columns, automatic tick
// increments and number formats. Tick-label texts are made in plot/axis_labels.h.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/fixed_text.h"
#include "settings/plot_settings.h"

namespace sx {

// 10 raised to floor(log10 |x|), one decade lower for |x| = 10 exactly; 0 for x = 0.
double OrderOfMagnitude(float x);

// autoMinimum / autoMaximum of columns 0..ParameterCount; sets XAscending (and switches every
// parameter to markers when the X values are not ascending).
void ComputeAutomaticRanges(DataModel& data, PlotSettings& settings);

// Copies the automatic limits into the axis settings and derives tick increment, reference line
// and number format. applyToAll: 1 every parameter, 0 the automatic plotted ones and then clears
// every automatic flag, -1 the automatic plotted ones.
void ApplyAutomaticScales(const DataModel& data, PlotSettings& settings, int applyToAll);

// Fixed-point format ("%.Nf") with as many decimals as the printed number needs; returns N.
int MakeNumberFormat(std::string_view numberText, FixedText<31>& format);

// Prints v as the C library's "%.<decimals>f" does in the C locale, into buffer. The text is
// the same in every locale, so a decimal comma never reaches a number format or a tick label.
// Empty when the buffer is too small.
std::string_view PrintFixed(double v, int decimals, char* buffer, std::size_t size);

// The decimals N of a "%.Nf" format with 0 <= N <= 20; -1 for any other text.
int FormatDecimals(std::string_view format);

// True for the only number formats the program uses: "%.Nf" with 0 <= N <= 20.
bool IsValidNumberFormat(std::string_view format);

}  // namespace sx
