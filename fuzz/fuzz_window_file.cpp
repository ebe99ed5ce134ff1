// Reads arbitrary bytes as a window file: nothing may crash or hang, the budgets read are always
// usable, and what was read survives being written and read again unchanged.

#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fuzz_file.h"
#include "settings/settings_files.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

namespace {

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
const sx::fuzz::MemoryFile file("sondrix-fuzz-window");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!session) {
    session = sx::CreateSession({600, 40}, ui);
    if (!session || !file.ok()) return 0;
  }
  sx::StartupState& startup = session->startup;
  startup = sx::StartupState{};
  if (!file.Put(bytes, size)) return 0;
  sx::ReadWindowFile(file.path(), startup);
  if (!sx::IsNumericBudgetValid(startup.budgets.MaxNumericItems) ||
      !sx::IsTextBudgetValid(startup.budgets.MaxTextItems)) {
    __builtin_trap();
  }

  const std::string first = sx::FormatWindowFile(startup, 1024, 768);
  sx::StartupState again;
  if (!file.Put(first.data(), first.size())) return 0;
  if (!sx::ReadWindowFile(file.path(), again)) __builtin_trap();
  if (sx::FormatWindowFile(again, 1024, 768) != first) __builtin_trap();
  return 0;
}
