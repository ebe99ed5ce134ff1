#include "render/style_drawers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <system_error>

#include "core/device_int.h"
#include "render/drawing.h"
#include "render/text_placement.h"
#include "settings/patterns.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

// The last parameter a drawer may visit: the loaded file's last column, within the records that
// both tables hold.
std::int32_t LastParameter(const PlotContext& ctx) {
  std::int64_t last = std::min<std::int64_t>(ctx.data.ParameterCount, kMaxParameter);
  last = std::min<std::int64_t>(last, static_cast<std::int64_t>(ctx.data.ColumnTable.size()) - 1);
  last = std::min<std::int64_t>(
      last, static_cast<std::int64_t>(ctx.settings.ParameterSettingsTable.size()) - 1);
  return static_cast<std::int32_t>(std::max<std::int64_t>(last, 0));
}

// Only parameters the layout has placed have a strip; any other record holds the geometry of an
// older layout, or none.
bool HasStrip(const PlotContext& ctx, std::int32_t p) {
  return p >= 1 && p <= LastParameter(ctx) && ctx.settings.record(p).plotState > 0;
}

ProfileStrip StripOf(const PlotContext& ctx, std::int32_t p, ProfileOrientation orientation) {
  return MakeProfileStrip(ctx.data.column(p), orientation);
}

// The value edge where the axis starts (the strip's bottom in the Horizontal mode, its left edge
// in the Vertical mode) and the edge where it ends.
std::int32_t LowValueEdge(const ProfileStrip& s) {
  return s.vertical() ? s.vMin : s.vMax;
}
std::int32_t HighValueEdge(const ProfileStrip& s) {
  return s.vertical() ? s.vMax : s.vMin;
}

// Where a bar, stick or step of a value ends: a value beyond the axis start by more than one unit
// stands on that edge, one at or beyond the axis end on the end edge.
std::int32_t ClampBarValue(const ProfileStrip& s, std::int32_t v) {
  const std::int64_t w = v;
  if (s.vertical()) {
    if (w < std::int64_t{s.vMin} - 1) return s.vMin;
    if (w > std::int64_t{s.vMax} - 1) return s.vMax;
  } else {
    if (w > std::int64_t{s.vMax} + 1) return s.vMax;
    if (w < std::int64_t{s.vMin} + 1) return s.vMin;
  }
  return v;
}

// A style drawn sample by sample: for every parameter with the style turned on, values and a
// strip, draw(record, strip, item, a) for each of its samples in the strip's axis range, in their
// order, that is a data row and that keep(p, item) accepts; a is the sample's position on the
// axis (snapped onto an edge one unit beyond it when `snap`). Samples before the range are passed
// over; the first one beyond it ends the parameter's walk.
template <typename Keep, typename Draw>
void DrawEachSample(const PlotContext& ctx, ProfileOrientation orientation,
                    std::int32_t ParameterSettings::*style, bool snap, Keep keep, Draw draw) {
  const DataModel& data = ctx.data;
  for (std::int32_t p = 1; p <= LastParameter(ctx); ++p) {
    const ParameterSettings& r = ctx.settings.record(p);
    if (r.*style <= 0 || data.column(p).itemCount == 0 || !HasStrip(ctx, p)) continue;
    const ProfileStrip s = StripOf(ctx, p, orientation);
    for (std::int32_t i = 1; i <= data.column(p).itemCount; ++i) {
      const NumericItem* item = ColumnItem(data, p, i);
      if (item == nullptr) break;
      if (item->row <= 0 || !keep(p, *item)) continue;
      const std::int32_t row = s.AxisOfRow(data, item->row);
      const std::int32_t a = snap ? s.SnapAxis(row) : row;
      if (a < s.aMin) continue;
      if (a > s.aMax) break;
      draw(r, s, *item, a);
    }
  }
}

