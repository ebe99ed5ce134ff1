#pragma once
// The only entry into plot drawing: chooses the mode's layout and renderer, decides whether the
// layout is recomputed, and calls the pieces in a fixed order.

#include <cstdint>
#include <string>

#include "render/plot_context.h"
#include "render/surface.h"

namespace sx {

void PlotPass(Surface& surface, PlotContext& ctx, PlotStage stage);

// Why a pass would draw no data at all, for the user: empty when it draws some.
std::string WhyNothingIsDrawn(const DataModel& data, const PlotSettings& settings);

}  // namespace sx
