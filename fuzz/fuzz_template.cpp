// Loads arbitrary bytes as a template onto a small data file, as the template load command does:
// nothing may crash, hang or write outside a table, and no number format other than "%.Nf" may
// reach the settings.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/reader.h"
#include "fuzz/fuzz_file.h"
#include "settings/scales.h"
#include "settings/template_file.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

namespace {

constexpr char kData[] =
    "Depth (m)\tA [mg/l]\tB@G1\tC (%)@G1\n1\t2\t3\t4\n2\t/3\tx\t5\n3\t4.5\t\t<6\n";
constexpr std::int32_t kParameters = 3;

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
const sx::fuzz::MemoryFile dataFile("sondrix-fuzz-data");
const sx::fuzz::MemoryFile templateFile("sondrix-fuzz-template");

bool SetUp() {
  // The preference file of each load goes to a folder of our own, not the user's.
  char folder[] = "/tmp/sondrix-fuzz-template-XXXXXX";
  if (mkdtemp(folder) == nullptr) return false;
  setenv("APPDATA", folder, 1);
  session = sx::CreateSession({600, 40}, ui);
  if (!session || !templateFile.ok() || !dataFile.Put(kData, sizeof kData - 1)) return false;
  sx::SetDataFilePath(session->data, dataFile.path());
  return sx::OpenDataFile(*session) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = SetUp();
  if (!ready || !templateFile.Put(data, size)) return 0;
  ui.messages.clear();
  // Every run starts from the data file's own settings, whatever the last template left.
  session->settings.graphic.useTemplate = 0;
  if (sx::OpenDataFile(*session) != 0) __builtin_trap();

  const std::int32_t result = sx::LoadTemplateCommand(*session, templateFile.path());
  if (result > 0 || result < sx::kTemplateCouldNotOpen) __builtin_trap();
  if (session->data.ParameterCount != kParameters) __builtin_trap();
  for (int i = 0; i < sx::kSettingsRecords; ++i) {
    if (!sx::IsValidNumberFormat(session->settings.record(i).format.view())) __builtin_trap();
  }
  return 0;
}
