#pragma once
// Answers the modal dialogs of a scenario as they come up, in order, through their controls by
// object name.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

// Each step gets the dialog whose object name it expects; a dialog that nobody answers is
// rejected, so no scenario ever hangs on one.
class Answers {
 public:
  using Step = std::function<void(QDialog&)>;
  explicit Answers(std::vector<std::pair<QString, Step>> steps) : steps_(std::move(steps)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      if (next_ < steps_.size() && dialog->objectName() == steps_[next_].first) {
        // Run outside this timer's slot: a step may open a dialog of its own, which this timer
        // must answer while the step waits.
        QTimer::singleShot(0, dialog, [dialog, step = steps_[next_++].second] { step(*dialog); });
      } else if (++idle_ > 100) {
        dialog->reject();
      }
    });
    timer_.start();
  }
  bool allAnswered() const { return next_ == steps_.size(); }

 private:
  std::vector<std::pair<QString, Step>> steps_;
  std::size_t next_ = 0;
  int idle_ = 0;
  QTimer timer_;
};

// A text field, or a spin box given its number.
inline void Type(QDialog& d, int id, const QString& text) {
  if (auto* spin = d.findChild<QSpinBox*>(QString::number(id))) {
    spin->setValue(text.toInt());
    return;
  }
  auto* edit = d.findChild<QLineEdit*>(QString::number(id));
  QVERIFY2(edit != nullptr, qPrintable(QString::number(id)));
  edit->setText(text);
}
inline void Click(QDialog& d, int id) {
  auto* button = d.findChild<QAbstractButton*>(QString::number(id));
  QVERIFY2(button != nullptr, qPrintable(QString::number(id)));
  button->click();
}
inline void Ok(QDialog& d) {
  QTest::keyClick(&d, Qt::Key_Return);
}
inline void Cancel(QDialog& d) {
  QTest::keyClick(&d, Qt::Key_Escape);
}
