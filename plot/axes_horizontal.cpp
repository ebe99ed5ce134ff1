// Axes of the Horizontal mode: the X axis runs across the bottom of every strip, each parameter's
// value axis up the left side of its strip.

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

// An upright text (turned by 90 degrees) centred on `centre` along the strip, as the names beside
// the strips stand. One longer than its room is cut and stays centred.
void UprightCentred(AxisPass& pass, std::string_view text, std::int64_t x, std::int64_t centre,
                    const TextBox& room) {
  const std::int64_t w = Width(pass, text);
  if (centre + w / 2 - w >= room.top && centre + w / 2 <= room.bottom) {
    Fitted(pass, text, x, centre + w / 2, 0, 0, room);
  } else {
    Fitted(pass, text, x, centre, 0, 2, room);
  }
}

}  // namespace

void DrawHorizontalLabels(AxisPass& pass) {
  const DataModel& data = pass.ctx.data;
  const TextMetrics& m = pass.metrics();
  const int count = LabelledCount(pass);
  StripRooms rooms;
  MakeStripRooms(pass, count, false, rooms);
  for (int i = 0; i < count; ++i) {
    const int p = pass.plotted[i];
    const ParameterSettings& r = pass.ctx.settings.record(p);
    const ColumnRecord& c = data.column(p);
    const NameAndUnit parts = SplitLabel(c);
    const std::int64_t top = std::int64_t{c.originY} + c.extentY;
    const std::int64_t centre = std::int64_t{c.originY} + c.extentY / 2;
    const bool upright = r.textOrientation == 90;
    // An upright text stays beside its own strip, half the gaps to its neighbours included.
    const TextBox room{-kNoLimit, rooms.Lo(i), kNoLimit, rooms.Hi(i)};
    if (upright) {
      const std::int64_t x =
          std::int64_t{c.originX} - m.labelHeight - m.numberHeight - m.maxNumberWidth - pass.t - 15;
      SelectFont(pass, 0, kFontBold, 90);
      UprightCentred(pass, parts.name.view(), x, centre, room);
      if (CharacterCount(parts.unit.view()) > 2) {
        SelectFont(pass, -2, 0, 90);
        UprightCentred(pass, parts.unit.view(), x + m.labelHeight + 3, centre, room);
      }
    } else {
      std::string text(parts.name.view());
      text += ' ';
      text += parts.unit.view();
      if (CharacterCount(text) > 1) {
        SelectFont(pass, 0, 0, 0);
        Fitted(pass, text, marginLeft, top + m.labelHeight, m.labelHeight, 0);
      }
    }
    const std::string_view group = c.groupName.view();
    if (data.GroupedColumnCount >= 1 && r.showGroupLabel != 0 && !group.empty()) {
      if (upright) {
        SelectFont(pass, 2, kFontBold, 90);
        // Centred beside its strip where it fits beside the group's strips; otherwise it starts
        // at the group's lower end.
        const int last = LastOfGroup(pass, count, i);
        const TextBox groupRoom{-kNoLimit, std::min(rooms.Lo(i), rooms.Lo(last)), kNoLimit,
                                std::max(rooms.Hi(i), rooms.Hi(last))};
        const std::int64_t w = Width(pass, group);
        if (centre + w / 2 - w >= groupRoom.top && centre + w / 2 <= groupRoom.bottom) {
          Fitted(pass, group, marginLeft, centre + w / 2, 0, 0, groupRoom);
        } else {
          const ColumnRecord& end = data.column(pass.plotted[last]);
          const std::int64_t lower = std::max({std::int64_t{c.originY}, std::int64_t{end.originY},
                                               std::int64_t{end.originY} + end.extentY});
          Fitted(pass, group, marginLeft, std::min(lower, groupRoom.bottom), 0, 0, groupRoom);
        }
      } else {
        SelectFont(pass, 2, kFontBold, 0);
        Fitted(pass, group, marginLeft, top - m.titleHeight / 2, m.titleHeight, 0);
      }
    }
  }
}

