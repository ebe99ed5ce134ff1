#include "plot/plot_pass.h"

#include "plot/phase.h"
#include "plot/ternary.h"

#include "plot/axes.h"
#include "plot/layout.h"
#include "render/profile_renderer.h"
#include "settings/drawing_bounds.h"

namespace sx {
namespace {

// The single point where the mode's data renderer plugs in: Horizontal and Vertical get the
// stage (they vary small details by it), Ternary and Phase draw the same at every stage. A mode
// without a renderer here draws its frames and axes only.
void RenderData(Surface& surface, PlotContext& ctx, std::int32_t stage) {
  switch (ctx.settings.graphic.plotMode) {
    case kHorizontal:
      RenderHorizontal(surface, ctx, stage);
      break;
    case kVertical:
      RenderVertical(surface, ctx, stage);
      break;
    case kTernary:
      RenderTernary(surface, ctx);
      break;
    case kPhase:
      RenderPhase(surface, ctx);
      break;
    default:
      break;
  }
}

}  // namespace

void PlotPass(Surface& surface, PlotContext& ctx, std::int32_t stage) {
  DataModel& data = ctx.data;
  PlotSettings& settings = ctx.settings;
  GraphicSettings& graphic = settings.graphic;
  if (data.ColumnTable.size() == 0 || data.ParameterCount < 1) return;
  if (data.column(0).itemCount < 1 || graphic.plottedCount < 1) return;
  if (graphic.plotMode < kHorizontal || graphic.plotMode > kPhase) return;
  if (stage < kStageCurrentLayout || stage > kStagePrinter) return;
  // Sizes from files draw bounded to what a picture can show, so the time of a pass follows the
  // data, never the numbers in a settings file.
  const BoundedDrawingSizes boundedSizes(settings);

  // The screen and the printer lay the plot out for their own resolution; the metafile stages
  // keep the layout of the last screen paint.
  if (stage == kStageScreen || stage == kStagePrinter) {
    CopyAxisRanges(data, settings);
    switch (graphic.plotMode) {
      case kHorizontal:
        graphic.fontSize = LayoutHorizontal(surface, ctx);
        break;
      case kVertical:
        graphic.fontSize = LayoutVertical(surface, ctx);
        break;
      case kTernary:
        graphic.modeFontSize = LayoutTernary(surface, ctx);
        break;
      default:
        graphic.modeFontSize = LayoutPhase(surface, ctx);
        break;
    }
    ComputeAxisTransforms(data, settings);
  }
  DrawFramesAndAxes(surface, ctx, stage);
  RenderData(surface, ctx, stage);
}

}  // namespace sx
