#pragma once
// Which settings dialog a click on the plot or a menu command opens, and on which record: the
// plot window decides it, the dialog layer shows it.

#include <cstdint>
#include <string>

namespace sx {

struct DialogRequest {
  // The dialog's resource name, which is also its object name: "GRAPHICDIALOG",
  // "TERNARYMODEGRAPHICDIALOG", "XAXISDIALOG", "PARAMETERAXISDIALOG", "PARAMETEROPTIONDIALOG",
  // "TERNARYMODEDIALOG", "PHASEMODEDIALOG", "CHANGEMODEDIALOG", the "YAXISDIALOG..." dialogs of
  // the global options, "COLORMAPPINGDIALOG", "EPSILONDIALOG", "SELECT"; "COLORCHOOSER" for the
  // colour command of the global options.
  std::string resource;
  // The settings record it edits: the parameter (CurrentParameter), the item of the Ternary or
  // Phase legend, 0 for the X axis and the graphic.
  std::int32_t record = 0;
  // The menu command that asked for it (e.g. 3102 "Range..."), 0 for a click.
  std::int32_t command = 0;
};

}  // namespace sx
