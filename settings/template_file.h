#pragma once
// Template files (".stf"): the whole plot settings of a data set in text form, written by the
// save command and applied by the load command and, while a template is active, after every data
// load. Blocks are matched to the columns by position, never by name.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "settings/plot_settings.h"

namespace sx {

// First line of every template.
inline constexpr std::string_view kTemplateStamp = "2008-08-08";

// Results of ReadTemplate. Codes -9 to -17 say which line of a block is missing: -9 the colour
// row (block line 5), -10 to -14 block lines 6 to 10, -15 the mode colour row, -16 and -17 the
// two float rows.
inline constexpr std::int32_t kTemplateApplied = 0;
inline constexpr std::int32_t kTemplateNoVersionLine = -1;     // the file ends after line 1
inline constexpr std::int32_t kTemplateWrongStamp = -2;        // line 1 is not the stamp
inline constexpr std::int32_t kTemplateHeaderMissing = -3;     // line 1, 3 or 4 missing
inline constexpr std::int32_t kTemplateGlobalsMissing = -4;    // line 5 missing
inline constexpr std::int32_t kTemplateGlobalsTooMany = -5;    // line 5 has more than 5 values
inline constexpr std::int32_t kTemplateOptionsMissing = -6;    // line 6 missing
inline constexpr std::int32_t kTemplateOptionsTooMany = -7;    // line 6 has more than 15 values
inline constexpr std::int32_t kTemplateBlockHeadMissing = -8;  // block line 1, 2, 3 or 4 missing
inline constexpr std::int32_t kTemplateBlockColorMissing = -9;
inline constexpr std::int32_t kTemplateLastBlockLineMissing = -17;
inline constexpr std::int32_t kTemplateCouldNotOpen = -18;

// Writes the settings (6 header lines, then 13 lines for each of the 257 records) to path,
// atomically. Windows-1252 when every character has a byte there, otherwise UTF-8; CR LF line
// ends. Written with WriteFileAtomically: never over the open data file. Returns false, with
// *error saying why, when the file could not be written.
bool WriteTemplate(const DataModel& data, const PlotSettings& settings, const std::string& path,
                   std::string* error = nullptr);

// Reads the template at path and applies it to the columns 0..ParameterCount. A file whose
// structure is broken is refused as a whole: nothing is changed and the code of the first fault
// is returned (codes above). A file that cannot be opened gives kTemplateCouldNotOpen. The
// template's version text (after the first blank of line 2) goes to *versionText when given.
std::int32_t ReadTemplate(DataModel& data, PlotSettings& settings, const std::string& path,
                          std::string* versionText = nullptr);

// The "Use template" switch: while it is on, the current template is applied after each load.
bool IsTemplateActive(const PlotSettings& settings);

// The load's last settings step: applies the active template again when the file has more than
// one row. Returns ReadTemplate's code (kTemplateApplied when no template is active); a refused
// template changes nothing.
std::int32_t ReapplyTemplate(DataModel& data, PlotSettings& settings);

}  // namespace sx
