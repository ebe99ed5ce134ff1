#pragma once
// A session opened on a data file, a recording surface to draw it on, and helpers that pick the
// drawn calls out of the recording: the scene of the drawing and plot tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "plot/plot_pass.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {

// Modes and stages read as their numbers in failure messages.
inline std::ostream& operator<<(std::ostream& os, PlotMode mode) {
  return os << static_cast<int>(mode);
}
inline std::ostream& operator<<(std::ostream& os, PlotStage stage) {
  return os << static_cast<int>(stage);
}

using Call = RecordingSurface::Call;
using Kind = RecordingSurface::Kind;
using Points = std::vector<DevicePoint>;
using Segment = std::vector<std::int32_t>;  // a two-point line as {x1, y1, x2, y2}
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The closed outline of a rectangle, as the drawing functions pass it on.
inline Points Rect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
}

// A picture for the file writers: a line, a blue square (at 80, 200), a circle and a text.
inline void DrawSample(Surface& s) {
  s.Polyline(Points{{10, 10}, {300, 200}, {380, 20}}, 2, RGB{255, 0, 0}, PenStyle::kSolid);
  s.Polygon(Rect(50, 150, 120, 250), 1, RGB{0, 0, 200}, Fill::kColor);
  s.Ellipse(200, 100, 240, 140, 1, RGB{0, 0, 0}, Fill::kWhite);
  s.Text(20, 260, "Depth [m]", TextAlign::kLeftTop);
}

struct Scene {
  RecordingUserInterface ui;
  TestFiles files;
  std::unique_ptr<Session> session = CreateSession({}, ui);
  RecordingSurface surface;
  ScaleInfo scale;

  Scene() = default;
  explicit Scene(const std::string& table) { Open(table); }

  // Opens the table text (or a file) as the current data file.
  void Open(const std::string& table, const std::string& name = "data.tab") {
    OpenPath(files.Write(name, table));
  }
  void OpenPath(const std::string& path) {
    SetDataFilePath(session->data, path);
    EXPECT_EQ(OpenDataFile(*session), 0) << path;
  }
  // Every parameter plotted (or only the first) with every style off, in the colours in turn.
  void StylesOff(std::initializer_list<RGB> colors, bool firstOnly = false) {
    for (int p = 1; p <= data().ParameterCount; ++p) {
      ParameterSettings& r = record(p);
      r.lines = r.marker = r.colorize = r.columns = r.histogramLines = r.outline = 0;
      r.occurrence = r.valueText = r.comment = r.lithology = r.boundary = r.course = 0;
      r.plotState = !firstOnly || p == 1 ? 1 : 0;
      r.markerSymbol = 2;  // a circle: one ellipse per marker
      r.color = colors.begin()[static_cast<std::size_t>(p - 1) % colors.size()];
    }
    RecountPlotted(settings());
  }

  // The text of the one message shown since the last look (a failure unless exactly one).
  std::string Message() {
    EXPECT_EQ(ui.messages.size(), 1u);
    const std::string text = ui.messages.empty() ? "" : ui.messages.back().text;
    ui.messages.clear();
    return text;
  }

  DataModel& data() { return session->data; }
  PlotSettings& settings() { return session->settings; }
  GraphicSettings& graphic() { return session->settings.graphic; }
  ParameterSettings& record(int p) { return session->settings.record(p); }
  ColumnRecord& column(int c) { return session->data.column(c); }
  PlotContext Context() { return session->plotContext(scale); }

  // Clears the surface and draws on it with drawer(surface, context).
  template <typename Drawer>
  void Draw(Drawer drawer) {
    surface.clear();
    PlotContext ctx = Context();
    drawer(surface, ctx);
  }
  void Pass(PlotStage stage = kStageCurrentLayout) {
    Draw([stage](Surface& s, PlotContext& ctx) { PlotPass(s, ctx, stage); });
  }

  std::vector<Call> Calls(Kind kind) const {
    std::vector<Call> out;
    for (const Call& c : surface.calls()) {
      if (c.kind == kind) out.push_back(c);
    }
    return out;
  }
  // The points of every call of a kind and colour.
  std::vector<Points> Of(Kind kind, RGB color) const {
    std::vector<Points> out;
    for (const Call& c : Calls(kind)) {
      if (c.color == color) out.push_back(c.points);
    }
    return out;
  }
  std::vector<Segment> Lines(RGB color) const {
    std::vector<Segment> out;
    for (const Points& p : Of(Kind::kPolyline, color)) {
      if (p.size() == 2) out.push_back({p[0].x, p[0].y, p[1].x, p[1].y});
    }
    return out;
  }
  // Centres of the ellipses of a colour (circle markers).
  Points Centres(RGB color) const {
    Points out;
    for (const Points& p : Of(Kind::kEllipse, color)) {
      out.push_back({(p[0].x + p[1].x) / 2, (p[0].y + p[1].y) / 2});
    }
    return out;
  }
  // The first (or the last) text call that writes the text.
  const Call* FindText(const std::string& text, bool last = false) const {
    const Call* found = nullptr;
    for (const Call& c : surface.calls()) {
      if (c.kind == Kind::kText && c.text == text && (last || !found)) found = &c;
    }
    return found;
  }
  // The first n texts drawn.
  std::vector<std::string> Texts(std::size_t n = SIZE_MAX) const {
    std::vector<std::string> out;
    for (const Call& c : surface.calls()) {
      if (c.kind == Kind::kText && out.size() < n) out.push_back(c.text);
    }
    return out;
  }
};

// The scene as a test fixture.
class SceneTest : public ::testing::Test, protected Scene {};

}  // namespace sx
