#pragma once
// The parameters a profile plot shows, in strip order: plotState > 0, in index order, at most
// plottedCount. The layout places their strips and the axes draw them, so both take the list
// from here.

#include <array>
#include <cstddef>

#include "settings/plot_settings.h"

namespace sx {

struct PlottedList {
  std::array<int, kMaxParameter> index{};
  int count = 0;
  int operator[](int i) const { return index[static_cast<std::size_t>(i)]; }
};

inline PlottedList CollectPlotted(const PlotSettings& settings) {
  PlottedList list;
  const std::int32_t limit = settings.graphic.plottedCount;
  for (int p = 1; p <= kMaxParameter && list.count < limit; ++p) {
    if (settings.record(p).plotState > 0) list.index[static_cast<std::size_t>(list.count++)] = p;
  }
  return list;
}

}  // namespace sx
