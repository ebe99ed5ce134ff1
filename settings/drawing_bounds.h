#pragma once
// Sizes from settings files bounded to what a picture can show. A template or a preference file
// may hold any number for a marker size, a line width or an axis length; drawn as they are, a
// few such numbers make a plot take minutes (every marker as large as the picture, every curve
// as wide) instead of a time in proportion to the data. A plot pass therefore draws with the
// sizes bounded, and the settings keep what the user or the file gave them.

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/plot_settings.h"

namespace sx {

// Half-width of a marker symbol in screen pixels (a symbol of at most 101 pixels across).
inline constexpr std::int32_t kMaxDrawnMarkerSize = 50;
// Width of a line or frame in screen pixels.
inline constexpr std::int32_t kMaxDrawnLineWidth = 50;
// Font sizes in points: a line of text of this size is half as high as a large screen.
inline constexpr std::int32_t kMaxDrawnFontSize = 400;
// Lengths and distances in device units (axis lengths, column widths, the distance between
// plots, the graphic size): no picture has a longer side.
inline constexpr std::int32_t kMaxDrawnLength = 32767;

// Bounds the drawing sizes of the settings for its lifetime: each is cut to the range
// -maximum..maximum above. The values it cut are put back when it ends, unless the pass changed
// them meanwhile.
class BoundedDrawingSizes {
 public:
  explicit BoundedDrawingSizes(PlotSettings& settings);
  ~BoundedDrawingSizes();
  BoundedDrawingSizes(const BoundedDrawingSizes&) = delete;
  BoundedDrawingSizes& operator=(const BoundedDrawingSizes&) = delete;

 private:
  // One bounded field: its value before and after bounding.
  struct Kept {
    std::int32_t stored = 0, bounded = 0;
  };
  static constexpr std::size_t kRecordFieldCount = 6;
  static constexpr std::size_t kGraphicFieldCount = 6;

  PlotSettings& settings_;
  std::size_t records_ = 0;
  std::array<std::array<Kept, kRecordFieldCount>, kSettingsRecords> recordSizes_{};
  std::array<Kept, kGraphicFieldCount> graphicSizes_{};
};

}  // namespace sx
