#pragma once
// What an operation did, for the layer that decides what the user sees. The engine never shows a
// message itself: it hands its texts up in a Result, and the shell shows them.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sx {

struct Result {
  // The operation's own code: 0 or more when it was done (some operations return a count), below
  // 0 when it failed.
  std::int32_t code = 0;
  // What the user must be told, in order; each text is one stop message.
  std::vector<std::string> messages;

  bool ok() const { return code >= 0; }
  Result& Tell(std::string text) {
    messages.push_back(std::move(text));
    return *this;
  }
  static Result Failed(std::int32_t failure, std::string text = {}) {
    Result r;
    r.code = failure;
    if (!text.empty()) r.messages.push_back(std::move(text));
    return r;
  }
};

}  // namespace sx
