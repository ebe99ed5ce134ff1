#pragma once
// The only entry into plot drawing: chooses the mode's layout and renderer, decides whether the
// layout is recomputed, and calls the pieces in a fixed order.

#include <cstdint>
#include <string>

#include "render/plot_context.h"
#include "render/surface.h"

namespace sx {

enum PlotStage : std::int32_t {
  kStageCurrentLayout = 0,  // drawing with the current layout
  kStageScreen = 1,         // screen drawing with a new layout
  kStageClipboard = 2,      // metafile to the clipboard, layout of the last screen paint
  kStageMetafile = 3,       // metafile to a file, likewise
  kStagePrinter = 4,        // printer page with a new layout
};

void PlotPass(Surface& surface, PlotContext& ctx, std::int32_t stage);

// Why a pass would draw no data at all, for the user: empty when it draws some.
std::string WhyNothingIsDrawn(const DataModel& data, const PlotSettings& settings);

}  // namespace sx
