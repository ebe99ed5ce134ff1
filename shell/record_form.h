#pragma once
// Control groups that several settings dialogs share: the per-record dialogs (axes, styles) and
// the "Set global options" dialogs are made of the same few groups in different combinations.

#include <cstdint>

#include "core/data_model.h"
#include "settings/plot_settings.h"
#include "shell/form_fields.h"

namespace sx {

// Ids of the tick controls: the X axis and the parameter axes number them differently.
struct TickIds {
  int increment, minorTicks, bothSides, inside, ticklines, minorTicklines;
};
inline constexpr TickIds kParameterTickIds{1015, 1016, 1017, 1018, 1019, 1020};
inline constexpr TickIds kXTickIds{1404, 1405, 1406, 1407, 1408, 1409};

struct RangeIds {
  int automatic, minimum, maximum, referenceLine;
};
inline constexpr RangeIds kParameterRangeIds{1002, 1003, 1004, 1005};

class RecordForm : public Form {
 protected:
  // 1024 fixed axis length, 1025 its length in cm.
  void addAxisLength(const ParameterSettings& r, double pixelsPerCm);
  void storeAxisLength(ParameterSettings& r, double pixelsPerCm) const;
  // Automatic, minimum, maximum and reference line shown with the record's format.
  void addRange(const ParameterSettings& r, RangeIds ids);
  void storeRange(ParameterSettings& r, RangeIds ids) const;
  void addTicks(const ParameterSettings& r, TickIds ids);
  void storeTicks(ParameterSettings& r, TickIds ids) const;
  // 1034 / 1033 group text, 1035 / 1000 parameter text of column c.
  void addLabels(const DataModel& data, const ParameterSettings& r, int c);
  void storeLabels(DataModel& data, ParameterSettings& r, int c) const;
  // 1001 with 1600 "add" / 1601 "plot".
  void addDoWithNext(const ParameterSettings& r);
  void storeDoWithNext(ParameterSettings& r) const;
  // The eleven style boxes 1010..1014, 1027..1032.
  void addStyles(const ParameterSettings& r);
  void storeStyles(ParameterSettings& r) const;
  // 1007 marker (when withBox), 1008 symbol, 1009 size.
  void addMarker(std::int32_t marker, std::int32_t symbol, std::int32_t size, bool withBox);
  void storeMarker(std::int32_t& marker, std::int32_t& symbol, std::int32_t& size) const;
  // The five quality boxes 1040..1044.
  void addQuality(const ParameterSettings& r);
  void storeQuality(ParameterSettings& r) const;
  // valid + 2 x not valid + 4 x unknown + 8 x questionable + 16 x individual, as ticked.
  int qualityMask() const;
  // 1152 / 1153 / 1154: 0, 45, 90 degrees.
  void addOrientation(const ParameterSettings& r);
  void storeOrientation(ParameterSettings& r) const;
};

// The nearest record below (direction -1, down to 1) or above (+1, up to last) of current for
// which isItem holds; current itself when there is none.
template <typename Predicate>
int NearestItem(int current, int direction, int last, Predicate isItem) {
  for (int i = current + direction; i >= 1 && i <= last; i += direction) {
    if (isItem(i)) return i;
  }
  return current;
}

}  // namespace sx
