#include "render/profile.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "core/device_int.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

bool IsColumn(const DataModel& data, std::int64_t c) {
  return c >= 0 && c <= kMaxParameter && static_cast<std::uint64_t>(c) < data.ColumnTable.size();
}

}  // namespace

std::int32_t ProfileStrip::MapValue(float value) const {
  return ToInt32(MapToDevice(valueScale, valueOffset, value));
}

std::int32_t ProfileStrip::MapAxis(float xValue) const {
  return ToInt32(MapToDevice(axisScale, axisOffset, xValue));
}

std::int32_t ProfileStrip::AxisOfRow(const DataModel& data, std::int32_t row) const {
  const NumericItem* item = ItemAt(data, row);
  return MapAxis(item != nullptr ? item->value : 0.0f);
}

DevicePoint ProfileStrip::ToDevice(StripPoint p) const {
  return vertical() ? DevicePoint{p.v, p.a} : DevicePoint{p.a, p.v};
}

StripPoint ProfileStrip::FromDevice(DevicePoint d) const {
  return vertical() ? StripPoint{d.y, d.x} : StripPoint{d.x, d.y};
}

void ProfileStrip::SetPoint(PointBuffer& buffer, int index, StripPoint p) const {
  const DevicePoint d = ToDevice(p);
  SetPointAt(index, buffer, d.x, d.y);
}

namespace {

// Where the segment from p to q crosses the upright device line x = edge (`upright`) or the level
// line y = edge.
StripPoint CrossDeviceLine(const ProfileStrip& strip, StripPoint p, StripPoint q, std::int32_t edge,
                           bool upright) {
  const DevicePoint d1 = strip.ToDevice(p), d2 = strip.ToDevice(q);
  DevicePoint r;
  if (upright) {
    ClipYAtX(d1.x, d1.y, d2.x, d2.y, edge, r.x, r.y);
  } else {
    ClipXAtY(d1.x, d1.y, d2.x, d2.y, edge, r.x, r.y);
  }
  return strip.FromDevice(r);
}

}  // namespace

// The value edges are level lines in the Horizontal mode and upright ones otherwise; the axis
// edges the other way round.
StripPoint ProfileStrip::CrossValueEdge(StripPoint p, StripPoint q, std::int32_t edge) const {
  return CrossDeviceLine(*this, p, q, edge, vertical());
}

StripPoint ProfileStrip::CrossAxisEdge(StripPoint p, StripPoint q, std::int32_t edge) const {
  return CrossDeviceLine(*this, p, q, edge, !vertical());
}

std::int32_t ProfileStrip::SnapAxis(std::int32_t a) const {
  if (std::int64_t{a} == std::int64_t{aMin} - 1) return aMin;
  if (std::int64_t{a} == std::int64_t{aMax} + 1) return aMax;
  return a;
}

std::int32_t ProfileStrip::SnapValue(std::int32_t v) const {
  if (std::int64_t{v} == std::int64_t{vMin} - 1) return vMin;
  if (std::int64_t{v} == std::int64_t{vMax} + 1) return vMax;
  return v;
}

std::int32_t ProfileStrip::ClampValue(std::int32_t v) const {
  return std::clamp(v, vMin, vMax);
}

std::int32_t ProfileStrip::ReferenceLevel(float referenceLine) const {
  return ClampValue(MapValue(referenceLine));
}

void ProfileStrip::RectCorners(std::int32_t a1, std::int32_t v1, std::int32_t a2, std::int32_t v2,
                               std::int32_t& x1, std::int32_t& y1, std::int32_t& x2,
                               std::int32_t& y2) const {
  const DevicePoint p1 = ToDevice({a1, v1}), p2 = ToDevice({a2, v2});
  x1 = p1.x;
  y1 = p1.y;
  x2 = p2.x;
  y2 = p2.y;
}

