// Reads arbitrary bytes as a preference file: nothing may crash, hang or write outside a table,
// and whatever was read must survive being written and read again unchanged.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/session.h"
#include "settings/settings_files.h"
#include "settings/settings_model.h"

namespace {

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
int fd = -1;
std::string path;

bool Put(const void* data, std::size_t size) {
  return ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (!session) {
    session = sx::CreateSession({600, 40}, ui);
    fd = memfd_create("sondrix-fuzz-preferences", 0);
    if (!session || fd < 0) return 0;
    path = "/proc/self/fd/" + std::to_string(fd);
  }
  sx::PlotSettings& settings = session->settings;
  sx::DataModel& data = session->data;
  sx::InitColorTables(settings);
  sx::SetAllDefaults(settings);
  settings.graphic.CreditText.clear();
  data.ParameterCount = 3;
  for (int c = 0; c <= 3; ++c) data.column(c).label.assign("P (u) [v]");

  if (!Put(bytes == nullptr ? "" : static_cast<const void*>(bytes), size)) return 0;
  const std::int32_t result = sx::ReadPreferences(path, settings, data);
  if (result < -3 || result > 0) __builtin_trap();

  // A credit text with an address is cut instead of replaced; clear it so that the second read
  // takes the stored line as the first one did.
  const std::string first = sx::FormatPreferences(settings, 1);
  settings.graphic.CreditText.clear();
  if (!Put(first.data(), first.size())) return 0;
  if (sx::ReadPreferences(path, settings, data) != 0) __builtin_trap();
  if (sx::FormatPreferences(settings, 1) != first) __builtin_trap();
  return 0;
}
