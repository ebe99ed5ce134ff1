#pragma once
// Everything of a plot that is not data: frames, ticks, grid lines, tick labels, axis titles,
// the "max.:" note and the stamps.

#include <cstdint>

#include "render/plot_context.h"
#include "render/surface.h"

namespace sx {

// Does nothing when no parameter is plotted; frames only at stages 0 and 1.
void DrawFramesAndAxes(Surface& surface, PlotContext& ctx, PlotStage stage);

// Number of major ticks n of an axis from minimum a to maximum b with increment inc (0 when inc
// is 0), with the 0.1 tolerance; bounded so that a pass always ends quickly.
std::int32_t MajorTickCount(float a, float b, float inc);

}  // namespace sx
