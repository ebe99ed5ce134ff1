// Reads arbitrary bytes as a preference file: nothing may crash, hang or write outside a table,
// and whatever was read must survive being written and read again unchanged.

#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fuzz_file.h"
#include "settings/settings_files.h"
#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

namespace {

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
const sx::fuzz::MemoryFile file("sondrix-fuzz-preferences");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!session) {
    session = sx::CreateSession({600, 40}, ui);
    if (!session || !file.ok()) return 0;
  }
  sx::PlotSettings& settings = session->settings;
  sx::DataModel& data = session->data;
  sx::InitColorTables(settings);
  sx::SetAllDefaults(settings);
  settings.graphic.CreditText.clear();
  data.ParameterCount = 3;
  for (int c = 0; c <= 3; ++c) data.column(c).label.assign("P (u) [v]");

  if (!file.Put(bytes, size)) return 0;
  const std::int32_t result = sx::ReadPreferences(file.path(), settings, data);
  if (result < -3 || result > 0) __builtin_trap();

  // A credit text with an address is cut instead of replaced; clear it so that the second read
  // takes the stored line as the first one did.
  const std::string first = sx::FormatPreferences(settings, 1);
  settings.graphic.CreditText.clear();
  if (!file.Put(first.data(), first.size())) return 0;
  if (sx::ReadPreferences(file.path(), settings, data) != 0) __builtin_trap();
  if (sx::FormatPreferences(settings, 1) != first) __builtin_trap();
  return 0;
}
