#pragma once
// The two child windows of the frame. Both only draw the model and forward their commands to
// the frame's controller.

#include <QAbstractScrollArea>
#include <QWidget>
#include <cstdint>

#include "shell/frame.h"

class QStatusBar;

namespace sx {

// The data plot window: the plot drawn by the plot pass on the window at the screen's
// resolution, above a status bar.
class MdiDataPlotChild : public QWidget {
 public:
  explicit MdiDataPlotChild(FrameController& controller, QWidget* parent = nullptr);
  void command(std::int32_t id);
  QWidget* canvas() const { return canvas_; }
  QStatusBar* statusBar() const { return status_; }

 private:
  FrameController& controller_;
  QWidget* canvas_;
  QStatusBar* status_;
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