void FillStripRect(Surface& surface, const ProfileStrip& s, std::int32_t a1, std::int32_t v1,
                   std::int32_t a2, std::int32_t v2, std::int32_t width, RGB color) {
  std::int32_t x1, y1, x2, y2;
  s.RectCorners(a1, v1, a2, v2, x1, y1, x2, y2);
  FillRect(surface, x1, y1, x2, y2, width, color);
}

const TextItem* TextItemAt(const DataModel& data, std::int32_t t) {
  if (t < 1 || t > data.TextItemCount || static_cast<std::size_t>(t) >= data.TextItemTable.size()) {
    return nullptr;
  }
  return &data.TextItemTable[static_cast<std::size_t>(t)];
}

// ---------------------------------------------------------------------------------------------
// Colour stripes

// One number as a "%f" conversion reads it: leading white space skipped, an optional sign, the
// longest decimal number (or inf / nan). Returns false when no number starts there.
bool ReadFloatField(std::string_view& text, float& out) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  // Only a digit, a point or a letter of inf / nan can start the number: the sign was taken.
  if (first == last || *first == '+' || *first == '-') return false;
  double value = 0.0;
  const std::from_chars_result r = std::from_chars(first, last, value);
  if (r.ptr == first) return false;
  if (r.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: only which of the two matters for a colour byte.
    const std::string_view number(first, static_cast<std::size_t>(r.ptr - first));
    const std::size_t e = number.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  out = ToFloat32(negative ? -value : value);
  text.remove_prefix(static_cast<std::size_t>(r.ptr - text.data()));
  return true;
}

// Reads "red/green/blue" into rgb as "%f/%f/%f" would: reading stops at the first field that does
// not parse or the first missing slash, and the fields not read keep their values.
void ReadColorText(std::string_view text, std::array<float, 3>& rgb) {
  for (std::size_t i = 0; i < rgb.size(); ++i) {
    if (i > 0) {
      if (text.empty() || text.front() != '/') return;
      text.remove_prefix(1);
    }
    if (!ReadFloatField(text, rgb[i])) return;
  }
}

// A colour component from a cell: its whole part, held to 0..255.
std::uint8_t ColorByte(float component) {
  return static_cast<std::uint8_t>(std::clamp<std::int32_t>(ToInt32(component), 0, 255));
}

RGB ColorOf(const std::array<float, 3>& rgb) {
  return {ColorByte(rgb[0]), ColorByte(rgb[1]), ColorByte(rgb[2])};
}

// An "RGB" column's colour entry waiting for the next entry of the same column, which decides
// where its band ends in a continuous colour log.
struct PendingBand {
  bool waiting = false;
  std::int64_t start = 0;  // where the band starts, before clamping
  std::int32_t at = 0;     // the entry's own position
  RGB color{};
};

// A band of a continuous colour log from start to end (in either order), drawn where it lies in
// the strip. Returns whether anything was drawn.
bool FillColorBand(Surface& surface, PlotContext& ctx, std::int32_t c, const ProfileStrip& s,
                   std::int64_t start, std::int64_t end, RGB color) {
  const std::int64_t from = std::min(start, end), to = std::max(start, end);
  if (to < s.aMin || from > s.aMax) return false;
  const std::int32_t a1 = static_cast<std::int32_t>(std::max<std::int64_t>(from, s.aMin));
  const std::int32_t a2 = static_cast<std::int32_t>(std::min<std::int64_t>(to, s.aMax));
  ctx.settings.ParameterColorTable[static_cast<std::size_t>(c)] = color;
  FillStripRect(surface, s, a1, s.vMin, a2, s.vMax, ctx.scale.scaleStep, color);
  return true;
}

}  // namespace

