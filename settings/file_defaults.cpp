#include "settings/file_defaults.h"

#include <ctime>
#include <string>

#include "settings/settings_model.h"

namespace sx {
namespace {

void SetTitleAndCredit(const DataModel& data, GraphicSettings& g) {
  char stamp[64];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M h", &local);
  g.DateText.assign(stamp);
  g.TitleText.assign(data.DataFileName);
  if (!data.HasHeaderCredit) return;
  // "Title - date" names the plot and its date; anything else is a credit, kept with its "@".
  const std::string_view credit = data.HeaderCredit;
  const std::size_t dash = credit.find(" - ");
  if (dash != std::string_view::npos) {
    std::string date(credit.substr(dash + 3));
    date += " h";
    g.DateText.assign(date);
    g.TitleText.assign(credit.substr(0, dash));
    g.CreditText.clear();
  } else {
    g.CreditText.assign(credit);
    g.CreditText.append("@");
  }
}

}  // namespace

void ApplyFileDefaults(const DataModel& data, PlotSettings& settings) {
  SetAllDefaults(settings);
  const std::int32_t n = data.ParameterCount;
  for (std::int32_t c = 0; c <= n && c <= kMaxParameter; ++c) {
    settings.record(c).rgbColumn = data.column(c).rgbColumn;
  }
  settings.graphic.plotMode = kVertical;
  SetTitleAndCredit(data, settings.graphic);
  for (std::int32_t c = 1; c <= n && c <= kMaxParameter; ++c) settings.record(c).showGroupLabel = 0;
  std::int32_t firstOfGroup = 1;
  for (std::int32_t g = 1; g <= data.GroupCount && firstOfGroup <= kMaxParameter; ++g) {
    settings.record(firstOfGroup).showGroupLabel = 1;
    firstOfGroup += data.column(g).groupSize;
  }
}

void ShowLabelsOfFile(const DataModel& data, PlotSettings& settings) {
  const std::int32_t n = data.ParameterCount;
  if (n >= 1 && data.rowCount() >= 1) {
    for (std::int32_t c = 1; c <= n; ++c) settings.record(c).showParameterLabel = 1;
  }
  if (data.GroupedColumnCount > 0) {
    std::int32_t first = 1;
    for (std::int32_t g = 1; g <= data.GroupCount; ++g) {
      const std::int32_t size = data.column(g).groupSize;
      for (std::int32_t c = first; c < first + size; ++c) {
        if (settings.record(c).plotState > 0) {
          settings.record(c).showGroupLabel = 1;
          break;
        }
      }
      first += size;
      if (settings.graphic.allInOne != 0) break;
    }
  }
}

void DeselectCoordinateColumns(const DataModel& data, PlotSettings& settings) {
  const std::int32_t n = data.ParameterCount;
  if (n < 1 || data.rowCount() < 2) return;
  for (std::int32_t p = 1; p <= n && p <= kMaxParameter; ++p) {
    const std::string_view label = data.column(p).label.view();
    const bool exact =
        label == "LATITUDE" || label == "LONGITUDE" || label == "Longitude" || label == "Latitude";
    bool contains = false;
    for (std::string_view part : {"ALTITUDE ", "Altitude ", "HEIGHT ", "Height ", "Parameter "}) {
      if (label.find(part) != std::string_view::npos) contains = true;
    }
    if (exact || contains) settings.record(p).plotState = 0;
  }
}

}  // namespace sx
