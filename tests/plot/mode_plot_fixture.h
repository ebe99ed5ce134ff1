#pragma once
// Helpers that pick drawn lines and texts out of a recording surface, a session to draw from,
// and a loaded data file shown in the Ternary or Phase mode.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/reader.h"
#include "plot/layout.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {

using Call = RecordingSurface::Call;
using Kind = RecordingSurface::Kind;
using Segment = std::vector<std::int32_t>;

inline const Call* FindText(const RecordingSurface& s, const std::string& text) {
  for (const Call& c : s.calls()) {
    if (c.kind == Kind::kText && c.text == text) return &c;
  }
  return nullptr;
}

// The first n texts drawn.
inline std::vector<std::string> Texts(const RecordingSurface& s, std::size_t n = SIZE_MAX) {
  std::vector<std::string> out;
  for (const Call& c : s.calls()) {
    if (c.kind == Kind::kText && out.size() < n) out.push_back(c.text);
  }
  return out;
}

// Two-point lines of a colour, as {x1, y1, x2, y2}.
inline std::vector<Segment> Lines(const RecordingSurface& s, RGB color) {
  std::vector<Segment> out;
  for (const Call& c : s.calls()) {
    if (c.kind == Kind::kPolyline && c.points.size() == 2 && c.color == color) {
      out.push_back({c.points[0].x, c.points[0].y, c.points[1].x, c.points[1].y});
    }
  }
  return out;
}

// A session with its recording surface and a folder for data files.
class PlotTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(session_, nullptr); }
  // Opens the file text as the current data file.
  void Open(const std::string& text, const std::string& name = "data.tab") {
    SetDataFilePath(data(), files_.Write(name, text));
    ASSERT_EQ(OpenDataFile(*session_), 0);
  }
  PlotContext Context(ScaleInfo scale = {}) { return session_->plotContext(scale); }
  DataModel& data() { return session_->data; }
  PlotSettings& settings() { return session_->settings; }
  GraphicSettings& graphic() { return session_->settings.graphic; }
  // Clears the surface and draws with the given drawer.
  template <typename Drawer>
  void Draw(Drawer drawer) {
    surface_.clear();
    PlotContext ctx = Context();
    drawer(surface_, ctx);
  }
  std::vector<Segment> Lines(RGB color) const { return sx::Lines(surface_, color); }
  const Call* FindText(const std::string& text) const { return sx::FindText(surface_, text); }
  std::vector<std::string> Texts(std::size_t n = SIZE_MAX) const { return sx::Texts(surface_, n); }

  RecordingUserInterface ui_;
  std::unique_ptr<Session> session_ = CreateSession({}, ui_);
  RecordingSurface surface_;
  TestFiles files_;
};

// A loaded file shown in the Ternary or Phase mode.
class ModePlotTest : public PlotTest {
 protected:
  // Loads the file text, switches to the mode and lays the plot out on 800 x 600.
  void Load(const std::string& text, std::int32_t mode) {
    Open(text);
    ChoosePlotMode(settings(), mode);
    GraphicSettings& g = graphic();
    g.graphicWidth = 800, g.graphicHeight = 600;
    g.fileNameStamp = g.dateTimeStamp = 0;
    PlotContext ctx = Context();
    CopyAxisRanges(data(), settings());
    if (mode == kTernary) {
      LayoutTernary(surface_, ctx);
    } else {
      LayoutPhase(surface_, ctx);
    }
    surface_.clear();
  }
  ColumnRecord& frame() { return data().column(0); }
  std::int32_t lineHeight() { return session_->render.metrics.labelHeight; }
  // Centres of the ellipses of a colour (circle markers).
  std::vector<DevicePoint> EllipseCentres(RGB color) const {
    std::vector<DevicePoint> out;
    for (const Call& c : surface_.calls()) {
      if (c.kind == Kind::kEllipse && c.color == color) {
        out.push_back({(c.points[0].x + c.points[1].x) / 2, (c.points[0].y + c.points[1].y) / 2});
      }
    }
    return out;
  }
};

}  // namespace sx
