// Loads arbitrary bytes as a data file: nothing may crash, hang or write outside a table.
// Small budgets keep each run fast and exercise the limits. Every input is read by one reader
// and again by two (one per half of the data lines); both must find the same items.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/data_lines.h"
#include "core/reader.h"
#include "fuzz/fuzz_file.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

namespace {

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
const sx::fuzz::MemoryFile file("sondrix-fuzz");

// What a load leaves for the rest of the program: counts, header items and every column's values.
std::string Items(const sx::DataModel& model) {
  std::string out;
  auto add = [&out](const void* p, std::size_t n) { out.append(static_cast<const char*>(p), n); };
  add(&model.ParameterCount, sizeof model.ParameterCount);
  add(&model.TextItemCount, sizeof model.TextItemCount);
  for (std::int32_t c = 0; c <= model.ParameterCount; ++c) {
    const sx::ColumnRecord& column = model.column(c);
    add(&column.itemCount, sizeof column.itemCount);
    add(&model.item(column.itemBase),
        (column.itemCount + std::size_t{1}) * sizeof(sx::NumericItem));
  }
  return out;
}

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
  sx::SetTwoThreadMinimum(UINT64_MAX);
  const std::int32_t n = sx::OpenDataFile(*session);
  const sx::DataModel& model = session->data;
  if (n == 0 && (model.ParameterCount < 1 || model.ParameterCount > 256)) __builtin_trap();
  const std::string first = Items(model);
  sx::SetTwoThreadMinimum(0);
  sx::OpenDataFile(*session);
  if (Items(model) != first) __builtin_trap();
  return 0;
}
