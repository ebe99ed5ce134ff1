#include "shell/settings_history.h"

#include <utility>

namespace sx {

void SettingsHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

void SettingsHistory::Push(SettingsSnapshot before) {
  if (!before.taken()) return;
  undo_.push_back(std::move(before));
  while (undo_.size() > kSteps) undo_.pop_front();
  redo_.clear();
}

namespace {

// Moves the settings one step from `from` to `to`: the current settings go onto `to`, the last
// copy of `from` becomes the settings.
bool Step(std::deque<SettingsSnapshot>& from, std::deque<SettingsSnapshot>& to,
          PlotSettings& settings) {
  if (from.empty()) return false;
  SettingsSnapshot now;
  now.Take(settings);
  if (!from.back().Restore(settings)) {
    // Tables of another size: that history belongs to another file.
    from.clear();
    return false;
  }
  from.pop_back();
  to.push_back(std::move(now));
  return true;
}

}  // namespace

bool SettingsHistory::Undo(PlotSettings& settings) {
  return Step(undo_, redo_, settings);
}

bool SettingsHistory::Redo(PlotSettings& settings) {
  return Step(redo_, undo_, settings);
}

}  // namespace sx
