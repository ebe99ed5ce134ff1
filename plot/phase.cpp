#include "plot/phase.h"

#include <array>
#include <cstdint>
#include <string>

#include "core/device_int.h"
#include "plot/axes_common.h"
#include "plot/legend.h"
#include "plot/mode_items.h"
#include "render/drawing.h"

namespace sx {
namespace {

std::int32_t Scaled(std::int32_t value, std::int32_t step) {
  return Saturate32(std::int64_t{value} * step);
}

// The circle drawn like the open circle marker: outline in black, inside painted white.
constexpr std::int32_t kOpenCircle = 2;

// Distance of the direction labels from the circle's outline.
constexpr std::int64_t kLabelGap = 3;

}  // namespace

void RenderPhase(Surface& surface, PlotContext& ctx) {
  const DataModel& data = ctx.data;
  PlotSettings& settings = ctx.settings;
  if (!ModeTablesReady(data, settings)) return;
  const GraphicSettings& g = settings.graphic;
  const ColumnRecord& circle = data.column(0);
  const std::int32_t step = ctx.scale.scaleStep;
  const std::int32_t cx = circle.originX, cy = circle.originY;
  const float radius = static_cast<float>(circle.extentX) * 0.5f;

  DrawMarker(surface, cx, cy, kDefaultDrawColor, ToInt32(radius), Scaled(g.frameWidth, step),
             kOpenCircle);
  const bool byParameters = ItemsByParameters(g);
  ForEachModeGroup(data, [&](const ModeGroup& group) {
    ParameterSettings& style = settings.record(group.group);
    if (!byParameters && style.modeSelected <= 0) return;
    const ModeItem item = SelectModeColumns(settings, group, kPhaseColumns);
    if (item.found < kPhaseColumns) return;
    const std::array<int, kPhaseColumns> columns{item.columns[0], item.columns[1]};
    // A C_max of 0 means "the magnitude axis's maximum"; it is remembered. Should that be 0 as
    // well, every vector is drawn at full length.
    if (style.cMax == 0.0f) style.cMax = settings.record(columns[1]).maximum;
    const std::int32_t width = Scaled(style.modeLineWidth, step);
    ForEachCommonRow(data, columns, [&](const std::array<float, kPhaseColumns>& v) {
      DrawVector(surface, v[0], v[1], style.cMax, cx, cy, radius, width, style.modeColor);
    });
  });
}

void DrawPhaseLabels(Surface& surface, const PlotContext& ctx) {
  const DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  if (!ModeTablesReady(data, settings)) return;
  const GraphicSettings& g = settings.graphic;
  const ColumnRecord& circle = data.column(0);
  const std::int64_t cx = circle.originX, cy = circle.originY;
  const std::int64_t top = cy - circle.extentY / 2, bottom = cy + circle.extentY / 2;
  const std::int64_t r = ToInt32(static_cast<double>(circle.extentX) * 0.5);
  const std::int64_t h = ctx.render.metrics.labelHeight;

  SelectPlotFont(surface, g.fontName.view(), g.modeFontSize, 0, 0);
  const std::string stamp = axes::StampText(g, true);
  if (!stamp.empty()) DrawModeText(surface, ctx.texts, stamp, cx, bottom + 3 * h, h, 2);

  // The direction labels keep clear of the outline, whose pen reaches half its width outwards.
  const std::int64_t gap = kLabelGap + Scaled(g.frameWidth, ctx.scale.scaleStep) / 2;
  SelectPlotFont(surface, g.fontName.view(), Saturate32(std::int64_t{g.modeFontSize} - 2), 0, 0);
  const std::int64_t lh = TextLineHeight(surface);
  DrawModeLabel(surface, ctx.texts, "0\u00B0", cx, top - gap, lh, 2);
  DrawModeLabel(surface, ctx.texts, "90\u00B0", cx + r + gap, cy + lh / 2, lh, 0);
  DrawModeLabel(surface, ctx.texts, "180\u00B0", cx, bottom + gap + lh, lh, 2);
  DrawModeLabel(surface, ctx.texts, "270\u00B0", cx - r - gap, cy + lh / 2, lh, 1);

  const std::string_view credit = axes::CreditLine(g);
  if (!credit.empty()) {
    SelectPlotFont(surface, g.fontName.view(), SmallFontSize(g), 0, 0);
    DrawModeText(surface, ctx.texts, credit, cx, bottom + 9 * h / 2, h, 2);
  }

  DrawModeLegend(surface, ctx);
}

}  // namespace sx
