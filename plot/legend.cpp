#include "plot/legend.h"

#include <algorithm>

#include "plot/axes_common.h"
#include "render/drawing.h"

namespace sx {

LegendGeometry MakeLegendGeometry(const DataModel& data, const PlotSettings& settings,
                                  const TextMetrics& metrics) {
  LegendGeometry geometry;
  if (data.ColumnTable.size() == 0) return geometry;
  const ColumnRecord& frame = data.column(0);
  const std::int64_t h = metrics.labelHeight;
  std::int64_t start = 0, top = 0;
  if (settings.graphic.plotMode == kPhase) {
    // Record 0 holds the circle: origin at its centre, extents = diameter.
    start = std::int64_t{frame.originX} + frame.extentX / 2 + 2 * marginLeft;
    top = std::int64_t{frame.originY} - frame.extentY / 2;
    geometry.want = kPhaseColumns;
  } else {
    // Record 0 holds the triangle: origin at the left end of its base.
    start = std::int64_t{frame.originX} + frame.extentX + 2 * marginLeft;
    top = std::int64_t{frame.originY} - frame.extentY;
    geometry.want = kTernaryColumns;
  }
  geometry.markerX = Saturate32(start);
  // The text begins clear of the marker and of the marker's click band.
  geometry.textX = Saturate32(start + std::max<std::int64_t>(h, 2 * kLegendMarkerSize));
  geometry.top = Saturate32(top);
  geometry.lineHeight = metrics.labelHeight;
  geometry.halfBand = Saturate32(h / 2 - 1);
  return geometry;
}

LegendLine LegendLineOf(const LegendGeometry& geometry, int k) {
  // trunc(1.3 * k * h) in whole numbers, so that exact products are not lost to rounding.
  const std::int64_t h = geometry.lineHeight;
  const std::int64_t y = std::int64_t{geometry.top} + 13 * std::int64_t{k} * h / 10;
  LegendLine line;
  line.textY = Saturate32(y);
  line.centerY = Saturate32(y - h / 2);
  return line;
}

bool LegendShowsGroup(const PlotSettings& settings, const ModeGroup& group, int want) {
  return !ItemsByParameters(settings.graphic) || group.size >= want;
}

std::int32_t HitTestLegend(const DataModel& data, const PlotSettings& settings,
                           const TextMetrics& metrics, std::int32_t x, std::int32_t y) {
  const PlotMode mode = settings.graphic.plotMode;
  if ((mode != kTernary && mode != kPhase) || !ModeTablesReady(data, settings)) return 0;
  const LegendGeometry geometry = MakeLegendGeometry(data, settings, metrics);
  const std::int64_t e = geometry.halfBand;
  if (std::int64_t{x} < geometry.markerX - e) return 0;
  int hit = 0;
  ForEachModeGroup(data, [&](const ModeGroup& group) {
    if (hit != 0 || !LegendShowsGroup(settings, group, geometry.want)) return;
    const LegendLine line = LegendLineOf(geometry, group.group);
    const std::int64_t d = std::int64_t{y} - line.centerY;
    if (-e <= d && d <= e) hit = group.group;
  });
  if (hit == 0 || std::int64_t{x} <= geometry.markerX + e) return 0;
  return -hit;
}

void DrawModeLegend(Surface& surface, const PlotContext& ctx) {
  const DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  if (!ModeTablesReady(data, settings)) return;
  const GraphicSettings& g = settings.graphic;
  const bool ternary = g.plotMode != kPhase;
  const bool byParameters = ItemsByParameters(g);
  const LegendGeometry geometry = MakeLegendGeometry(data, settings, ctx.render.metrics);
  SelectPlotFont(surface, g.fontName.view(), g.modeFontSize, 0, 0);
  std::string text;
  ForEachModeGroup(data, [&](const ModeGroup& group) {
    if (!LegendShowsGroup(settings, group, geometry.want)) return;
    const LegendLine line = LegendLineOf(geometry, group.group);
    const ParameterSettings& style = settings.record(group.group);
    if (byParameters) {
      const ModeItem item = SelectModeColumns(settings, group, geometry.want);
      text.clear();
      for (int i = 0; i < geometry.want; ++i) {
        if (i > 0) text += " | ";
        text += ComponentName(data, i < item.found ? item.columns[static_cast<std::size_t>(i)] : 0);
      }
    } else {
      text = data.column(group.firstColumn).groupName.view();
      // Phase vectors have no symbol of their own: their key is a dot of their colour.
      if (style.modeSelected > 0) {
        DrawMarker(surface, geometry.markerX, line.centerY, style.modeColor, kLegendMarkerSize, 1,
                   ternary ? style.modeMarkerSymbol : 1);
      }
    }
    if (!text.empty())
      DrawModeText(surface, ctx.texts, text, geometry.textX, line.textY, geometry.lineHeight, 0);
  });
}

std::int32_t SmallFontSize(const GraphicSettings& graphic) {
  return Saturate32(std::max<std::int64_t>(std::int64_t{graphic.modeFontSize} - 6, 6));
}

std::string ComponentName(const DataModel& data, int column) {
  if (column < 1) return kMissingComponentName;
  return std::string(axes::SplitLabel(data.column(column)).name.view());
}

void DrawModeText(Surface& surface, TextPlacement* texts, std::string_view text, std::int64_t x,
                  std::int64_t y, std::int64_t dy, std::int32_t alignment, const TextBox& room) {
  const std::int32_t sy = Saturate32(y);
  DrawTextShortened(surface, texts, text, Saturate32(x), sy, Saturate32(sy - (y - dy)), alignment,
                    room);
}

void DrawModeLabel(Surface& surface, TextPlacement* texts, std::string_view text, std::int64_t x,
                   std::int64_t y, std::int64_t dy, std::int32_t alignment) {
  const std::int32_t sy = Saturate32(y);
  DrawTextIfFree(surface, texts, text, Saturate32(x), sy, Saturate32(sy - (y - dy)), alignment);
}

}  // namespace sx
