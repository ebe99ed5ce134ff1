#pragma once
// A copy of the whole settings model, taken before a command that must not change it for good
// (a batch, which loads other files into the same tables) and put back afterwards.

#include <string>
#include <vector>

#include "settings/plot_settings.h"

namespace sx {

class SettingsSnapshot {
 public:
  // Copies every record of the four tables, the graphic settings, the template path and the
  // custom colours.
  void Take(const PlotSettings& settings);
  // Writes the copy back into tables of the same sizes; false (and nothing changed) when none
  // was taken or the tables differ.
  bool Restore(PlotSettings& settings) const;
  bool taken() const { return taken_; }

 private:
  bool taken_ = false;
  std::vector<ParameterSettings> records_;
  std::vector<DefaultColorEntry> defaultColors_;
  std::vector<RGB> parameterColors_;
  std::vector<RGB> modeColors_;
  GraphicSettings graphic_;
  std::string templatePath_;
  std::uint32_t customColors_[16] = {};
};

}  // namespace sx
