// Loads arbitrary bytes as a data file: nothing may crash, hang or write outside a table.
// Small budgets keep each run fast and exercise the limits.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>

#include "core/reader.h"
#include "core/session.h"

namespace {

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
int fd = -1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!session) {
    // No settings folder: the preference files have fuzz targets of their own, and a fuzz run
    // must not write into the user's folder.
    unsetenv("APPDATA");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    session = sx::CreateSession({600, 40}, ui);
    fd = memfd_create("sondrix-fuzz", 0);
    if (!session || fd < 0) return 0;
  }
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  sx::SetDataFilePath(session->data, "/proc/self/fd/" + std::to_string(fd));
  ui.messages.clear();
  const std::int32_t n = sx::OpenDataFile(*session);
  if (n == 0 && (session->data.ParameterCount < 1 || session->data.ParameterCount > 256)) {
    __builtin_trap();
  }
  return 0;
}
