#pragma once
// The Ternary plot: compositions of three columns as markers in the equilateral triangle of
// record 0 (left base corner component 1, apex component 2, right base corner component 3), with
// a percentage grid, the corner names, a legend and the stamps.

#include <cstdint>

#include "render/plot_context.h"
#include "render/surface.h"

namespace sx {

// The device point of the composition a1, a2, a3 (percent of the whole) in the triangle.
DevicePoint TernaryPoint(const ColumnRecord& triangle, double a1, double a2, double a3);

// Grid, outline and one marker per data row whose three values are non-negative and add up to
// 100 within the item's epsilon.
void RenderTernary(Surface& surface, PlotContext& ctx);

// Stamp, corner names, legend and credit line.
void DrawTernaryLabels(Surface& surface, const PlotContext& ctx);

}  // namespace sx
