#pragma once
// The data pass of the two profile modes: style drawers, curves, markers, value texts and strip
// frames of every plotted parameter, on the frames the layout has placed. One pass serves both
// modes; the orientation says which way the strips run.

#include <cstdint>

#include "render/plot_context.h"
#include "render/profile.h"
#include "render/surface.h"

namespace sx {

// stage: 1 screen, 2 clipboard metafile, 3 metafile file, 4 printer (0 like 2 and 3).
void RenderProfile(Surface& surface, PlotContext& ctx, PlotStage stage,
                   ProfileOrientation orientation);

// Passes whose curves and markers read at least this many items in all (default 200,000) prepare
// every other curve or run of markers on a second thread. Tests lower it.
void SetDrawAheadMinimum(std::int64_t items);

inline void RenderHorizontal(Surface& surface, PlotContext& ctx, PlotStage stage) {
  RenderProfile(surface, ctx, stage, ProfileOrientation::kHorizontal);
}
inline void RenderVertical(Surface& surface, PlotContext& ctx, PlotStage stage) {
  RenderProfile(surface, ctx, stage, ProfileOrientation::kVertical);
}

}  // namespace sx
