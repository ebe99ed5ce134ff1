#pragma once
// The settings dialogs, opened modally by the plot window for a click or a command.

#include "shell/dialog_request.h"
#include "shell/session.h"

class QWidget;

namespace sx {

// Shows the dialog asked for over parent and, on OK, stores what it edits into the session.
// True when the settings changed (the plot is then drawn again), false after Cancel.
bool OpenSettingsDialog(QWidget* parent, Session& session, const DialogRequest& request);

}  // namespace sx
