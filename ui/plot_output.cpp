#include "ui/plot_output.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "platform/export_surfaces.h"
#include "platform/qt_surface.h"
#include "plot/plot_pass.h"
#include "shell/export.h"
#include "shell/file_dialogs.h"

namespace sx {
namespace {

constexpr double kPageMarginMm = 25.0;

void KeepMargins(QPrinter& printer) {
  printer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                         QPageLayout::Millimeter);
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

float ScreenDpi(QWidget* window) {
  const QScreen* screen =
      window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? static_cast<float>(screen->logicalDotsPerInchX()) : 96.0f;
}

// "BATCHDIALOG": 1 save files as EMF, 2 plot all files, 0 cancelled.
std::int32_t RunBatchDialog(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName("BATCHDIALOG");
  dialog.setWindowTitle("Batch");
  auto* layout = new QVBoxLayout(&dialog);
  auto* save = new QRadioButton("Save files as EMF", &dialog);
  auto* plot = new QRadioButton("Plot all files", &dialog);
  save->setChecked(true);
  layout->addWidget(save);
  layout->addWidget(plot);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return 0;
  return save->isChecked() ? 1 : 2;
}

std::vector<std::string> ChooseBatchFiles(QWidget* parent, const Session& session) {
  QFileDialog dialog(parent, "Select data");
  dialog.setObjectName("BatchFileDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  QStringList filters;
  for (const FileFilter& f : FileFilterList(kFilterData)) {
    filters << Q(f.text) + " (" + (f.pattern == "*.*" ? QString("*") : Q(f.pattern)) + ")";
  }
  dialog.setNameFilters(filters);
  if (!session.data.DataDirectory.empty()) dialog.setDirectory(Q(session.data.DataDirectory));
  std::vector<std::string> files;
  if (dialog.exec() != QDialog::Accepted) return files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(file.toStdString());
  return files;
}

}  // namespace

PlotOutput::PlotOutput(FrameController& controller, QWidget* window)
    : controller_(controller), window_(window), printer_(std::make_unique<QPrinter>()) {
  printer_->setDocName("Sondrix");
  KeepMargins(*printer_);
  batchActionChooser = [this] { return RunBatchDialog(window_); };
  batchFileChooser = [this] { return ChooseBatchFiles(window_, controller_.session()); };
}

std::unique_ptr<QMimeData> PlotOutput::ClipboardData(std::int32_t width, std::int32_t height) {
  Session& session = controller_.session();
  // The pictures are made as files in a private folder that goes with its contents, so nothing
  // is left behind.
  QTemporaryDir dir;
  if (!dir.isValid()) {
    session.ui->ShowMessage(MessageIcon::kStop,
                            "The plot could not be copied:\nno temporary folder");
    return nullptr;
  }
  auto mime = std::make_unique<QMimeData>();
  for (ExportFormat format : {ExportFormat::kEmf, ExportFormat::kSvg, ExportFormat::kPng}) {
    const std::string path =
        dir.filePath("plot").toStdString() + std::string(ExportExtension(format));
    const std::string failure =
        ExportCommand(session, path, width, height, ExportFileFactory(format));
    if (!failure.empty()) {
      session.ui->ShowMessage(MessageIcon::kStop, "The plot could not be copied:\n" + failure);
      return nullptr;
    }
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    const QByteArray bytes = file.readAll();
    switch (format) {
      case ExportFormat::kEmf:
        mime->setData("image/emf", bytes);
        mime->setData("image/x-emf", bytes);
        break;
      case ExportFormat::kSvg:
        mime->setData("image/svg+xml", bytes);
        break;
      default:
        mime->setData("image/png", bytes);
        break;
    }
  }
  return mime;
}

void PlotOutput::Copy(std::int32_t width, std::int32_t height) {
  if (std::unique_ptr<QMimeData> mime = ClipboardData(width, height)) {
    QGuiApplication::clipboard()->setMimeData(mime.release());
  }
}

void PlotOutput::PageSetup() {
  QPageSetupDialog dialog(printer_.get(), window_);
  dialog.setObjectName("PageSetupDialog");
  // The margins are fixed: their fields are shown but cannot be edited, so that nobody types a
  // margin the print would not use.
  for (QDoubleSpinBox* field : dialog.findChildren<QDoubleSpinBox*>()) {
    if (field->objectName().endsWith("Margin")) field->setEnabled(false);
  }
  dialog.exec();
  KeepMargins(*printer_);
}

void PlotOutput::Print(bool ask) {
  Session& session = controller_.session();
  if (ask) {
    QPrintDialog dialog(printer_.get(), window_);
    dialog.setObjectName("PrintDialog");
    if (dialog.exec() != QDialog::Accepted) return;
  } else {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
      session.ui->ShowMessage(MessageIcon::kExclamation,
                              "No printer is installed.\nUse \"Print...\" to print into a PDF "
                              "file.");
      return;
    }
    printer_->setPrinterName(printer.printerName());
    printer_->setOutputFileName({});
  }
  PrintPage(*printer_);
}

bool PlotOutput::PrintPage(QPrinter& printer) {
  Session& session = controller_.session();
  GraphicSettings& graphic = session.settings.graphic;
  const std::int32_t savedWidth = graphic.graphicWidth, savedHeight = graphic.graphicHeight;
  printer.setDocName("Sondrix");
  QPainter painter;
  if (!painter.begin(&printer)) {
    session.ui->ShowMessage(MessageIcon::kStop, "The page could not be printed.");
    return false;
  }
  {
    BusyCursor busy(*session.ui);
    // The page less its margins and a little room.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    FitGraphicToPage(graphic, std::max(page.width() - 100, 1), std::max(page.height() - 100, 1));
    const auto dpiX = static_cast<float>(printer.logicalDpiX());
    const auto dpiY = static_cast<float>(printer.logicalDpiY());
    QtSurface surface(painter, dpiX, dpiY, true);
    PlotContext ctx = session.plotContext(ComputeScale(surface, session.render.ScreenResolution));
    PlotPass(surface, ctx, kStagePrinter);
  }
  painter.end();
  graphic.graphicWidth = savedWidth;
  graphic.graphicHeight = savedHeight;
  return true;
}

std::string BatchSummaryText(const BatchReport& report) {
  std::string text = std::to_string(report.written) + " written, " +
                     std::to_string(report.skipped) + " skipped, " + std::to_string(report.failed) +
                     " failed";
  if (report.cancelled) text += " (cancelled)";
  text += ".";
  for (const BatchFileResult& file : report.files) {
    if (file.status == BatchStatus::kWritten) continue;
    text += "\n" + file.file + ": " + file.reason;
  }
  return text;
}

void PlotOutput::Batch() {
  Session& session = controller_.session();
  const std::int32_t action = batchActionChooser ? batchActionChooser() : 0;
  if (action < 1) return;
  std::vector<std::string> files =
      batchFileChooser ? batchFileChooser() : std::vector<std::string>{};
  if (files.empty()) return;
  if (files.size() > kMaxBatchFiles) {
    files.resize(kMaxBatchFiles);
    session.ui->ShowMessage(MessageIcon::kExclamation,
                            "Only the first 200 files are taken into the batch.");
  }
  BatchRequest request;
  request.files = files;
  FileSurfaceFactory factory = ExportFileFactory(ExportFormat::kEmf);
  if (action == 2) {
    QPrintDialog dialog(printer_.get(), window_);
    dialog.setObjectName("PrintDialog");
    if (dialog.exec() != QDialog::Accepted) return;
    // Into PDF files: one beside each data file; to a printer: one page each.
    const bool toFile = printer_->outputFormat() == QPrinter::PdfFormat;
    request.extension = ".pdf";
    factory = [this, toFile](const ExportRequest& r, const DrawFunction&) -> std::string {
      if (toFile) printer_->setOutputFileName(Q(r.path));
      return PrintPage(*printer_) ? std::string() : r.path + ": the page could not be printed";
    };
  }
  QProgressDialog progress("Batch", "Cancel", 0, static_cast<int>(files.size()), window_);
  progress.setObjectName("BatchProgress");
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  request.cancelRequested = [&progress] {
    QCoreApplication::processEvents();
    return progress.wasCanceled();
  };
  const BatchReport report =
      RunBatch(session, request, LayoutOnlyScreen(ScreenDpi(window_)), factory,
               [&progress](const BatchFileResult& result, std::size_t index, std::size_t) {
                 progress.setValue(static_cast<int>(index + 1));
                 progress.setLabelText(Q(result.file));
               });
  progress.reset();
  const std::string summary = BatchSummaryText(report);
  if (batchSummary) {
    batchSummary(summary);
  } else {
    session.ui->ShowMessage(MessageIcon::kInformation, summary);
  }
}

}  // namespace sx
