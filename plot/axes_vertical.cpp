// Axes of the Vertical mode: the X axis runs down the left side of every strip, each parameter's
// value axis along the top of its strip.

#include <algorithm>
#include <string>

#include "plot/axes_common.h"
#include "render/drawing.h"

namespace sx::axes {
namespace {

// With "All in one" the strips coincide and only the first carries labels and an axis.
int LabelledCount(const AxisPass& pass) {
  return pass.graphic().allInOne != 0 ? std::min(pass.plotted.count, 1) : pass.plotted.count;
}

}  // namespace

void DrawVerticalLabels(AxisPass& pass) {
  const DataModel& data = pass.ctx.data;
  const TextMetrics& m = pass.metrics();
  const int count = LabelledCount(pass);
  StripRooms rooms;
  MakeStripRooms(pass, count, true, rooms);
  const auto centreOf = [&](int i) {
    const ColumnRecord& c = data.column(pass.plotted[i]);
    return std::int64_t{c.originX} + c.extentX / 2;
  };
  for (int i = 0; i < count; ++i) {
    const int p = pass.plotted[i];
    const ParameterSettings& r = pass.ctx.settings.record(p);
    const ColumnRecord& c = data.column(p);
    const std::int64_t centre = centreOf(i);
    const std::int64_t top = c.originY;
    // Names and units stay over their own strip, half the gaps beside it included.
    TextBox room{rooms.Lo(i), -kNoLimit, rooms.Hi(i), kNoLimit};
    if (r.showParameterLabel != 0) {
      const NameAndUnit parts = SplitLabel(c);
      if (r.textOrientation == 45 || r.textOrientation == 90) {
        std::string text(parts.name.view());
        text += ' ';
        text += parts.unit.view();
        SelectFont(pass, 0, 0, r.textOrientation);
        if (r.textOrientation == 90) {
          // Read upwards, the line's height lies to the right of the start point.
          Fitted(pass, text, centre - m.labelHeight / 2, top - (pass.t + 6), m.labelHeight, 0,
                 room);
        } else {
          // A slanted name starts over the middle of its strip and leans over the strips after
          // it: the next slanted name runs beside it a strip's width further on, and the layout
          // leaves the height for the whole name. Only another text or the picture's edge cuts
          // it short.
          room.left = centre;
          room.right = kNoLimit;
          Fitted(pass, text, centre, top - (std::int64_t{m.numberHeight} + pass.t + 3),
                 m.labelHeight, 0, room);
        }
      } else {
        const std::int64_t unitY = top - (std::int64_t{m.numberHeight} + pass.t + 6);
        if (CharacterCount(parts.unit.view()) > 2) {
          SelectFont(pass, -2, 0, 0);
          Fitted(pass, parts.unit.view(), centre, unitY, m.numberHeight, 2, room);
        }
        if (!parts.name.empty()) {
          SelectFont(pass, 0, kFontBold, 0);
          Fitted(pass, parts.name.view(), centre, unitY - (std::int64_t{m.numberHeight} + 3),
                 m.labelHeight, 2, room);
        }
      }
    }
    const std::string_view group = c.groupName.view();
    if (data.GroupedColumnCount >= 1 && r.showGroupLabel != 0 && !group.empty()) {
      SelectFont(pass, 2, kFontBold, 0);
      // Centred over its strip where it fits the group's strips; otherwise it starts at the
      // strip's left edge and is cut at the group's end.
      const TextBox groupRoom{rooms.Lo(i), -kNoLimit, rooms.Hi(LastOfGroup(pass, count, i)),
                              kNoLimit};
      const std::int64_t w = Width(pass, group);
      const std::int64_t y = std::int64_t{m.titleHeight} + 3;
      if (centre - w / 2 >= groupRoom.left && centre - w / 2 + w <= groupRoom.right) {
        Fitted(pass, group, centre, y, m.titleHeight, 2, groupRoom);
      } else {
        Fitted(pass, group, std::max<std::int64_t>(c.originX, groupRoom.left), y, m.titleHeight, 0,
               groupRoom);
      }
    }
  }
}

void DrawVerticalXTitle(AxisPass& pass) {
  if (pass.plotted.count < 1) return;
  const DataModel& data = pass.ctx.data;
  const TextMetrics& m = pass.metrics();
  const ColumnRecord& first = data.column(pass.plotted[0]);
  const NameAndUnit parts = SplitLabel(data.column(0));
  const std::int64_t x = std::int64_t{first.originX} - m.labelHeight - m.xLabelWidth - pass.t - 12;
  const bool unitShown = CharacterCount(parts.unit.view()) > 2;
  const std::int64_t length =
      std::int64_t{m.xNameWidth} + (unitShown ? std::int64_t{m.spaceWidth} + m.xUnitWidth : 0);
  // The rotated pair reads upwards from `start`, centred on the middle of the axis; y is given
  // one line height lower because the text's reference point lies dy above it.
  const std::int64_t start = std::int64_t{first.originY} + first.extentY / 2 + length / 2;
  SelectFont(pass, 0, kFontBold, 90);
  Fitted(pass, parts.name.view(), x, start + m.labelHeight, m.labelHeight, 0);
  if (unitShown) {
    SelectFont(pass, 0, 0, 90);
    Fitted(pass, parts.unit.view(), x, start - m.xNameWidth - m.spaceWidth + m.labelHeight,
           m.labelHeight, 0);
  }
  const std::int64_t bottom = std::int64_t{first.originY} + first.extentY;
  SelectFont(pass, -2, 0, 0);
  Fitted(pass, MaxNoteText(data), first.originX, bottom + 2 * std::int64_t{m.labelHeight},
         m.numberHeight, 0);
}

void DrawVerticalStamps(AxisPass& pass) {
  if (pass.plotted.count < 1) return;
  const TextMetrics& m = pass.metrics();
  const ColumnRecord& last = pass.ctx.data.column(pass.plotted[pass.plotted.count - 1]);
  const std::int64_t right = std::int64_t{last.originX} + last.extentX;
  const std::int64_t bottom = std::int64_t{last.originY} + last.extentY;
  const std::string_view credit = CreditLine(pass.graphic());
  if (!credit.empty()) {
    SelectFont(pass, -4, 0, 0);
    Fitted(pass, credit, right, bottom + m.labelHeight, m.smallHeight, 1);
  }
  const std::string stamp = StampText(pass.graphic(), false);
  if (!stamp.empty()) {
    SelectFont(pass, -2, 0, 0);
    Fitted(pass, stamp, right, bottom + 2 * std::int64_t{m.labelHeight}, m.numberHeight, 1);
  }
}

void DrawVerticalXTicks(AxisPass& pass) {
  if (pass.plotted.count < 1) return;
  const DataModel& data = pass.ctx.data;
  const ParameterSettings& x = pass.ctx.settings.record(0);
  AxisLine firstLine;
  TickPlan firstPlan;
  for (int i = 0; i < pass.plotted.count; ++i) {
    const int p = pass.plotted[i];
    const ColumnRecord& c = data.column(p);
    // The marks sit on the left edge and point right into the frame when inside.
    const AxisLine line =
        MakeAxisLine(false, c.originY, std::int64_t{c.originY} + c.extentY, c.originX,
                     std::int64_t{c.originX} + c.extentX, 1, c.yScale, c.yOffset);
    const TickPlan plan =
        MakeTickPlan(c.xRangeMinimum, c.xRangeMaximum, x.tickIncrement, x.minorTicks, c.yScale);
    DrawTicksAndGrid(pass, line, x, plan, false);
    // A colour fill reaches the reference line itself.
    if (pass.ctx.settings.record(p).colorize <= 0) {
      DrawReferenceLine(pass, line, x.referenceLine, true);
    }
    if (i == 0) {
      firstLine = line;
      firstPlan = plan;
    }
  }
  // The numbers go once, beside the leftmost strip.
  const ColumnRecord& first = data.column(pass.plotted[0]);
  StackedLabels labels;
  labels.x = std::int64_t{first.originX} - pass.t - 6;
  // With reverseRange 1 the X axis grows downwards: its minimum is at the top.
  labels.startAtBottom = x.reverseRange != 1;
  DrawStackedLabels(pass, firstLine, firstPlan, XLabelFormat(pass.ctx, first), labels);
}

void DrawVerticalValueAxes(AxisPass& pass) {
  const DataModel& data = pass.ctx.data;
  const TextMetrics& m = pass.metrics();
  for (int i = 0; i < pass.plotted.count; ++i) {
    const int p = pass.plotted[i];
    const ParameterSettings& r = pass.ctx.settings.record(p);
    const ColumnRecord& c = data.column(p);
    if (r.plotState != 1 || c.itemCount < 1) continue;
    // The marks sit on the top edge and point down into the frame when inside.
    const AxisLine line =
        MakeAxisLine(true, c.originX, std::int64_t{c.originX} + c.extentX, c.originY,
                     std::int64_t{c.originY} + c.extentY, 1, c.xScale, c.xOffset);
    const TickPlan plan =
        MakeTickPlan(c.yRangeMinimum, c.yRangeMaximum, r.tickIncrement, r.minorTicks, c.xScale);
    DrawTicksAndGrid(pass, line, r, plan, true);
    if (r.colorize <= 0) DrawReferenceLine(pass, line, r.referenceLine, true);

    AlongLabels labels;
    labels.y = std::int64_t{c.originY} - pass.t - 3;
    labels.dy = m.numberHeight;
    labels.reversed = r.reverseRange != 0;
    labels.startValue = labels.reversed ? c.yRangeMaximum : c.yRangeMinimum;
    labels.endValue = labels.reversed ? c.yRangeMinimum : c.yRangeMaximum;
    // The start number is centred on the strip's left edge, half of it in the gap to the strip
    // before; when the gap is narrower than the number it starts at the edge instead.
    labels.startCentred = true;
    if (labels.reversed || p >= 2) labels.startGap = pass.graphic().plotDistance;
    LabelFormat format;
    format.format = r.format.view();
    DrawAlongLabels(pass, line, plan, format, labels);
    if (pass.graphic().allInOne != 0) break;
  }
}

}  // namespace sx::axes
