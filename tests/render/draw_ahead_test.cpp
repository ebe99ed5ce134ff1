// Curves and markers prepared on a second thread must come out as the pass draws them itself:
// the same calls in the same order, whatever the styles, groups and stages.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/reader.h"
#include "plot/plot_pass.h"
#include "render/deferred_drawing.h"
#include "render/profile_renderer.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "settings/template_file.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {
namespace {

class DrawAheadTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("APPDATA", files_.dir().c_str(), 1); }
  void TearDown() override { SetDrawAheadMinimum(200000); }

  // The recorded calls of a screen pass and a metafile pass of the file with the template.
  std::string Passes(const std::string& data, const std::string& templatePath, std::int32_t mode) {
    RecordingUserInterface ui;
    auto session = CreateSession({}, ui);
    SetDataFilePath(session->data, data);
    EXPECT_EQ(OpenDataFile(*session), 0);
    if (!templatePath.empty()) LoadTemplateCommand(*session, templatePath);
    ChoosePlotMode(session->settings, mode);
    session->settings.graphic.graphicWidth = 900;
    session->settings.graphic.graphicHeight = 700;
    std::string dump;
    for (const std::int32_t stage : {kStageScreen, kStageCurrentLayout}) {
      RecordingSurface surface;
      PlotContext ctx = session->plotContext(ComputeScale(surface, 96.0f));
      PlotPass(surface, ctx, stage);
      dump += surface.Dump();
    }
    return dump;
  }

  void ExpectSame(const std::string& data, const std::string& templatePath, std::int32_t mode) {
    SetDrawAheadMinimum(INT64_MAX);
    const std::string alone = Passes(data, templatePath, mode);
    SetDrawAheadMinimum(0);
    const std::string ahead = Passes(data, templatePath, mode);
    EXPECT_GT(alone.size(), 1000u);
    EXPECT_EQ(alone, ahead) << data << " in mode " << mode;
  }

  TestFiles files_;
};

TEST_F(DrawAheadTest, ExamplesDrawTheSameCalls) {
  const std::string examples = std::string(SONDRIX_SOURCE_DIR) + "/examples/";
  for (const std::int32_t mode : {kVertical, kHorizontal}) {
    for (const char* name : {"styles_vertical", "styles_horizontal"}) {
      ExpectSame(examples + name + ".tab", examples + name + ".stf", mode);
    }
    ExpectSame(examples + "core_ocean.tab", "", mode);
  }
}

TEST_F(DrawAheadTest, GroupsOfCurvesAndMarkersDrawTheSameCalls) {
  // Three groups ("add", "plot" and single members), lines, markers and colorized curves, long
  // enough for runs to be split.
  std::string text = "Depth [m]\tA@G1\tB@G1\tC@G1\tD@G2\tE@G2\tF\n";
  for (int i = 1; i <= 5000; ++i) {
    text += std::to_string(i) + "." + std::to_string(i % 10);
    for (int c = 0; c < 6; ++c) text += "\t" + std::to_string((i * (c + 3) * 7919) % 1000);
    text += "\n";
  }
  const std::string data = files_.Write("groups.tab", text);
  RecordingUserInterface ui;
  auto session = CreateSession({}, ui);
  SetDataFilePath(session->data, data);
  ASSERT_EQ(OpenDataFile(*session), 0);
  for (int p = 1; p <= 6; ++p) {
    ParameterSettings& r = session->settings.record(p);
    r.lines = 1;
    r.marker = p % 2;
    r.colorize = p == 4 ? 1 : 0;
    r.doWithNext = p == 1 ? 2 : (p == 4 ? -1 : 0);
  }
  const std::string stf = files_.dir() + "/groups.stf";
  ASSERT_TRUE(WriteTemplate(session->data, session->settings, stf));
  ExpectSame(data, stf, kVertical);
  ExpectSame(data, stf, kHorizontal);
}

TEST(DeferredDrawingTest, KeepsLinesAndMarkersButNotText) {
  DeferredDrawing drawing(96.0f, 96.0f, false);
  const DevicePoint line[] = {{1, 2}, {3, 4}, {5, 6}};
  drawing.Polyline(line, 2, RGB{1, 2, 3}, PenStyle::kDash);
  drawing.Markers(line, RGB{4, 5, 6}, 3, 1, 2);
  drawing.Polygon(line, 1, RGB{7, 8, 9}, Fill::kWhite);
  EXPECT_TRUE(drawing.complete());
  RecordingSurface replayed, direct;
  drawing.Replay(replayed);
  direct.Polyline(line, 2, RGB{1, 2, 3}, PenStyle::kDash);
  direct.Markers(line, RGB{4, 5, 6}, 3, 1, 2);
  direct.Polygon(line, 1, RGB{7, 8, 9}, Fill::kWhite);
  EXPECT_EQ(replayed.Dump(), direct.Dump());
  drawing.TextWidth("x");
  EXPECT_FALSE(drawing.complete());
}

}  // namespace
}  // namespace sx
