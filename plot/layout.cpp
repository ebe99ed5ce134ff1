#include "plot/layout.h"

#include "plot/plotted_list.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "core/device_int.h"
#include "core/text_convert.h"
#include "plot/axis_labels.h"
#include "settings/scales.h"

namespace sx {
namespace {

// The layout writes records 0..256 of both tables; a session always holds them, a half-built
// one gets no layout rather than an access past the end.
bool TablesHoldParameters(const DataModel& data, const PlotSettings& settings) {
  return data.ColumnTable.size() > static_cast<std::size_t>(kMaxParameter) &&
         settings.ParameterSettingsTable.size() > static_cast<std::size_t>(kMaxParameter);
}

void SelectSize(Surface& surface, const PlotSettings& settings, std::int64_t size,
                std::int32_t style) {
  SelectPlotFont(surface, settings.graphic.fontName.view(), Saturate32(size), style, 0);
}

std::int32_t LineHeightAt(Surface& surface, const PlotSettings& settings, std::int64_t size,
                          std::int32_t style) {
  SelectSize(surface, settings, size, style);
  return TextLineHeight(surface);
}

// The five line heights shared by both profile layouts.
void MeasureHeights(Surface& surface, const PlotSettings& settings, TextMetrics& m) {
  const std::int64_t fontSize = settings.graphic.fontSize;
  m.titleHeight = LineHeightAt(surface, settings, fontSize + 2, kFontBold);
  m.labelHeight = LineHeightAt(surface, settings, fontSize, kFontBold);
  m.numberHeight = LineHeightAt(surface, settings, fontSize - 2, 0);
  m.halfNumberHeight = m.numberHeight / 2;
  m.smallHeight = LineHeightAt(surface, settings, fontSize - 4, 0);
}

std::string AxisNumber(float value, std::string_view format) {
  std::string text;
  FormatAxisNumber(value, format, text);
  return text;
}

struct NameAndUnit {
  FixedText<80> group, name, unit;
};

NameAndUnit SplitLabel(const ColumnRecord& column) {
  NameAndUnit parts;
  SplitParameterName(column.label.view(), parts.group, parts.name, parts.unit);
  return parts;
}

std::string NameSpaceUnit(const NameAndUnit& parts) {
  std::string text(parts.name.view());
  text += ' ';
  text += parts.unit.view();
  return text;
}

// Widths of the X axis name (bold), its unit and a blank, at fontSize.
void MeasureXTitle(Surface& surface, const DataModel& data, const PlotSettings& settings,
                   TextMetrics& m) {
  const NameAndUnit x = SplitLabel(data.column(0));
  SelectSize(surface, settings, settings.graphic.fontSize, kFontBold);
  m.xNameWidth = TextWidth(surface, x.name.view());
  SelectSize(surface, settings, settings.graphic.fontSize, 0);
  m.xUnitWidth = TextWidth(surface, x.unit.view());
  m.spaceWidth = TextWidth(surface, " ");
}

// Step 1 of both profile layouts: strips of automatic length and the sum of the fixed ones.
struct StripCounts {
  std::int64_t freeCount = 0;
  std::int64_t fixedTotal = 0;
};

StripCounts CountStrips(const PlotSettings& settings, const PlottedList& plotted) {
  StripCounts c;
  for (int i = 0; i < plotted.count; ++i) {
    const ParameterSettings& r = settings.record(plotted.index[static_cast<std::size_t>(i)]);
    if (r.fixedAxisLength < 1) {
      ++c.freeCount;
    } else {
      c.fixedTotal += r.axisLength;
    }
  }
  return c;
}

// Length of each automatic strip out of the space the fixed strips, the gaps between strips and
// the reserves leave over; negative free space gives strips of 0.
std::int64_t StripLength(const PlotSettings& settings, const PlottedList& plotted,
                         const StripCounts& counts, std::int64_t gap, std::int64_t available) {
  std::int64_t strip = 0;
  if (settings.graphic.allInOne != 0) {
    strip = available;
  } else if (counts.freeCount >= 1) {
    // The gaps lie between the strips actually placed (plottedCount when the count is current).
    const std::int64_t gaps = std::max(plotted.count - 1, 0);
    strip = (available - gaps * gap - counts.fixedTotal) / counts.freeCount;
  }
  return std::max<std::int64_t>(strip, 0);
}

}  // namespace

void CopyAxisRanges(DataModel& data, const PlotSettings& settings) {
  if (!TablesHoldParameters(data, settings)) return;
  const ParameterSettings& x = settings.record(0);
  const int last = std::min<std::int32_t>(data.ParameterCount, kMaxParameter);
  for (int p = 1; p <= last; ++p) {
    const ParameterSettings& r = settings.record(p);
    if (r.plotState <= 0) continue;
    ColumnRecord& c = data.column(p);
    c.xRangeMinimum = x.minimum;
    c.xRangeMaximum = x.maximum;
    c.yRangeMinimum = r.minimum;
    c.yRangeMaximum = r.maximum;
  }
}

std::int32_t TickLength(const DataModel& data, const PlotSettings& settings, float scaleFactor) {
  if (!TablesHoldParameters(data, settings)) return 0;
  for (int p = 1; p <= kMaxParameter; ++p) {
    if (settings.record(p).plotState <= 0) continue;
    const ColumnRecord& c = data.column(p);
    const std::int32_t a = std::abs(c.extentX / 40);
    const std::int32_t b = std::abs(c.extentY / 40);
    std::int32_t t = std::min(a, b);
    const double least = 6.0 * static_cast<double>(scaleFactor);
    if (t < least) t = ToInt32(least);
    return std::min<std::int32_t>(t, 8);
  }
  return 0;
}

std::int32_t LayoutHorizontal(Surface& surface, PlotContext& ctx) {
  DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  const GraphicSettings& g = settings.graphic;
  if (g.plottedCount < 1 || !TablesHoldParameters(data, settings)) return g.fontSize;

  const PlottedList plotted = CollectPlotted(settings);
  const StripCounts counts = CountStrips(settings, plotted);
  const std::int64_t t = TickLength(data, settings, ctx.scale.ScaleFactor);

  TextMetrics& m = ctx.render.metrics;
  m = TextMetrics{};
  MeasureHeights(surface, settings, m);
  const bool grouped = data.GroupedColumnCount >= 1;

  std::int64_t top = std::int64_t{m.halfNumberHeight} + marginTop;
  if (grouped) top += m.titleHeight;
  const std::int64_t bottomReserve =
      std::int64_t{marginBottom} + 2 * std::int64_t{m.numberHeight} + 17 + m.labelHeight;

  // Widest axis-limit number.
  const std::int64_t fontSize = g.fontSize;
  SelectSize(surface, settings, fontSize - 2, 0);
  for (int i = 0; i < plotted.count; ++i) {
    const ParameterSettings& r = settings.record(plotted.index[static_cast<std::size_t>(i)]);
    for (float v : {r.minimum, r.maximum}) {
      m.maxNumberWidth =
          std::max(m.maxNumberWidth, TextWidth(surface, AxisNumber(v, r.format.view())));
    }
  }

  // Widest label beside the strips: group texts, then name and unit.
  std::int32_t labelWidth = 0;
  if (grouped) {
    SelectSize(surface, settings, fontSize + 2, kFontBold);
    for (int i = 0; i < plotted.count; ++i) {
      const int p = plotted.index[static_cast<std::size_t>(i)];
      if (p < 2 || p > data.ParameterCount || settings.record(p).showGroupLabel == 0) continue;
      labelWidth = std::max(labelWidth, TextWidth(surface, data.column(p).groupName.view()));
    }
  }
  SelectSize(surface, settings, fontSize, 0);
  for (int i = 0; i < plotted.count; ++i) {
    const int p = plotted.index[static_cast<std::size_t>(i)];
    const NameAndUnit parts = SplitLabel(data.column(p));
    std::int32_t w = 0;
    if (settings.record(p).textOrientation == 90) {
      w = std::max(TextWidth(surface, parts.name.view()), TextWidth(surface, parts.unit.view()));
    } else {
      w = TextWidth(surface, NameSpaceUnit(parts));
    }
    labelWidth = std::max(labelWidth, w);
  }

  std::int64_t left = std::int64_t{marginLeft} + m.maxNumberWidth;
  if (labelWidth >= 1) {
    left += 17 + std::int64_t{labelWidth};
  } else if (!grouped) {
    left += std::int64_t{m.numberHeight} + 23 + m.labelHeight;
  } else {
    left += std::int64_t{m.numberHeight} + m.labelHeight + 26 + m.titleHeight;
  }

  const std::int64_t gap = Saturate32(std::int64_t{ctx.scale.scaleStep} * g.plotDistance);
  const std::int64_t strip = StripLength(settings, plotted, counts, gap,
                                         std::int64_t{g.graphicHeight} - bottomReserve - top);

  const bool bottomUp = g.horizontalLayoutSwitch != 0;
  const ParameterSettings& xAxis = settings.record(0);
  std::int64_t width = xAxis.axisLength;
  if (xAxis.fixedAxisLength < 1) {
    width = std::int64_t{g.graphicWidth} - marginRight - left;
    if (!bottomUp) width -= t;
    width = std::max<std::int64_t>(width, 0);
  }

  const bool allInOne = g.allInOne != 0;
  ColumnRecord& x = data.column(0);
  x.originX = Saturate32(left);
  x.extentX = Saturate32(width);
  const std::int64_t base = std::int64_t{g.graphicHeight} - bottomReserve;
  if (!bottomUp) {
    // Top down: y is the top of the next strip.
    std::int64_t y = top;
    for (int i = 0; i < plotted.count; ++i) {
      const int p = plotted.index[static_cast<std::size_t>(i)];
      const ParameterSettings& r = settings.record(p);
      const std::int64_t length = (allInOne || r.fixedAxisLength < 1) ? strip : r.axisLength;
      ColumnRecord& c = data.column(p);
      c.originX = Saturate32(left);
      c.originY = Saturate32(y + length);
      c.extentX = Saturate32(width);
      c.extentY = Saturate32(-length);
      if (!allInOne) y += gap + length;
    }
    x.originY = Saturate32(allInOne ? base : y - gap);
  } else {
    // Bottom up: y - strip is the bottom of the next strip.
    x.originY = Saturate32(base);
    std::int64_t y = base + strip;
    for (int i = 0; i < plotted.count; ++i) {
      const int p = plotted.index[static_cast<std::size_t>(i)];
      const ParameterSettings& r = settings.record(p);
      const std::int64_t length = (allInOne || r.fixedAxisLength < 1) ? strip : r.axisLength;
      ColumnRecord& c = data.column(p);
      c.originX = Saturate32(left);
      c.originY = Saturate32(y - strip);
      c.extentX = Saturate32(width);
      c.extentY = Saturate32(-length);
      if (!allInOne) y -= gap + length;
    }
  }

  MeasureXTitle(surface, data, settings, m);
  return g.fontSize;
}

std::int32_t LayoutVertical(Surface& surface, PlotContext& ctx) {
  DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  const GraphicSettings& g = settings.graphic;
  if (g.plottedCount < 1 || !TablesHoldParameters(data, settings)) return g.fontSize;

  const PlottedList plotted = CollectPlotted(settings);
  const StripCounts counts = CountStrips(settings, plotted);
  const std::int64_t t = TickLength(data, settings, ctx.scale.ScaleFactor);
  const std::int64_t fontSize = g.fontSize;

  // Height of the rotated labels above the strips.
  bool rotated = false;
  std::int32_t rotatedWidth = 0;
  SelectSize(surface, settings, fontSize, 0);
  for (int i = 0; i < plotted.count; ++i) {
    const int p = plotted.index[static_cast<std::size_t>(i)];
    const std::int32_t orientation = settings.record(p).textOrientation;
    if (orientation == 0) continue;
    rotated = true;
    std::int32_t w = TextWidth(surface, NameSpaceUnit(SplitLabel(data.column(p))));
    if (orientation == 45) w = ToInt32(w * 0.7692308);
    rotatedWidth = std::max(rotatedWidth, w);
  }
  // The end label of the last strip may reach past the strip by half its width.
  std::string widest;
  if (plotted.count > 0) {
    const ParameterSettings& r =
        settings.record(plotted.index[static_cast<std::size_t>(plotted.count - 1)]);
    widest = AxisNumber(r.maximum, r.format.view()) + "W";
  }

  TextMetrics& m = ctx.render.metrics;
  m = TextMetrics{};
  MeasureHeights(surface, settings, m);
  const bool grouped = data.GroupedColumnCount >= 1;

  SelectSize(surface, settings, fontSize - 2, 0);
  const ParameterSettings& xAxis = settings.record(0);
  const bool isDate = data.XIsDate == 1;
  const bool isTime = data.XIsTime == 1;
  if (isDate && isTime) {
    m.xLabelWidth = TextWidth(surface, " 1997-06-26 14:25:58");
  } else if (isDate) {
    m.xLabelWidth = TextWidth(surface, " 1997-06-26");
  } else if (isTime) {
    m.xLabelWidth = TextWidth(surface, " 14:25:58");
  } else {
    m.xLabelWidth = std::max(TextWidth(surface, AxisNumber(xAxis.minimum, xAxis.format.view())),
                             TextWidth(surface, AxisNumber(xAxis.maximum, xAxis.format.view())));
  }
  const std::int64_t widestWidth = TextWidth(surface, widest);

  const std::int64_t left = std::int64_t{marginLeft} + m.xLabelWidth + 20 + m.labelHeight;
  const std::int64_t rightReserve = std::max<std::int64_t>(widestWidth / 2, marginRight);

  std::int64_t top = 0;
  if (!rotated) {
    top = std::int64_t{marginTop} + 2 * std::int64_t{m.numberHeight} + m.labelHeight +
          (grouped ? 17 + std::int64_t{m.titleHeight} : 25);
  } else {
    top = std::int64_t{rotatedWidth} + marginTop + m.numberHeight +
          (grouped ? 17 + std::int64_t{m.titleHeight} : 22);
  }
  const std::int64_t bottomReserve = std::int64_t{marginBottom} + 2 * std::int64_t{m.labelHeight};

  const std::int64_t gap = Saturate32(std::int64_t{ctx.scale.scaleStep} * g.plotDistance);
  const std::int64_t strip = StripLength(settings, plotted, counts, gap,
                                         std::int64_t{g.graphicWidth} - rightReserve - left);

  std::int64_t height = xAxis.axisLength;
  if (xAxis.fixedAxisLength < 1) {
    height = std::max<std::int64_t>(std::int64_t{g.graphicHeight} - t - bottomReserve - top, 0);
  }

  const bool allInOne = g.allInOne != 0;
  std::int64_t x = left;
  for (int i = 0; i < plotted.count; ++i) {
    const int p = plotted.index[static_cast<std::size_t>(i)];
    const ParameterSettings& r = settings.record(p);
    const std::int64_t length = (allInOne || r.fixedAxisLength < 1) ? strip : r.axisLength;
    ColumnRecord& c = data.column(p);
    c.originX = Saturate32(x);
    c.originY = Saturate32(top);
    c.extentX = Saturate32(length);
    c.extentY = Saturate32(height);
    if (!allInOne) x += gap + length;
  }

  MeasureXTitle(surface, data, settings, m);
  return g.fontSize;
}

std::int32_t LayoutTernary(Surface& surface, PlotContext& ctx) {
  const GraphicSettings& g = ctx.settings.graphic;
  if (ctx.data.ColumnTable.size() == 0) return g.modeFontSize;
  TextMetrics& m = ctx.render.metrics;
  m = TextMetrics{};
  SelectPlotFont(surface, g.fontName.view(), g.modeFontSize, kFontBold, 0);
  m.labelHeight = TextLineHeight(surface);

  // The side shrinks in steps of 10 until the triangle with two label lines below and two
  // above fits the height less 15. It never goes below 0: on a graphic too low even for the
  // labels the triangle is empty (a negative side would make the triangle grow again).
  const std::int64_t labels = 4 * std::int64_t{m.labelHeight} + marginBottom + 3 * marginTop;
  const std::int64_t limit = std::int64_t{g.graphicHeight} - 15;
  const double root = std::sqrt(0.75);  // h = sqrt(s^2 - (s/2)^2) = s * sqrt(0.75)
  auto heightOf = [](double s) { return std::sqrt(s * s - (0.5 * s) * (0.5 * s)); };
  auto fits = [&](double s) { return labels + ToInt32(heightOf(s)) <= limit; };
  double s = 0.75 * (static_cast<double>(g.graphicWidth) - 3.0 * (marginLeft + marginRight));
  if (s < 0.0) s = 0.0;
  // A huge width from a template must not cost millions of steps: skip the sides that are
  // certainly too large (they stay on the same grid of steps of 10 from the start).
  const double largestFit = (static_cast<double>(limit - labels) + 1.0) / root;
  if (s - largestFit > 30.0) s -= 10.0 * (std::floor((s - largestFit) / 10.0) - 1.0);
  while (s > 0.0 && !fits(s)) s -= 10.0;
  if (s < 0.0) s = 0.0;
  const std::int32_t h = ToInt32(heightOf(s));

  ColumnRecord& x = ctx.data.column(0);
  x.originX = 3 * marginLeft;
  x.originY = Saturate32(std::int64_t{h} + 3 * marginTop + 2 * std::int64_t{m.labelHeight});
  x.extentX = ToInt32(s);
  x.extentY = h;
  return g.modeFontSize;
}

std::int32_t LayoutPhase(Surface& surface, PlotContext& ctx) {
  const GraphicSettings& g = ctx.settings.graphic;
  if (ctx.data.ColumnTable.size() == 0) return g.modeFontSize;
  TextMetrics& m = ctx.render.metrics;
  m = TextMetrics{};
  std::int64_t side =
      ToInt32(0.75 * (static_cast<double>(g.graphicWidth) - 3.0 * (marginLeft + marginRight)));
  SelectPlotFont(surface, g.fontName.view(), g.modeFontSize, kFontBold, 0);
  m.labelHeight = TextLineHeight(surface);
  const std::int64_t w = TextWidth(surface, "270\u00B0");

  // Shrink in steps of 10 until the circle and its label lines fit the height, in one step
  // rather than a loop (the width may be huge). Like the triangle, the side stops at 0.
  const std::int64_t room =
      std::int64_t{g.graphicHeight} -
      (3 * std::int64_t{marginBottom} + marginTop + 4 * std::int64_t{m.labelHeight});
  if (side > room) side -= 10 * ((side - room + 9) / 10);
  if (side < 0) side = 0;

  ColumnRecord& x = ctx.data.column(0);
  x.originX = Saturate32(side / 2 + w + 3 * marginLeft);
  x.originY = Saturate32(marginTop + std::int64_t{m.labelHeight} + side - side / 2);
  x.extentX = Saturate32(side);
  x.extentY = Saturate32(side);
  return g.modeFontSize;
}

namespace {

// One axis's mapping along a frame edge: device = value * scale - offset.
struct AxisMap {
  float scale = 0.0f;
  float offset = 0.0f;
};

float ScaleOf(std::int64_t extent, double d) {
  return ToFloat32(static_cast<double>(extent) / d);
}

// The common axis along the frame edge [origin, origin + extent]. Normal axes start at the
// minimum, flipped ones at the maximum; with clipping the axis ends at the last X value when
// that lies before its end.
AxisMap MapXAxis(float a, float b, bool normal, std::int32_t& origin, std::int32_t& extent,
                 bool clip, bool hasLast, float last) {
  AxisMap m;
  double d = 0.0, base = 0.0;
  if (normal) {
    d = static_cast<double>(b) - a;
    base = d > 0.0 ? a : b;
  } else {
    d = static_cast<double>(a) - b;
    base = d >= 0.0 ? b : a;
  }
  if (!(std::fabs(d) > 0.0)) return m;
  const std::int64_t o = origin;
  std::int64_t e = extent;
  m.scale = ScaleOf(e, d);
  m.offset = ToFloat32(base * m.scale - (d > 0.0 ? o : e + o));
  if (!clip || !hasLast) return m;

  const std::int64_t position = ToInt32(MapToDevice(m.scale, m.offset, last));
  if (position >= e + o) return m;
  // The last value must lie beyond the axis start: at the start the shortened axis would have
  // no length (a division by zero), before it an inverted one.
  if (!(static_cast<double>(last) > base)) return m;
  const std::int64_t shortened = d > 0.0 ? position - o : e + o - position;
  if (shortened < 1) return m;
  e = shortened;
  if (d > 0.0) {
    m.scale = ScaleOf(e, static_cast<double>(last) - base);
    m.offset = ToFloat32(base * m.scale - static_cast<double>(o));
  } else {
    m.scale = ScaleOf(e, base - static_cast<double>(last));
    m.offset = ToFloat32(base * m.scale - static_cast<double>(e + o));
  }
  extent = Saturate32(e);
  return m;
}

// The parameter's own value axis, from its minimum (or, reversed, its maximum) at the origin.
AxisMap MapValueAxis(float a, float b, bool reversed, std::int32_t origin, std::int32_t extent) {
  AxisMap m;
  const double d = reversed ? static_cast<double>(a) - b : static_cast<double>(b) - a;
  if (!(std::fabs(d) > 0.0)) return m;
  m.scale = ScaleOf(extent, d);
  m.offset = ToFloat32(static_cast<double>(reversed ? b : a) * m.scale - origin);
  return m;
}

}  // namespace

void ComputeAxisTransforms(DataModel& data, const PlotSettings& settings) {
  if (!TablesHoldParameters(data, settings)) return;
  const int lastRecord = std::min<std::int32_t>(data.ParameterCount, kMaxParameter);
  for (int c = 0; c <= lastRecord; ++c) {
    ColumnRecord& r = data.column(c);
    r.xScale = r.xOffset = r.yScale = r.yOffset = 0.0f;
  }
  const PlotMode mode = settings.graphic.plotMode;
  if (mode != kHorizontal && mode != kVertical) return;

  const ColumnRecord& xColumn = data.column(0);
  const std::int64_t lastItem = std::int64_t{xColumn.itemBase} + xColumn.itemCount;
  const bool hasLast = xColumn.itemCount >= 1 && lastItem >= 0 &&
                       static_cast<std::uint64_t>(lastItem) < data.NumericItemTable.size();
  const float last = hasLast ? data.item(lastItem).value : 0.0f;
  const bool clip = settings.graphic.clipXAxis != 0;
  const std::int32_t xReverse = settings.record(0).reverseRange;

  for (int p = 1; p <= kMaxParameter; ++p) {
    const ParameterSettings& s = settings.record(p);
    if (s.plotState <= 0) continue;
    ColumnRecord& c = data.column(p);
    const bool reversed = s.reverseRange != 0;
    if (mode == kHorizontal) {
      const AxisMap xm = MapXAxis(c.xRangeMinimum, c.xRangeMaximum, xReverse == 0, c.originX,
                                  c.extentX, clip, hasLast, last);
      c.xScale = xm.scale;
      c.xOffset = xm.offset;
      const AxisMap ym =
          MapValueAxis(c.yRangeMinimum, c.yRangeMaximum, reversed, c.originY, c.extentY);
      c.yScale = ym.scale;
      c.yOffset = ym.offset;
    } else {
      const AxisMap xm = MapXAxis(c.xRangeMinimum, c.xRangeMaximum, xReverse == 1, c.originY,
                                  c.extentY, clip, hasLast, last);
      c.yScale = xm.scale;
      c.yOffset = xm.offset;
      const AxisMap vm =
          MapValueAxis(c.yRangeMinimum, c.yRangeMaximum, reversed, c.originX, c.extentX);
      c.xScale = vm.scale;
      c.xOffset = vm.offset;
    }
  }
}

}  // namespace sx