void DrawColorStripes(Surface& surface, PlotContext& ctx, PlotStage /*stage*/,
                      ProfileOrientation orientation) {
  const DataModel& data = ctx.data;
  const std::int32_t step = ctx.scale.scaleStep;
  if (ctx.settings.ParameterColorTable.size() <= static_cast<std::size_t>(LastParameter(ctx))) {
    return;
  }
  // A cell that does not parse keeps the components read before it in this pass.
  std::array<float, 3> rgb{0.0f, 0.0f, 0.0f};
  std::array<PendingBand, kMaxParameter + 1> pending{};

  for (std::int32_t t = 1; t <= data.TextItemCount; ++t) {
    const TextItem* item = TextItemAt(data, t);
    if (item == nullptr) break;
    const std::int32_t c = item->column;
    if (!HasStrip(ctx, c) || ctx.settings.record(c).rgbColumn <= 0) continue;
    const ProfileStrip s = StripOf(ctx, c, orientation);
    const std::int32_t a = s.MapAxis(item->position);
    const std::int32_t columnWidth = ctx.settings.record(c).columnWidth;

    if (s.vertical() && columnWidth < 1) {
      // A continuous colour log: each band reaches halfway to the neighbouring entries of its
      // column, the first from the strip's start, the last to its end.
      ReadColorText(item->text.view(), rgb);
      PendingBand& band = pending[static_cast<std::size_t>(c)];
      std::int64_t start = std::numeric_limits<std::int32_t>::min();
      if (band.waiting) {
        const std::int64_t middle = (std::int64_t{band.at} + a) / 2;
        FillColorBand(surface, ctx, c, s, band.start, middle, band.color);
        start = middle;
      }
      band = {true, start, a, ColorOf(rgb)};
      continue;
    }

    const std::int32_t at = s.SnapAxis(a);
    if (at < s.aMin || at > s.aMax) continue;
    ReadColorText(item->text.view(), rgb);
    const std::int64_t half = columnWidth >= 1 ? Scaled(step, columnWidth / 2) : 1;
    FillColorBand(surface, ctx, c, s, std::int64_t{at} - half, std::int64_t{at} + half,
                  ColorOf(rgb));
  }

  for (std::int32_t c = 1; c <= LastParameter(ctx); ++c) {
    const PendingBand& band = pending[static_cast<std::size_t>(c)];
    if (!band.waiting) continue;
    const ProfileStrip s = StripOf(ctx, c, orientation);
    FillColorBand(surface, ctx, c, s, band.start, std::numeric_limits<std::int32_t>::max(),
                  band.color);
  }
}

void DrawOccurrence(Surface& surface, PlotContext& ctx, PlotStage /*stage*/,
                    ProfileOrientation orientation) {
  const std::int32_t step = ctx.scale.scaleStep;
  const std::int32_t pen = Scaled(step, kMarkerLineWidth);
  const auto shown = [&](std::int32_t p, const NumericItem& item) {
    return item.value != 0.0f && IsQualityFlagShown(ctx.settings, p, item.flag) != 0;
  };
  DrawEachSample(
      ctx, orientation, &ParameterSettings::occurrence, true, shown,
      [&](const ParameterSettings& r, const ProfileStrip& s, const NumericItem&, std::int32_t a) {
        const DevicePoint d = s.ToDevice({a, s.vMid});
        DrawMarker(surface, d.x, d.y, r.color, Scaled(step, r.markerSize), pen, r.markerSymbol);
      });
}

namespace {

// The walk of the lithology style over one column's samples: each sample's pattern fills the
// interval from the previous sample up to it. An interval that starts before the strip is not
// drawn, and the walk stops at the first sample beyond it.
class LithologyWalk {
 public:
  LithologyWalk(Surface& surface, const PatternTable& patterns, const ProfileStrip& s)
      : surface_(surface), patterns_(patterns), s_(s), previous_(s.aMin) {}

