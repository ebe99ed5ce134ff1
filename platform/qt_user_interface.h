#pragma once
// The engine's user interface on Qt: modal message boxes captioned "Sondrix" and the busy
// cursor as an application-wide override cursor.

#include "core/user_interface.h"

class QWidget;

namespace sx {

class QtUserInterface : public UserInterface {
 public:
  explicit QtUserInterface(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }

  void ShowMessage(MessageIcon icon, std::string_view text) override;
  void ShowBusyCursor() override;
  void ShowArrowCursor() override;

 private:
  QWidget* owner_;
  int busyDepth_ = 0;
};

}  // namespace sx
