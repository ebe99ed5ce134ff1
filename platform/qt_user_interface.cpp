#include "platform/qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace sx {

void QtUserInterface::ShowMessage(MessageIcon icon, std::string_view text) {
  QMessageBox box(owner_);
  box.setWindowTitle(QString::fromUtf8(kCaption.data(), static_cast<qsizetype>(kCaption.size())));
  box.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  switch (icon) {
    case MessageIcon::kStop:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::kExclamation:
      box.setIcon(QMessageBox::Warning);
      break;
  }
  // A message must be readable: never leave the busy cursor over it.
  const bool wasBusy = busyDepth_ > 0;
  if (wasBusy) QApplication::restoreOverrideCursor();
  box.exec();
  if (wasBusy) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserInterface::ShowBusyCursor() {
  if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserInterface::ShowArrowCursor() {
  // Busy and arrow calls nest (a load shows the busy cursor around the preference read); only
  // the outermost restores the arrow.
  if (busyDepth_ > 0 && --busyDepth_ == 0) QApplication::restoreOverrideCursor();
}

}  // namespace sx
