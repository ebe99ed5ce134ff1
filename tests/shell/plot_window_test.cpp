// The plot window's decisions without a window: what a click or the pointer finds on the frames
// of a layout, which dialog it asks for, the mode and selection commands, the scope question and
// the undo history.

#include <gtest/gtest.h>

#include <functional>

#include "plot/legend.h"
#include "scene_fixture.h"
#include "shell/plot_window.h"

namespace sx {
namespace {

class NoWindows : public FrameView {
 public:
  bool HasChild(ChildKind) const override { return false; }
  void CloseChild(ChildKind) override {}
  void CreateChild(ChildKind, const Placement&, const std::string&) override {}
  void SetChildTitle(ChildKind, const std::string&) override {}
  std::optional<std::string> RunFileDialog(FileDialogRequest&) override { return {}; }
  Size FrameClientSize() const override { return {800, 600}; }
  Size ScreenSize() const override { return {1024, 768}; }
  void MenusChanged() override {}
  void RepaintChildren() override {}
  std::string StartEditor(const EditorLaunch&) override { return {}; }
};

// Depth, two numeric parameters (plotted) and a text-only one (not plotted), with frames set as
// a layout would leave them.
class PlotWindowTest : public SceneTest {
 protected:
  void SetUp() override {
    Open("Depth [m]\tT [C]\tS [psu]\tNote\n1\t4\t35\tgrey\n2\t5\t34\tred\n3\t6\t33\tsand\n");
    ASSERT_EQ(data().ParameterCount, 3);
    for (int p = 1; p <= 3; ++p) record(p).plotState = p < 3 ? 1 : 0;
    graphic().plottedCount = 2;
  }
  void Frame(int c, std::int32_t ox, std::int32_t oy, std::int32_t ex, std::int32_t ey) {
    column(c).originX = ox;
    column(c).originY = oy;
    column(c).extentX = ex;
    column(c).extentY = ey;
  }

