// Loads arbitrary bytes as a pattern file: nothing may crash, hang or write outside a record,
// and every pattern read must have a size the tiling code can use.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_file.h"
#include "settings/patterns.h"

namespace {

sx::PatternTable table;
const sx::fuzz::MemoryFile file("sondrix-fuzz-patterns");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!table.records.allocated() && !table.Allocate()) return 0;
  if (!file.Put(data, size)) return 0;
  const int result = sx::LoadPatterns(table, file.path());
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
