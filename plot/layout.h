#pragma once
// The plot layout: where every axis frame lies on the surface and how data values map to device
// coordinates. Results go to the column records (frame, transform and range fields) and to the
// text metrics.

#include <cstdint>

#include "render/plot_context.h"
#include "render/surface.h"

namespace sx {

// For each plotted parameter: the X axis and the parameter's own minimum and maximum.
void CopyAxisRanges(DataModel& data, const PlotSettings& settings);

// Frames of the two profile modes; they return fontSize unchanged and do nothing when
// plottedCount < 1.
std::int32_t LayoutHorizontal(Surface& surface, PlotContext& ctx);
std::int32_t LayoutVertical(Surface& surface, PlotContext& ctx);
// The triangle and the circle; they return modeFontSize unchanged.
std::int32_t LayoutTernary(Surface& surface, PlotContext& ctx);
std::int32_t LayoutPhase(Surface& surface, PlotContext& ctx);

// Value-to-device scale and offset of every plotted parameter's frame (profile modes).
void ComputeAxisTransforms(DataModel& data, const PlotSettings& settings);

// Tick mark length from the first plotted parameter's frame of the previous layout: between
// 6 x ScaleFactor and 8 device units; 0 when nothing is plotted.
std::int32_t TickLength(const DataModel& data, const PlotSettings& settings, float scaleFactor);

}  // namespace sx