  // Returns false when the walk ends. A pattern outside 1..PatternCount leaves the interval empty.
  bool Next(std::int32_t a, std::int32_t pattern) {
    if (previous_ < s_.aMin) {
      previous_ = a;
      return a <= s_.aMax;
    }
    if (a > s_.aMax) return false;
    if (previous_ < a && pattern >= 1 && pattern <= patterns_.PatternCount) {
      std::int32_t x1, y1, x2, y2;
      s_.RectCorners(previous_, s_.vMin, a, s_.vMax, x1, y1, x2, y2);
      FillRectWithPattern(surface_, x1, y1, x2, y2, patterns_, pattern);
    }
    previous_ = a;
    return true;
  }

 private:
  Surface& surface_;
  const PatternTable& patterns_;
  const ProfileStrip& s_;
  std::int32_t previous_;
};

}  // namespace

void DrawLithology(Surface& surface, PlotContext& ctx, PlotStage /*stage*/,
                   ProfileOrientation orientation) {
  const DataModel& data = ctx.data;
  for (std::int32_t p = 1; p <= LastParameter(ctx); ++p) {
    if (ctx.settings.record(p).lithology <= 0 || !HasStrip(ctx, p)) continue;
    const ProfileStrip s = StripOf(ctx, p, orientation);
    LithologyWalk walk(surface, ctx.patterns, s);
    const std::int32_t count = data.column(p).itemCount;
    if (count != 0) {
      // Numeric samples name their pattern by number.
      for (std::int32_t i = 1; i <= count; ++i) {
        const NumericItem* item = ColumnItem(data, p, i);
        if (item == nullptr) break;
        if (item->row <= 0) continue;
        if (!walk.Next(s.AxisOfRow(data, item->row), ToInt32(item->value))) break;
      }
      continue;
    }
    // Text samples name their pattern.
    for (std::int32_t t = 1; t <= data.TextItemCount; ++t) {
      const TextItem* item = TextItemAt(data, t);
      if (item == nullptr) break;
      if (item->column != p) continue;
      const std::int32_t pattern = FindPattern(ctx.patterns, item->text.view());
      if (!walk.Next(s.MapAxis(item->position), pattern)) break;
    }
  }
}

void DrawBoundaries(Surface& surface, PlotContext& ctx, PlotStage /*stage*/,
                    ProfileOrientation orientation) {
  const std::int32_t step = ctx.scale.scaleStep;
  const auto all = [](std::int32_t, const NumericItem&) { return true; };
  DrawEachSample(ctx, orientation, &ParameterSettings::boundary, false, all,
                 [&](const ParameterSettings& r, const ProfileStrip& s, const NumericItem& item,
                     std::int32_t a) {
                   // A line across the strip wherever the value is 1 or more.
                   const DevicePoint from = s.ToDevice({a, LowValueEdge(s)});
                   const DevicePoint to = s.ToDevice({a, HighValueEdge(s)});
                   DrawDashedLine(surface, from.x, from.y, to.x, to.y, Scaled(step, r.lineWidth),
                                  ToInt32(item.value));
                 });
}

void DrawHistogramLines(Surface& surface, PlotContext& ctx, PlotStage /*stage*/,
                        ProfileOrientation orientation) {
  const std::int32_t step = ctx.scale.scaleStep;
  const auto shown = [&](std::int32_t p, const NumericItem& item) {
    return IsQualityFlagShown(ctx.settings, p, item.flag) != 0;
  };
  DrawEachSample(
      ctx, orientation, &ParameterSettings::histogramLines, false, shown,
      [&](const ParameterSettings& r, const ProfileStrip& s, const NumericItem& item,
          std::int32_t a) {
        // A stick from the reference level to the value.
        const DevicePoint from = s.ToDevice({a, s.ClampValue(s.MapValue(r.referenceLine))});
        const DevicePoint to = s.ToDevice({a, ClampBarValue(s, s.MapValue(item.value))});
        DrawLine(surface, from.x, from.y, to.x, to.y, Scaled(step, r.lineWidth), r.color);
      });
}

