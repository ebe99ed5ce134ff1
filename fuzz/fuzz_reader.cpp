// Loads arbitrary bytes as a data file: nothing may crash, hang or write outside a table.
// Small budgets keep each run fast and exercise the limits.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/reader.h"
#include "core/session.h"
#include "fuzz/fuzz_file.h"

namespace {

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
const sx::fuzz::MemoryFile file("sondrix-fuzz");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!session) {
    // No settings folder: the preference files have fuzz targets of their own, and a fuzz run
    // must not write into the user's folder.
    unsetenv("APPDATA");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    session = sx::CreateSession({600, 40}, ui);
    if (!session || !file.ok()) return 0;
    sx::SetDataFilePath(session->data, file.path());
  }
  if (!file.Put(data, size)) return 0;
  ui.messages.clear();
  const std::int32_t n = sx::OpenDataFile(*session);
  if (n == 0 && (session->data.ParameterCount < 1 || session->data.ParameterCount > 256)) {
    __builtin_trap();
  }
  return 0;
}
