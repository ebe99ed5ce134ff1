#pragma once
// "Save data as...": writes the loaded data set back as a data file. The description block, the
// group line and the column-header line are made anew from the current model; the data lines are
// copied from the source file byte for byte, rejected ones included.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/atomic_file.h"
#include "core/data_model.h"
#include "core/result.h"

namespace sx {

// Results of SaveDataAs.
inline constexpr std::int32_t kSaveDone = 0;
inline constexpr std::int32_t kSaveOverSource = -1;         // the destination is the source
inline constexpr std::int32_t kSaveSourceUnreadable = -2;   // no data, or the source is unusable
inline constexpr std::int32_t kSaveDestinationFailed = -3;  // the destination cannot be written

// Writes the data set loaded from source to destination. Refuses a destination that is the
// source file itself, however its path is spelled (another relative form, a symbolic or hard
// link), and a source that is not a regular file (it is read a second time). The destination is
// written by WriteFileAtomically. Regenerated lines are in the source's encoding: Windows-1252
// when the source had such lines and the text has bytes there, UTF-8 otherwise; their line end
// is that of the source's column-header line. Every failure is told in the result's message; its
// code is one of the codes above. credit is the plot's credit text, which the X column's name
// carries after "@".
Result SaveDataAs(const DataModel& data, std::string_view credit, const std::string& source,
                  const std::string& destination);

}  // namespace sx
