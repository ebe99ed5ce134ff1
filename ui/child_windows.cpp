#include "ui/child_windows.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/export_surfaces.h"
#include "platform/qt_surface.h"
#include "plot/layout.h"
#include "plot/output.h"
#include "settings/settings_files.h"
#include "shell/export.h"
#include "shell/file_dialogs.h"
#include "shell/open_sequence.h"
#include "ui/plot_output.h"
#include "ui/settings_dialogs.h"

namespace sx {
namespace {

// The plot's drawing area. The picture is drawn by the plot pass into a kept image, which
// every paint shows: exposing, raising or re-activating the window costs a copy, not a pass.
// The pass runs again when the settings or the data may have changed (redraw()), and when the
// size or the screen's resolution differs from the kept picture's. While the window is being
// resized a slow picture is shown stretched and drawn anew once the size rests, so dragging the
// frame stays fluid whatever the file. The pointer shows the value under it; a button opens
// what lies under it.
class PlotCanvas : public QWidget {
 public:
  PlotCanvas(FrameController& controller, MdiDataPlotChild& window)
      : QWidget(&window), controller_(controller), window_(window) {
    setObjectName("PlotCanvas");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(1, 1);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    QObject::connect(&settle_, &QTimer::timeout, this, [this] { update(); });
  }

