#include "render/profile.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "core/device_int.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

std::int32_t Saturate(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

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

StripPoint ProfileStrip::CrossValueEdge(StripPoint p, StripPoint q, std::int32_t edge) const {
  const DevicePoint d1 = ToDevice(p), d2 = ToDevice(q);
  DevicePoint r;
  // The value edges are horizontal lines in the Horizontal mode and vertical ones otherwise.
  if (vertical()) {
    ClipYAtX(d1.x, d1.y, d2.x, d2.y, edge, r.x, r.y);
  } else {
    ClipXAtY(d1.x, d1.y, d2.x, d2.y, edge, r.x, r.y);
  }
  return FromDevice(r);
}

StripPoint ProfileStrip::CrossAxisEdge(StripPoint p, StripPoint q, std::int32_t edge) const {
  const DevicePoint d1 = ToDevice(p), d2 = ToDevice(q);
  DevicePoint r;
  if (vertical()) {
    ClipXAtY(d1.x, d1.y, d2.x, d2.y, edge, r.x, r.y);
  } else {
    ClipYAtX(d1.x, d1.y, d2.x, d2.y, edge, r.x, r.y);
  }
  return FromDevice(r);
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
  const std::int32_t x1 = Saturate(std::int64_t{record.originX} + record.extentX);
  const std::int32_t y1 = Saturate(std::int64_t{record.originY} + record.extentY);
  if (orientation == ProfileOrientation::kVertical) {
    s.aMin = std::min(y0, y1);
    s.aMax = std::max(y0, y1);
    s.vMin = std::min(x0, x1);
    s.vMax = std::max(x0, x1);
    s.vMid = Saturate(std::int64_t{record.originX} + record.extentX / 2);
    s.valueScale = record.xScale;
    s.valueOffset = record.xOffset;
    s.axisScale = record.yScale;
    s.axisOffset = record.yOffset;
  } else {
    s.aMin = std::min(x0, x1);
    s.aMax = std::max(x0, x1);
    s.vMin = std::min(y0, y1);
    s.vMax = std::max(y0, y1);
    s.vMid = Saturate(std::int64_t{record.originY} + record.extentY / 2);
    s.valueScale = record.yScale;
    s.valueOffset = record.yOffset;
    s.axisScale = record.xScale;
    s.axisOffset = record.xOffset;
  }
  return s;
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
  if (k > 0) {
    // "add": a running total over the group's columns, whatever their quality codes.
    float sum = 0.0f;
    for (std::int64_t c = head; c <= member; ++c) {
      const NumericItem* item = ColumnItem(data, static_cast<std::int32_t>(c), i);
      if (item == nullptr || item->row <= 0) continue;
      sum += item->value;
      valid = 1;
    }
    if (ColumnItem(data, static_cast<std::int32_t>(member), i) != nullptr) index = indexOf(member);
    return valid != 0 ? sum : 0.0f;
  }
  // "plot": the member's own value, shown as it is.
  const NumericItem* item = ColumnItem(data, static_cast<std::int32_t>(member), i);
  if (item == nullptr) return 0.0f;
  index = indexOf(member);
  valid = item->row > 0 ? 1 : 0;
  return item->value;
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
  return Saturate(std::int64_t{scaleStep} * value);
}

}  // namespace sx
