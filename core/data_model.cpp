#include "core/data_model.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace sx {

void ClearDataModel(DataModel& data) {
  for (int c = 0; c <= kMaxParameter; ++c) {
    ColumnRecord& col = data.column(c);
    col.label.clear();
    col.groupName.clear();
    col.groupSize = 0;
    col.itemCount = 0;
    col.rgbColumn = 0;
    col.xRangeMinimum = col.xRangeMaximum = 0.0f;
    col.yRangeMinimum = col.yRangeMaximum = 0.0f;
  }
  // Only row and value: the quality code of a stale item is never read without its row.
  NumericItem* items = data.NumericItemTable.data();
  const std::size_t n = std::min(data.NumericItemTable.size(), data.numericItemsWritten);
  for (std::size_t i = 0; i < n; ++i) {
    items[i].row = 0;
    items[i].value = 0.0f;
  }
}

void ForgetDataFile(DataModel& data) {
  data.DataFilePath.clear();
  data.DataDirectory.clear();
  data.DataFileName.clear();
  data.ParameterCount = kNoData;
}

void SetDataFilePath(DataModel& data, std::string_view path) {
  data.DataFilePath.assign(path);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) {
    data.DataDirectory.clear();
    data.DataFileName.assign(path);
  } else {
    data.DataDirectory.assign(path.substr(0, slash + 1));
    data.DataFileName.assign(path.substr(slash + 1));
  }
}

std::string FormatDataInfo(const DataModel& data) {
  const long columns = static_cast<long>(data.ParameterCount) + 1;
  const long lines = data.ParameterCount >= 1 ? data.rowCount() : 0;
  char text[160];
  std::snprintf(text, sizeof text,
                "Number of columns: %d\nNumber of lines: %ld\nNumber of items: %ld",
                static_cast<int>(columns), lines, lines * columns);
  return text;
}

}  // namespace sx
