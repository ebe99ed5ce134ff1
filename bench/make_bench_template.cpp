// Writes the template the plot benchmark renders with: the data file's own settings in the
// Vertical mode at the given size, every parameter drawn with lines and, on request, markers
// (the defaults show markers only on short columns). Driven by bench/run_plot_bench.sh.
//
// usage: make_bench_template DATA OUT.stf WIDTH HEIGHT NUMERIC_ITEMS [--markers]

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "core/reader.h"
#include "core/user_interface.h"
#include "settings/plot_settings.h"
#include "settings/settings_model.h"
#include "settings/template_file.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

namespace {

bool ReadInt(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& out) {
  const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size() && out >= low && out <= high;
}

}  // namespace

int main(int argc, char** argv) {
  std::int64_t width = 0, height = 0, numeric = 0;
  const bool markers = argc == 7 && std::string_view(argv[6]) == "--markers";
  if ((argc != 6 && !markers) || !ReadInt(argv[3], 1, 20000, width) ||
      !ReadInt(argv[4], 1, 20000, height) || !ReadInt(argv[5], 1, INT32_MAX, numeric)) {
    std::fprintf(
        stderr, "usage: make_bench_template DATA OUT.stf WIDTH HEIGHT NUMERIC_ITEMS [--markers]\n");
    return 2;
  }
  sx::RecordingUserInterface ui;
  sx::MemoryBudgets budgets;
  budgets.MaxNumericItems = static_cast<std::int32_t>(numeric);
  budgets.MaxTextItems = 100000;
  std::unique_ptr<sx::Session> session = sx::CreateSession(budgets, ui);
  if (!session) return 2;
  sx::SetDataFilePath(session->data, argv[1]);
  if (sx::OpenDataFile(*session) != 0) {
    for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.text.c_str());
    return 2;
  }
  sx::ChoosePlotMode(session->settings, sx::kVertical);
  sx::GraphicSettings& g = session->settings.graphic;
  g.plotMode = sx::kVertical;
  g.graphicWidth = static_cast<std::int32_t>(width);
  g.graphicHeight = static_cast<std::int32_t>(height);
  for (int i = 1; i <= session->data.ParameterCount; ++i) {
    sx::ParameterSettings& r = session->settings.record(i);
    r.lines = 1;
    r.marker = markers ? 1 : 0;
    sx::UpdatePlotState(session->settings, i);
  }
  sx::RecountPlotted(session->settings);
  std::string error;
  if (!sx::WriteTemplate(session->data, session->settings, argv[2], &error)) {
    std::fprintf(stderr, "cannot write %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  return 0;
}
