#pragma once
// The Phase plot: pairs of columns (a direction in degrees clockwise from the top, and a
// magnitude) as vectors from the centre of the circle of record 0, scaled so that the item's
// C_max reaches the circle, with the direction labels, a legend and the stamps.

#include "render/plot_context.h"
#include "render/surface.h"

namespace sx {

// The circle and one vector per data row that has both values. An item whose cMax is 0 first
// takes the axis maximum of its magnitude column, and keeps it.
void RenderPhase(Surface& surface, PlotContext& ctx);

// Stamp, direction labels, credit line and legend.
void DrawPhaseLabels(Surface& surface, const PlotContext& ctx);

}  // namespace sx
