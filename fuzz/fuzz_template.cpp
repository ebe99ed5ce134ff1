// Loads arbitrary bytes as a template onto a small data file, as the template load command does:
// nothing may crash, hang or write outside a table, and no number format other than "%.Nf" may
// reach the settings.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/reader.h"
#include "core/session.h"
#include "plot/scales.h"
#include "settings/template_file.h"

namespace {

constexpr char kData[] =
    "Depth (m)\tA [mg/l]\tB@G1\tC (%)@G1\n1\t2\t3\t4\n2\t/3\tx\t5\n3\t4.5\t\t<6\n";
constexpr std::int32_t kParameters = 3;

sx::RecordingUserInterface ui;
std::unique_ptr<sx::Session> session;
int templateFd = -1;
std::string templatePath;

bool Fill(int fd, const void* bytes, std::size_t size) {
  return ftruncate(fd, 0) == 0 && pwrite(fd, bytes, size, 0) == static_cast<ssize_t>(size);
}

bool SetUp() {
  // The preference file of each load goes to a folder of our own, not the user's.
  char folder[] = "/tmp/sondrix-fuzz-template-XXXXXX";
  if (mkdtemp(folder) == nullptr) return false;
  setenv("APPDATA", folder, 1);
  session = sx::CreateSession({600, 40}, ui);
  const int dataFd = memfd_create("sondrix-fuzz-data", 0);
  templateFd = memfd_create("sondrix-fuzz-template", 0);
  if (!session || dataFd < 0 || templateFd < 0) return false;
  if (!Fill(dataFd, kData, sizeof kData - 1)) return false;
  sx::SetDataFilePath(session->data, "/proc/self/fd/" + std::to_string(dataFd));
  templatePath = "/proc/self/fd/" + std::to_string(templateFd);
  return sx::OpenDataFile(*session) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = SetUp();
  if (!ready || !Fill(templateFd, data, size)) return 0;
  ui.messages.clear();
  // Every run starts from the data file's own settings, whatever the last template left.
  session->settings.graphic.useTemplate = 0;
  if (sx::OpenDataFile(*session) != 0) __builtin_trap();

  std::int32_t result = 1;
  sx::LoadTemplateCommand(*session, templatePath, &result);
  if (result > 0 || result < sx::kTemplateCouldNotOpen) __builtin_trap();
  if (session->data.ParameterCount != kParameters) __builtin_trap();
  for (int i = 0; i < sx::kSettingsRecords; ++i) {
    if (!sx::IsValidNumberFormat(session->settings.record(i).format.view())) __builtin_trap();
  }
  return 0;
}
