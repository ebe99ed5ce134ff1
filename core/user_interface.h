#pragma once
// What the engine needs from the person in front of it: modal messages and the busy cursor.
// The desktop program implements it with Qt (platform/); the command-line tool and the tests
// record the messages.

#include <string>
#include <string_view>
#include <vector>

namespace sx {

inline constexpr std::string_view kCaption = "Sondrix";

enum class MessageIcon { kStop, kInformation, kExclamation };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // A modal message box captioned "Sondrix".
  virtual void ShowMessage(MessageIcon icon, std::string_view text) = 0;
  virtual void ShowBusyCursor() = 0;
  virtual void ShowArrowCursor() = 0;
};

// Keeps every message in order and the cursor state; used headless and in tests.
class RecordingUserInterface : public UserInterface {
 public:
  struct Message {
    MessageIcon icon;
    std::string text;
  };
  void ShowMessage(MessageIcon icon, std::string_view text) override {
    messages.push_back({icon, std::string(text)});
  }
  void ShowBusyCursor() override {
    busy = true;
    ++busyCalls;
  }
  void ShowArrowCursor() override { busy = false; }

  std::vector<Message> messages;
  bool busy = false;
  int busyCalls = 0;
};

// Shows the busy cursor for the lifetime of the guard, so every return path restores the arrow.
class BusyCursor {
 public:
  explicit BusyCursor(UserInterface& ui) : ui_(ui) { ui_.ShowBusyCursor(); }
  ~BusyCursor() { ui_.ShowArrowCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace sx