  // The settings or the data may have changed: the next paint runs the plot pass.
  void redraw() {
    stale_ = true;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (static_cast<qint64>(pixels.width()) * pixels.height() > kMaxKeptPixels) {
      // A graphic far larger than any screen: no picture is kept, the pass draws on the
      // window, where only the part in view costs pixels.
      picture_ = QImage();
      Paint(painter);
      return;
    }
    const bool fits = !picture_.isNull() && picture_.size() == pixels && dpi_ == logicalDpi();
    if (!fits && !stale_ && !picture_.isNull() && settle_.isActive()) {
      // Resizing a picture that is slow to draw: the old one stretched until the size rests.
      painter.drawImage(rect(), picture_);
      return;
    }
    if (!fits || stale_) DrawPicture(pixels, ratio);
    painter.drawImage(0, 0, picture_);
    if (!benchDone_ && qEnvironmentVariableIsSet("SONDRIX_BENCH_FIRST_FRAME")) {
      benchDone_ = true;
      // Measurement mode of bench/run_window_bench.sh: the first frame is done (its wall
      // clock is printed for the script's start-to-first-frame time); forced repaints are
      // timed, then the program ends.
      std::fprintf(stderr, "first-frame %lld\n",
                   static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
      QMetaObject::invokeMethod(
          this, [this] { RunRepaintBench(); }, Qt::QueuedConnection);
    }
  }
  void resizeEvent(QResizeEvent*) override {
    GraphicSettings& graphic = controller_.session().settings.graphic;
    graphic.graphicWidth = width();
    graphic.graphicHeight = height();
    if (lastPassSeconds_ > kFluidSeconds) settle_.start();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    window_.statusBar()->showMessage(
        QString::fromStdString(window_.plotController().Readout(at.x(), at.y())));
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
    const QPoint at = event->position().toPoint();
    window_.apply(window_.plotController().ButtonDown(at.x(), at.y()));
  }

 private:
  // A pass slower than this makes resizing show the stretched picture meanwhile; the picture
  // is drawn anew when no resize came for kSettleMs.
  static constexpr double kFluidSeconds = 0.03;
  static constexpr int kSettleMs = 120;
  // The largest picture kept (256 MB): more than an 8K screen at twice the pixel density.
  static constexpr qint64 kMaxKeptPixels = qint64{64} * 1024 * 1024;

  QPoint logicalDpi() const { return {logicalDpiX(), logicalDpiY()}; }

  void DrawPicture(QSize pixels, qreal ratio) {
    QElapsedTimer timer;
    timer.start();
    // An image, not a pixmap: long curves are then drawn straight into its pixels.
    picture_ = QImage(pixels, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    stale_ = false;
    dpi_ = logicalDpi();
    QPainter painter(&picture_);
    Paint(painter);
    lastPassSeconds_ = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  }

  void Paint(QPainter& painter) {
    painter.fillRect(rect(), Qt::white);
    Session& session = controller_.session();
    if (session.data.ParameterCount < 1) return;
    // The tick length follows the frames of the previous layout, so a change of the strips'
    // sizes can move the frames once more on the next pass. The window shows the picture a
    // second paint would give, not one that shifts on the next exposure.
    const auto tick = [&session] { return TickLength(session.data, session.settings, 1.0f); };
    const auto dpiX = static_cast<float>(logicalDpiX());
    const auto dpiY = static_cast<float>(logicalDpiY());
    for (int pass = 0; pass < 2; ++pass) {
      const std::int32_t before = tick();
      if (pass > 0) painter.fillRect(rect(), Qt::white);
      PaintScreen(session.models(), width(), height(),
                  [&](std::int32_t, std::int32_t, const DrawFunction& draw) {
                    QtSurface surface(painter, dpiX, dpiY, false);
                    draw(surface);
                  });
      if (tick() == before) break;
    }
  }

  // Forced repaints: once showing the kept picture (what exposing the window costs), once
  // with the plot pass (what a change of the settings costs).
  void RunRepaintBench() {
    const int rounds = qEnvironmentVariableIntValue("SONDRIX_BENCH_FIRST_FRAME");
    for (const bool pass : {false, true}) {
      std::vector<double> times;
      for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        stale_ = pass;
        repaint();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
      }
      std::sort(times.begin(), times.end());
      if (!times.empty()) {
        std::fprintf(stderr, "%s %dx%d median %.4f s\n", pass ? "redraw" : "repaint", width(),
                     height(), times[times.size() / 2]);
      }
    }
    QCoreApplication::exit(0);
  }

  FrameController& controller_;
  MdiDataPlotChild& window_;
  QImage picture_;
  QPoint dpi_;
  bool stale_ = true;
  double lastPassSeconds_ = 0;
  QTimer settle_;
  bool benchDone_ = false;
};

ScrollAction ActionOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollAction::kLineBack;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollAction::kLineForward;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollAction::kPageBack;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollAction::kPageForward;
    case QAbstractSlider::SliderToMinimum:
      return ScrollAction::kStart;
    case QAbstractSlider::SliderToMaximum:
      return ScrollAction::kEnd;
    case QAbstractSlider::SliderMove:
      return ScrollAction::kThumbTrack;
    default:
      return ScrollAction::kOther;
  }
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MdiDataPlotChild::MdiDataPlotChild(FrameController& controller, QWidget* parent)
    : QWidget(parent),
      dialogOpener(OpenSettingsDialog),
      controller_(controller),
      plot_(controller, controller.history(),
            [this](const DialogRequest& request) {
              return dialogOpener && dialogOpener(this, controller_.session(), request);
            }),
      canvas_(new PlotCanvas(controller, *this)),
      status_(new QStatusBar(this)),
      output_(new PlotOutput(controller, this)) {
  setObjectName("MdiDataPlotChild");
  status_->setObjectName("PlotStatusBar");
  status_->setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(canvas_, 1);
  layout->addWidget(status_);
}

MdiDataPlotChild::~MdiDataPlotChild() {
  delete output_;
}

void MdiDataPlotChild::apply(const WindowAction& action) {
  if (action.fitWindow) fitToGraphic();
  if (action.repaint) redraw();
}

void MdiDataPlotChild::redraw() {
  static_cast<PlotCanvas*>(canvas_)->redraw();
}

void MdiDataPlotChild::fitToGraphic() {
  QWidget* window = parentWidget();  // the frame around this window in the MDI area
  QWidget* area = window ? window->parentWidget() : nullptr;
  if (window == nullptr || area == nullptr) return;
  StartupState& s = controller_.session().startup;
  const QRect now = window->geometry();
  s.placements.PlotWindowPlacement = {now.x(), now.y(), now.width(), now.height()};
  const Size border{now.width() - canvas_->width(), now.height() - canvas_->height()};
  const Placement p =
      FitPlotWindow(controller_.session().settings.graphic, border, {area->width(), area->height()},
                    s.placements.PlotWindowPlacement);
  window->setGeometry(p.x, p.y, p.width, p.height);
}

void MdiDataPlotChild::exportPlot() {
  Session& session = controller_.session();
  FileDialogRequest request = SaveRequestFor(session, kSaveExportKind);
  const std::optional<std::string> chosen = controller_.view().RunFileDialog(request);
  if (!chosen) return;
  const std::string path = ExportTargetPath(*chosen, request.filterIndex);
  const ExportFormat format = ExportFormatForPath(path).value_or(ExportFormat::kEmf);
  const std::string failure =
      ExportCommand(session, path, canvas_->width(), canvas_->height(), ExportFileFactory(format));
  if (!failure.empty()) session.ui->ShowMessage(MessageIcon::kStop, failure);
  controller_.Retitle();
}

void MdiDataPlotChild::saveTemplate() {
  Session& session = controller_.session();
  FileDialogRequest request = SaveRequestFor(session, kSaveTemplateKind);
  const std::optional<std::string> chosen = controller_.view().RunFileDialog(request);
  if (chosen) SaveTemplateCommand(session, *chosen);
  controller_.Retitle();
}

void MdiDataPlotChild::savePreferences() {
  Session& session = controller_.session();
  const std::string path = BuildSettingsPath(kPreferenceFileName);
  if (!WritePreferences(path, session.settings, 1, session.data.DataFilePath)) {
    session.ui->ShowMessage(MessageIcon::kStop, "Could not write the preferences:\n" + path);
  }
}

void MdiDataPlotChild::command(std::int32_t id) {
  if (plot_.Handles(id)) {
    apply(plot_.Command(id));
    return;
  }
  switch (id) {
    case cmd::kSaveDataAs:
      controller_.SaveDataAs();
      break;
    case cmd::kExport:
      exportPlot();
      break;
    case cmd::kBatch:
      output_->Batch();
      controller_.Retitle();
      controller_.RefreshPlotMenus();
      redraw();
      break;
    case cmd::kPageSetup:
      output_->PageSetup();
      break;
    case cmd::kPrint:
    case cmd::kPrintNow:
      output_->Print(id == cmd::kPrint);
      redraw();
      break;
    case cmd::kLoadTemplate:
      plot_.BeginStep();
      plot_.EndStep(controller_.LoadTemplate());
      plot_.RefreshMenus();
      redraw();
      break;
    case cmd::kSaveTemplate:
      saveTemplate();
      break;
    case cmd::kSavePreferences:
      savePreferences();
      break;
    case cmd::kCopy:
      output_->Copy(canvas_->width(), canvas_->height());
      break;
    default:
      // Cut, Paste, Delete and Select All of the Edit menu do nothing here.
      break;
  }
}

MdiDataDescriptionChild::MdiDataDescriptionChild(FrameController& controller, QWidget* parent)
    : QAbstractScrollArea(parent), controller_(controller) {
  setObjectName("MdiDataDescriptionChild");
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAutoFillBackground(true);
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(palette);
  // The horizontal bar follows only a released thumb, not a dragged one.
  horizontalScrollBar()->setTracking(false);
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { onVertical(action); });
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { onHorizontal(action); });
  connect(horizontalScrollBar(), &QAbstractSlider::sliderReleased, this, [this] {
    DescriptionView& view = controller_.descriptionView();
    ScrollHorizontally(view, ScrollAction::kThumbPosition, horizontalScrollBar()->sliderPosition());
    syncBars();
    viewport()->update();
  });
}

