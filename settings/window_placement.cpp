#include "settings/window_placement.h"

namespace sx {

WindowPlacements DefaultWindowPlacement(std::int32_t screenWidth, std::int32_t screenHeight) {
  const std::int32_t w = screenWidth;
  const std::int32_t h = screenHeight;
  WindowPlacements p;
  const std::int32_t fw = w - 2 * (w / 20);
  const std::int32_t fh = h - 2 * (h / 20);
  p.FramePlacement = {w / 20, h / 20, fw, fh};
  const std::int32_t childWidth = fw - fw / 25 - 20;
  const std::int32_t childHeight = fh - fh / 15 - 60;
  p.PlotWindowPlacement = {fw / 25, fh / 15, childWidth, childHeight};
  p.DescriptionWindowPlacement = {fw / 70, fh / 70, childWidth, childHeight};
  return p;
}

}  // namespace sx
