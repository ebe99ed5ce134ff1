// Reads arbitrary bytes back as an edited description file: nothing may crash, hang or write
// outside a table; the lines read stay within the description table and every label and value
// is whole UTF-8 within its capacity.

#include <cstdint>
#include <memory>
#include <string>

#include "core/description_file.h"
#include "core/utf8.h"
#include "fuzz/fuzz_file.h"
#include "shell/session.h"

namespace {

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
const sx::fuzz::MemoryFile file("sondrix-fuzz-description");

bool SetUp() {
  session = sx::CreateSession({600, 40}, ui);
  if (!session || !file.ok()) return false;
  const std::string& path = file.path();
  const std::size_t slash = path.rfind('/');
  session->data.DescriptionDirectory = path.substr(0, slash + 1);
  session->data.DescriptionFileName = path.substr(slash + 1);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = SetUp();
  if (!ready || !file.Put(data, size)) return 0;
  ui.messages.clear();
  if (!sx::ReloadDescription(session->data, session->buffers).ok()) __builtin_trap();
  const sx::DataModel& model = session->data;
  if (model.DescriptionLineCount < 0 || model.DescriptionLineCount > sx::kDescriptionLines) {
    __builtin_trap();
  }
  for (std::int32_t i = 1; i <= model.DescriptionLineCount; ++i) {
    const sx::DescriptionLine& line = model.DescriptionTable[static_cast<std::size_t>(i)];
    if (!sx::IsValidUtf8(line.label.view()) || !sx::IsValidUtf8(line.value.view()) ||
        sx::Utf8Length(line.label.view()) > 31 || sx::Utf8Length(line.value.view()) > 511) {
      __builtin_trap();
    }
  }
  return 0;
}