void DrawCourse(Surface& surface, PlotContext& ctx, PlotStage /*stage*/,
                ProfileOrientation orientation) {
  const DataModel& data = ctx.data;
  const std::int32_t step = ctx.scale.scaleStep;
  // A direction column p is followed by its speed column p + 1, so the last column has no
  // course of its own.
  for (std::int32_t p = 1; p < LastParameter(ctx); ++p) {
    const ParameterSettings& r = ctx.settings.record(p);
    if (r.course <= 0 || data.column(p).itemCount == 0 || !HasStrip(ctx, p)) continue;
    const std::int32_t speedColumn = p + 1;
    const float maximum = ctx.settings.record(speedColumn).maximum;
    const ProfileStrip s = StripOf(ctx, p, orientation);
    // Half the strip's width across the values: a speed of the speed column's maximum reaches
    // the strip's edge from its middle line, and no speed reaches further.
    const float extent = static_cast<float>(s.vertical() ? s.record->extentX : s.record->extentY);
    const float length = std::abs(extent) / 2.0f;
    const std::int32_t width = Scaled(step, r.lineWidth);
    for (std::int32_t i = 1; i <= data.column(p).itemCount; ++i) {
      const NumericItem* direction = ColumnItem(data, p, i);
      const NumericItem* speed = ColumnItem(data, speedColumn, i);
      if (direction == nullptr || speed == nullptr) break;
      if (direction->row <= 0 || speed->row <= 0) continue;
      const std::int32_t a = s.AxisOfRow(data, direction->row);
      if (a < s.aMin) continue;
      if (a > s.aMax) break;
      float magnitude = speed->value;
      if (maximum > 0.0f) magnitude = std::clamp(magnitude, -maximum, maximum);
      const DevicePoint foot = s.ToDevice({a, s.vMid});
      DrawVector(surface, direction->value, magnitude, maximum, foot.x, foot.y, length, width,
                 r.color);
      // The foot's marker keeps its size at every resolution.
      DrawMarker(surface, foot.x, foot.y, kDefaultDrawColor, r.markerSize, kMarkerLineWidth,
                 r.markerSymbol);
    }
  }
}

void DrawColumns(Surface& surface, PlotContext& ctx, PlotStage stage,
                 ProfileOrientation orientation, std::int32_t head, std::int32_t d) {
  const DataModel& data = ctx.data;
  if (!HasStrip(ctx, head) || d < 0 || d > LastParameter(ctx) - head) return;
  const std::int32_t step = ctx.scale.scaleStep;
  const ProfileStrip s = StripOf(ctx, head, orientation);
  const std::int32_t reference = s.ClampValue(s.MapValue(ctx.settings.record(head).referenceLine));

  // Default half width: half the mean distance between the head's samples. Its size is what
  // matters; samples running against the axis give the same bars.
  float spacing = 0.0f;
  const std::int32_t headCount = data.column(head).itemCount;
  const NumericItem* first = ColumnItem(data, head, 1);
  const NumericItem* last = ColumnItem(data, head, headCount);
  if (first != nullptr && last != nullptr) {
    const std::int64_t span =
        std::int64_t{s.AxisOfRow(data, last->row)} - s.AxisOfRow(data, first->row);
    spacing = std::abs(static_cast<float>(span) * 0.5f / static_cast<float>(headCount));
  }
  const std::int32_t defaultHalf = ToInt32((spacing + 0.5) * ctx.scale.ScaleFactor);
  // Metafiles get the bars without their black outline.
  const bool outlined = stage != kStageClipboard && stage != kStageMetafile;

  for (std::int32_t k = d; k >= 0; --k) {
    const std::int32_t q = head + k;
    const ParameterSettings& r = ctx.settings.record(q);
    if (r.columns <= 0) continue;
    const std::int32_t mode = MemberMode(ctx, head, k);
    const std::int32_t half = r.columnWidth >= 1 ? Scaled(step, r.columnWidth / 2) : defaultHalf;
    const RGB color = FillColor(r.color);
    MemberValues values(ctx, head, mode);
    for (std::int32_t i = 1; i <= data.column(q).itemCount; ++i) {
      const NumericItem* item = nullptr;
      std::int32_t valid = 0;
      const float value = values.Get(i, item, valid);
      if (item == nullptr || item->row <= 0 || valid == 0) continue;
      const std::int32_t a = s.AxisOfRow(data, item->row);
      const std::int32_t v = ClampBarValue(s, s.MapValue(value));
      const std::int32_t a1 = Saturate32(std::max<std::int64_t>(std::int64_t{a} - half, s.aMin));
      const std::int32_t a2 = Saturate32(std::min<std::int64_t>(std::int64_t{a} + half, s.aMax));
      if (a < s.aMin) continue;
      if (a > s.aMax) break;
      // The bar spans from the reference level to the value.
      std::int32_t x1, y1, x2, y2;
      s.RectCorners(a1, std::min(reference, v), a2, std::max(reference, v), x1, y1, x2, y2);
      FillRect(surface, x1, y1, x2, y2, step, color);
      if (outlined) DrawRectOutline(surface, x1, y1, x2, y2, step, kDefaultDrawColor);
    }
  }
}