QFont MdiDataDescriptionChild::plotFont(bool bold) const {
  const GraphicSettings& graphic = controller_.session().settings.graphic;
  FontSpec font;
  font.face = graphic.fontName.str();
  // The plot font's character height at the screen's resolution.
  font.height = -static_cast<std::int32_t>(
      (static_cast<std::int64_t>(graphic.fontSize) * logicalDpiY() + 36) / 72);
  font.bold = bold;
  return QtSurface::MakeQFont(font, static_cast<float>(logicalDpiY()));
}

void MdiDataDescriptionChild::updateMetrics() {
  Session& session = controller_.session();
  DescriptionView& view = controller_.descriptionView();
  view.clientWidth = viewport()->width();
  view.clientHeight = viewport()->height();
  const QFontMetrics metrics(plotFont(true), viewport());
  const DataModel& data = session.data;
  const auto row = [&data](std::int32_t r) -> const DescriptionLine& {
    return data.DescriptionTable[static_cast<std::size_t>(std::clamp<std::int32_t>(
        r, 0, static_cast<std::int32_t>(data.DescriptionTable.size()) - 1))];
  };
  SetDescriptionMetrics(view, metrics.averageCharWidth(), metrics.height() + metrics.leading(),
                        metrics.horizontalAdvance(Text(row(view.longestLabelRow).label.view())),
                        metrics.horizontalAdvance(Text(row(view.longestValueRow).value.view())));
  UpdateScrollRanges(view, data.DescriptionLineCount);
  syncBars();
}

