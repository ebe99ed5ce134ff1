#include "render/profile_renderer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "core/device_int.h"
#include "render/deferred_drawing.h"
#include "render/style_drawers.h"
#include "render/text_placement.h"
#include "settings/settings_model.h"

namespace sx {
namespace {

// Points 1..kRunLimit of a run; point 0 and the three points after the last close it, so a run
// never needs more than points 0..1999 of the buffer.
constexpr std::int32_t kRunLimit = 1996;

// One half (or the whole) of a strip on which a curve is walked: its value edges as device
// coordinates, lo <= hi, and its own value mapping.
struct CurveBand {
  std::int32_t lo = 0, hi = 0;
  float scale = 0.0f, offset = 0.0f;

  std::int32_t Map(float value) const { return ToInt32(MapToDevice(scale, offset, value)); }
  std::int32_t Clamp(std::int32_t v) const { return std::clamp(v, lo, hi); }
};

// The band on which value u0 lies at device coordinate d0 and u1 at d1; false when the values do
// not span a range (a reference line at the very end of the axis range) and there is nothing to
// map.
bool MakeBand(float u0, std::int32_t d0, float u1, std::int32_t d1, CurveBand& band) {
  const float span = u1 - u0;
  if (!(span != 0.0f) || !std::isfinite(span)) return false;
  band.scale = (static_cast<float>(d1) - static_cast<float>(d0)) / span;
  band.offset = u0 * band.scale - static_cast<float>(d0);
  if (!std::isfinite(band.scale) || !std::isfinite(band.offset)) return false;
  band.lo = std::min(d0, d1);
  band.hi = std::max(d0, d1);
  return true;
}

struct CurveStyle {
  RGB color{};
  std::int32_t lineWidth = 1;  // scaled
  std::int32_t scaleStep = 1;
  PlotStage stage = kStageScreen;
  bool colorize = false;
  bool lines = false;
};

// Builds a curve in the shared point buffer and draws it run by run. A run that fills the buffer
// is drawn and the next one starts at its last point, so a curve of any length is drawn without
// a gap or a seam.
class CurveRun {
 public:
  CurveRun(Surface& surface, PointBuffer& points, const ProfileStrip& strip,
           const CurveStyle& style, std::int32_t reference)
      : surface_(surface), points_(points), strip_(strip), style_(style), reference_(reference) {}

  void Start(StripPoint entry, StripPoint first) {
    entry_ = entry;
    n_ = 0;
    Append(first);
  }

  // Points that lie on the same device row (Vertical) or column (Horizontal) as their neighbours
  // are thinned first: a long file puts hundreds of points on each, and a line through the kept
  // ones covers the same pixels at a fraction of the drawing cost.
  void Append(StripPoint p) {
    const int n = thinner_.Add(p, kept_);
    for (int i = 0; i < n; ++i) Store(kept_[static_cast<std::size_t>(i)]);
  }

  void Finish() {
    const int n = thinner_.Finish(kept_);
    for (int i = 0; i < n; ++i) Store(kept_[static_cast<std::size_t>(i)]);
    if (n_ >= 1) Flush(true);
    n_ = 0;
  }

 private:
  void Store(StripPoint p) {
    if (n_ >= kRunLimit) {
      Flush(false);
      entry_ = last_;
      firstRun_ = false;
      n_ = 1;
      strip_.SetPoint(points_, 1, last_);
    }
    ++n_;
    strip_.SetPoint(points_, n_, p);
    last_ = p;
  }

  // Draws points first..last of the buffer as one open line.
  void Polyline(std::int32_t first, std::int32_t last, std::int32_t width, RGB color) {
    surface_.Polyline(std::span<const DevicePoint>(points_.points.data() + first,
                                                   static_cast<std::size_t>(last - first + 1)),
                      width, color, PenStyle::kSolid);
  }

