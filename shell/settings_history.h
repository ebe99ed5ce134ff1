#pragma once
// The undo history of the plot settings. The settings model is fixed-size, so a step is simply
// a copy of the whole model as it was before the change.

#include <cstddef>
#include <deque>

#include "settings/settings_snapshot.h"

namespace sx {

// The undo history of the plot settings: one copy of the whole settings model per step.
class SettingsHistory {
 public:
  static constexpr std::size_t kSteps = 100;

  // A new file starts a new history.
  void Clear();
  // Records a step whose settings before the change are `before`; forgets what could be redone.
  void Push(SettingsSnapshot before);
  // Restore the settings before the last step (after the last undone one); false when there is
  // none or it does not fit the tables.
  bool Undo(PlotSettings& settings);
  bool Redo(PlotSettings& settings);
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }

 private:
  std::deque<SettingsSnapshot> undo_, redo_;
};

}  // namespace sx
