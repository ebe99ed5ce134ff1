#include "plot/plot_pass.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "plot/mode_items.h"
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
void RenderData(Surface& surface, PlotContext& ctx, PlotStage stage) {
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

// What a layout writes into the models. A printer page is laid out for the printer, but the
// window keeps showing the screen's layout: exports, clicks and the read-out after a print must
// see that one, so it is put back when the page is drawn.
class ScreenLayoutKeeper {
 public:
  explicit ScreenLayoutKeeper(PlotContext& ctx)
      : ctx_(ctx),
        columns_(ctx.data.ColumnTable.data(),
                 ctx.data.ColumnTable.data() + ctx.data.ColumnTable.size()),
        fontSize_(ctx.settings.graphic.fontSize),
        modeFontSize_(ctx.settings.graphic.modeFontSize),
        metrics_(ctx.render.metrics) {}
  ~ScreenLayoutKeeper() {
    std::copy(columns_.begin(), columns_.end(), ctx_.data.ColumnTable.data());
    ctx_.settings.graphic.fontSize = fontSize_;
    ctx_.settings.graphic.modeFontSize = modeFontSize_;
    ctx_.render.metrics = metrics_;
    ctx_.render.rowAxis.valid = false;
  }
  ScreenLayoutKeeper(const ScreenLayoutKeeper&) = delete;
  ScreenLayoutKeeper& operator=(const ScreenLayoutKeeper&) = delete;

 private:
  PlotContext& ctx_;
  std::vector<ColumnRecord> columns_;
  std::int32_t fontSize_, modeFontSize_;
  TextMetrics metrics_;
};

// The picture the layout fills, less a pixel at each edge for the rounding of text widths; a
// graphic without a size limits nothing.
TextBox PictureBox(const GraphicSettings& graphic) {
  if (graphic.graphicWidth < 1 || graphic.graphicHeight < 1) return kAnyRoom;
  return {1, 1, std::int64_t{graphic.graphicWidth} - 1, std::int64_t{graphic.graphicHeight} - 1};
}

}  // namespace

void PlotPass(Surface& surface, PlotContext& ctx, PlotStage stage) {
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

  std::optional<ScreenLayoutKeeper> keeper;
  if (stage == kStagePrinter) keeper.emplace(ctx);
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
  // No text of the pass overprints another or leaves the picture. Neighbouring labels keep at
  // least a blank between them, and never less than a few pixels, so that they cannot be read
  // as one number.
  const bool profile = graphic.plotMode == kHorizontal || graphic.plotMode == kVertical;
  const std::int64_t blank = profile ? ctx.render.metrics.spaceWidth : 0;
  const std::int64_t clearance =
      std::max<std::int64_t>(kMinTextClearance * std::int64_t{ctx.scale.scaleStep}, blank);
  TextPlacement texts(PictureBox(graphic),
                      static_cast<std::int32_t>(std::min<std::int64_t>(
                          clearance, std::numeric_limits<std::int32_t>::max())));
  TextPlacement* const outer = ctx.texts;
  ctx.texts = &texts;
  DrawFramesAndAxes(surface, ctx, stage);
  RenderData(surface, ctx, stage);
  ctx.texts = outer;
}

std::string WhyNothingIsDrawn(const DataModel& data, const PlotSettings& settings) {
  if (data.ParameterCount < 1 || data.ColumnTable.size() == 0 || data.rowCount() < 1) {
    return "no data are loaded";
  }
  std::int32_t plotted = 0;
  for (int p = 1; p <= std::min(data.ParameterCount, kMaxParameter); ++p) {
    plotted += settings.record(p).plotState > 0;
  }
  if (settings.graphic.plottedCount < 1 || plotted < 1) return "no parameter is selected";
  switch (settings.graphic.plotMode) {
    case kTernary:
      if (AnyItemDrawn(data, settings, kTernaryColumns)) return {};
      return "the Ternary mode needs a selected group of three columns with values in one row";
    case kPhase:
      if (AnyItemDrawn(data, settings, kPhaseColumns)) return {};
      return "the Phase mode needs a selected group of two columns (direction and magnitude) "
             "with values in one row";
    default:
      return {};
  }
}

}  // namespace sx
