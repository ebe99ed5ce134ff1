// The frame's decisions without windows: what the menus grey per mode, how window states move,
// where children go, what the open sequence does, and the description window's scrolling.

#include <gtest/gtest.h>

#include "scene_fixture.h"
#include "shell/frame.h"
#include "shell/startup.h"

namespace sx {
namespace {

TEST(MenuState, EnableRulesFollowThePlotMode) {
  DataModel data;
  data.ParameterCount = 3;
  data.GroupCount = 1;
  struct Case {
    PlotMode mode;
    bool xAxis, range, marker, epsilon, color;
    const char* yAxisText;
  };
  for (const Case& c : {Case{kHorizontal, true, true, true, false, true, "Y Axis..."},
                        Case{kVertical, true, true, true, false, true, "Y Axis..."},
                        Case{kTernary, false, false, true, true, true, "Groups..."},
                        Case{kPhase, false, true, false, false, true, "Groups..."}}) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    MenuState menus;
    GraphicSettings graphic;
    graphic.plotMode = c.mode;
    EnableDataMenus(menus, data, graphic);
    UpdateModeMenu(menus, c.mode);
    constexpr MenuKind m = MenuKind::kDataPlot;
    EXPECT_EQ(menus.enabled(m, cmd::kXAxis), c.xAxis);
    EXPECT_EQ(menus.enabled(m, 3102), c.range);
    EXPECT_EQ(menus.enabled(m, 3105), c.marker);
    EXPECT_EQ(menus.enabled(m, 3113), c.epsilon);
    EXPECT_EQ(menus.enabled(m, kPopupColor), c.color);
    EXPECT_TRUE(menus.enabled(m, cmd::kSelectByParameters));
    EXPECT_FALSE(menus.enabled(m, cmd::kSelectByGroups));  // one group: nothing to choose
    EXPECT_EQ(menus.find(m, kPopupYAxis)->text, c.yAxisText);
    for (std::int32_t mode = 0; mode < 4; ++mode) {
      EXPECT_EQ(menus.find(m, cmd::kHorizontal + 10 * mode)->checked,
                mode == static_cast<std::int32_t>(c.mode));
    }
  }
}

TEST(MenuState, AcceleratorsActOnlyThroughEnabledItemsOfTheShownMenu) {
  MenuState menus;
  DisableDataMenus(menus);
  EXPECT_TRUE(menus.acceleratorFires(MenuKind::kInit, cmd::kOpen));
  EXPECT_FALSE(menus.acceleratorFires(MenuKind::kInit, cmd::kReload));          // not in that menu
  EXPECT_FALSE(menus.acceleratorFires(MenuKind::kDataPlot, cmd::kHorizontal));  // Options grey
  EXPECT_FALSE(menus.acceleratorFires(MenuKind::kDataPlot, cmd::kPrintNow));
  DataModel data;
  data.ParameterCount = 2;
  EnableDataMenus(menus, data, GraphicSettings{});
  EXPECT_TRUE(menus.acceleratorFires(MenuKind::kDataPlot, cmd::kHorizontal));
  EXPECT_TRUE(menus.acceleratorFires(MenuKind::kDataPlot, cmd::kGlobalScope));
  EXPECT_FALSE(menus.acceleratorFires(MenuKind::kDataPlot, cmd::kUndo));  // greyed item
  // Every accelerator names a command of some menu, or one of the two without an item.
  for (const Accelerator& a : AcceleratorTable()) {
    bool found = a.id == cmd::kPrintNow || a.id == cmd::kGlobalScope;
    for (MenuKind m : kAllMenus) found = found || menus.find(m, a.id) != nullptr;
    EXPECT_TRUE(found) << a.keys;
  }
}

TEST(FramePlacement, ChildrenPlacedByRuleOnlyWhenNeverPlacedAndCascaded) {
  Placement stored;
  EXPECT_EQ(PlacePlotWindow(stored, {800, 600}, false), (Placement{5, 5, 790, 590}));
  Placement described;
  EXPECT_EQ(PlacePlotWindow(described, {800, 600}, true), (Placement{25, 28, 770, 572}));
  Placement kept{40, 50, 300, 200};
  EXPECT_EQ(PlacePlotWindow(kept, {800, 600}, false), (Placement{40, 50, 300, 200}));
  Placement description{-1, -1, -1, -1};
  EXPECT_EQ(PlaceDescriptionWindow(description, {800, 600}), (Placement{-1, -1, 770, 570}));
  EXPECT_EQ(PlotWindowTitle(""), "Data plot - (untitled)");
  EXPECT_EQ(DescriptionWindowTitle("/d/a b.tab"), "Data description - /d/a b.tab");
  EXPECT_EQ(FormatNotice("Read %s now", ""), "Read (untitled) now");
  // Open -> closed -> never opened is walked by the close-all scenario of the desktop tests.
  EXPECT_EQ(Lowered(WindowState::kNeverOpened), WindowState::kNeverOpened);
  // Cascade: each window a title bar further, all of one size that keeps the last one inside;
  // never smaller than a window that still shows something.
  EXPECT_EQ(CascadePlacements(2, {800, 600}, 25),
            (std::vector<Placement>{{0, 0, 775, 575}, {25, 25, 775, 575}}));
  EXPECT_EQ(CascadePlacements(3, {120, 90}, 30).back(), (Placement{60, 60, 100, 100}));
  EXPECT_TRUE(CascadePlacements(0, {800, 600}, 25).empty());
}

TEST(Editor, TheStoredDefaultMeansTheDesktopsApplication) {
  GraphicSettings graphic;
  DataModel data;
  data.DescriptionFilePath = "/d/DD_x.txt";
  EXPECT_TRUE(PlanEditorLaunch(graphic, data).desktopDefault);
  graphic.editorPath = "NOTEPAD.EXE";
  EXPECT_TRUE(PlanEditorLaunch(graphic, data).desktopDefault);
  graphic.editorPath = "/opt/my editor/ed \"x\"";
  const EditorLaunch launch = PlanEditorLaunch(graphic, data);
  EXPECT_FALSE(launch.desktopDefault);
  EXPECT_EQ(launch.program, graphic.editorPath);
  EXPECT_EQ(launch.file, "/d/DD_x.txt");
}

TEST(DescriptionView, ScrollIncrementsAndRanges) {
  DescriptionView v;
  v.clientHeight = 100;
  v.clientWidth = 200;
  SetDescriptionMetrics(v, 8, 20, 100, 300);  // textWidth = 108 + 300 + 5
  UpdateScrollRanges(v, 30);
  EXPECT_EQ(v.vScrollMax, 30 - 5 + 2);
  EXPECT_EQ(v.hScrollMax, (413 - 200) / 8 + 2);
  struct Step {
    ScrollAction action;
    std::int32_t thumb, vertical, horizontal;
  };
  v.vScrollPos = 10;
  v.hScrollPos = 10;
  for (const Step& s :
       {Step{ScrollAction::kLineBack, 0, -1, -1}, Step{ScrollAction::kLineForward, 0, 1, 1},
        Step{ScrollAction::kPageBack, 0, -5, -8}, Step{ScrollAction::kPageForward, 0, 5, 8},
        Step{ScrollAction::kThumbTrack, 14, 4, 0}, Step{ScrollAction::kThumbPosition, 14, 0, 4},
        Step{ScrollAction::kStart, 0, -10, 0}, Step{ScrollAction::kEnd, 0, 17, 0}}) {
    EXPECT_EQ(VerticalIncrement(v, s.action, s.thumb), s.vertical);
    EXPECT_EQ(HorizontalIncrement(v, s.action, s.thumb), s.horizontal);
  }
  // Clamped to the range; a window less than a line high still pages by one line.
  v.vScrollPos = 26;
  EXPECT_EQ(ScrollVertically(v, ScrollAction::kPageForward, 0), 1);
  EXPECT_EQ(ScrollVertically(v, ScrollAction::kLineForward, 0), 0);
  v.clientHeight = 10;
  EXPECT_EQ(VerticalIncrement(v, ScrollAction::kPageForward, 0), 1);
  EXPECT_EQ(VerticalIncrement(v, ScrollAction::kPageBack, 0), -1);
  // No rows: the vertical range is what the formula gives.
  UpdateScrollRanges(v, 0);
  EXPECT_EQ(v.vScrollMax, 2);
  EXPECT_EQ(v.vScrollPos, 2);
  // Rows painted and where: row 0 (empty) is the first line at the top.
  v.vScrollPos = 0;
  v.hScrollPos = 0;
  const RowSpan rows = RowsToPaint(v, 30, 0, 100);
  EXPECT_EQ(rows.first, 0);
  EXPECT_EQ(rows.last, 5);
  EXPECT_EQ(RowPosition(v, 3).y, 60);
  EXPECT_EQ(RowPosition(v, 3).x, 8);
}

TEST(DescriptionView, LongestRowsCountCharactersAndTheFirstWins) {
  Scene scene;
  DataModel& data = scene.data();
  data.DescriptionLineCount = 3;
  const char* const rows[3][2] = {{"Größe", "ab"}, {"Depth", "abc"}, {"Abc", "xyz"}};
  for (int i = 1; i <= 3; ++i) {  // Größe: 5 characters, 7 bytes
    data.DescriptionTable[i].label.assign(rows[i - 1][0]);
    data.DescriptionTable[i].value.assign(rows[i - 1][1]);
  }
  DescriptionView v;
  FindLongestRows(v, data);
  EXPECT_EQ(v.longestLabelRow, 1);
  EXPECT_EQ(v.longestValueRow, 2);
}

}  // namespace
}  // namespace sx
