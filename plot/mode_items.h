#pragma once
// The items of the Ternary and Phase plots. Both draw per column group g (whose style is
// settings record g): by groups the group's first columns, by parameters the first columns of the
// group that the user selected. A composition or a vector takes its values from one data row,
// so the columns of an item are walked together, row by row.

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/data_model.h"
#include "settings/plot_settings.h"

namespace sx {

// modeEntityKind: the items are the column groups (1) or the selected parameters (2).
inline constexpr std::int32_t kItemsByGroups = 1;
inline constexpr std::int32_t kItemsByParameters = 2;

// Columns per item: a ternary triplet, a phase pair.
inline constexpr int kTernaryColumns = 3;
inline constexpr int kPhaseColumns = 2;

// The corner (or pair) name of a component without a column.
inline constexpr const char* kMissingComponentName = "????";

// Whether the tables are large enough for every group and record number 1..256.
bool ModeTablesReady(const DataModel& data, const PlotSettings& settings);

// One column group: its number, its first column and its number of columns, all within the
// loaded columns 1..min(ParameterCount, 256).
struct ModeGroup {
  int group = 0;
  int firstColumn = 0;
  int size = 0;
};

// The last column a group may use.
int LastModeColumn(const DataModel& data);

// Calls visit(ModeGroup) for groups 1..GroupCount in order, as long as they start within the
// loaded columns. Tables must be ready.
template <typename Visit>
void ForEachModeGroup(const DataModel& data, Visit&& visit) {
  const std::int64_t last = LastModeColumn(data);
  const int groups = std::clamp(data.GroupCount, 0, kMaxParameter);
  std::int64_t first = 1;
  for (int g = 1; g <= groups && first <= last; ++g) {
    const std::int64_t declared = std::max(data.column(g).groupSize, 0);
    const std::int64_t size = std::min(declared, last - first + 1);
    visit(ModeGroup{g, static_cast<int>(first), static_cast<int>(size)});
    first += declared;
  }
}

// The columns of one item: the first `want` columns of the group (by groups, when the group has
// that many) or its first `want` columns with plotState >= 1 (by parameters). `found` counts the
// columns found; an item is drawn only when found == want.
struct ModeItem {
  std::array<int, kTernaryColumns> columns{};
  int found = 0;
};
ModeItem SelectModeColumns(const PlotSettings& settings, const ModeGroup& group, int want);

// Whether the item selector is "by parameters"; any other value means groups.
inline bool ItemsByParameters(const GraphicSettings& g) {
  return g.modeEntityKind == kItemsByParameters;
}

// Item indices first .. end-1 of a column, within the numeric table.
struct ColumnCursor {
  std::int64_t next = 0;
  std::int64_t end = 0;
};
ColumnCursor CursorOf(const DataModel& data, int column);

// Calls visit(values) with the values of the columns for every data row that has a value in all
// of them, in row order. A row missing in one column is left out instead of pairing values of
// different rows.
template <std::size_t N, typename Visit>
void ForEachCommonRow(const DataModel& data, const std::array<int, N>& columns, Visit&& visit) {
  std::array<ColumnCursor, N> cursor{};
  for (std::size_t i = 0; i < N; ++i) cursor[i] = CursorOf(data, columns[i]);
  std::array<float, N> values{};
  for (;;) {
    // The largest current row is the earliest row all columns may still share; every cursor
    // behind it moves up, so each round either draws a row or advances a cursor.
    std::int32_t target = 0;
    for (ColumnCursor& c : cursor) {
      if (c.next >= c.end) return;
      target = std::max(target, data.item(c.next).row);
    }
    if (target <= 0) target = 1;
    bool shared = true;
    for (ColumnCursor& c : cursor) {
      while (c.next < c.end && data.item(c.next).row < target) ++c.next;
      if (c.next >= c.end) return;
      if (data.item(c.next).row != target) shared = false;
    }
    if (!shared) continue;
    for (std::size_t i = 0; i < N; ++i) values[i] = data.item(cursor[i].next++).value;
    visit(values);
  }
}

// Whether any item of the mode (want columns each) is drawn: selected, with all its columns,
// and with values in all of them in one data row at least.
bool AnyItemDrawn(const DataModel& data, const PlotSettings& settings, int want);

}  // namespace sx