namespace {

// The points of a run of the outline style are 1..last in the point buffer; closing adds the
// way down to the reference level and back to the start.
constexpr std::int32_t kOutlineRunLimit = 1993;

void DrawOutlineRun(Surface& surface, PlotContext& ctx, PlotStage stage, const ProfileStrip& s,
                    const ParameterSettings& r, std::int32_t reference, StripPoint start,
                    StripPoint end, std::int32_t last) {
  PointBuffer& buffer = ctx.render.points;
  const std::int32_t step = ctx.scale.scaleStep;
  s.SetPoint(buffer, 0, start);
  s.SetPoint(buffer, last + 1, end);
  s.SetPoint(buffer, last + 2, {end.a, reference});
  s.SetPoint(buffer, last + 3, {start.a, reference});
  s.SetPoint(buffer, last + 4, start);
  if (r.colorize < 1) {
    // The open step curve; on the clipboard it is closed down to the reference level.
    DrawPolyline(surface, buffer, stage == kStageClipboard ? last + 4 : last + 1,
                 Scaled(step, r.lineWidth), r.color);
    return;
  }
  FillPolygon(surface, buffer, last + 4, step, FillColor(r.color));
  if (stage != kStageClipboard) {
    DrawPolyline(surface, buffer, last + 4, r.lines > 0 ? Scaled(step, r.lineWidth) : step,
                 kDefaultDrawColor);
  }
}

}  // namespace

void DrawOutline(Surface& surface, PlotContext& ctx, PlotStage stage,
                 ProfileOrientation orientation, std::int32_t head, std::int32_t d) {
  const DataModel& data = ctx.data;
  if (!HasStrip(ctx, head) || d < 0 || d > LastParameter(ctx) - head) return;
  const ProfileStrip s = StripOf(ctx, head, orientation);
  const std::int32_t reference = s.ClampValue(s.MapValue(ctx.settings.record(head).referenceLine));
  PointBuffer& buffer = ctx.render.points;

  for (std::int32_t k = d; k >= 0; --k) {
    const std::int32_t q = head + k;
    const ParameterSettings& r = ctx.settings.record(q);
    if (r.outline <= 0) continue;
    const std::int32_t mode = MemberMode(ctx, head, k);
    // A step curve through the values that changes level halfway between samples.
    std::int32_t last = 0;  // last point index of the run, 0 while it is empty
    StripPoint start, previous;
    MemberValues values(ctx, head, mode);
    for (std::int32_t i = 1; i <= data.column(q).itemCount; ++i) {
      const NumericItem* item = nullptr;
      std::int32_t valid = 0;
      const float value = values.Get(i, item, valid);
      if (item == nullptr || item->row <= 0 || valid == 0) continue;
      const StripPoint point{s.AxisOfRow(data, item->row), ClampBarValue(s, s.MapValue(value))};
      if (point.a < s.aMin) continue;
      if (point.a > s.aMax) break;
      if (last == 0) {
        start = point;
        s.SetPoint(buffer, 1, point);
        last = 1;
      } else {
        const std::int32_t middle = Saturate32(point.a - (std::int64_t{point.a} - previous.a) / 2);
        s.SetPoint(buffer, last + 1, {middle, previous.v});
        s.SetPoint(buffer, last + 2, {middle, point.v});
        last += 2;
      }
      previous = point;
      if (last > kOutlineRunLimit) {
        // The buffer is full: the run is drawn and the next one continues from its last point.
        DrawOutlineRun(surface, ctx, stage, s, r, reference, start, previous, last);
        start = previous;
        s.SetPoint(buffer, 1, previous);
        last = 1;
      }
    }
    if (last > 0) DrawOutlineRun(surface, ctx, stage, s, r, reference, start, previous, last);
  }
}

