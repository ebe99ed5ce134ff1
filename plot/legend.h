#pragma once
// The legend beside the triangle (Ternary) or the circle (Phase): group g's item on line g, a
// marker in front of its text. The drawers and the plot window's click test both take the lines
// from here, so that a click lands on the line drawn under the pointer.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "plot/mode_items.h"
#include "render/plot_context.h"
#include "render/surface.h"
#include "settings/plot_settings.h"

namespace sx {

// Legend markers are drawn this size (device units from the centre) with pen width 1.
inline constexpr std::int32_t kLegendMarkerSize = 3;

struct LegendGeometry {
  std::int32_t markerX = 0;     // the legend's start: the centre of its markers
  std::int32_t textX = 0;       // left end of the texts
  std::int32_t top = 0;         // the triangle's apex or the circle's top
  std::int32_t lineHeight = 0;  // labelHeight
  std::int32_t halfBand = 0;    // a line's click band reaches this far above and below its middle
  int want = kTernaryColumns;   // columns per item in the mode
};

// The legend of the current plotMode (Ternary or Phase) from record 0's frame and the
// labelHeight of the last layout.
LegendGeometry MakeLegendGeometry(const DataModel& data, const PlotSettings& settings,
                                  const TextMetrics& metrics);

struct LegendLine {
  std::int32_t textY = 0;    // the y of DrawTextAt with dy = lineHeight: the text's lower edge
  std::int32_t centerY = 0;  // middle of the line: marker centre and middle of the click band
};
// Line k (1-based) lies at top + trunc(1.3 * k * lineHeight).
LegendLine LegendLineOf(const LegendGeometry& geometry, int k);

// Whether a group has a legend line: every group when the items are groups, only groups of at
// least `want` columns when they are parameters.
bool LegendShowsGroup(const PlotSettings& settings, const ModeGroup& group, int want);

// The click test of the legend in the Ternary and Phase modes: -g for a click on the line of
// group g right of its marker; 0 anywhere else (left of the legend, on a marker, between or
// beyond the lines, in another mode).
std::int32_t HitTestLegend(const DataModel& data, const PlotSettings& settings,
                           const TextMetrics& metrics, std::int32_t x, std::int32_t y);

// The legend lines of the current mode, at modeFontSize: by groups the group text behind the
// group's marker (when the group is selected), by parameters the item's column names joined by
// " | ".
void DrawModeLegend(Surface& surface, const PlotContext& ctx);

// The credit line's font size: modeFontSize - 6, at least 6.
std::int32_t SmallFontSize(const GraphicSettings& graphic);

// The name part of a column label; "????" for column 0 (no column).
std::string ComponentName(const DataModel& data, int column);

// DrawTextAt for positions computed in 64 bits: the reference point (x, y - dy) stays where it
// was meant to be when y has to be saturated. A name, stamp or legend line is shortened with "…"
// until it lies within room, overprints no text of the pass and stays in the picture.
void DrawModeText(Surface& surface, TextPlacement* texts, std::string_view text, std::int64_t x,
                  std::int64_t y, std::int64_t dy, std::int32_t alignment,
                  const TextBox& room = kAnyRoom);
// A direction label: left out where it would overprint a text or leave the picture.
void DrawModeLabel(Surface& surface, TextPlacement* texts, std::string_view text, std::int64_t x,
                   std::int64_t y, std::int64_t dy, std::int32_t alignment);

}  // namespace sx
