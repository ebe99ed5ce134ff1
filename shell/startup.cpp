#include "shell/startup.h"

#include "settings/patterns.h"
#include "settings/settings_files.h"

namespace sx {

std::unique_ptr<Session> StartSession(UserInterface& ui, std::int32_t screenWidth,
                                      std::int32_t screenHeight,
                                      std::optional<MemoryBudgets> budgets) {
  StartupState stored;
  const bool read = ReadWindowFile(BuildSettingsPath(kWindowFileName), stored);
  const Placement& frame = stored.placements.FramePlacement;
  if (!read || frame.width > screenWidth || frame.height > screenHeight) {
    stored.placements = DefaultWindowPlacement(screenWidth, screenHeight);
  }
  std::unique_ptr<Session> session = CreateSession(budgets.value_or(stored.budgets), ui);
  if (!session) return nullptr;
  session->startup.placements = stored.placements;
  session->startup.budgets = SanitizeBudgets(stored.budgets);

  // A missing pattern file is written with the built-in set first, then read.
  const std::string patternPath = BuildSettingsPath(kPatternFileName);
  if (LoadPatterns(session->patterns, patternPath) != 0) {
    LoadPatterns(session->patterns, patternPath);
  }
  return session;
}

}  // namespace sx
