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

bool AnyItemDrawn(const DataModel& data, const PlotSettings& settings, int want) {
  if (!ModeTablesReady(data, settings)) return false;
  const bool byParameters = ItemsByParameters(settings.graphic);
  bool drawn = false;
  ForEachModeGroup(data, [&](const ModeGroup& group) {
    if (drawn || (!byParameters && settings.record(group.group).modeSelected <= 0)) return;
    const ModeItem item = SelectModeColumns(settings, group, want);
    if (item.found < want) return;
    const auto anyRow = [&](const auto& columns) {
      ForEachCommonRow(data, columns, [&](const auto&) { drawn = true; });
    };
    if (want == kTernaryColumns) {
      anyRow(item.columns);
    } else {
      anyRow(std::array<int, kPhaseColumns>{item.columns[0], item.columns[1]});
    }
  });
  return drawn;
}

}  // namespace sx
