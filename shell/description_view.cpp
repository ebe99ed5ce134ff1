#include "shell/description_view.h"

#include <algorithm>
#include <string_view>

#include "core/device_int.h"

namespace sx {
namespace {

std::int32_t Clamp(std::int32_t increment, std::int32_t pos, std::int32_t max) {
  return std::clamp(increment, -pos, std::max(0, max - pos));
}

}  // namespace

void FindLongestRows(DescriptionView& view, const DataModel& data) {
  // Characters, not bytes: a label of accented letters is no longer than one of plain ones.
  const auto characters = [](std::string_view text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  };
  const std::int32_t count = std::min<std::int32_t>(
      data.DescriptionLineCount, static_cast<std::int32_t>(data.DescriptionTable.size()) - 1);
  std::ptrdiff_t longestLabel = -1, longestValue = -1;
  for (std::int32_t row = 1; row <= count; ++row) {
    const DescriptionLine& line = data.DescriptionTable[static_cast<std::size_t>(row)];
    const std::ptrdiff_t label = characters(line.label.view());
    const std::ptrdiff_t value = characters(line.value.view());
    if (label > longestLabel) {
      view.longestLabelRow = row;
      longestLabel = label;
    }
    if (value > longestValue) {
      view.longestValueRow = row;
      longestValue = value;
    }
  }
}

void SetDescriptionMetrics(DescriptionView& view, std::int32_t charWidth, std::int32_t lineHeight,
                           std::int32_t labelExtent, std::int32_t valueExtent) {
  view.charWidth = std::max(1, charWidth);
  view.lineHeight = std::max(1, lineHeight);
  view.labelColumnWidth = Saturate32(std::int64_t{labelExtent} + view.charWidth);
  view.valueWidth = valueExtent;
  view.textWidth = Saturate32(std::int64_t{view.labelColumnWidth} + view.valueWidth + 5);
}

void UpdateScrollRanges(DescriptionView& view, std::int32_t lineCount) {
  view.vScrollMax = std::max(0, lineCount - view.clientHeight / view.lineHeight + 2);
  view.vScrollPos = std::min(view.vScrollPos, view.vScrollMax);
  view.hScrollMax = std::max(0, (view.textWidth - view.clientWidth) / view.charWidth + 2);
  view.hScrollPos = std::min(view.hScrollPos, view.hScrollMax);
}

std::int32_t VerticalIncrement(const DescriptionView& view, ScrollAction action,
                               std::int32_t thumb) {
  const std::int32_t page = view.clientHeight / view.lineHeight;
  switch (action) {
    case ScrollAction::kLineBack:
      return -1;
    case ScrollAction::kLineForward:
      return 1;
    case ScrollAction::kPageBack:
      return std::min(-1, -page);
    case ScrollAction::kPageForward:
      return std::max(1, page);
    case ScrollAction::kThumbTrack:
      return thumb - view.vScrollPos;
    case ScrollAction::kStart:
      return -view.vScrollPos;
    case ScrollAction::kEnd:
      return view.vScrollMax - view.vScrollPos;
    default:
      return 0;
  }
}

std::int32_t HorizontalIncrement(const DescriptionView& view, ScrollAction action,
                                 std::int32_t thumb) {
  switch (action) {
    case ScrollAction::kLineBack:
      return -1;
    case ScrollAction::kLineForward:
      return 1;
    case ScrollAction::kPageBack:
      return -8;
    case ScrollAction::kPageForward:
      return 8;
    case ScrollAction::kThumbPosition:
      return thumb - view.hScrollPos;
    default:
      return 0;
  }
}

std::int32_t ScrollVertically(DescriptionView& view, ScrollAction action, std::int32_t thumb) {
  const std::int32_t step =
      Clamp(VerticalIncrement(view, action, thumb), view.vScrollPos, view.vScrollMax);
  view.vScrollPos += step;
  return step;
}

std::int32_t ScrollHorizontally(DescriptionView& view, ScrollAction action, std::int32_t thumb) {
  const std::int32_t step =
      Clamp(HorizontalIncrement(view, action, thumb), view.hScrollPos, view.hScrollMax);
  view.hScrollPos += step;
  return step;
}

RowSpan RowsToPaint(const DescriptionView& view, std::int32_t lineCount, std::int32_t paintTop,
                    std::int32_t paintBottom) {
  return {std::max(0, view.vScrollPos + paintTop / view.lineHeight - 1),
          std::min(lineCount, view.vScrollPos + paintBottom / view.lineHeight)};
}

RowOrigin RowPosition(const DescriptionView& view, std::int32_t row) {
  return {Saturate32(std::int64_t{view.charWidth} * (1 - std::int64_t{view.hScrollPos})),
          Saturate32(std::int64_t{view.lineHeight} * (std::int64_t{row} - view.vScrollPos))};
}

}  // namespace sx