ProfileStrip MakeProfileStrip(const ColumnRecord& record, ProfileOrientation orientation) {
  ProfileStrip s;
  s.orientation = orientation;
  s.record = &record;
  const std::int32_t x0 = record.originX, y0 = record.originY;
  const std::int32_t x1 = Saturate32(std::int64_t{record.originX} + record.extentX);
  const std::int32_t y1 = Saturate32(std::int64_t{record.originY} + record.extentY);
  if (orientation == ProfileOrientation::kVertical) {
    s.aMin = std::min(y0, y1);
    s.aMax = std::max(y0, y1);
    s.vMin = std::min(x0, x1);
    s.vMax = std::max(x0, x1);
    s.vMid = Saturate32(std::int64_t{record.originX} + record.extentX / 2);
    s.valueScale = record.xScale;
    s.valueOffset = record.xOffset;
    s.axisScale = record.yScale;
    s.axisOffset = record.yOffset;
  } else {
    s.aMin = std::min(x0, x1);
    s.aMax = std::max(x0, x1);
    s.vMin = std::min(y0, y1);
    s.vMax = std::max(y0, y1);
    s.vMid = Saturate32(std::int64_t{record.originY} + record.extentY / 2);
    s.valueScale = record.yScale;
    s.valueOffset = record.yOffset;
    s.axisScale = record.xScale;
    s.axisOffset = record.xOffset;
  }
  return s;
}

int AxisThinner::Add(StripPoint p, Out& out) {
  int n = 0;
  if (count_ > 0 && p.a != last_.a) {
    n = Emit(out);
    count_ = 0;
  }
  if (count_ == 0) {
    first_ = low_ = high_ = p;
    lowAt_ = highAt_ = 0;
    secondAt_ = beforeLastAt_ = -1;
  } else {
    // Repeats of a point draw nothing, so the turns are taken from the nearest point elsewhere.
    if (secondAt_ < 0 && p.v != first_.v) {
      second_ = p;
      secondAt_ = count_;
    }
    if (p.v != last_.v) {
      beforeLast_ = last_;
      beforeLastAt_ = count_ - 1;
    }
    if (p.v < low_.v) {
      low_ = p;
      lowAt_ = count_;
    }
    if (p.v > high_.v) {
      high_ = p;
      highAt_ = count_;
    }
  }
  if (count_ < kMaxOut) buffer_[static_cast<std::size_t>(count_)] = p;
  last_ = p;
  ++count_;
  return n;
}

int AxisThinner::Finish(Out& out) {
  const int n = count_ > 0 ? Emit(out) : 0;
  count_ = 0;
  return n;
}

int AxisThinner::Emit(Out& out) {
  // A short group is drawn as it comes: thinning it would save next to nothing.
  if (count_ <= kMaxOut) {
    out = buffer_;
    return static_cast<int>(count_);
  }
  const auto direction = [](std::int64_t from, std::int64_t to) {
    return from < to ? 1 : (from > to ? -1 : 0);
  };
  // Directions of the first and the last move along the group (0: it never moves).
  const int leaving = secondAt_ >= 0 ? direction(first_.v, second_.v) : 0;
  const int arriving = beforeLastAt_ >= 0 ? direction(beforeLast_.v, last_.v) : 0;
  // The shorter of the two ways first -> one end of the stretch -> the other end -> last that
  // leave the first point and reach the last in the group's own directions, taking in the point
  // that sets a direction where the way would otherwise turn the other way. A point on the way
  // between its neighbours is dropped: it changes neither a direction nor what is covered.
  std::int64_t bestLength = -1;
  int best = 0;
  for (const bool lowFirst : {true, false}) {
    Out way{};
    int n = 0;
    std::int32_t lo = first_.v, hi = first_.v;  // the stretch covered so far
    const auto add = [&](StripPoint p) {
      if (n > 0 && way[static_cast<std::size_t>(n - 1)].v == p.v) return;
      if (n >= 2) {
        const std::int64_t before = way[static_cast<std::size_t>(n - 2)].v;
        const std::int64_t middle = way[static_cast<std::size_t>(n - 1)].v;
        if ((middle - before) * (std::int64_t{p.v} - middle) > 0) --n;
      }
      way[static_cast<std::size_t>(n++)] = p;
      lo = std::min(lo, p.v);
      hi = std::max(hi, p.v);
    };
    // The direction of the way's last move if it went on to v.
    const auto lastMove = [&](std::int32_t v) {
      const StripPoint back = way[static_cast<std::size_t>(n - 1)];
      if (back.v != v) return direction(back.v, v);
      return n >= 2 ? direction(way[static_cast<std::size_t>(n - 2)].v, v) : 0;
    };
    add(first_);
    const StripPoint ends[2] = {lowFirst ? low_ : high_, lowFirst ? high_ : low_};
    const StripPoint target = ends[0].v != first_.v ? ends[0] : ends[1];
    if (leaving != 0 && direction(first_.v, target.v) != leaving) add(second_);
    for (const StripPoint e : ends) {
      if (e.v < lo || e.v > hi) add(e);
    }
    if (arriving != 0 && lastMove(last_.v) != arriving) add(beforeLast_);
    add(last_);
    std::int64_t length = 0;
    for (int k = 1; k < n; ++k) {
      length += std::llabs(std::int64_t{way[static_cast<std::size_t>(k)].v} -
                           way[static_cast<std::size_t>(k - 1)].v);
    }
    if (bestLength < 0 || length < bestLength) {
      bestLength = length;
      best = n;
      out = way;
    }
  }
  return best;
}

