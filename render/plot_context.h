#pragma once
// What one plot pass reads and the layout writes: the models, the text metrics measured on the
// target surface, the shared point buffer and the resolution factors of the surface.

#include <cstdint>
#include <vector>

#include "core/data_model.h"
#include "render/drawing.h"
#include "render/text_placement.h"
#include "settings/patterns.h"
#include "settings/plot_settings.h"

namespace sx {

// What a plot pass draws for. The screen and the printer lay the plot out anew for their own
// resolution; the metafile stages draw with the layout of the last screen paint.
enum class PlotStage : std::int32_t {
  kCurrentLayout = 0,  // drawing with the current layout
  kScreen = 1,         // screen drawing with a new layout
  kClipboard = 2,      // metafile to the clipboard, layout of the last screen paint
  kMetafile = 3,       // metafile to a file, likewise
  kPrinter = 4,        // printer page with a new layout
};
inline constexpr PlotStage kStageCurrentLayout = PlotStage::kCurrentLayout;
inline constexpr PlotStage kStageScreen = PlotStage::kScreen;
inline constexpr PlotStage kStageClipboard = PlotStage::kClipboard;
inline constexpr PlotStage kStageMetafile = PlotStage::kMetafile;
inline constexpr PlotStage kStagePrinter = PlotStage::kPrinter;

// Fixed margins of every layout, in device units (never scaled).
inline constexpr std::int32_t marginLeft = 5;
inline constexpr std::int32_t marginRight = 5;
inline constexpr std::int32_t marginTop = 5;
inline constexpr std::int32_t marginBottom = 5;

// Line heights and widths each layout measures on the target surface; read by the axis drawing
// and the renderers.
struct TextMetrics {
  std::int32_t titleHeight = 0;       // fontSize + 2, bold
  std::int32_t labelHeight = 0;       // fontSize, bold
  std::int32_t numberHeight = 0;      // fontSize - 2
  std::int32_t halfNumberHeight = 0;  // numberHeight / 2
  std::int32_t smallHeight = 0;       // fontSize - 4
  std::int32_t maxNumberWidth = 0;    // widest axis-limit text
  std::int32_t xLabelWidth = 0;       // Vertical mode: widest X tick label
  std::int32_t xNameWidth = 0;        // X axis name, bold
  std::int32_t xUnitWidth = 0;        // X unit
  std::int32_t spaceWidth = 0;        // " "
};

// The state a pass carries between its layout and its drawing; kept in the session so that
// stages 2 and 3 redraw with the layout of the last screen paint.
// Device coordinates along the X axis of data rows 0..n under one axis mapping, filled as a
// profile pass first asks: every curve of a pass walks the same rows, and mapping them once
// instead of once per parameter is a good part of a repaint of a long file.
struct RowAxisCache {
  bool valid = false;
  float scale = 0.0f, offset = 0.0f;
  std::vector<std::int32_t> coordinates;
};

struct RenderState {
  TextMetrics metrics;
  PointBuffer points;
  RowAxisCache rowAxis;  // renewed by each profile pass
  // Whole dots per inch found at the last screen paint.
  float ScreenResolution = 96.0f;
};

struct PlotContext {
  DataModel& data;
  PlotSettings& settings;
  const PatternTable& patterns;
  RenderState& render;
  ScaleInfo scale;  // of the surface being drawn
  // The texts the pass has placed; null draws every text where it is asked to be drawn.
  TextPlacement* texts = nullptr;
};

// The models every pass of a command reads, before a surface is known.
struct PlotModels {
  DataModel& data;
  PlotSettings& settings;
  const PatternTable& patterns;
  RenderState& render;

  PlotContext context(ScaleInfo scale) const { return {data, settings, patterns, render, scale}; }
};

}  // namespace sx
