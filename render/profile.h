#pragma once
// The geometry the two profile modes share. A parameter's strip is described once, in strip
// coordinates: `a` runs along the common X axis (device x in the Horizontal mode, device y in the
// Vertical mode) and `v` runs across the strip along the parameter's value axis (device y in the
// Horizontal mode, device x in the Vertical mode). Every profile algorithm (the data pass and the
// style drawers) is written once in these coordinates; only the conversion to device points, the
// two clipping helpers and the few places where the modes really differ look at the orientation.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/data_model.h"
#include "render/drawing.h"
#include "render/plot_context.h"
#include "render/surface.h"
#include "settings/plot_settings.h"

namespace sx {

enum class ProfileOrientation : std::int32_t {
  kHorizontal = 0,  // X across the page, strips stacked; values up each strip
  kVertical = 1,    // X down the page, strips side by side; values across each strip
};

// Pen width of marker outlines before scaling; there is no per-parameter setting for it.
inline constexpr std::int32_t kMarkerLineWidth = 1;

// A point in strip coordinates.
struct StripPoint {
  std::int32_t a = 0;  // along the X axis
  std::int32_t v = 0;  // across, on the value axis
  bool operator==(const StripPoint&) const = default;
};

// The strip of one column record (a parameter, or the head of a "Do with next" group, whose
// record the whole group uses).
struct ProfileStrip {
  ProfileOrientation orientation = ProfileOrientation::kHorizontal;
  const ColumnRecord* record = nullptr;

  // X-axis edges, aMin <= aMax: L and R in the Horizontal mode, Y0 and Y1 in the Vertical mode.
  // A point with a > aMax lies beyond the end of the X axis, one with a < aMin before its start.
  std::int32_t aMin = 0, aMax = 0;
  // Value edges as device coordinates, vMin <= vMax: T and B in the Horizontal mode (T is the
  // top), L and R in the Vertical mode.
  std::int32_t vMin = 0, vMax = 0;
  // The middle line across the values: B + extentY / 2 (Horizontal) or L + extentX / 2
  // (Vertical), integer division truncating toward zero.
  std::int32_t vMid = 0;

  // value -> device: value * scale - offset (yScale/yOffset Horizontal, xScale/xOffset Vertical).
  float valueScale = 0.0f, valueOffset = 0.0f;
  // X value -> device (xScale/xOffset Horizontal, yScale/yOffset Vertical).
  float axisScale = 0.0f, axisOffset = 0.0f;

  bool vertical() const { return orientation == ProfileOrientation::kVertical; }

  // Truncated device coordinates, saturating for values far outside the axis.
  std::int32_t MapValue(float value) const;
  std::int32_t MapAxis(float xValue) const;
  // The device coordinate along the X axis of data row `row` (its X value mapped); rows outside
  // the item table map as the X value 0.
  std::int32_t AxisOfRow(const DataModel& data, std::int32_t row) const;

  // (a, v) as a device point and back.
  DevicePoint ToDevice(StripPoint p) const;
  StripPoint FromDevice(DevicePoint d) const;
  void SetPoint(PointBuffer& buffer, int index, StripPoint p) const;

  // Where the segment p -> q crosses the value line v = edge (ClipXAtY in the Horizontal mode,
  // ClipYAtX in the Vertical mode), and the X line a = edge (the other one).
  StripPoint CrossValueEdge(StripPoint p, StripPoint q, std::int32_t edge) const;
  StripPoint CrossAxisEdge(StripPoint p, StripPoint q, std::int32_t edge) const;

  // A point one unit before or beyond an edge counts as on the edge: aMin - 1 becomes aMin and
  // aMax + 1 becomes aMax; likewise vMin - 1 and vMax + 1 for the value coordinate.
  std::int32_t SnapAxis(std::int32_t a) const;
  std::int32_t SnapValue(std::int32_t v) const;
  std::int32_t ClampValue(std::int32_t v) const;

  // The reference level of a value (normally the parameter's referenceLine), clamped into the
  // value edges.
  std::int32_t ReferenceLevel(float referenceLine) const;

  // A rectangle given by two X-axis and two value coordinates, as device corners (x1, y1) and
  // (x2, y2) for FillRect, DrawRectOutline and FillRectWithPattern.
  void RectCorners(std::int32_t a1, std::int32_t v1, std::int32_t a2, std::int32_t v2,
                   std::int32_t& x1, std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) const;
};

ProfileStrip MakeProfileStrip(const ColumnRecord& record, ProfileOrientation orientation);

// Thins a curve to the points that decide what a solid line through them covers. Consecutive
// points at the same place along the X axis (one device row or column) all lie on one line across
// the strip, and together they cover the stretch from their lowest to their highest value. A
// group of more than kMaxOut such points is cut to the first and the last point, the lowest and
// the highest, and, where the way between them would turn the other way, the points that set the
// directions in which the group is left and entered, so that the joins stay as they were; every
// dropped point lies inside the stretch and covers nothing more. Smaller groups pass unchanged.
// Kept points are points of the curve, never new ones.
class AxisThinner {
 public:
  // Groups of up to this many points pass unchanged; it is also the most a group is thinned to.
  static constexpr int kMaxOut = 16;
  using Out = std::array<StripPoint, kMaxOut>;

  // Takes the next point of the curve; writes the points of the previous group that are now
  // final to `out` and returns their count.
  int Add(StripPoint p, Out& out);
  // Ends the curve: writes the points of the last group and returns their count.
  int Finish(Out& out);

 private:
  int Emit(Out& out);

