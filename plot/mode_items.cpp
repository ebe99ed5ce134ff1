#include "plot/mode_items.h"

namespace sx {

bool ModeTablesReady(const DataModel& data, const PlotSettings& settings) {
  return data.ColumnTable.size() > static_cast<std::size_t>(kMaxParameter) &&
         settings.ParameterSettingsTable.size() > static_cast<std::size_t>(kMaxParameter);
}

int LastModeColumn(const DataModel& data) {
  return std::clamp(data.ParameterCount, 0, kMaxParameter);
}

ModeItem SelectModeColumns(const PlotSettings& settings, const ModeGroup& group, int want) {
  ModeItem item;
  want = std::clamp(want, 0, kTernaryColumns);
  if (!ItemsByParameters(settings.graphic)) {
    if (group.size < want) return item;
    for (int i = 0; i < want; ++i)
      item.columns[static_cast<std::size_t>(i)] = group.firstColumn + i;
    item.found = want;
    return item;
  }
  for (int i = 0; i < group.size && item.found < want; ++i) {
    const int c = group.firstColumn + i;
    if (settings.record(c).plotState >= 1) {
      item.columns[static_cast<std::size_t>(item.found++)] = c;
    }
  }
  return item;
}

ColumnCursor CursorOf(const DataModel& data, int column) {
  const ColumnRecord& r = data.column(column);
  const std::int64_t items = static_cast<std::int64_t>(data.NumericItemTable.size());
  if (r.itemBase < 0 || r.itemCount < 1) return {};
  const std::int64_t first = std::int64_t{r.itemBase} + 1;
  return {first, std::min(first + r.itemCount, items)};
}

}  // namespace sx
