#include "core/data_model.h"

#include <algorithm>

namespace sx {

void ClearDataModel(DataModel& data) {
  for (int c = 0; c <= kMaxParameter; ++c) {
    ColumnRecord& col = data.column(c);
    col.label.clear();
    col.groupName.clear();
    col.groupSize = 0;
    col.itemCount = 0;
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

}  // namespace sx
