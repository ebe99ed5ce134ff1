#pragma once
// The frame's small dialogs: "Set memory" and the About box.

#include "shell/session.h"

class QWidget;

namespace sx {

// The modal "Set memory" dialog (fields 1900 and 1901); OK stores the budgets for the next
// start.
void RunSetMemoryDialog(QWidget* owner, Session& session, std::int32_t screenWidth,
                        std::int32_t screenHeight);
// The modal "About Sondrix" box.
void RunAboutBox(QWidget* owner);

}  // namespace sx