  void Flush(bool lastRun) {
    const std::int32_t n = n_;
    // Closed against the reference level: down from the last point, back along the level, up to
    // the entry point.
    strip_.SetPoint(points_, 0, entry_);
    strip_.SetPoint(points_, n + 1, {last_.a, reference_});
    strip_.SetPoint(points_, n + 2, {entry_.a, reference_});
    strip_.SetPoint(points_, n + 3, entry_);
    if (!style_.colorize) {
      DrawPolyline(surface_, points_, n, style_.lineWidth, style_.color);
      return;
    }
    FillPolygon(surface_, points_, n + 3, style_.scaleStep, FillColor(style_.color));
    // The clipboard metafile takes the fill alone.
    if (style_.stage == kStageClipboard) return;
    const RGB color = style_.lines ? style_.color : kDefaultDrawColor;
    const std::int32_t width = style_.lines ? style_.lineWidth : style_.scaleStep;
    if (firstRun_ && lastRun) {
      DrawPolyline(surface_, points_, n + 3, width, color);
      return;
    }
    // A curve split over several runs is outlined as one area: the sides down to the reference
    // level are drawn only at the curve's real ends, not where two runs meet.
    DrawPolyline(surface_, points_, n, width, color);
    Polyline(lastRun ? n : n + 1, firstRun_ ? n + 3 : n + 2, width, color);
  }

