#pragma once
// The data description window's view: the metrics of its two columns, the scroll ranges and
// every scroll step, and which rows a paint draws where. The window measures the font and
// draws; the arithmetic lives here so that it is the same on every platform.

#include <cstdint>

#include "core/data_model.h"

namespace sx {

struct DescriptionView {
  std::int32_t clientWidth = 0, clientHeight = 0;
  std::int32_t lineHeight = 1;  // font height plus external leading
  std::int32_t charWidth = 1;   // average character width
  std::int32_t labelColumnWidth = 0, valueWidth = 0, textWidth = 0;
  std::int32_t longestLabelRow = 0, longestValueRow = 0;
  std::int32_t vScrollPos = 0, vScrollMax = 0;
  std::int32_t hScrollPos = 0, hScrollMax = 0;
};

// The first rows with the most characters in label and value (rows 1..DescriptionLineCount);
// left as they were when there are no rows.
void FindLongestRows(DescriptionView& view, const DataModel& data);

// The metrics from the bold font's measures: labelExtent and valueExtent are the widths of the
// longest label and value. A font that reports no height or width counts as one pixel, so the
// divisions below stay defined.
void SetDescriptionMetrics(DescriptionView& view, std::int32_t charWidth, std::int32_t lineHeight,
                           std::int32_t labelExtent, std::int32_t valueExtent);

// Both scroll ranges for the client size, positions clamped into them.
void UpdateScrollRanges(DescriptionView& view, std::int32_t lineCount);

enum class ScrollAction {
  kLineBack,     // line up / left
  kLineForward,  // line down / right
  kPageBack,
  kPageForward,
  kThumbTrack,     // the thumb being dragged
  kThumbPosition,  // the thumb released
  kStart,          // top
  kEnd,            // bottom
  kOther,
};

// The step of one scroll action before clamping; thumb is the thumb's position for the thumb
// actions.
std::int32_t VerticalIncrement(const DescriptionView& view, ScrollAction action,
                               std::int32_t thumb);
std::int32_t HorizontalIncrement(const DescriptionView& view, ScrollAction action,
                                 std::int32_t thumb);

// Applies a scroll action: the step clamped to [-pos, max - pos] moves the position. Returns
// the step taken (0: nothing happens).
std::int32_t ScrollVertically(DescriptionView& view, ScrollAction action, std::int32_t thumb);
std::int32_t ScrollHorizontally(DescriptionView& view, ScrollAction action, std::int32_t thumb);

struct RowSpan {
  std::int32_t first = 0, last = -1;  // inclusive; empty when last < first
};
// The rows a paint of the band paintTop..paintBottom draws.
RowSpan RowsToPaint(const DescriptionView& view, std::int32_t lineCount, std::int32_t paintTop,
                    std::int32_t paintBottom);

struct RowOrigin {
  std::int32_t x = 0, y = 0;  // the label's top left; the value starts labelColumnWidth right
};
RowOrigin RowPosition(const DescriptionView& view, std::int32_t row);

}  // namespace sx