void DrawComments(Surface& surface, PlotContext& ctx, PlotStage /*stage*/,
                  ProfileOrientation orientation) {
  const DataModel& data = ctx.data;
  if (data.TextItemCount < 1) return;
  const GraphicSettings& graphic = ctx.settings.graphic;
  SelectPlotFont(surface, graphic.fontName.view(), Saturate32(std::int64_t{graphic.fontSize} - 2),
                 0, 0);
  const std::int32_t height = ctx.render.metrics.numberHeight;
  // A comment that would overprint the one before it in its strip, or any other text, is left
  // out: a column with a text at most rows stays readable instead of turning into a black bar.
  const std::int32_t line = ctx.texts != nullptr ? TextLineHeight(surface) : -1;
  for (std::int32_t t = 1; t <= data.TextItemCount; ++t) {
    const TextItem* item = TextItemAt(data, t);
    if (item == nullptr) break;
    const std::int32_t c = item->column;
    if (!HasStrip(ctx, c) || ctx.settings.record(c).comment <= 0) continue;
    const ProfileStrip s = StripOf(ctx, c, orientation);
    const std::int32_t row = s.SnapAxis(s.MapAxis(item->position));
    if (row < s.aMin || row > s.aMax) continue;
    // Centred on a row at an end of the X axis, a comment would straddle the strip's frame line:
    // it moves inwards just far enough to stay within the strip, unless a text already stands
    // there; then it stands on its row as before rather than not at all.
    // before/after: how far the text reaches before and after its row along the X axis.
    const auto draw = [&](std::int64_t before, std::int64_t after, auto drawAt) {
      const std::int64_t lo = std::int64_t{s.aMin} + 2 + before;
      const std::int64_t hi = std::int64_t{s.aMax} - 2 - after;
      const std::int32_t inside =
          lo <= hi ? Saturate32(std::clamp<std::int64_t>(row, lo, hi)) : row;
      if (!drawAt(inside) && inside != row) drawAt(row);
    };
    if (s.vertical()) {
      // Left-aligned a tenth of the strip's width from its left edge, centred on the row.
      const std::int32_t x = Saturate32(std::int64_t{s.vMin} + s.record->extentX / 10);
      draw(height - height / 2, height / 2, [&](std::int32_t a) {
        return DrawCommentIfFree(surface, ctx.texts, item->text.view(), x,
                                 Saturate32(std::int64_t{a} + height / 2), height, 0, line);
      });
    } else {
      // Centred on the row, its top one number-line height above the strip's middle line.
      const std::int64_t width = TextWidth(surface, item->text.view());
      draw(width / 2, width - width / 2, [&](std::int32_t a) {
        return DrawCommentIfFree(surface, ctx.texts, item->text.view(), a, s.vMid, height, 2, line);
      });
    }
  }
}

}  // namespace sx
