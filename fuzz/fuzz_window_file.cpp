// Reads arbitrary bytes as a window file: nothing may crash or hang, the budgets read are always
// usable, and what was read survives being written and read again unchanged.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/session.h"
#include "settings/settings_files.h"

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
    fd = memfd_create("sondrix-fuzz-window", 0);
    if (!session || fd < 0) return 0;
    path = "/proc/self/fd/" + std::to_string(fd);
  }
  sx::StartupState& startup = session->startup;
  startup = sx::StartupState{};
  if (!Put(bytes == nullptr ? "" : static_cast<const void*>(bytes), size)) return 0;
  sx::ReadWindowFile(path, startup);
  if (!sx::IsNumericBudgetValid(startup.budgets.MaxNumericItems) ||
      !sx::IsTextBudgetValid(startup.budgets.MaxTextItems)) {
    __builtin_trap();
  }

  const std::string first = sx::FormatWindowFile(startup, 1024, 768);
  sx::StartupState again;
  if (!Put(first.data(), first.size())) return 0;
  if (!sx::ReadWindowFile(path, again)) __builtin_trap();
  if (sx::FormatWindowFile(again, 1024, 768) != first) __builtin_trap();
  return 0;
}