  Surface& surface_;
  PointBuffer& points_;
  const ProfileStrip& strip_;
  const CurveStyle& style_;
  const std::int32_t reference_;
  AxisThinner thinner_;
  AxisThinner::Out kept_;  // a member: clearing it for every point would cost more than the rest
  StripPoint entry_{}, last_{};
  std::int32_t n_ = 0;
  bool firstRun_ = true;
};

enum class Side { kInside, kLow, kHigh };

// Where a curve enters the band and the X range when it starts at `cur` after a previous point
// outside them: the later of its crossings with the value edge and the X edge on the previous
// point's side, brought into the band.
StripPoint EntryPoint(const ProfileStrip& strip, const CurveBand& band, StripPoint prev,
                      StripPoint cur) {
  StripPoint e = cur;
  bool crossed = false;
  if (prev.v > band.hi) {
    e = strip.CrossValueEdge(prev, cur, band.hi);
    crossed = true;
  } else if (prev.v < band.lo) {
    e = strip.CrossValueEdge(prev, cur, band.lo);
    crossed = true;
  }
  const std::int32_t from = crossed ? e.a : prev.a;
  if (from < strip.aMin) {
    e = strip.CrossAxisEdge(prev, cur, strip.aMin);
  } else if (from > strip.aMax) {
    e = strip.CrossAxisEdge(prev, cur, strip.aMax);
  }
  e.v = band.Clamp(e.v);
  return e;
}

// Walks member q of the group headed by `head` (member mode `mode`) on one band and draws it.
void WalkCurve(Surface& surface, PlotContext& ctx, const ProfileStrip& strip, const CurveBand& band,
               const CurveStyle& style, std::int32_t reference, std::int32_t head, std::int32_t q,
               std::int32_t mode) {
  const DataModel& data = ctx.data;
  // Every member walks its own values, however many the head has.
  const std::int64_t count = data.column(q).itemCount;
  const std::int64_t aMin = strip.aMin, aMax = strip.aMax;
  const auto side = [&](std::int32_t v) {
    // One unit beyond an edge still counts as on it.
    if (std::int64_t{v} < std::int64_t{band.lo} - 1) return Side::kLow;
    if (std::int64_t{v} > std::int64_t{band.hi} + 1) return Side::kHigh;
    return Side::kInside;
  };
  const auto edge = [&](Side s) { return s == Side::kLow ? band.lo : band.hi; };

  CurveRun run(surface, ctx.render.points, strip, style, reference);
  MemberValues values(ctx, head, mode);
  const std::span<const std::int32_t> axes = RowAxes(ctx.render, data, strip);
  bool started = false;
  bool havePrev = false;
  StripPoint prev{};
  std::int32_t a = 0;
  for (std::int64_t i = 1; i <= count; ++i) {
    const NumericItem* item = nullptr;
    std::int32_t valid = 0;
    const float value = values.Get(i, item, valid);
    if (item != nullptr && item->row >= 0) a = AxisOfRowCached(axes, data, strip, item->row);
    StripPoint cur{a, band.Map(value)};

    if (!started) {
      const bool starts =
          valid != 0 && a >= aMin - 1 && a <= aMax && cur.v >= band.lo && cur.v <= band.hi;
      if (starts) {
        cur.a = strip.SnapAxis(cur.a);
        run.Start(havePrev ? EntryPoint(strip, band, prev, cur) : cur, cur);
        started = true;
        prev = cur;
      } else if (!havePrev || valid != 0) {
        prev = cur;
        havePrev = true;
      }
      continue;
    }
    if (valid == 0) continue;
    // Beyond either end of the X axis the curve ends on that edge.
    if (a > aMax + 1 || a < aMin - 1) {
      StripPoint e = strip.CrossAxisEdge(prev, cur, a > aMax + 1 ? strip.aMax : strip.aMin);
      e.v = band.Clamp(e.v);
      run.Append(e);
      break;
    }
    // Outside the band the curve runs along the edge it left by, from the exact crossing until
    // the exact crossing where it comes back.
    const Side ps = side(prev.v), cs = side(cur.v);
    if (ps != Side::kInside && ps != cs) run.Append(strip.CrossValueEdge(prev, cur, edge(ps)));
    if (cs == Side::kInside) {
      run.Append(cur);
    } else {
      if (ps != cs) run.Append(strip.CrossValueEdge(prev, cur, edge(cs)));
      run.Append({cur.a, edge(cs)});
    }
    prev = cur;
  }
  run.Finish();
}

// The curve of member q: one walk on the whole strip, or, for a colorized head whose reference
// level lies inside the strip, one walk on each side of the reference level with its own mapping,
// so that each colour area is closed against the reference line on its own side.
void DrawCurve(Surface& surface, PlotContext& ctx, PlotStage stage, const ProfileStrip& strip,
               std::int32_t head, std::int32_t q, std::int32_t mode) {
  const ParameterSettings& hs = ctx.settings.record(head);
  const ParameterSettings& qs = ctx.settings.record(q);
  const std::int32_t step = ctx.scale.scaleStep;
  CurveStyle style;
  style.color = qs.color;
  style.lineWidth = Scaled(step, qs.lineWidth);
  style.scaleStep = step;
  style.stage = stage;
  style.colorize = qs.colorize > 0;
  style.lines = qs.lines > 0;

  const std::int32_t ref = strip.ReferenceLevel(hs.referenceLine);
  if (hs.colorize > 0 && strip.vMin < ref && ref < strip.vMax) {
    const ColumnRecord& r = *strip.record;
    // The side of the strip the axis maximum lies on (the top, or the right, unless the range
    // is reversed).
    const float direction = strip.valueScale * (r.yRangeMaximum - r.yRangeMinimum);
    const bool maxAtVMin = direction < 0.0f || (direction == 0.0f && !strip.vertical());
    const std::int32_t maxEdge = maxAtVMin ? strip.vMin : strip.vMax;
    const std::int32_t minEdge = maxAtVMin ? strip.vMax : strip.vMin;
    CurveBand band;
    if (MakeBand(hs.referenceLine, ref, r.yRangeMaximum, maxEdge, band)) {
      WalkCurve(surface, ctx, strip, band, style, ref, head, q, mode);
    }
    if (MakeBand(r.yRangeMinimum, minEdge, hs.referenceLine, ref, band)) {
      WalkCurve(surface, ctx, strip, band, style, ref, head, q, mode);
    }
    return;
  }
  CurveBand band;
  band.lo = strip.vMin;
  band.hi = strip.vMax;
  band.scale = strip.valueScale;
  band.offset = strip.valueOffset;
  WalkCurve(surface, ctx, strip, band, style, ref, head, q, mode);
}

// Markers of member q on the head's strip.
void DrawMarkers(Surface& surface, PlotContext& ctx, const ProfileStrip& strip, std::int32_t head,
                 std::int32_t q, std::int32_t mode) {
  const DataModel& data = ctx.data;
  const ParameterSettings& qs = ctx.settings.record(q);
  const std::int32_t step = ctx.scale.scaleStep;
  const std::int32_t size = Scaled(step, qs.markerSize);
  const std::int32_t pen = Scaled(step, kMarkerLineWidth);
  // Markers of a parameter drawn with nothing else take its colour; beside other styles black.
  bool alone = qs.lines <= 0 && qs.colorize <= 0 && qs.columns <= 0 && qs.histogramLines <= 0;
  if (strip.vertical()) alone = alone && qs.outline <= 0;
  const RGB color = alone ? qs.color : kDefaultDrawColor;
  const std::int64_t count = data.column(q).itemCount;

  MemberValues values(ctx, head, mode);
  const std::span<const std::int32_t> axes = RowAxes(ctx.render, data, strip);
  // Centres go to the surface in runs, in their order.
  std::array<DevicePoint, 512> batch;
  std::size_t n = 0;
  for (std::int64_t i = 1; i <= count; ++i) {
    const NumericItem* ignored = nullptr;
    std::int32_t valid = 0;
    const float value = values.Get(i, ignored, valid);
    const NumericItem* item = ColumnItem(data, q, i);
    if (item == nullptr || item->row <= 0 || valid == 0) continue;
    const std::int32_t a = strip.SnapAxis(AxisOfRowCached(axes, data, strip, item->row));
    const std::int32_t v = strip.SnapValue(strip.MapValue(value));
    if (a < strip.aMin) continue;
    if (a > strip.aMax) break;
    if (v < strip.vMin || v > strip.vMax) continue;
    if (n == batch.size()) {
      surface.Markers(batch, color, size, pen, qs.markerSymbol);
      n = 0;
    }
    batch[n++] = strip.ToDevice({a, v});
  }
  surface.Markers(std::span<const DevicePoint>(batch.data(), n), color, size, pen, qs.markerSymbol);
}

// The values of parameter p as whole numbers: on the strip's middle line when nothing else shows
// the values, otherwise beside each value.
void DrawValueTexts(Surface& surface, PlotContext& ctx, const ProfileStrip& strip, std::int32_t p) {
  const DataModel& data = ctx.data;
  const GraphicSettings& g = ctx.settings.graphic;
  const ParameterSettings& ps = ctx.settings.record(p);
  SelectPlotFont(surface, g.fontName.view(), ToInt32(g.fontSize - 1.0), 0, 0);
  const std::int32_t h = TextLineHeight(surface);
  const std::int64_t size = Scaled(ctx.scale.scaleStep, ps.markerSize);
  const bool textOnly = ps.lines <= 0 && ps.colorize <= 0 && ps.marker <= 0 && ps.columns <= 0 &&
                        ps.outline <= 0 && ps.histogramLines <= 0;
  const bool vertical = strip.vertical();
  // Texts stand above their values and the occurrence markers in the Horizontal mode, to their
  // right in the Vertical mode; there they are also centred vertically on their rows.
  const std::int64_t across = vertical ? 1 : -1;
  const std::int64_t gap =
      textOnly ? (ps.occurrence != 0 ? 2 * size : 0) : (vertical ? 7 : 2) * size;
  const std::int32_t halfLine = vertical ? h / 2 : 0;
  TextAlign align = TextAlign::kCenterTop;
  if (vertical && (!textOnly || ps.occurrence != 0)) align = TextAlign::kLeftTop;
  const std::int32_t middle = ToInt32(static_cast<double>(strip.vMid + across * gap));

  const ColumnRecord& column = data.column(p);
  for (std::int64_t j = 1; j <= column.itemCount; ++j) {
    const NumericItem* item = ColumnItem(data, p, j);
    if (item == nullptr || item->row <= 0) continue;
    if (IsQualityFlagShown(ctx.settings, p, item->flag) == 0) continue;
    const std::int64_t row = strip.AxisOfRow(data, item->row);
    // Beside the values the Vertical mode tests where the text's middle lands; on the middle line
    // it tests the row itself.
    const std::int64_t shiftBefore = textOnly ? 0 : halfLine;
    const std::int64_t shiftAfter = textOnly ? halfLine : 0;
    const std::int32_t a = strip.SnapAxis(ToInt32(static_cast<double>(row + shiftBefore)));
    if (a < strip.aMin) continue;
    if (a > strip.aMax) break;
    std::int32_t v = middle;
    if (!textOnly) {
      v = ToInt32(static_cast<double>(strip.MapValue(item->value) + across * gap));
      if (!vertical) {
        if (std::int64_t{v} == std::int64_t{strip.vMax} - 1) v = strip.vMax;
        if (std::int64_t{v} == std::int64_t{strip.vMin} + 1) v = strip.vMin;
      }
      if (v < strip.vMin || v > strip.vMax) continue;
    }
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.0f", static_cast<double>(item->value));
    const DevicePoint d = strip.ToDevice({ToInt32(static_cast<double>(a + shiftAfter)), v});
    // A text that would overprint the one before it, or any other, is left out.
    DrawTextIfFree(surface, ctx.texts, text.data(), d.x, d.y, h, static_cast<std::int32_t>(align),
                   h);
  }
}

// The strip's frame: four lines around the record's origin and extents.
void DrawStripFrame(Surface& surface, PlotContext& ctx, const ColumnRecord& r) {
  const std::int32_t width = Scaled(ctx.scale.scaleStep, ctx.settings.graphic.frameWidth);
  const auto at = [](std::int32_t origin, std::int32_t extent) {
    return ToInt32(static_cast<double>(origin) + extent);
  };
  const std::int32_t x0 = r.originX, y0 = r.originY;
  const std::int32_t x1 = at(r.originX, r.extentX), y1 = at(r.originY, r.extentY);
  DrawLine(surface, x0, y0, x0, y1, width, kDefaultDrawColor);
  DrawLine(surface, x0, y1, x1, y1, width, kDefaultDrawColor);
  DrawLine(surface, x1, y1, x1, y0, width, kDefaultDrawColor);
  DrawLine(surface, x1, y0, x0, y0, width, kDefaultDrawColor);
}

// A plotted parameter in drawing order: its group extent, its strip and the curves and runs of
// markers of its group's members (members[firstMember, endMember), the head last, on top).
struct PlottedStrip {
  std::int32_t p = 0, d = 0;
  ProfileStrip strip;
  std::size_t firstMember = 0, endMember = 0;
  bool frameOnly = false;  // a strip of text styles only: its texts come with the comments
};

// One curve or run of markers: member q (member mode `mode`) of the group headed by p.
struct MemberDrawing {
  std::int32_t p = 0, q = 0, mode = 0;
  bool markers = false;   // else the curve
  std::size_t strip = 0;  // index of the head's PlottedStrip
};

void PlanStrips(const PlotContext& ctx, ProfileOrientation orientation,
                std::vector<PlottedStrip>& strips, std::vector<MemberDrawing>& members) {
  const PlotSettings& settings = ctx.settings;
  std::int32_t drawn = 0;
  std::int32_t laidOut = 0;  // strips the layout placed so far: plotState > 0, up to plottedCount
  for (std::int32_t p = 1; p <= kMaxParameter; ++p) {
    const ColumnRecord& column = ctx.data.column(p);
    if (settings.record(p).plotState <= 0) continue;
    const bool placed = laidOut++ < settings.graphic.plottedCount;
    if (column.itemCount == 0) {
      // A strip without values (a text column) has no data of its own here, but its frame is
      // drawn like every other strip's, or the exports, which draw the frames only here, would
      // lose it.
      if (placed) {
        PlottedStrip frame;
        frame.p = p;
        frame.frameOnly = true;
        frame.firstMember = frame.endMember = members.size();
        strips.push_back(frame);
      }
      continue;
    }
    PlottedStrip plotted;
    plotted.p = p;
    plotted.d = GroupExtent(ctx, p);
    plotted.strip = MakeProfileStrip(column, orientation);
    plotted.firstMember = members.size();
    for (std::int32_t k = plotted.d; k >= 0; --k) {
      const std::int32_t q = p + k;
      const std::int32_t mode = MemberMode(ctx, p, k);
      const ParameterSettings& qs = settings.record(q);
      if (qs.lines > 0 || (qs.colorize > 0 && qs.outline < 1)) {
        members.push_back({p, q, mode, false, strips.size()});
      }
      if (qs.marker > 0) members.push_back({p, q, mode, true, strips.size()});
    }
    plotted.endMember = members.size();
    strips.push_back(plotted);
    if (++drawn >= settings.graphic.plottedCount) break;
  }
}

std::atomic<std::int64_t> drawAheadMinimum{200000};

// Curves and runs of markers of a long file are prepared on a second thread, every other one,
// as deferred drawings that the pass then makes in their place. Only the pass's own thread draws
// on the surface, and in the same order as without the helper, so the picture is the same; the
// helper only reads the data and settings, with a render state of its own.
class DrawAhead {
 public:
  DrawAhead(const Surface& surface, PlotContext& ctx, PlotStage stage,
            const std::vector<PlottedStrip>& strips, const std::vector<MemberDrawing>& members)
      : ctx_(ctx),
        stage_(stage),
        strips_(strips),
        members_(members),
        helperCtx_{ctx.data, ctx.settings, ctx.patterns, helperRender_, ctx.scale} {
    std::int64_t work = 0;
    for (const MemberDrawing& m : members) work += ctx.data.column(m.q).itemCount;
    if (members.size() < 2 || work < drawAheadMinimum.load()) return;
    helperRender_.ScreenResolution = ctx.render.ScreenResolution;
    for (std::size_t i = 1; i < members.size(); i += 2) {
      slots_.push_back(std::make_unique<Slot>(surface));
    }
    try {
      helper_ = std::thread([this] { Prepare(); });
    } catch (const std::system_error&) {
      slots_.clear();  // no thread to be had: everything is drawn here
    }
  }
  ~DrawAhead() {
    stop_.store(true);
    if (helper_.joinable()) helper_.join();
  }
  DrawAhead(const DrawAhead&) = delete;
  DrawAhead& operator=(const DrawAhead&) = delete;

