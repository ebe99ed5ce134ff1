#include "ui/settings_dialogs.h"

#include <QMessageBox>
#include <QString>

namespace sx {

bool OpenSettingsDialog(QWidget* parent, Session& session, const DialogRequest& request) {
  static_cast<void>(session);
  QMessageBox::information(parent, "Sondrix",
                           QString::fromStdString(request.resource) + " is not available yet.");
  return false;
}

}  // namespace sx