void MdiDataDescriptionChild::syncBars() {
  const DescriptionView& view = controller_.descriptionView();
  for (auto [bar, max, pos] :
       {std::tuple{verticalScrollBar(), view.vScrollMax, view.vScrollPos},
        std::tuple{horizontalScrollBar(), view.hScrollMax, view.hScrollPos}}) {
    const QSignalBlocker block(bar);
    bar->setRange(0, max);
    bar->setValue(pos);
    bar->setSliderPosition(pos);
  }
}

void MdiDataDescriptionChild::onVertical(int action) {
  DescriptionView& view = controller_.descriptionView();
  const std::int32_t step =
      ScrollVertically(view, ActionOf(action), verticalScrollBar()->sliderPosition());
  verticalScrollBar()->setSliderPosition(view.vScrollPos);
  if (step != 0) viewport()->update();
}

void MdiDataDescriptionChild::onHorizontal(int action) {
  const ScrollAction what = ActionOf(action);
  if (what == ScrollAction::kThumbTrack) return;  // the thumb moves; the text waits for it
  DescriptionView& view = controller_.descriptionView();
  const std::int32_t step = ScrollHorizontally(view, what, 0);
  horizontalScrollBar()->setSliderPosition(view.hScrollPos);
  if (step != 0) viewport()->update();
}

void MdiDataDescriptionChild::scrollContentsBy(int, int) {
  // Positions are the view's; the bars only show them.
  viewport()->update();
}

void MdiDataDescriptionChild::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateMetrics();
}

void MdiDataDescriptionChild::paintEvent(QPaintEvent* event) {
  updateMetrics();
  QPainter painter(viewport());
  const DescriptionView& view = controller_.descriptionView();
  const DataModel& data = controller_.session().data;
  const QFont bold = plotFont(true);
  const QFont normal = plotFont(false);
  const QFontMetrics boldMetrics(bold, viewport());
  const QFontMetrics normalMetrics(normal, viewport());
  painter.setPen(Qt::black);
  const RowSpan rows = RowsToPaint(
      view,
      std::min<std::int32_t>(data.DescriptionLineCount,
                             static_cast<std::int32_t>(data.DescriptionTable.size()) - 1),
      event->rect().top(), event->rect().bottom() + 1);
  for (std::int32_t i = rows.first; i <= rows.last; ++i) {
    const DescriptionLine& line = data.DescriptionTable[static_cast<std::size_t>(i)];
    const RowOrigin at = RowPosition(view, i);
    painter.setFont(bold);
    painter.drawText(QPoint(at.x, at.y + boldMetrics.ascent()), Text(line.label.view()));
    painter.setFont(normal);
    painter.drawText(QPoint(at.x + view.labelColumnWidth, at.y + normalMetrics.ascent()),
                     Text(line.value.view()));
  }
}

void MdiDataDescriptionChild::command(std::int32_t id) {
  switch (id) {
    case cmd::kReloadDescription:
      controller_.ReloadDescription();
      break;
    case cmd::kEditDescription:
      controller_.EditDescription();
      break;
    case cmd::kSaveDataAs:
      controller_.SaveDataAs();
      break;
    case cmd::kSaveDescription:
      controller_.SaveDescription();
      break;
    default:
      break;
  }
  updateMetrics();
  viewport()->update();
}

}  // namespace sx
