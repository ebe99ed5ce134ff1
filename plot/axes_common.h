#pragma once
// Pieces shared by the axis drawers of both profile modes. Each algorithm exists once and is
// told the direction of its axis: the tick values and their device spacing, the marks, grid and
// reference lines on a frame edge, and the two label rules (labels along a horizontal axis,
// stacked labels beside a vertical one).

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/device_int.h"
#include "core/fixed_text.h"
#include "plot/plotted_list.h"
#include "render/plot_context.h"
#include "render/surface.h"
#include "render/text_placement.h"

namespace sx::axes {

// Geometry is computed in 64 bits (frames and positions may lie anywhere in the int32 range)
// and saturated (Saturate32) where it reaches the surface.

// Ticks closer together than one device unit merge into a band: such an axis keeps only its
// start tick. Minor positions are capped as a whole so that a pass always ends quickly.
inline constexpr std::int32_t kMaxMinorTicks = 10000;
inline constexpr std::int64_t kMaxMinorPositions = 100000;

// Grid lines (major or minor) closer together than this many pixels are not drawn.
inline constexpr std::int32_t kMinGridSpacing = 3;

// Within this distance of an axis end a position is moved onto the end.
inline constexpr std::int64_t kSnapDistance = 4;

// Major tick k at start + k * inc (k = 0..n); minor tick j (1..m) after major k at
// start + k * inc + j * minorStep.
struct TickPlan {
  float start = 0.0f;
  float inc = 0.0f;
  float minorStep = 1.0f;
  std::int32_t n = 0;
  std::int32_t m = 0;
  float Major(std::int32_t k) const { return start + static_cast<float>(k) * inc; }
  float Minor(std::int32_t k, std::int32_t j) const {
    return Major(k) + static_cast<float>(j) * minorStep;
  }
};

// The plan of an axis from a to b with increment inc and minorTicks minor ticks, whose values
// map to device units with scale.
TickPlan MakeTickPlan(float a, float b, float inc, std::int32_t minorTicks, float scale);

// trunc(value * scale - offset).
std::int64_t DevicePosition(float value, float scale, float offset);

// One axis on one frame. The axis runs along device x (alongX) or y from lo to hi (lo <= hi);
// its marks sit on the frame edge at cross coordinate `edge`, `inward` (+1 or -1) pointing from
// that edge into the frame; `otherEdge` is the opposite edge (second marks, far end of grid and
// reference lines).
struct AxisLine {
  bool alongX = true;
  std::int64_t lo = 0, hi = 0;
  std::int64_t edge = 0, otherEdge = 0;
  std::int32_t inward = 1;
  float scale = 0.0f, offset = 0.0f;
  std::int64_t Position(float value) const { return DevicePosition(value, scale, offset); }
};

// Makes an axis line from two ends in any order.
AxisLine MakeAxisLine(bool alongX, std::int64_t end1, std::int64_t end2, std::int64_t edge,
                      std::int64_t otherEdge, std::int32_t inward, float scale, float offset);

// The parameters a profile plot shows: plotState > 0, in index order, at most plottedCount
// (the same rule as the layout's, so every drawn frame is a laid-out one).

// What every drawer of one DrawFramesAndAxes call shares.
struct AxisPass {
  Surface& surface;
  PlotContext& ctx;
  std::int32_t t = 0;           // tick length
  std::int32_t tickWidth = 1;   // marks and grid lines
  std::int32_t frameWidth = 1;  // frames and reference lines
  PlottedList plotted;