  // Draws member drawing i: prepared by the helper (waited for), or here.
  void Draw(Surface& surface, std::size_t i) {
    if (i % 2 == 1 && i / 2 < slots_.size()) {
      Slot& slot = *slots_[i / 2];
      int state;
      while ((state = slot.state.load(std::memory_order_acquire)) == kPending) {
        slot.state.wait(kPending, std::memory_order_acquire);
      }
      if (state == kReady) {
        slot.drawing.Replay(surface);
        slot.drawing.Release();
        return;
      }
    }
    DrawMember(surface, ctx_, i);
  }

 private:
  static constexpr int kPending = 0, kReady = 1, kFailed = 2;
  struct Slot {
    explicit Slot(const Surface& surface)
        : drawing(surface.ResolutionX(), surface.ResolutionY(), surface.OpaqueTextBackground()) {}
    DeferredDrawing drawing;
    std::atomic<int> state{kPending};
  };

  void DrawMember(Surface& surface, PlotContext& ctx, std::size_t i) {
    const MemberDrawing& m = members_[i];
    const ProfileStrip& strip = strips_[m.strip].strip;
    if (m.markers) {
      DrawMarkers(surface, ctx, strip, m.p, m.q, m.mode);
    } else {
      DrawCurve(surface, ctx, stage_, strip, m.p, m.q, m.mode);
    }
  }