const NumericItem* ItemAt(const DataModel& data, std::int64_t index) {
  if (index < 0 || static_cast<std::uint64_t>(index) >= data.NumericItemTable.size()) {
    return nullptr;
  }
  return &data.item(index);
}

const NumericItem* ColumnItem(const DataModel& data, std::int32_t c, std::int64_t i) {
  if (!IsColumn(data, c)) return nullptr;
  const ColumnRecord& record = data.column(c);
  if (i < 1 || i > record.itemCount) return nullptr;
  return ItemAt(data, std::int64_t{record.itemBase} + i);
}

const NumericItem* ColumnItemOfRow(const DataModel& data, std::int32_t c, std::int32_t row) {
  if (row < 1 || !IsColumn(data, c)) return nullptr;
  std::int64_t lo = 1, hi = std::min<std::int64_t>(data.column(c).itemCount, row);
  while (lo <= hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    const NumericItem* item = ColumnItem(data, c, mid);
    if (item == nullptr) return nullptr;
    if (item->row == row) return item;
    if (item->row < row) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return nullptr;
}

float GetPlotValue(const PlotContext& ctx, std::int64_t i, std::int32_t head, std::int64_t k,
                   std::int64_t& index, std::int32_t& valid) {
  const DataModel& data = ctx.data;
  index = -1;
  valid = 0;
  if (!IsColumn(data, head)) return 0.0f;
  // k is at most ParameterCount in magnitude for a real group, but it may come straight from a
  // file: beyond the columns of the table there is nothing to read.
  constexpr std::int64_t kFar = std::int64_t{kMaxParameter} + 1;
  const std::int64_t magnitude = k < -kFar || k > kFar ? kFar : (k < 0 ? -k : k);
  const std::int64_t member = std::int64_t{head} + magnitude;
  if (!IsColumn(data, member)) return 0.0f;
  const auto indexOf = [&](std::int64_t c) {
    return std::int64_t{data.column(static_cast<std::int32_t>(c)).itemBase} + i;
  };

  if (k == 0) {
    const NumericItem* item = ColumnItem(data, head, i);
    if (item == nullptr) return 0.0f;
    index = indexOf(head);
    valid = item->row < 1 ? 0 : IsQualityFlagShown(ctx.settings, head, item->flag);
    return item->value;
  }
  const NumericItem* item = ColumnItem(data, static_cast<std::int32_t>(member), i);
  if (item == nullptr) return 0.0f;
  index = indexOf(member);
  if (item->row <= 0) return k > 0 ? 0.0f : item->value;
  valid = 1;
  // "plot": the member's own value, shown as it is.
  if (k < 0) return item->value;
  // "add": a running total over the group's columns in the member's row, whatever their quality
  // codes, added in column order.
  float sum = 0.0f;
  for (std::int64_t c = head; c < member; ++c) {
    const NumericItem* other = ColumnItemOfRow(data, static_cast<std::int32_t>(c), item->row);
    if (other != nullptr) sum += other->value;
  }
  return sum + item->value;
}

MemberValues::MemberValues(const PlotContext& ctx, std::int32_t head, std::int64_t k)
    : ctx_(ctx), head_(head), k_(k) {
  const DataModel& data = ctx.data;
  if (k > std::int64_t{kMaxParameter} || k < -std::int64_t{kMaxParameter} ||
      !IsColumn(data, head)) {
    return;
  }
  const std::int64_t member = std::int64_t{head} + (k < 0 ? -k : k);
  if (!IsColumn(data, member)) return;
  // Columns are read in place only when every item 0..count of them lies inside the table.
  const auto inPlace = [&](std::int64_t c, const NumericItem*& items, std::int64_t& count) {
    const ColumnRecord& record = data.column(static_cast<std::int32_t>(c));
    const std::int64_t base = record.itemBase;
    count = record.itemCount;
    if (base < 0 || count < 0 ||
        static_cast<std::uint64_t>(base + count) >= data.NumericItemTable.size()) {
      return false;
    }
    items = &data.item(base);
    return true;
  };
  if (k > 0) {
    std::vector<Addend> addends(static_cast<std::size_t>(k));
    for (std::int64_t c = head; c < member; ++c) {
      if (!inPlace(c, addends[static_cast<std::size_t>(c - head)].items,
                   addends[static_cast<std::size_t>(c - head)].count)) {
        return;
      }
    }
    addends_ = std::move(addends);
  }
  const NumericItem* items = nullptr;
  if (!inPlace(member, items, count_)) {
    addends_.clear();
    return;
  }
  items_ = items;
  filtered_ = k == 0;
  for (std::size_t code = 0; code < shown_.size(); ++code) {
    shown_[code] = IsQualityFlagShown(ctx.settings, head, static_cast<std::int32_t>(code));
  }
}

float MemberValues::Ask(std::int64_t i, const NumericItem*& indexItem, std::int32_t& valid) const {
  std::int64_t index = -1;
  const float value = GetPlotValue(ctx_, i, head_, k_, index, valid);
  indexItem = ItemAt(ctx_.data, index);
  return value;
}

float MemberValues::Sum(const NumericItem& item, std::int32_t& valid) {
  const std::int32_t row = item.row;
  if (row <= 0) {
    valid = 0;
    return 0.0f;
  }
  valid = 1;
  // Rows come in ascending order along a walk; asked out of order, the columns are searched
  // again from their start.
  if (row < lastRow_) {
    for (Addend& a : addends_) a.at = 1;
  }
  lastRow_ = row;
  float sum = 0.0f;
  for (Addend& a : addends_) {
    while (a.at <= a.count && a.items[a.at].row < row) ++a.at;
    if (a.at <= a.count && a.items[a.at].row == row) sum += a.items[a.at].value;
  }
  return sum + item.value;
}

std::span<const std::int32_t> RowAxes(RenderState& render, const DataModel& data,
                                      const ProfileStrip& strip) {
  RowAxisCache& cache = render.rowAxis;
  const std::size_t rows = static_cast<std::size_t>(std::max(data.rowCount(), 0)) + 1;
  if (!cache.valid || cache.scale != strip.axisScale || cache.offset != strip.axisOffset ||
      cache.coordinates.size() != rows) {
    cache.coordinates.resize(rows);
    for (std::size_t row = 0; row < rows; ++row) {
      cache.coordinates[row] = strip.AxisOfRow(data, static_cast<std::int32_t>(row));
    }
    cache.scale = strip.axisScale;
    cache.offset = strip.axisOffset;
    cache.valid = true;
  }
  return cache.coordinates;
}

std::int32_t GroupExtent(const PlotContext& ctx, std::int32_t p) {
  const DataModel& data = ctx.data;
  if (p < 1 || p > kMaxParameter || !IsColumn(data, p)) return 0;
  // doWithNext comes from files and dialogs; its magnitude is taken without overflow.
  std::int64_t d = std::llabs(std::int64_t{ctx.settings.record(p).doWithNext});
  const std::int64_t left = std::int64_t{data.ParameterCount} - p;
  if (left < d) d = 0;
  while (d > 0 &&
         (!IsColumn(data, p + d) || data.column(static_cast<std::int32_t>(p + d)).itemCount == 0)) {
    --d;
  }
  return static_cast<std::int32_t>(d);
}

std::int32_t MemberMode(const PlotContext& ctx, std::int32_t p, std::int32_t k) {
  if (p < 0 || p > kMaxParameter || ctx.settings.record(p).doWithNext >= 0) return k;
  return k == std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<std::int32_t>::max()
                                                       : -k;
}

RGB FillColor(RGB color) {
  return color == RGB{0, 0, 0} ? kNeutralGray : color;
}

std::int32_t Scaled(std::int32_t scaleStep, std::int32_t value) {
  return Saturate32(std::int64_t{scaleStep} * value);
}

}  // namespace sx
