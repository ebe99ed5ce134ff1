#pragma once
// The frame's small dialogs: "Set memory", the About box and the manual's window.

#include "shell/session.h"

class QString;
class QWidget;

namespace sx {

// The modal "Set memory" dialog (fields 1900 and 1901); OK stores the budgets for the next
// start.
void RunSetMemoryDialog(QWidget* owner, Session& session, std::int32_t screenWidth,
                        std::int32_t screenHeight);
// The modal "About Sondrix" box.
void RunAboutBox(QWidget* owner);
// The manual (Markdown) shown in a window of its own beside the frame, not modal, so that it can
// be read while working; closed with its Close button or Escape.
QWidget* OpenManualWindow(QWidget* owner, const QString& path);

}  // namespace sx
