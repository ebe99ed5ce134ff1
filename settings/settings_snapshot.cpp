#include "settings/settings_snapshot.h"

#include <algorithm>

namespace sx {
namespace {

template <typename T>
void CopyOut(const Table<T>& table, std::vector<T>& out) {
  out.assign(table.data(), table.data() + table.size());
}

template <typename T>
void CopyIn(const std::vector<T>& in, Table<T>& table) {
  std::copy(in.begin(), in.end(), table.data());
}

}  // namespace

void SettingsSnapshot::Take(const PlotSettings& settings) {
  CopyOut(settings.ParameterSettingsTable, records_);
  CopyOut(settings.DefaultColorTable, defaultColors_);
  CopyOut(settings.ParameterColorTable, parameterColors_);
  CopyOut(settings.ModeColorTable, modeColors_);
  graphic_ = settings.graphic;
  templatePath_ = settings.TemplatePath;
  std::copy(std::begin(settings.customColors), std::end(settings.customColors), customColors_);
  taken_ = true;
}

bool SettingsSnapshot::Restore(PlotSettings& settings) const {
  if (!taken_ || records_.size() != settings.ParameterSettingsTable.size() ||
      defaultColors_.size() != settings.DefaultColorTable.size() ||
      parameterColors_.size() != settings.ParameterColorTable.size() ||
      modeColors_.size() != settings.ModeColorTable.size()) {
    return false;
  }
  CopyIn(records_, settings.ParameterSettingsTable);
  CopyIn(defaultColors_, settings.DefaultColorTable);
  CopyIn(parameterColors_, settings.ParameterColorTable);
  CopyIn(modeColors_, settings.ModeColorTable);
  settings.graphic = graphic_;
  settings.TemplatePath = templatePath_;
  std::copy(std::begin(customColors_), std::end(customColors_), settings.customColors);
  return true;
}

}  // namespace sx