  NoWindows view;
  std::vector<DialogRequest> asked;
  // A dialog opener that records what it is asked and cancels.
  std::function<bool(const DialogRequest&)> recorder = [this](const DialogRequest& r) {
    asked.push_back(r);
    return false;
  };
};

struct Probe {
  std::int32_t x, y;
  std::int32_t hit;
  const char* dialog;
  std::int32_t record;
  const char* readout;
};

TEST_F(PlotWindowTest, ProfileClicksAndReadoutsInEveryRegion) {
  for (int p : {1, 2}) {
    column(p).xScale = 2;
    column(p).xOffset = 0;
    column(p).yScale = -10;
    column(p).yOffset = -2000;
  }
  const auto check = [this](std::initializer_list<Probe> probes) {
    for (const Probe& p : probes) {
      SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
      EXPECT_EQ(HitTestProfile(data(), settings(), p.x, p.y), p.hit);
      const ClickRequest click = ClickOnPlot(data(), settings(), session->render.metrics, p.x, p.y);
      EXPECT_EQ(click.dialog.resource, p.dialog);
      EXPECT_EQ(click.dialog.record, p.record);
      EXPECT_EQ(click.fitOnOk, click.dialog.resource == "GRAPHICDIALOG");
      EXPECT_EQ(StatusReadout(data(), settings(), p.x, p.y), p.readout);
    }
  };
  // Horizontal: strips stacked downwards, origin at the lower left, extentY negative.
  graphic().plotMode = kHorizontal;
  Frame(1, 100, 200, 400, -100);
  Frame(2, 100, 300, 400, -100);
  check({{150, 150, 1, "PARAMETEROPTIONDIALOG", 1, "Depth (m): 75.00, T (C): 185.00"},
         {150, 250, 2, "PARAMETEROPTIONDIALOG", 2, "Depth (m): 75.00, S (psu): 175.00"},
         {50, 250, 2, "PARAMETERAXISDIALOG", 2, ""},  // left of the strip: its axis
         {150, 50, kHitXAxis, "XAXISDIALOG", 0, ""},
         {50, 50, kHitGraphic, "GRAPHICDIALOG", 0, ""},
         {150, 350, kHitXAxis, "XAXISDIALOG", 0, ""},
         {600, 150, kHitGraphic, "GRAPHICDIALOG", 0, ""},
         {600, 350, kHitGraphic, "GRAPHICDIALOG", 0, ""},  // the later rule wins
         {100, 50, 0, "PARAMETEROPTIONDIALOG", 0, ""}});   // on the edge: record 0
  // Vertical: strips side by side, origin at the upper left.
  graphic().plotMode = kVertical;
  Frame(1, 100, 50, 100, 400);
  Frame(2, 200, 50, 100, 400);
  check({{50, 40, kHitGraphic, "GRAPHICDIALOG", 0, ""},
         {50, 50, 0, "PARAMETEROPTIONDIALOG", 0, ""},
         {50, 200, kHitXAxis, "XAXISDIALOG", 0, ""},
         {50, 500, kHitGraphic, "GRAPHICDIALOG", 0, ""},
         {150, 200, 1, "PARAMETEROPTIONDIALOG", 1, "Depth (m): 180.00, T (C): 75.00"},
         {250, 30, 2, "PARAMETERAXISDIALOG", 2, ""},
         {150, 500, kHitGraphic, "GRAPHICDIALOG", 0, ""},
         {350, 200, 0, "PARAMETEROPTIONDIALOG", 0, ""},
         {350, 500, kHitGraphic, "GRAPHICDIALOG", 0, ""}});
  // Nothing plotted: nothing is under the pointer.
  graphic().plottedCount = 0;
  EXPECT_EQ(HitTestProfile(data(), settings(), 150, 200), 0);
  EXPECT_EQ(StatusReadout(data(), settings(), 150, 200), "");
}

TEST_F(PlotWindowTest, TernaryAndPhaseReadouts) {
  // Ternary: the triangle on (100, 400) .. (300, 400). Phase: centre (300, 300), diameter 200,
  // angles clockwise from straight up.
  record(1).cMax = 10;
  struct Case {
    PlotMode mode;
    std::int32_t x, y;
    const char* text;
  };
  for (const Case& c :
       {Case{kTernary, 100, 400, "P1: 100.00%, P2: 0.00%, P3: 0.00%"},
        Case{kTernary, 200, 300, "P1: 25.00%, P2: 25.00%, P3: 50.00%"}, Case{kTernary, 50, 400, ""},
        Case{kTernary, 200, 450, ""}, Case{kPhase, 300, 250, "Length: 5.00, Angle: 0.0°"},
        Case{kPhase, 350, 300, "Length: 5.00, Angle: 90.0°"},
        Case{kPhase, 350, 350, "Length: 7.07, Angle: 135.0°"},
        Case{kPhase, 300, 350, "Length: 5.00, Angle: 180.0°"},
        Case{kPhase, 250, 300, "Length: 5.00, Angle: 270.0°"},
        Case{kPhase, 250, 250, "Length: 7.07, Angle: 315.0°"},
        Case{kPhase, 300, 300, "Length: 0.00, Angle: 0.0°"}, Case{kPhase, 450, 300, ""}}) {
    graphic().plotMode = c.mode;
    if (c.mode == kTernary) Frame(0, 100, 400, 200, 200);
    if (c.mode == kPhase) Frame(0, 300, 300, 200, 0);
    EXPECT_EQ(StatusReadout(data(), settings(), c.x, c.y), c.text) << c.x << "," << c.y;
  }
}

TEST_F(PlotWindowTest, LegendClicksOpenTheItemOrTheGraphic) {
  data().GroupCount = 1;
  column(1).groupSize = 3;
  const TextMetrics& metrics = session->render.metrics;
  session->render.metrics.labelHeight = 12;
  Frame(0, 100, 400, 200, 200);
  graphic().modeEntityKind = 1;
  for (PlotMode mode : {kTernary, kPhase}) {
    graphic().plotMode = mode;
    const LegendGeometry g = MakeLegendGeometry(data(), settings(), metrics);
    const std::int32_t line = LegendLineOf(g, 1).centerY;
    const char* item = mode == kTernary ? "TERNARYMODEDIALOG" : "PHASEMODEDIALOG";
    struct Case {
      std::int32_t x, y;
      const char* dialog;
      std::int32_t record;
    };
    for (const Case& c :
         {Case{g.markerX + g.halfBand + 1, line, item, 1},
          Case{g.markerX, line, "TERNARYMODEGRAPHICDIALOG", 0},  // the marker
          Case{g.markerX + 40, line + 3 * g.lineHeight, "TERNARYMODEGRAPHICDIALOG", 0},
          Case{0, 0, "TERNARYMODEGRAPHICDIALOG", 0}}) {
      const ClickRequest click = ClickOnPlot(data(), settings(), metrics, c.x, c.y);
      EXPECT_EQ(click.dialog.resource, c.dialog) << c.x << "," << c.y;
      EXPECT_EQ(click.dialog.record, c.record);
    }
  }
}

// Which click only re-arms a window after another was active: the desktop scenarios.
TEST_F(PlotWindowTest, ClicksNeedSomethingPlotted) {
  std::unique_ptr<Session> empty = CreateSession({}, ui);
  FrameController none(*empty, view);
  PlotWindowController c(none, none.history(), recorder);
  FrameController own(*session, view);
  PlotWindowController window(own, own.history(), recorder);
  graphic().plotMode = kVertical;
  Frame(1, 100, 50, 100, 400);
  Frame(2, 200, 50, 100, 400);
  EXPECT_TRUE(window.ButtonDown(150, 200).repaint);  // a cancelled dialog still repaints
  EXPECT_EQ(window.currentParameter(), 1);
  // Nothing plotted: clicks do nothing, except in Ternary (the graphic dialog). A controller
  // without data in its session does nothing either.
  graphic().plottedCount = 0;
  for (PlotMode mode : {kHorizontal, kVertical, kPhase, kTernary}) {
    graphic().plotMode = mode;
    window.ButtonDown(10, 10);
    c.ButtonDown(10, 10);
  }
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].resource, "TERNARYMODEGRAPHICDIALOG");
}