  std::int64_t count_ = 0;  // points in the current group
  StripPoint first_{}, second_{}, low_{}, high_{}, beforeLast_{}, last_{};
  Out buffer_{};  // the group's first points
  // Positions in the group; -1 while there is no such point.
  std::int64_t lowAt_ = 0, highAt_ = 0, secondAt_ = -1, beforeLastAt_ = -1;
};

// The numeric item with this table index, or null when the index lies outside the table.
const NumericItem* ItemAt(const DataModel& data, std::int64_t index);
// The i-th stored value of column c (1-based): null unless 1 <= i <= itemCount(c) and the column
// is one of the table's records.
const NumericItem* ColumnItem(const DataModel& data, std::int32_t c, std::int64_t i);
// The value of column c in data row `row` (> 0), or null when that cell is empty. A column stores
// its values in the order of their rows, so the value of row r is among its first r items.
const NumericItem* ColumnItemOfRow(const DataModel& data, std::int32_t c, std::int32_t row);

// The value of the i-th stored item of member mode k of a "Do with next" group with this head:
//   k = 0: the head's own item, valid when its row > 0 and its quality code is shown;
//   k > 0 ("add"): the i-th item of column head + k plus the values that columns head ..
//          head + k - 1 have in that item's data row (an empty cell adds nothing), valid when
//          the item has a row > 0; no quality filter. Items of one column sit in different rows
//          once a column has an empty cell, so a sum of i-th items would mix rows;
//   k < 0 ("plot"): the i-th item of column head + |k| alone, valid when its row > 0.
// `index` receives the table index of the item whose row gives the X position (-1 when there is
// no such item); `valid` receives 1 or 0.
float GetPlotValue(const PlotContext& ctx, std::int64_t i, std::int32_t head, std::int64_t k,
                   std::int64_t& index, std::int32_t& valid);

// Reads what GetPlotValue gives for items 1, 2, ... of one member mode, with the checks that do
// not depend on the item made once: the member's items are read in place, and an "add" member
// finds the other columns' values of each row by stepping through them alongside, so a walk in
// item order costs one pass over the group's items. Anything unusual asks GetPlotValue.
class MemberValues {
 public:
  MemberValues(const PlotContext& ctx, std::int32_t head, std::int64_t k);
  // The value, validity and item at GetPlotValue's `index` (null where that index is -1 or
  // outside the table), exactly as GetPlotValue(ctx, i, head, k, ...) has them.
  float Get(std::int64_t i, const NumericItem*& indexItem, std::int32_t& valid) {
    if (items_ == nullptr) return Ask(i, indexItem, valid);
    if (i < 1 || i > count_) {
      indexItem = nullptr;
      valid = 0;
      return 0.0f;
    }
    const NumericItem& item = items_[i];
    indexItem = &item;
    if (!addends_.empty()) return Sum(item, valid);
    if (!filtered_) {
      valid = item.row > 0 ? 1 : 0;
    } else if (item.row < 1) {
      valid = 0;
    } else if (item.flag >= 0 && static_cast<std::size_t>(item.flag) < shown_.size()) {
      valid = shown_[static_cast<std::size_t>(item.flag)];
    } else {
      valid = 0;  // ">" and "<" and unknown codes are never drawn
    }
    return item.value;
  }

 private:
  // A column added below the member: its items 0..count in place and the first of them whose
  // row is not below the rows asked so far.
  struct Addend {
    const NumericItem* items = nullptr;
    std::int64_t count = 0;
    std::int64_t at = 1;
  };

  float Ask(std::int64_t i, const NumericItem*& indexItem, std::int32_t& valid) const;
  float Sum(const NumericItem& item, std::int32_t& valid);

  const PlotContext& ctx_;
  std::int32_t head_;
  std::int64_t k_;
  const NumericItem* items_ = nullptr;  // item 0 of the member's column read in place; null: ask
  std::int64_t count_ = 0;
  bool filtered_ = false;  // plain member: quality codes decide, else any stored value counts
  std::array<std::int32_t, 8> shown_{};
  std::vector<Addend> addends_;  // "add": columns head .. member - 1, in that order
  std::int32_t lastRow_ = 0;     // the row of the last sum
};

// The X-axis coordinates of data rows for this strip, from the pass's cache (filled or renewed
// when the strip maps the axis differently from the cached one). Index = row; rows beyond the
// span ask the strip.
std::span<const std::int32_t> RowAxes(RenderState& render, const DataModel& data,
                                      const ProfileStrip& strip);
inline std::int32_t AxisOfRowCached(std::span<const std::int32_t> axes, const DataModel& data,
                                    const ProfileStrip& strip, std::int32_t row) {
  return row >= 0 && static_cast<std::size_t>(row) < axes.size()
             ? axes[static_cast<std::size_t>(row)]
             : strip.AxisOfRow(data, row);
}

// The last member offset of the "Do with next" group headed by p: the group is the columns
// p .. p + d, with d = |doWithNext(p)|, 0 when fewer columns follow, shrunk while the last member
// has no values. Always 0 <= d <= ParameterCount - p.
std::int32_t GroupExtent(const PlotContext& ctx, std::int32_t p);
// Member mode of member p + k: k when doWithNext(p) >= 0 ("add"), -k otherwise ("plot").
std::int32_t MemberMode(const PlotContext& ctx, std::int32_t p, std::int32_t k);

// A fill in a parameter's colour: "no colour" (0, 0, 0) fills in the neutral grey.
RGB FillColor(RGB color);

// Width or distance from the settings, multiplied by scaleStep without overflow.
std::int32_t Scaled(std::int32_t scaleStep, std::int32_t value);

}  // namespace sx
