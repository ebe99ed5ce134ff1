// Reads arbitrary bytes as one data cell and checks the fast reading against the plain sscanf
// reading: any difference in result, flag or value bits aborts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "tests/core/parse_cell_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view cell(reinterpret_cast<const char*>(data), size);
  const sx::testing::CellReading fast = sx::testing::ReadCellFast(cell);
  // The reference goes through a C string, which would end at an embedded NUL.
  if (std::memchr(data, 0, size) != nullptr) return 0;
  const sx::testing::CellReading reference = sx::testing::ReadCellReference(cell);
  if (!(fast == reference)) {
    std::fprintf(stderr, "fast %d/%d/%08x, reference %d/%d/%08x\n", fast.result,
                 static_cast<int>(fast.flag), static_cast<unsigned>(fast.valueBits),
                 reference.result, static_cast<int>(reference.flag),
                 static_cast<unsigned>(reference.valueBits));
    std::abort();
  }
  return 0;
}
