#pragma once
// The data model of the loaded file: the column records, the numeric and text items and the
// description lines, with the counts and paths that go with them. One load replaces it whole.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/fixed_text.h"
#include "core/table.h"

namespace sx {

// Capacities that are visible in files, limits and messages.
inline constexpr int kMaxParameter = 256;       // parameters per file (columns 1..256)
inline constexpr int kColumnRecords = 601;      // records of the column table
inline constexpr int kDescriptionLines = 1000;  // description lines kept (rows 1..1000)
inline constexpr int kLineCapacity = 10000;     // characters per line read from a file
inline constexpr int kDefaultMaxNumericItems = 100000;
inline constexpr int kDefaultMaxTextItems = 2000;
inline constexpr int kMaxSkippedColumns = 4;  // event, station, latitude, longitude

// Quality codes of a cell (NumericItem::flag).
enum QualityFlag : std::int32_t {
  kFlagNotNumber = -1,
  kFlagValid = 1,         // plain number
  kFlagNotValid = 2,      // "/"
  kFlagUnknown = 3,       // "*"
  kFlagQuestionable = 4,  // "?"
  kFlagIndividual = 5,    // "#"
  kFlagGreater = 6,       // ">"
  kFlagLess = 7,          // "<"
};

struct ColumnRecord {
  FixedText<80> label;
  FixedText<80> groupName;
  std::int32_t groupSize;
  std::int32_t itemCount;
  std::int32_t originX, originY, extentX, extentY;
  float xScale, xOffset, yScale, yOffset;
  float xRangeMinimum, xRangeMaximum, yRangeMinimum, yRangeMaximum;
  float autoMinimum, autoMaximum;
  std::int32_t itemBase;
  // 1 when the column's name holds "RGB" (slashes ignored): its text cells are colours.
  std::int32_t rgbColumn;
};

struct NumericItem {
  std::int32_t flag;
  std::int32_t row;  // data row of a value (> 0); in a header item the skipped-cell count
  float value;
};

struct TextItem {
  std::int32_t column;
  float position;  // X value of the cell's row
  FixedText<80> text;
};

struct DescriptionLine {
  FixedText<31> label;
  FixedText<511> value;
};

// ParameterCount states besides N >= 1.
inline constexpr std::int32_t kNoFileYet = 0;
inline constexpr std::int32_t kLoadCouldNotOpen = -1;
inline constexpr std::int32_t kLoadWrongFormat = -2;
inline constexpr std::int32_t kNoData = -3;

struct DataModel {
  Table<ColumnRecord> ColumnTable;          // kColumnRecords records
  Table<NumericItem> NumericItemTable;      // MaxNumericItems + 1
  Table<TextItem> TextItemTable;            // MaxTextItems + 1
  Table<DescriptionLine> DescriptionTable;  // kDescriptionLines + 1, row 0 unused

  std::int32_t MaxNumericItems = kDefaultMaxNumericItems;  // budgets the tables were made with
  std::int32_t MaxTextItems = kDefaultMaxTextItems;

  std::int32_t ParameterCount = kNoFileYet;
  std::int32_t TextItemCount = 0;
  std::int32_t DescriptionLineCount = 0;
  std::int32_t GroupCount = 0;
  std::int32_t GroupedColumnCount = 0;

  float DateOffset = 0.0f;
  std::int32_t XIsDate = 0;
  std::int32_t XIsTime = 0;
  std::int32_t XAscending = 1;

  FixedText<511> EventLabel{};  // value of the description line "Event:", cut at " *"
  // The X column's header name may carry a credit after "@" ("Depth [m]@Author - 2024-01-01"):
  // the reader cuts it off the label and keeps it here for the plot's title and credit.
  bool HasHeaderCredit = false;
  std::string HeaderCredit;

  // Paths are never cut; a path the system cannot take is refused where it is chosen.
  std::string DataFilePath;
  std::string DataDirectory;  // ends with the path separator
  std::string DataFileName;

  // Items past these indices have never been written since the tables were made, so they are
  // still zero and clearing or resetting them can be skipped: a load touches only what earlier
  // loads wrote, not the whole budget.
  std::size_t numericItemsWritten = 0;  // one past the highest numeric item written
  std::size_t textItemsWritten = 0;     // one past the highest text item written

  // True when any line of the loaded file was not UTF-8 (its lines were read as Windows-1252).
  bool sourceHadCp1252 = false;

  // Leading metadata columns (event, station, latitude, longitude) that the reader dropped, with
  // their header names: saving writes them back, so that the header still matches the data lines.
  std::int32_t skippedColumns = 0;
  FixedText<80> skippedLabels[kMaxSkippedColumns]{};

  // The description file written by "Save data description as..." and read back by the reload.
  std::string DescriptionFilePath;
  std::string DescriptionDirectory;  // ends with the path separator
  std::string DescriptionFileName;
  // 1 once the description was written to that file; cleared when a new description save starts
  // and by the Open command.
  std::int32_t DescriptionSaved = 0;

  ColumnRecord& column(int c) { return ColumnTable[static_cast<std::size_t>(c)]; }
  const ColumnRecord& column(int c) const { return ColumnTable[static_cast<std::size_t>(c)]; }
  NumericItem& item(std::int64_t i) { return NumericItemTable[static_cast<std::size_t>(i)]; }
  const NumericItem& item(std::int64_t i) const {
    return NumericItemTable[static_cast<std::size_t>(i)];
  }
  // Number of accepted data rows.
  std::int32_t rowCount() const { return column(0).itemCount; }
};

// Empties labels and group names of columns 0..256, zeroes group sizes, item counts and the
// axis ranges copied by the layout, and zeroes row and value of every numeric item.
void ClearDataModel(DataModel& data);

// Forgets the current file: empty paths, ParameterCount = -3.
void ForgetDataFile(DataModel& data);

// Sets DataFilePath, DataDirectory (up to and including the last "/") and DataFileName from a
// path; a path without a directory has an empty DataDirectory.
void SetDataFilePath(DataModel& data, std::string_view path);

// "Number of columns: ..." text of the Info box.
std::string FormatDataInfo(const DataModel& data);

}  // namespace sx