  void Prepare() {
    for (std::size_t s = 0; s < slots_.size(); ++s) {
      Slot& slot = *slots_[s];
      int state = kFailed;
      if (!stop_.load()) {
        try {
          DrawMember(slot.drawing, helperCtx_, 2 * s + 1);
          state = slot.drawing.complete() ? kReady : kFailed;
        } catch (...) {  // out of memory: the pass draws this one itself
          state = kFailed;
        }
      }
      slot.state.store(state, std::memory_order_release);
      slot.state.notify_one();
    }
  }

  PlotContext& ctx_;
  const PlotStage stage_;
  const std::vector<PlottedStrip>& strips_;
  const std::vector<MemberDrawing>& members_;
  RenderState helperRender_;
  PlotContext helperCtx_;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::atomic<bool> stop_{false};
  std::thread helper_;
};

}  // namespace

void SetDrawAheadMinimum(std::int64_t items) {
  drawAheadMinimum.store(items);
}

void RenderProfile(Surface& surface, PlotContext& ctx, PlotStage stage,
                   ProfileOrientation orientation) {
  const DataModel& data = ctx.data;
  const PlotSettings& settings = ctx.settings;
  // Parameters 1..256 are read from both tables.
  if (data.ColumnTable.size() <= static_cast<std::size_t>(kMaxParameter) ||
      settings.ParameterSettingsTable.size() <= static_cast<std::size_t>(kMaxParameter)) {
    return;
  }
  // The data may have changed since the last pass: rows are mapped anew.
  ctx.render.rowAxis.valid = false;

  // The styles that lie beneath the curves, over all parameters.
  DrawColorStripes(surface, ctx, stage, orientation);
  if (orientation == ProfileOrientation::kVertical) {
    DrawLithology(surface, ctx, stage, orientation);
    DrawOccurrence(surface, ctx, stage, orientation);
    DrawBoundaries(surface, ctx, stage, orientation);
    DrawCourse(surface, ctx, stage, orientation);
    DrawHistogramLines(surface, ctx, stage, orientation);
  } else {
    DrawOccurrence(surface, ctx, stage, orientation);
    DrawLithology(surface, ctx, stage, orientation);
    DrawBoundaries(surface, ctx, stage, orientation);
    DrawHistogramLines(surface, ctx, stage, orientation);
    DrawCourse(surface, ctx, stage, orientation);
  }

  std::vector<PlottedStrip> strips;
  std::vector<MemberDrawing> members;
  PlanStrips(ctx, orientation, strips, members);
  {
    DrawAhead ahead(surface, ctx, stage, strips, members);
    for (const PlottedStrip& plotted : strips) {
      const std::int32_t p = plotted.p;
      if (plotted.frameOnly) {
        DrawStripFrame(surface, ctx, data.column(p));
        continue;
      }
      DrawColumns(surface, ctx, stage, orientation, p, plotted.d);
      DrawOutline(surface, ctx, stage, orientation, p, plotted.d);
      for (std::size_t m = plotted.firstMember; m < plotted.endMember; ++m) ahead.Draw(surface, m);
      if (settings.record(p).valueText > 0) DrawValueTexts(surface, ctx, plotted.strip, p);
      DrawStripFrame(surface, ctx, data.column(p));
    }
  }

  DrawComments(surface, ctx, stage, orientation);
}

}  // namespace sx