  const TextMetrics& metrics() const { return ctx.render.metrics; }
  const GraphicSettings& graphic() const { return ctx.settings.graphic; }
};

// Plot font at fontSize + sizeDelta points.
void SelectFont(AxisPass& pass, std::int32_t sizeDelta, std::int32_t style, std::int32_t angle);
std::int32_t Width(AxisPass& pass, std::string_view text);
// A tick label or note: drawn only where it overprints no text and stays in the picture, else
// left out. Returns whether it was drawn.
bool Label(AxisPass& pass, std::string_view text, std::int64_t x, std::int64_t y, std::int64_t dy,
           std::int32_t alignment);
// A name, title or stamp: shortened with "…" until it lies within room, overprints no text and
// stays in the picture.
bool Fitted(AxisPass& pass, std::string_view text, std::int64_t x, std::int64_t y, std::int64_t dy,
            std::int32_t alignment, const TextBox& room = kAnyRoom);
void Line(AxisPass& pass, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
          std::int32_t width, RGB color);

// Grid and minor grid lines (when switched on in axis), then the major and minor marks on the
// edge and, with bothSides, on the opposite edge. Grid lines are drawn strictly inside the axis;
// with gridSnapsAtHi a grid position within the snap distance of hi is dropped with it.
void DrawTicksAndGrid(AxisPass& pass, const AxisLine& line, const ParameterSettings& axis,
                      const TickPlan& plan, bool gridSnapsAtHi);

// A line across the frame at value, in the frame width, when strictly inside the axis (after
// snapping to the ends when snap is set).
void DrawReferenceLine(AxisPass& pass, const AxisLine& line, float value, bool snap);

// Tick label text: the number in the axis format, or a date/time label on a date/time X axis.
struct LabelFormat {
  const DataModel* dateTimeData = nullptr;  // set for a date/time X axis
  std::string_view format;
  float span = 0.0f;
  void Print(float value, std::string& out) const;
};
// The label format of the X axis of a strip.
LabelFormat XLabelFormat(const PlotContext& ctx, const ColumnRecord& strip);

// Labels along a horizontal axis: the start value at the left end, the end value at the right
// end when both fit, inner labels centred on their ticks unless they would come within 2 units
// of a drawn neighbour.
struct AlongLabels {
  std::int64_t y = 0, dy = 0;
  bool reversed = false;  // the range minimum lies at hi: inner labels advance leftwards
  // The start label is left-aligned at the axis start, or centred there when startCentred is
  // set and the gap before the axis (startGap) is at least as wide as the label.
  bool startCentred = false;
  std::int64_t startGap = std::numeric_limits<std::int64_t>::max();
  float startValue = 0.0f, endValue = 0.0f;
};
void DrawAlongLabels(AxisPass& pass, const AxisLine& line, const TickPlan& plan,
                     const LabelFormat& format, const AlongLabels& labels);

// Labels beside a vertical axis, right-aligned at x, from the start value on, skipping any label
// closer than three half number heights to the last one drawn.
struct StackedLabels {
  std::int64_t x = 0;
  bool startAtBottom = true;  // the start value sits at hi (the lower end)
  bool dropLast = false;      // leave out the label of tick n
};
void DrawStackedLabels(AxisPass& pass, const AxisLine& line, const TickPlan& plan,
                       const LabelFormat& format, const StackedLabels& labels);

// The room of the texts of each labelled strip (the first `count` plotted ones) along the row of
// strips, in device x (alongX) or y: the strip itself and half the gap to each neighbour, less
// half a clearance so that two neighbours' texts keep one; no limit beyond the outer strips
// (the picture's edge limits there).
struct StripRooms {
  std::array<std::int64_t, kMaxParameter> lo{}, hi{};
  std::int64_t Lo(int i) const { return lo[static_cast<std::size_t>(i)]; }
  std::int64_t Hi(int i) const { return hi[static_cast<std::size_t>(i)]; }
};
void MakeStripRooms(AxisPass& pass, int count, bool alongX, StripRooms& rooms);
// The labelled strips from i on that carry the same group text as strip i, run together: the
// index of the last one.
int LastOfGroup(const AxisPass& pass, int count, int i);

// Name and unit of a column label (the unit keeps its brackets).
struct NameAndUnit {
  FixedText<80> group, name, unit;
};
NameAndUnit SplitLabel(const ColumnRecord& column);
std::int64_t CharacterCount(std::string_view text);

// "max.: " and the X column's largest value (and its unit on a numeric axis).
std::string MaxNoteText(const DataModel& data);
// The file name and date stamps as switched on, joined by " - ".
std::string StampText(const GraphicSettings& graphic, bool leadingBlank);
// The credit text up to its first "@" (the marker that the text came from a data file).
std::string_view CreditLine(const GraphicSettings& graphic);

// Profile-mode drawers, in the order DrawFramesAndAxes calls them.
void DrawHorizontalLabels(AxisPass& pass);
void DrawHorizontalXTitle(AxisPass& pass);
void DrawHorizontalXTicks(AxisPass& pass);
void DrawHorizontalValueAxes(AxisPass& pass);
void DrawVerticalLabels(AxisPass& pass);
void DrawVerticalXTitle(AxisPass& pass);
void DrawVerticalStamps(AxisPass& pass);
void DrawVerticalXTicks(AxisPass& pass);
void DrawVerticalValueAxes(AxisPass& pass);

}  // namespace sx::axes
