#pragma once
// A loaded data file shown in the Ternary or Phase mode on the recording surface, with helpers
// that pick the drawn lines, markers and texts out of the recorded calls.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/reader.h"
#include "core/session.h"
#include "plot/layout.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "test_files.h"

namespace sx {

class ModePlotTest : public ::testing::Test {
 protected:
  using Call = RecordingSurface::Call;
  using Kind = RecordingSurface::Kind;

  void SetUp() override {
    session_ = CreateSession({}, ui_);
    ASSERT_NE(session_, nullptr);
  }

  // Loads the file text, switches to the mode and lays the plot out on 800 x 600.
  void Load(const std::string& text, std::int32_t mode) {
    SetDataFilePath(data(), files_.Write("data.tab", text));
    ASSERT_EQ(OpenDataFile(*session_), 0);
    ChoosePlotMode(settings(), mode);
    GraphicSettings& g = settings().graphic;
    g.graphicWidth = 800;
    g.graphicHeight = 600;
    g.fileNameStamp = 0;
    g.dateTimeStamp = 0;
    LayOut();
  }
  void LayOut() {
    PlotContext ctx = Context();
    CopyAxisRanges(data(), settings());
    if (settings().graphic.plotMode == kTernary) {
      LayoutTernary(surface_, ctx);
    } else {
      LayoutPhase(surface_, ctx);
    }
    surface_.clear();
  }

  PlotContext Context() { return session_->plotContext({}); }
  DataModel& data() { return session_->data; }
  PlotSettings& settings() { return session_->settings; }
  ColumnRecord& frame() { return data().column(0); }
  std::int32_t lineHeight() { return session_->render.metrics.labelHeight; }

  using Segment = std::vector<std::int32_t>;
  // Two-point lines of a colour, as {x1, y1, x2, y2}.
  std::vector<Segment> Lines(RGB color) const {
    std::vector<Segment> out;
    for (const Call& c : surface_.calls()) {
      if (c.kind == Kind::kPolyline && c.points.size() == 2 && c.color == color) {
        out.push_back({c.points[0].x, c.points[0].y, c.points[1].x, c.points[1].y});
      }
    }
    return out;
  }
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
  const Call* FindText(const std::string& text) const {
    for (const Call& c : surface_.calls()) {
      if (c.kind == Kind::kText && c.text == text) return &c;
    }
    return nullptr;
  }
  // The first n texts drawn.
  std::vector<std::string> Texts(std::size_t n) const {
    std::vector<std::string> out;
    for (const Call& c : surface_.calls()) {
      if (c.kind == Kind::kText && out.size() < n) out.push_back(c.text);
    }
    return out;
  }

  RecordingUserInterface ui_;
  std::unique_ptr<Session> session_;
  RecordingSurface surface_;
  TestFiles files_;
};

}  // namespace sx