TEST_F(PlotWindowTest, ModeFlipSelectionScopeQuestionAndUndo) {
  FrameController own(*session, view);
  std::vector<bool> replies;
  PlotWindowController window(own, own.history(), [&](const DialogRequest& r) {
    asked.push_back(r);
    const bool ok = !replies.empty() && replies.front();
    if (!replies.empty()) replies.erase(replies.begin());
    return ok;
  });
  std::int32_t& reverse = record(0).reverseRange;
  graphic().plotMode = kVertical;
  reverse = 0;
  // V -> H -> V restores the X direction; V -> T -> H does not flip it.
  window.Command(cmd::kHorizontal);
  EXPECT_EQ(reverse, 1);
  window.Command(cmd::kVertical);
  EXPECT_EQ(reverse, 0);
  window.Command(cmd::kTernary);
  window.Command(cmd::kHorizontal);
  EXPECT_EQ(reverse, 0);

  // A global option asks for its dialog on the first plotted parameter (the dialog layer asks
  // the scope question first); a Cancel makes no step, an OK one (undone below).
  replies = {false, true};
  window.Command(3102);
  window.Command(3102);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].resource, "YAXISDIALOGRANGE");
  EXPECT_EQ(asked[0].record, 1);
  EXPECT_EQ(asked[0].command, 3102);

  // Select all: the text-only parameter gets the comment style, the others keep theirs.
  record(1).marker = record(1).lines = 0;
  record(1).columns = 1;
  record(3).comment = record(3).valueText = record(3).occurrence = 0;
  window.Command(cmd::kSelectAllParameters);
  EXPECT_EQ(graphic().plottedCount, 3);
  EXPECT_EQ(record(3).comment, 1);
  EXPECT_EQ(record(3).marker, 0);
  EXPECT_EQ(record(3).plotState, 2);
  EXPECT_EQ(record(1).marker, 0);
  replies = {true};
  window.Command(3113);  // Epsilon: in the profile modes it opens its dialog too
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[2].resource, "EPSILONDIALOG");

  // Undo takes back the epsilon OK, then select all; redo brings select all again; a new step
  // forgets what could be redone.
  window.Command(cmd::kUndo);
  window.Command(cmd::kUndo);
  EXPECT_EQ(graphic().plottedCount, 2);
  EXPECT_EQ(record(3).comment, 0);
  window.Command(cmd::kRedo);
  EXPECT_EQ(graphic().plottedCount, 3);
  window.Command(cmd::kSelectNone);
  EXPECT_EQ(graphic().plottedCount, 0);
  EXPECT_FALSE(own.history().canRedo());
  // At most 100 steps are kept; the menus show what is left once refreshed.
  for (int i = 0; i < 120; ++i) window.Command(i % 2 ? cmd::kVertical : cmd::kHorizontal);
  int undone = 0;
  while (own.history().canUndo()) undone += own.history().Undo(settings()) ? 1 : 0;
  EXPECT_EQ(undone, 100);
  EXPECT_FALSE(own.menus().enabled(MenuKind::kDataPlot, cmd::kRedo));  // not refreshed yet
  window.RefreshMenus();
  EXPECT_FALSE(own.menus().enabled(MenuKind::kDataPlot, cmd::kUndo));
  EXPECT_TRUE(own.menus().enabled(MenuKind::kDataPlot, cmd::kRedo));
  // A new load starts a new history.
  own.OpenNamedFile(data().DataFilePath);
  EXPECT_FALSE(own.history().canRedo());
}

TEST(PlotWindowGeometry, FitWindowAndExportPath) {
  GraphicSettings g;
  g.graphicWidth = 400;
  g.graphicHeight = 900;
  const Placement p = FitPlotWindow(g, {10, 40}, {800, 600}, {30, 20, 100, 100});
  EXPECT_EQ(p, (Placement{30, 0, 410, 600}));
  for (auto [path, filter, expected] : {std::tuple{"/d/a.tab", 0, "/d/a.tab.emf"},
                                        {"/d/a", 1, "/d/a.svg"},
                                        {"/d/a.PDF", 0, "/d/a.PDF"},
                                        {"/d/a.x/b", 3, "/d/a.x/b.png"},
                                        {"/d/a", 9, "/d/a.emf"}}) {
    EXPECT_EQ(ExportTargetPath(path, filter), expected);
  }
}

}  // namespace
}  // namespace sx