void DrawHorizontalXTitle(AxisPass& pass) {
  const DataModel& data = pass.ctx.data;
  const TextMetrics& m = pass.metrics();
  const ColumnRecord& x = data.column(0);
  const NameAndUnit parts = SplitLabel(x);
  const std::int64_t left = x.originX;
  const std::int64_t right = left + x.extentX;
  const std::int64_t y = std::int64_t{x.originY} + m.labelHeight + m.numberHeight + 6 + pass.t;
  const std::int64_t start =
      left + x.extentX / 2 - (std::int64_t{m.spaceWidth} + m.xUnitWidth + m.xNameWidth) / 2;
  SelectFont(pass, 0, kFontBold, 0);
  Fitted(pass, parts.name.view(), start, y, m.labelHeight, 0);
  if (!parts.unit.empty()) {
    SelectFont(pass, 0, 0, 0);
    Fitted(pass, parts.unit.view(), start + m.xNameWidth + m.spaceWidth, y, m.labelHeight, 0);
  }
  SelectFont(pass, -2, 0, 0);
  Fitted(pass, MaxNoteText(data), right, y, m.labelHeight, 1);

  // The stamp and the credit share the last line, which is all the layout leaves below the
  // axis. Where they would meet the credit keeps at most the right half of the axis and the
  // stamp is cut before it.
  const std::int64_t stampY = y + 3 + m.numberHeight;
  const std::string stamp = StampText(pass.graphic(), true);
  const std::string_view credit = CreditLine(pass.graphic());
  if (!credit.empty()) {
    TextBox room = kAnyRoom;
    if (!stamp.empty()) {
      const std::int64_t clearance = pass.ctx.texts ? pass.ctx.texts->clearance() : 0;
      room.left = std::min(left + Width(pass, stamp) + clearance, left + x.extentX / 2);
    }
    SelectFont(pass, -4, 0, 0);
    Fitted(pass, credit, right, stampY, m.labelHeight, 1, room);
  }
  if (!stamp.empty()) {
    if (!credit.empty()) SelectFont(pass, -2, 0, 0);
    Fitted(pass, stamp, left, stampY, m.labelHeight, 0);
  }
}

void DrawHorizontalXTicks(AxisPass& pass) {
  if (pass.plotted.count < 1) return;
  const DataModel& data = pass.ctx.data;
  const ParameterSettings& x = pass.ctx.settings.record(0);
  AxisLine line;
  TickPlan plan;
  const ColumnRecord* strip = nullptr;
  for (int i = 0; i < pass.plotted.count; ++i) {
    strip = &data.column(pass.plotted[i]);
    const ColumnRecord& c = *strip;
    // The marks sit on the bottom edge and point up into the frame when inside.
    line = MakeAxisLine(true, c.originX, std::int64_t{c.originX} + c.extentX, c.originY,
                        std::int64_t{c.originY} + c.extentY, -1, c.xScale, c.xOffset);
    plan = MakeTickPlan(c.xRangeMinimum, c.xRangeMaximum, x.tickIncrement, x.minorTicks, c.xScale);
    DrawTicksAndGrid(pass, line, x, plan, false);
    DrawReferenceLine(pass, line, x.referenceLine, false);
  }
  // The numbers go once, under the lowest strip.
  const TextMetrics& m = pass.metrics();
  AlongLabels labels;
  labels.y = std::int64_t{data.column(0).originY} + m.numberHeight + 3 + pass.t;
  labels.dy = m.numberHeight;
  labels.reversed = x.reverseRange != 0;
  labels.startValue = labels.reversed ? strip->xRangeMaximum : strip->xRangeMinimum;
  labels.endValue = labels.reversed ? strip->xRangeMinimum : strip->xRangeMaximum;
  DrawAlongLabels(pass, line, plan, XLabelFormat(pass.ctx, *strip), labels);
}

void DrawHorizontalValueAxes(AxisPass& pass) {
  const DataModel& data = pass.ctx.data;
  const TextMetrics& m = pass.metrics();
  for (int i = 0; i < pass.plotted.count; ++i) {
    const int p = pass.plotted[i];
    const ParameterSettings& r = pass.ctx.settings.record(p);
    const ColumnRecord& c = data.column(p);
    if (r.plotState != 1 || c.itemCount < 1) continue;
    // The marks sit on the left edge and point right into the frame when inside.
    const AxisLine line =
        MakeAxisLine(false, c.originY, std::int64_t{c.originY} + c.extentY, c.originX,
                     std::int64_t{c.originX} + c.extentX, 1, c.yScale, c.yOffset);
    const TickPlan plan =
        MakeTickPlan(c.yRangeMinimum, c.yRangeMaximum, r.tickIncrement, r.minorTicks, c.yScale);
    DrawTicksAndGrid(pass, line, r, plan, false);
    if (r.colorize <= 0) DrawReferenceLine(pass, line, r.referenceLine, true);

    StackedLabels labels;
    labels.x = std::int64_t{c.originX} - pass.t - 6;
    labels.startAtBottom = r.reverseRange == 0;
    // A narrow gap leaves no room for the top number next to the bottom number of the strip
    // above.
    labels.dropLast = p != 1 && pass.graphic().plotDistance <= m.halfNumberHeight;
    LabelFormat format;
    format.format = r.format.view();
    DrawStackedLabels(pass, line, plan, format, labels);
    if (pass.graphic().allInOne != 0) break;
  }
}

}  // namespace sx::axes
