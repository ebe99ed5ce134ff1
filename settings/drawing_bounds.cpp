#include "settings/drawing_bounds.h"

#include <algorithm>
#include <iterator>

namespace sx {
namespace {

using P = ParameterSettings;
using G = GraphicSettings;

struct RecordField {
  std::int32_t P::*field;
  std::int32_t maximum;
};
struct GraphicField {
  std::int32_t G::*field;
  std::int32_t maximum;
};

constexpr RecordField kRecordFields[] = {
    {&P::markerSize, kMaxDrawnMarkerSize}, {&P::modeMarkerSize, kMaxDrawnMarkerSize},
    {&P::lineWidth, kMaxDrawnLineWidth},   {&P::modeLineWidth, kMaxDrawnLineWidth},
    {&P::columnWidth, kMaxDrawnLength},    {&P::axisLength, kMaxDrawnLength}};
constexpr GraphicField kGraphicFields[] = {
    {&G::frameWidth, kMaxDrawnLineWidth},  {&G::fontSize, kMaxDrawnFontSize},
    {&G::modeFontSize, kMaxDrawnFontSize}, {&G::plotDistance, kMaxDrawnLength},
    {&G::graphicWidth, kMaxDrawnLength},   {&G::graphicHeight, kMaxDrawnLength}};

template <typename Record, typename Field>
void Bound(Record& record, const Field& f, std::int32_t& stored, std::int32_t& bounded) {
  stored = record.*f.field;
  bounded = std::clamp(stored, -f.maximum, f.maximum);
  record.*f.field = bounded;
}

template <typename Record, typename Field>
void Restore(Record& record, const Field& f, std::int32_t stored, std::int32_t bounded) {
  if (record.*f.field == bounded) record.*f.field = stored;
}

}  // namespace

BoundedDrawingSizes::BoundedDrawingSizes(PlotSettings& settings) : settings_(settings) {
  static_assert(std::size(kRecordFields) == kRecordFieldCount);
  static_assert(std::size(kGraphicFields) == kGraphicFieldCount);
  records_ = std::min<std::size_t>(settings.ParameterSettingsTable.size(), kSettingsRecords);
  for (std::size_t i = 0; i < records_; ++i) {
    ParameterSettings& r = settings.record(static_cast<int>(i));
    for (std::size_t k = 0; k < kRecordFieldCount; ++k) {
      Bound(r, kRecordFields[k], recordSizes_[i][k].stored, recordSizes_[i][k].bounded);
    }
  }
  for (std::size_t k = 0; k < std::size(kGraphicFields); ++k) {
    Bound(settings.graphic, kGraphicFields[k], graphicSizes_[k].stored, graphicSizes_[k].bounded);
  }
}

BoundedDrawingSizes::~BoundedDrawingSizes() {
  for (std::size_t i = 0; i < records_; ++i) {
    ParameterSettings& r = settings_.record(static_cast<int>(i));
    for (std::size_t k = 0; k < std::size(kRecordFields); ++k) {
      Restore(r, kRecordFields[k], recordSizes_[i][k].stored, recordSizes_[i][k].bounded);
    }
  }
  for (std::size_t k = 0; k < std::size(kGraphicFields); ++k) {
    Restore(settings_.graphic, kGraphicFields[k], graphicSizes_[k].stored,
            graphicSizes_[k].bounded);
  }
}

}  // namespace sx
