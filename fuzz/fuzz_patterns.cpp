// Loads arbitrary bytes as a pattern file: nothing may crash, hang or write outside a record,
// and every pattern read must have a size the tiling code can use.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "settings/patterns.h"

namespace {

sx::PatternTable table;
int fd = -1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (fd < 0) {
    fd = memfd_create("sondrix-fuzz-patterns", 0);
    if (fd < 0 || !table.Allocate()) return 0;
  }
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  const int result = sx::LoadPatterns(table, "/proc/self/fd/" + std::to_string(fd));
  if (result != 0 || table.PatternCount < 0 || table.PatternCount > sx::kMaxPatterns) {
    __builtin_trap();
  }
  for (std::int32_t k = 1; k <= table.PatternCount; ++k) {
    const sx::Pattern& p = table.records[static_cast<std::size_t>(k)];
    if (p.width < 1 || p.width > 16 || p.height < 1 || p.height > 16) __builtin_trap();
    if (sx::FindPattern(table, p.name.view()) < 1) __builtin_trap();
  }
  return 0;
}
