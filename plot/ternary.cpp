#include "plot/ternary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "core/device_int.h"
#include "plot/axes_common.h"
#include "plot/legend.h"
#include "plot/mode_items.h"
#include "render/drawing.h"

namespace sx {
namespace {

// The grid increment is whole percent, 1..50; a value from a file outside that range is taken
// at the nearest end, so the grid always ends.
constexpr std::int32_t kMinGridPercent = 1;
constexpr std::int32_t kMaxGridPercent = 50;

std::int32_t Scaled(std::int32_t value, std::int32_t step) {
  return Saturate32(std::int64_t{value} * step);
}

void Line(Surface& s, DevicePoint a, DevicePoint b, std::int32_t width, RGB color) {
  DrawLine(s, a.x, a.y, b.x, b.y, width, color);
}

// The three sides in the order of the frame drawing: base left corner to apex, apex to right
// corner, right corner back to the left one.
void DrawTriangle(Surface& s, const ColumnRecord& t, std::int32_t width) {
  const DevicePoint left = TernaryPoint(t, 100, 0, 0);
  const DevicePoint apex = TernaryPoint(t, 0, 100, 0);
  const DevicePoint right = TernaryPoint(t, 0, 0, 100);
  Line(s, left, apex, width, kDefaultDrawColor);
  Line(s, apex, right, width, kDefaultDrawColor);
  Line(s, right, left, width, kDefaultDrawColor);
}

// For every p = increment, 2 x increment, ... up to 100 - increment one line per component
// where that component is p %, from side to side.
void DrawGrid(Surface& s, const ColumnRecord& t, std::int32_t increment, std::int32_t width,
              RGB color) {
  const std::int32_t step = std::clamp(increment, kMinGridPercent, kMaxGridPercent);
  for (std::int32_t p = step; p <= 100 - step; p += step) {
    const double q = p, rest = 100 - p;
    Line(s, TernaryPoint(t, q, 0, rest), TernaryPoint(t, q, rest, 0), width, color);
    Line(s, TernaryPoint(t, rest, q, 0), TernaryPoint(t, 0, q, rest), width, color);
    Line(s, TernaryPoint(t, rest, 0, q), TernaryPoint(t, 0, rest, q), width, color);
  }
}

// One marker per data row of the triplet whose values make a composition of 100 % within
// epsilon.
void DrawTriplet(Surface& s, const DataModel& data, const ModeItem& item,
                 const ParameterSettings& style, std::int32_t step) {
  const ColumnRecord& t = data.column(0);
  const double epsilon = style.epsilon;
  const std::int32_t size = Scaled(style.modeMarkerSize, step);
  ForEachCommonRow(data, item.columns, [&](const std::array<float, kTernaryColumns>& v) {
    const double f1 = v[0], f2 = v[1], f3 = v[2];
    if (!(f1 >= 0.0 && f2 >= 0.0 && f3 >= 0.0)) return;
    const double sum = f1 + f2 + f3;
    // An all-zero row passes a wide epsilon but has no composition to show.
    if (!(sum > 0.0) || !std::isfinite(sum) || !(std::fabs(sum - 100.0) <= epsilon)) return;
    const DevicePoint p = TernaryPoint(t, 100.0 * f1 / sum, 100.0 * f2 / sum, 100.0 * f3 / sum);
    DrawMarker(s, p.x, p.y, style.modeColor, size, 1, style.modeMarkerSymbol);
  });
}

// The corner names: by groups those of columns 1, 2 and 3; by parameters those of the first
// group's selected columns, "????" where the group has none.
std::array<std::string, kTernaryColumns> CornerNames(const DataModel& data,
                                                     const PlotSettings& settings) {
  std::array<int, kTernaryColumns> columns{};
  if (ItemsByParameters(settings.graphic)) {
    ForEachModeGroup(data, [&](const ModeGroup& group) {
      if (group.group != 1) return;
      const ModeItem item = SelectModeColumns(settings, group, kTernaryColumns);
      for (int i = 0; i < item.found; ++i) {
        columns[static_cast<std::size_t>(i)] = item.columns[static_cast<std::size_t>(i)];
      }
    });
  } else {
    const int last = LastModeColumn(data);
    for (int i = 0; i < kTernaryColumns; ++i) {
      if (i + 1 <= last) columns[static_cast<std::size_t>(i)] = i + 1;
    }
  }
  std::array<std::string, kTernaryColumns> names;
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = ComponentName(data, columns[i]);
  return names;
}

}  // namespace

DevicePoint TernaryPoint(const ColumnRecord& triangle, double a1, double a2, double a3) {
  // Whole-number products before the division, so that exact corners and grid points stay
  // exact: x = extentX / 2 x (1 + (a3 - a1) / 100), y = a2 x extentY / 100.
  const double side = triangle.extentX, height = triangle.extentY;
  const std::int64_t dx = ToInt64(side * (100.0 + a3 - a1) / 200.0);
  const std::int64_t dy = ToInt64(a2 * height / 100.0);
  return {Saturate32(std::int64_t{triangle.originX} + dx),
          Saturate32(std::int64_t{triangle.originY} - dy)};
}

void RenderTernary(Surface& surface, PlotContext& ctx) {
  const DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  if (!ModeTablesReady(data, settings)) return;
  const GraphicSettings& g = settings.graphic;
  const ColumnRecord& t = data.column(0);
  const std::int32_t step = ctx.scale.scaleStep;
  const ParameterSettings& axis = settings.record(0);
  const std::int32_t tickWidth = Scaled(axis.lineWidth, step);

  DrawGrid(surface, t, g.tickIncrementPercent, tickWidth, axis.color);
  DrawTriangle(surface, t, tickWidth);
  const bool byParameters = ItemsByParameters(g);
  ForEachModeGroup(data, [&](const ModeGroup& group) {
    const ParameterSettings& style = settings.record(group.group);
    if (!byParameters && style.modeSelected <= 0) return;
    const ModeItem item = SelectModeColumns(settings, group, kTernaryColumns);
    if (item.found < kTernaryColumns) return;
    DrawTriplet(surface, data, item, style, step);
  });
  DrawTriangle(surface, t, Scaled(g.frameWidth, step));
}

void DrawTernaryLabels(Surface& surface, const PlotContext& ctx) {
  const DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  if (!ModeTablesReady(data, settings)) return;
  const GraphicSettings& g = settings.graphic;
  const ColumnRecord& t = data.column(0);
  const std::int64_t x = t.originX, y = t.originY, side = t.extentX, height = t.extentY;
  const std::int64_t h = ctx.render.metrics.labelHeight;

  SelectPlotFont(surface, g.fontName.view(), g.modeFontSize, 0, 0);
  const std::string stamp = axes::StampText(g, true);
  if (!stamp.empty()) DrawModeText(surface, ctx.texts, stamp, x + side / 2, y + 3 * h, h, 2);

  SelectPlotFont(surface, g.fontName.view(), g.modeFontSize, kFontBold, 0);
  const std::array<std::string, kTernaryColumns> names = CornerNames(data, settings);
  // The two names under the base share it, each up to half a clearance short of its middle.
  const std::int64_t half = (std::int64_t{ctx.texts ? ctx.texts->clearance() : 0} + 1) / 2;
  TextBox leftRoom = kAnyRoom, rightRoom = kAnyRoom;
  leftRoom.right = x + side / 2 - half;
  rightRoom.left = x + side / 2 + half;
  DrawModeText(surface, ctx.texts, names[0], x, y + 2 * h, h, 0, leftRoom);
  DrawModeText(surface, ctx.texts, names[1], x + side / 2, y - height - h, h, 2);
  DrawModeText(surface, ctx.texts, names[2], x + side, y + 2 * h, h, 1, rightRoom);

  DrawModeLegend(surface, ctx);

  const std::string_view credit = axes::CreditLine(g);
  if (!credit.empty()) {
    SelectPlotFont(surface, g.fontName.view(), SmallFontSize(g), 0, 0);
    const LegendGeometry legend = MakeLegendGeometry(data, settings, ctx.render.metrics);
    // The credit line sits on the base line.
    DrawModeText(surface, ctx.texts, credit, legend.markerX, y, TextLineHeight(surface), 0);
  }
}

}  // namespace sx
