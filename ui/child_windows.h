#pragma once
// The two child windows of the frame. Both only draw the model and forward their commands to
// the frame's controller.

#include <QAbstractScrollArea>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "shell/frame.h"
#include "shell/plot_window.h"

class QStatusBar;

namespace sx {

class PlotOutput;

// The data plot window: the plot drawn by the plot pass on the window at the screen's
// resolution, above a status bar with the value under the pointer. Clicks and commands go to
// the shell's PlotWindowController; the dialogs it asks for are opened by dialogOpener.
class MdiDataPlotChild : public QWidget {
 public:
  explicit MdiDataPlotChild(FrameController& controller, QWidget* parent = nullptr);
  ~MdiDataPlotChild() override;
  void command(std::int32_t id);
  QWidget* canvas() const { return canvas_; }
  QStatusBar* statusBar() const { return status_; }
  PlotWindowController& plotController() { return plot_; }
  PlotOutput& output() { return *output_; }
  // The window lost activation: its next click only activates it.
  void deactivated() { plot_.Deactivated(); }
  // The settings or the data may have changed: the plot is drawn anew (other paints show the
  // kept picture).
  void redraw();
  // Carries out what the controller decided.
  void apply(const WindowAction& action);

  // Replaceable for tests: shows the settings dialog asked for (OpenSettingsDialog by default).
  std::function<bool(QWidget*, Session&, const DialogRequest&)> dialogOpener;

 private:
  void fitToGraphic();
  void exportPlot();
  void saveTemplate();
  void savePreferences();

  FrameController& controller_;
  PlotWindowController plot_;
  QWidget* canvas_;
  QStatusBar* status_;
  PlotOutput* output_;
};

// The data description window: labels in bold beside their values, scrolled by lines and
// characters.
class MdiDataDescriptionChild : public QAbstractScrollArea {
 public:
  explicit MdiDataDescriptionChild(FrameController& controller, QWidget* parent = nullptr);
  void command(std::int32_t id);
  // Measures the font and renews the scroll ranges for the current size.
  void updateMetrics();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  QFont plotFont(bool bold) const;
  void syncBars();
  void onVertical(int action);
  void onHorizontal(int action);

  FrameController& controller_;
};

}  // namespace sx
