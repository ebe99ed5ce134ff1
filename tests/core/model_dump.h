#pragma once
// Everything a load puts into the data model, as text for readable comparisons: the counts, the
// x column's kind, every column's names and items (values to the last bit) and the text items
// and description lines.

#include <iomanip>
#include <sstream>
#include <string>

#include "core/data_model.h"

namespace sx {

inline std::string DumpModel(const DataModel& d) {
  std::ostringstream out;
  out << std::setprecision(9) << "N " << d.ParameterCount << " rows " << d.rowCount() << " groups "
      << d.GroupCount << " grouped " << d.GroupedColumnCount << " skipped " << d.skippedColumns
      << " date " << d.XIsDate << " time " << d.XIsTime << " offset " << d.DateOffset << " cp1252 "
      << d.sourceHadCp1252 << "\n";
  for (int c = 0; c <= d.ParameterCount; ++c) {
    const ColumnRecord& col = d.column(c);
    out << c << " [" << col.label.view() << "] [" << col.groupName.view() << "] " << col.groupSize
        << " " << col.itemCount << ":";
    for (int k = 1; k <= col.itemCount; ++k) {
      const NumericItem& item = d.item(col.itemBase + k);
      out << " " << item.flag << "/" << item.row << "/" << item.value;
    }
    out << "\n";
  }
  for (int t = 1; t <= d.TextItemCount; ++t) {
    const TextItem& item = d.TextItemTable[static_cast<std::size_t>(t)];
    out << "text " << item.column << " " << item.position << " " << item.text.view() << "\n";
  }
  for (int i = 1; i <= d.DescriptionLineCount; ++i) {
    const DescriptionLine& line = d.DescriptionTable[static_cast<std::size_t>(i)];
    out << "desc [" << line.label.view() << "] [" << line.value.view() << "]\n";
  }
  return out.str();
}

}  // namespace sx
