#pragma once
// The plot window's output beyond the screen: the clipboard, the kept page set-up, printing and
// the batch. The drawing is the plot pass's; this only provides the Qt services around it.

#include <QMimeData>
#include <QPrinter>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/batch.h"
#include "shell/frame.h"

class QWidget;

namespace sx {

class PlotOutput {
 public:
  PlotOutput(FrameController& controller, QWidget* window);

  // The plot of the window's client size at once as an enhanced metafile ("image/emf",
  // "image/x-emf"), SVG and PNG; null (and the reason shown) when a format could not be made.
  std::unique_ptr<QMimeData> ClipboardData(std::int32_t width, std::int32_t height);
  // Copy (2020): ClipboardData onto the system clipboard.
  void Copy(std::int32_t width, std::int32_t height);

  // "Page Set&up": the dialog on the kept printer set-up; its margins stay 25 mm.
  void PageSetup();
  // "&Print..." (ask, the print dialog first, which also prints into a PDF file) and Ctrl+P
  // (the default printer without a dialog; without a printer the user is told so).
  void Print(bool ask);
  // One page on printer with a layout of its own; the graphic size and the window's layout are
  // as before afterwards. False (and the reason shown) when the page could not be started.
  bool PrintPage(QPrinter& printer);
  QPrinter& printer() { return *printer_; }

  // "&Batch...": the choice of action, the files, the run with a progress dialog, the summary.
  void Batch();
  // Replaceable for tests: the action (1 save as EMF, 2 plot all, 0 cancelled), the files (none
  // when cancelled) and the summary (shown in a message box by default).
  std::function<std::int32_t()> batchActionChooser;
  std::function<std::vector<std::string>()> batchFileChooser;
  std::function<void(const std::string&)> batchSummary;

 private:
  FrameController& controller_;
  QWidget* window_;
  std::unique_ptr<QPrinter> printer_;
};

// The summary of a batch: how many written, skipped and failed, then each file that was not
// written with the reason.
std::string BatchSummaryText(const BatchReport& report);

// At most this many files are taken into one batch.
inline constexpr std::size_t kMaxBatchFiles = 200;

}  // namespace sx
