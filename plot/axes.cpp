#include "plot/axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/calendar.h"
#include "core/device_int.h"
#include "core/text_convert.h"
#include "core/utf8.h"
#include "plot/axes_common.h"
#include "plot/axis_labels.h"
#include "plot/layout.h"
#include "plot/phase.h"
#include "plot/ternary.h"
#include "render/drawing.h"
#include "settings/scales.h"

namespace sx {

namespace axes {

TickPlan MakeTickPlan(float a, float b, float inc, std::int32_t minorTicks, float scale) {
  TickPlan plan;
  plan.start = a;
  plan.inc = inc;
  plan.n = MajorTickCount(a, b, inc);
  const double majorSpacing = std::fabs(static_cast<double>(inc) * scale);
  if (!(majorSpacing >= 1.0)) plan.n = 0;
  // Without a usable increment there is nothing to subdivide: the axis shows its start tick.
  if (inc == 0.0f || !std::isfinite(inc)) return plan;
  plan.m = std::clamp(minorTicks, 0, kMaxMinorTicks);
  plan.minorStep = inc / static_cast<float>(plan.m + 1);
  const double minorSpacing = std::fabs(static_cast<double>(plan.minorStep) * scale);
  if (!(minorSpacing >= 1.0) ||
      (static_cast<std::int64_t>(plan.n) + 1) * plan.m > kMaxMinorPositions) {
    plan.m = 0;
  }
  return plan;
}

std::int64_t DevicePosition(float value, float scale, float offset) {
  return ToInt32(MapToDevice(scale, offset, value));
}

AxisLine MakeAxisLine(bool alongX, std::int64_t end1, std::int64_t end2, std::int64_t edge,
                      std::int64_t otherEdge, std::int32_t inward, float scale, float offset) {
  AxisLine line;
  line.alongX = alongX;
  line.lo = std::min(end1, end2);
  line.hi = std::max(end1, end2);
  line.edge = edge;
  line.otherEdge = otherEdge;
  line.inward = inward;
  line.scale = scale;
  line.offset = offset;
  return line;
}

void SelectFont(AxisPass& pass, std::int32_t sizeDelta, std::int32_t style, std::int32_t angle) {
  const std::int64_t size = std::int64_t{pass.graphic().fontSize} + sizeDelta;
  SelectPlotFont(pass.surface, pass.graphic().fontName.view(), Saturate32(size), style, angle);
}

std::int32_t Width(AxisPass& pass, std::string_view text) {
  return TextWidth(pass.surface, text);
}

// The reference point is (x, y - dy); the dy handed over keeps it where it was meant to be even
// when y had to be saturated.
bool Label(AxisPass& pass, std::string_view text, std::int64_t x, std::int64_t y, std::int64_t dy,
           std::int32_t alignment) {
  const std::int32_t sy = Saturate32(y);
  return DrawTextIfFree(pass.surface, pass.ctx.texts, text, Saturate32(x), sy,
                        Saturate32(sy - (y - dy)), alignment);
}

bool Fitted(AxisPass& pass, std::string_view text, std::int64_t x, std::int64_t y, std::int64_t dy,
            std::int32_t alignment, const TextBox& room) {
  const std::int32_t sy = Saturate32(y);
  return DrawTextShortened(pass.surface, pass.ctx.texts, text, Saturate32(x), sy,
                           Saturate32(sy - (y - dy)), alignment, room);
}

void Line(AxisPass& pass, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
          std::int32_t width, RGB color) {
  DrawLine(pass.surface, Saturate32(x1), Saturate32(y1), Saturate32(x2), Saturate32(y2), width,
           color);
}

namespace {

// A line across the frame at position p of the axis.
void CrossLine(AxisPass& pass, const AxisLine& line, std::int64_t p, std::int32_t width,
               RGB color) {
  if (line.alongX) {
    Line(pass, p, line.edge, p, line.otherEdge, width, color);
  } else {
    Line(pass, line.edge, p, line.otherEdge, p, width, color);
  }
}

// A tick mark at position p on the edge at cross coordinate edge, d long (signed, across the
// axis). Marks on a horizontal edge run from the edge to their tip, marks on a vertical edge
// from the tip to the edge.
void Mark(AxisPass& pass, const AxisLine& line, std::int64_t p, std::int64_t edge, std::int64_t d) {
  if (line.alongX) {
    Line(pass, p, edge, p, edge + d, pass.tickWidth, kDefaultDrawColor);
  } else {
    Line(pass, edge + d, p, edge, p, pass.tickWidth, kDefaultDrawColor);
  }
}

std::int64_t SnapToEnds(const AxisLine& line, std::int64_t p) {
  if (std::llabs(p - line.lo) <= kSnapDistance) return line.lo;
  if (std::llabs(p - line.hi) <= kSnapDistance) return line.hi;
  return p;
}

bool StrictlyInside(const AxisLine& line, std::int64_t p) {
  return line.lo < p && p < line.hi;
}

// Major and minor marks on one edge; inward points from that edge into the frame.
void MarksOnEdge(AxisPass& pass, const AxisLine& line, const ParameterSettings& axis,
                 const TickPlan& plan, std::int64_t edge, std::int32_t inward) {
  const std::int64_t sense = axis.inside != 0 ? inward : -inward;
  const std::int64_t major = sense * pass.t;
  for (std::int32_t k = 0; k <= plan.n; ++k) {
    const std::int64_t p = SnapToEnds(line, line.Position(plan.Major(k)));
    if (line.lo <= p && p <= line.hi) Mark(pass, line, p, edge, major);
  }
  const std::int64_t minor = sense * (pass.t / 2);
  for (std::int32_t k = 0; k <= plan.n; ++k) {
    for (std::int32_t j = 1; j <= plan.m; ++j) {
      const std::int64_t p = line.Position(plan.Minor(k, j));
      if (line.lo <= p && p <= line.hi) Mark(pass, line, p, edge, minor);
    }
  }
}

}  // namespace

void DrawTicksAndGrid(AxisPass& pass, const AxisLine& line, const ParameterSettings& axis,
                      const TickPlan& plan, bool gridSnapsAtHi) {
  const RGB gridColor = pass.ctx.settings.record(0).color;
  const auto gridAt = [&](std::int64_t p) {
    if (gridSnapsAtHi && std::llabs(p - line.hi) <= kSnapDistance) p = line.hi;
    if (StrictlyInside(line, p)) CrossLine(pass, line, p, pass.tickWidth, gridColor);
  };
  // Grid lines closer together than a few pixels merge into a grey band that hides the data:
  // such a grid is left out (the marks on the edge stay).
  const double closest = static_cast<double>(kMinGridSpacing) * pass.ctx.scale.scaleStep;
  const auto spaced = [&](float step) {
    return std::fabs(static_cast<double>(step) * line.scale) >= closest;
  };
  if (axis.ticklines != 0 && spaced(plan.inc)) {
    for (std::int32_t k = 1; k <= plan.n; ++k) gridAt(line.Position(plan.Major(k)));
  }
  if (axis.minorTicklines != 0 && plan.m > 0 && spaced(plan.minorStep)) {
    for (std::int32_t k = 0; k <= plan.n; ++k) {
      for (std::int32_t j = 1; j <= plan.m; ++j) gridAt(line.Position(plan.Minor(k, j)));
    }
  }
  MarksOnEdge(pass, line, axis, plan, line.edge, line.inward);
  if (axis.bothSides != 0) MarksOnEdge(pass, line, axis, plan, line.otherEdge, -line.inward);
}

void DrawReferenceLine(AxisPass& pass, const AxisLine& line, float value, bool snap) {
  std::int64_t p = line.Position(value);
  if (snap) p = SnapToEnds(line, p);
  if (StrictlyInside(line, p)) CrossLine(pass, line, p, pass.frameWidth, kDefaultDrawColor);
}

void LabelFormat::Print(float value, std::string& out) const {
  if (dateTimeData != nullptr) {
    FormatDateTimeLabel(*dateTimeData, value, out, span);
  } else {
    FormatAxisNumber(value, format, out);
  }
}

LabelFormat XLabelFormat(const PlotContext& ctx, const ColumnRecord& strip) {
  LabelFormat f;
  f.format = ctx.settings.record(0).format.view();
  if (ctx.data.XIsDate == 1 || ctx.data.XIsTime == 1) {
    f.dateTimeData = &ctx.data;
    f.span = strip.xRangeMaximum - strip.xRangeMinimum;
  }
  return f;
}

void DrawAlongLabels(AxisPass& pass, const AxisLine& line, const TickPlan& plan,
                     const LabelFormat& format, const AlongLabels& labels) {
  SelectFont(pass, -2, 0, 0);
  std::string text;
  format.Print(labels.startValue, text);
  const std::int64_t startWidth = Width(pass, text);
  std::int64_t leftBound = 0;
  bool startDrawn = true;
  // A centred start number that would meet the end number of the strip before starts at the
  // edge instead, as it does where the gap is too narrow for it.
  if (labels.startCentred && labels.startGap >= startWidth &&
      Label(pass, text, line.lo + 1, labels.y, labels.dy, 2)) {
    leftBound = line.lo + 1 + startWidth / 2 + 2;
  } else {
    // Left out where it meets a neighbour's label; its room stays empty, which keeps the
    // strips' numbers apart, but the end number no longer has to share the strip with it, so
    // that a narrow strip keeps at least that number.
    startDrawn = Label(pass, text, line.lo + 1, labels.y, labels.dy, 0);
    leftBound = line.lo + 3 + startWidth;
  }
  format.Print(labels.endValue, text);
  const std::int64_t endWidth = Width(pass, text);
  if ((startDrawn ? startWidth : 0) + endWidth + 4 < line.hi - line.lo) {
    Label(pass, text, line.hi - (labels.reversed ? 2 : 1), labels.y, labels.dy, 1);
  }
  std::int64_t rightBound = line.hi - 3 - endWidth;
  for (std::int32_t k = 1; k < plan.n; ++k) {
    format.Print(plan.Major(k), text);
    const std::int64_t half = Width(pass, text) / 2;
    const std::int64_t p = line.Position(plan.Major(k));
    if (leftBound < p - half - 2 && p + half + 2 < rightBound &&
        Label(pass, text, p, labels.y, labels.dy, 2)) {
      if (labels.reversed) {
        rightBound = p - half - 2;
      } else {
        leftBound = p + half + 2;
      }
    }
  }
}

void DrawStackedLabels(AxisPass& pass, const AxisLine& line, const TickPlan& plan,
                       const LabelFormat& format, const StackedLabels& labels) {
  SelectFont(pass, -2, 0, 0);
  const std::int64_t half = pass.metrics().halfNumberHeight;
  const std::int64_t height = pass.metrics().numberHeight;
  // The first label is compared against a point beyond the axis end, which the label at that
  // end just clears.
  std::int64_t last = labels.startAtBottom ? line.hi + 4 * half : line.lo - 3 * half;
  std::string text;
  for (std::int32_t k = 0; k <= plan.n; ++k) {
    if (labels.dropLast && k == plan.n) continue;
    const std::int64_t y = line.Position(plan.Major(k)) + half;
    const std::int64_t distance = labels.startAtBottom ? last - y : y - last;
    if (distance < 3 * half) continue;
    format.Print(plan.Major(k), text);
    if (Label(pass, text, labels.x, y, height, 1)) last = y;
  }
}

void MakeStripRooms(AxisPass& pass, int count, bool alongX, StripRooms& rooms) {
  const DataModel& data = pass.ctx.data;
  const auto span = [&](int i, std::int64_t& a, std::int64_t& b) {
    const ColumnRecord& c = data.column(pass.plotted[i]);
    const std::int64_t origin = alongX ? c.originX : c.originY;
    const std::int64_t extent = alongX ? c.extentX : c.extentY;
    a = std::min(origin, origin + extent);
    b = std::max(origin, origin + extent);
  };
  const std::int64_t half =
      (std::int64_t{pass.ctx.texts ? pass.ctx.texts->clearance() : 0} + 1) / 2;
  // At most a few hundred strips: each looks at the others for its nearest neighbours.
  for (int i = 0; i < count; ++i) {
    std::int64_t a = 0, b = 0;
    span(i, a, b);
    std::int64_t lo = -kNoLimit, hi = kNoLimit;
    for (int j = 0; j < count; ++j) {
      std::int64_t ja = 0, jb = 0;
      span(j, ja, jb);
      if (j == i) continue;
      if (jb <= a) lo = std::max(lo, (jb + a) / 2 + half);
      if (ja >= b) hi = std::min(hi, (b + ja) / 2 - half);
    }
    rooms.lo[static_cast<std::size_t>(i)] = lo;
    rooms.hi[static_cast<std::size_t>(i)] = hi;
  }
}

int LastOfGroup(const AxisPass& pass, int count, int i) {
  const DataModel& data = pass.ctx.data;
  const std::string_view group = data.column(pass.plotted[i]).groupName.view();
  int last = i;
  while (last + 1 < count && data.column(pass.plotted[last + 1]).groupName.view() == group) ++last;
  return last;
}

NameAndUnit SplitLabel(const ColumnRecord& column) {
  NameAndUnit parts;
  SplitParameterName(column.label.view(), parts.group, parts.name, parts.unit);
  return parts;
}

std::int64_t CharacterCount(std::string_view text) {
  return static_cast<std::int64_t>(Utf8Length(text));
}

namespace {

// The unit's text between its brackets ("[m]" gives "m").
std::string_view UnitWithoutBrackets(std::string_view unit) {
  if (unit.empty() || (unit.front() != '[' && unit.front() != '(')) return unit;
  const char close = unit.front() == '[' ? ']' : ')';
  const std::string_view inner = unit.substr(1);
  return inner.substr(0, inner.find(close));
}

}  // namespace

std::string MaxNoteText(const DataModel& data) {
  const float largest = data.column(0).autoMaximum;
  char buffer[96];
  std::string text = "max.: ";
  if (data.XIsDate == 1) {
    std::int32_t year = 0, month = 0, day = 0;
    CalendarDate(ToInt32(std::floor(double{data.DateOffset} + double{largest})), year, month, day);
    std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d", year, month, day);
    text += buffer;
  } else if (data.XIsTime == 1) {
    std::int32_t hours = 0, minutes = 0, seconds = 0;
    TimeOfDay(largest, hours, minutes, seconds);
    std::snprintf(buffer, sizeof buffer, ": %02d:%02d:%02d", hours, minutes, seconds);
    text += buffer;
  } else {
    // One decimal, without trailing zeros or a bare decimal point.
    std::snprintf(buffer, sizeof buffer, "%.1f*", double{largest});
    std::string number = buffer;
    ReplaceAll(number, "0*", "*");
    number.pop_back();
    if (!number.empty() && number.back() == '.') number.pop_back();
    text += number;
    text += ' ';
    const NameAndUnit x = SplitLabel(data.column(0));
    if (CharacterCount(x.unit.view()) > 2) text += UnitWithoutBrackets(x.unit.view());
  }
  return text;
}

std::string StampText(const GraphicSettings& graphic, bool leadingBlank) {
  const bool file = graphic.fileNameStamp != 0;
  const bool date = graphic.dateTimeStamp != 0;
  std::string text;
  if (!file && !date) return text;
  if (leadingBlank) text += ' ';
  if (file) text += graphic.TitleText.view();
  if (file && date) text += " - ";
  if (date) text += graphic.DateText.view();
  return text;
}

std::string_view CreditLine(const GraphicSettings& graphic) {
  const std::string_view credit = graphic.CreditText.view();
  return credit.substr(0, credit.find('@'));
}

}  // namespace axes

std::int32_t MajorTickCount(float a, float b, float inc) {
  constexpr std::int32_t kMaxMajorTicks = 10000;
  if (inc == 0.0f || std::isnan(inc)) return 0;
  // The quotient is taken in single precision, as the ranges and increments are stored.
  const float ticks = (b - a) / inc;
  const double n = static_cast<double>(ticks) + 0.1;
  // An increment that leads away from the maximum (or nowhere) leaves only the start tick.
  if (!(n >= 0.0)) return 0;
  return n >= kMaxMajorTicks ? kMaxMajorTicks : ToInt32(n);
}

namespace {

// The Ternary and Phase modes have axis drawers of their own (the triangle's corner names,
// legend and stamp; the circle's labels and stamp); they plug in at these two points.
void DrawTernaryLabels(axes::AxisPass& pass) {
  sx::DrawTernaryLabels(pass.surface, pass.ctx);
}
void DrawPhaseLabels(axes::AxisPass& pass) {
  sx::DrawPhaseLabels(pass.surface, pass.ctx);
}

bool AnyParameterPlotted(const PlotSettings& settings) {
  for (int p = 1; p <= kMaxParameter; ++p) {
    if (settings.record(p).plotState > 0) return true;
  }
  return false;
}

void DrawFrames(axes::AxisPass& pass, PlotMode mode) {
  const DataModel& data = pass.ctx.data;
  const std::int32_t w = pass.frameWidth;
  if (mode == kTernary) {
    const ColumnRecord& r = data.column(0);
    const std::int64_t x = r.originX, y = r.originY, side = r.extentX, h = r.extentY;
    axes::Line(pass, x, y, x + side / 2, y - h, w, kDefaultDrawColor);
    axes::Line(pass, x + side / 2, y - h, x + side, y, w, kDefaultDrawColor);
    axes::Line(pass, x + side, y, x, y, w, kDefaultDrawColor);
    return;
  }
  if (mode != kHorizontal && mode != kVertical) return;
  for (int i = 0; i < pass.plotted.count; ++i) {
    const ColumnRecord& r = data.column(pass.plotted[i]);
    const std::int64_t x = r.originX, y = r.originY, fw = r.extentX, fh = r.extentY;
    axes::Line(pass, x, y, x, y + fh, w, kDefaultDrawColor);
    axes::Line(pass, x, y + fh, x + fw, y + fh, w, kDefaultDrawColor);
    axes::Line(pass, x + fw, y + fh, x + fw, y, w, kDefaultDrawColor);
    axes::Line(pass, x + fw, y, x, y, w, kDefaultDrawColor);
  }
}

}  // namespace

void DrawFramesAndAxes(Surface& surface, PlotContext& ctx, PlotStage stage) {
  const DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  if (data.ColumnTable.size() <= static_cast<std::size_t>(kMaxParameter) ||
      settings.ParameterSettingsTable.size() <= static_cast<std::size_t>(kMaxParameter)) {
    return;
  }
  if (!AnyParameterPlotted(settings)) return;
  const PlotMode mode = settings.graphic.plotMode;
  if (mode < kHorizontal || mode > kPhase) return;

  const std::int64_t step = ctx.scale.scaleStep;
  axes::AxisPass pass{surface, ctx, 0, 1, 1, {}};
  pass.t = TickLength(data, settings, ctx.scale.ScaleFactor);
  pass.tickWidth = Saturate32(std::int64_t{settings.record(0).lineWidth} * step);
  pass.frameWidth = Saturate32(std::int64_t{settings.graphic.frameWidth} * step);
  pass.plotted = CollectPlotted(settings);

  switch (mode) {
    case kHorizontal:
      axes::DrawHorizontalLabels(pass);
      axes::DrawHorizontalXTitle(pass);
      axes::DrawHorizontalXTicks(pass);
      axes::DrawHorizontalValueAxes(pass);
      break;
    case kVertical:
      axes::DrawVerticalLabels(pass);
      axes::DrawVerticalXTitle(pass);
      axes::DrawVerticalStamps(pass);
      axes::DrawVerticalXTicks(pass);
      axes::DrawVerticalValueAxes(pass);
      break;
    case kTernary:
      DrawTernaryLabels(pass);
      break;
    default:
      DrawPhaseLabels(pass);
      break;
  }
  // The data renderers outline every strip again after its data, at every stage; only the
  // screen passes draw the frames beforehand as well.
  if (stage == kStageCurrentLayout || stage == kStageScreen) DrawFrames(pass, mode);
}

}  // namespace sx
