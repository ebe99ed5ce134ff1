// The settings dialogs through their forms: what a user types, ticks and picks, and what reaches
// the model on OK.

#include <gtest/gtest.h>

#include <string>

#include "scene_fixture.h"
#include "settings/settings_files.h"
#include "settings/settings_model.h"
#include "shell/global_options_form.h"
#include "shell/settings_forms.h"

namespace sx {
namespace {

constexpr double kPixelsPerCm = 40.0;

// A file of `parameters` columns "P<i> (u)" and three rows, and a session on it.
std::string Columns(int parameters) {
  std::string text = "Depth [m]";
  for (int p = 1; p <= parameters; ++p) text += "\tP" + std::to_string(p) + " (u)";
  for (int row = 1; row <= 3; ++row) {
    text += "\n" + std::to_string(row);
    for (int p = 1; p <= parameters; ++p) text += "\t" + std::to_string(row * p);
  }
  return text + "\n";
}
struct Loaded : Scene {
  explicit Loaded(int parameters) : Scene(Columns(parameters)) {}
  // Exactly the listed parameters plotted.
  void plot(std::initializer_list<int> plotted) {
    for (int p = 1; p <= data().ParameterCount; ++p) record(p).plotState = 0;
    for (int p : plotted) record(p).plotState = 1;
    RecountPlotted(settings());
  }
};

TEST(SettingsFormsTest, NumberAndIntegerFieldsKeepTheOldValueWhenUnreadable) {
  Loaded f(3);
  ParameterSettings& r = f.record(2);
  r.automatic = 0;
  r.minimum = 0.123456f;
  r.maximum = 5.0f;
  r.referenceLine = 1.0f;
  r.format.assign("%.1f");
  r.minorTicks = 4;
  ParameterAxisForm form(*f.session, 2, kPixelsPerCm);
  form.setChecked(1002, false);
  form.setText(1004, "7.250");  // two decimals that count, one trailing zero
  form.setText(1005, "1e999");  // beyond every float
  form.setText(1015, "nan");
  form.setText(1016, "500");  // spin range 1..100
  form.setText(1025, "abc");
  form.store();
  EXPECT_FLOAT_EQ(r.minimum, 0.123456f);  // untouched: not rounded to what the field showed
  EXPECT_FLOAT_EQ(r.maximum, 7.25f);
  EXPECT_EQ(r.format.view(), "%.2f");
  EXPECT_FLOAT_EQ(r.referenceLine, 1.0f);
  EXPECT_EQ(r.minorTicks, 100);
}

TEST(SettingsFormsTest, GraphicOkConvertsCentimetresFontAndUnitStyle) {
  Loaded f(2);
  GraphicSettings& g = f.graphic();
  GraphicForm form(*f.session, false, kPixelsPerCm);
  EXPECT_EQ(form.control(1300).text, "");  // never set
  form.setText(1300, "12.5");
  form.setText(1301, "1");    // below the 100 pixel minimum
  form.setText(1302, "1e9");  // far beyond what can be drawn
  form.chooseRadio(1145);     // square brackets
  form.chooseFont("Serif", 60);
  form.setText(1311, "0");       // integer fields: spin ranges limit,
  form.setText(1312, "eleven");  // and unreadable keeps
  form.store();
  EXPECT_EQ(g.graphicWidth, 500);
  EXPECT_EQ(g.graphicHeight, 100);
  EXPECT_EQ(g.plotDistance, kMaxDevicePixels);
  EXPECT_EQ(g.unitStyle, 2);
  EXPECT_EQ(f.data().column(1).label.view(), "P1 [u]");
  EXPECT_EQ(g.fontName.view(), "Serif");
  EXPECT_EQ(g.fontSize, 40);
  EXPECT_EQ(f.record(0).lineWidth, 1);
  EXPECT_EQ(g.frameWidth, 1);

  GraphicForm round(*f.session, false, kPixelsPerCm);
  round.chooseRadio(1144);
  round.store();
  EXPECT_EQ(f.data().column(1).label.view(), "P1 (u)");
}

TEST(SettingsFormsTest, NextStoresAndSkipsUnplottedParameters) {
  Loaded f(6);
  f.plot({1, 3, 6});
  ParameterAxisForm form(*f.session, 3, kPixelsPerCm);
  form.setText(1000, "Renamed");
  form.next();
  EXPECT_EQ(f.data().column(3).label.view(), "Renamed");
  EXPECT_EQ(form.record(), 6);
  EXPECT_EQ(form.control(1000).text, "P6 (u)");
  form.next();  // nothing above: stays
  EXPECT_EQ(form.record(), 6);
  form.previous();
  EXPECT_EQ(form.record(), 3);

  // The Group box counts at once, whatever the dialog's end.
  const int grouped = f.data().GroupedColumnCount;
  form.toggleGroupLabel(true);
  EXPECT_EQ(f.data().GroupedColumnCount, grouped + 1);
}

TEST(SettingsFormsTest, ParameterColourIsRememberedByNameAndQualityRescales) {
  Loaded f(2);
  f.plot({1, 2});
  DefaultColorEntry& first = f.settings().DefaultColorTable[1];
  ParameterOptionForm form(*f.session, 2);
  form.chooseColor(1023, StoredChoice(RGB{0, 0, 0}));  // black is stored as (1, 1, 1)
  form.setChecked(1041, true);                         // not valid values now count
  f.record(2).minimum = 123.0f;
  f.record(2).automatic = 0;
  form.store();
  EXPECT_EQ(f.record(2).color, (RGB{1, 1, 1}));
  EXPECT_EQ(f.settings().ParameterColorTable[2], (RGB{1, 1, 1}));
  EXPECT_EQ(first.name.view(), "P2 (u)");
  EXPECT_EQ(first.inUse, 1);
  // Ranges recomputed and applied to every parameter, the manual one included.
  EXPECT_NE(f.record(2).minimum, 123.0f);

  // A second pick under the same name reuses that entry.
  ParameterOptionForm again(*f.session, 2);
  again.chooseColor(1023, RGB{9, 9, 9});
  again.store();
  EXPECT_EQ(first.rgb, (RGB{9, 9, 9}));
  EXPECT_NE(f.settings().DefaultColorTable[2].name.view(), "P2 (u)");
}

TEST(SettingsFormsTest, ColourChooserAndHlsRules) {
  EXPECT_EQ(ChooserStartColor(RGB{0, 0, 0}), (RGB{80, 160, 200}));
  EXPECT_EQ(ChooserStartColor(RGB{1, 1, 1}), (RGB{0, 0, 0}));
  EXPECT_EQ(ChooserStartColor(RGB{5, 6, 7}), (RGB{5, 6, 7}));
  // Saturated colours both ways are covered by the colour mapping below; a grey has no hue.
  EXPECT_EQ(RgbToHls(RGB{128, 128, 128}), (HLS{160, 120, 0}));
}

TEST(SettingsFormsTest, ColourMappingSpreadsTheHueAndASingleTargetGetsTheFirstColour) {
  Loaded f(5);
  f.plot({1, 2, 3, 4, 5});
  f.session->dialogs.ApplyScope = OptionScope::kSelected;
  ColorMappingForm form(*f.session);
  form.chooseColor(1038, RGB{255, 0, 0});  // H 0, L 120, S 240
  form.chooseColor(1039, RGB{0, 0, 255});  // H 160: step 40
  form.store();
  // Hues 0, 40, 80, 120, 160 at full saturation and half lightness.
  const RGB expected[] = {{255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {0, 0, 255}};
  for (int p = 1; p <= 5; ++p) {
    EXPECT_EQ(f.record(p).color, expected[p - 1]) << p;
    EXPECT_EQ(f.settings().ParameterColorTable[static_cast<std::size_t>(p)], expected[p - 1]);
  }

  f.plot({4});
  ColorMappingForm single(*f.session);
  single.chooseColor(1038, RGB{10, 20, 30});
  single.store();
  EXPECT_EQ(f.record(4).color, (RGB{10, 20, 30}));
  EXPECT_EQ(f.record(3).color, expected[2]);
}

TEST(SettingsFormsTest, ScopeQuestionAndGlobalOptions) {
  Loaded f(4);
  f.plot({1, 2});
  ASSERT_EQ(BeginGlobalOptions(*f.session), ScopeStep::kAsk);
  ScopeForm question(*f.session);
  question.chooseRadio(1800);
  question.cancel();
  EXPECT_TRUE(f.session->dialogs.ApplyScope == OptionScope::kSelected);

  GlobalOptionsForm::Group group{};
  ASSERT_TRUE(GlobalOptionsForm::GroupOf("YAXISDIALOGCOLUMNWIDTH", group));
  GlobalOptionsForm widths(*f.session, group, 1, kPixelsPerCm);
  widths.setText(1026, "7");
  widths.store();
  EXPECT_EQ(f.record(2).columnWidth, 7);
  EXPECT_NE(f.record(3).columnWidth, 7);

  // All plotted: no question, every record 1..256.
  f.plot({1, 2, 3, 4});
  ASSERT_EQ(BeginGlobalOptions(*f.session), ScopeStep::kGo);
  EXPECT_TRUE(f.session->dialogs.ApplyScope == OptionScope::kAll);
  ASSERT_TRUE(GlobalOptionsForm::GroupOf("YAXISDIALOGTEXTORIENTATION", group));
  GlobalOptionsForm angle(*f.session, group, 1, kPixelsPerCm);
  angle.chooseRadio(1154);
  angle.store();
  EXPECT_EQ(f.record(256).textOrientation, 90);

  f.plot({});
  EXPECT_EQ(BeginGlobalOptions(*f.session), ScopeStep::kNothing);
}

TEST(SettingsFormsTest, SelectPagesOfManyParameters) {
  Loaded f(130);
  f.plot({});
  f.record(61).comment = 0;
  SelectForm form(*f.session, 2);
  EXPECT_EQ(form.pageCount(), 3);
  EXPECT_EQ(form.control(1201).text, "P1 (u)");
  form.toggle(2, true);  // at once
  EXPECT_EQ(f.record(2).plotState, 1);
  form.nextPage();
  EXPECT_EQ(form.page(), 1);
  EXPECT_EQ(form.itemOf(1), 61);
  form.toggle(1, true);
  form.nextPage();
  form.nextPage();  // no fourth page
  EXPECT_EQ(form.page(), 2);
  EXPECT_EQ(form.itemOf(10), 130);
  EXPECT_EQ(form.itemOf(11), 0);
  EXPECT_EQ(form.control(1211).text, "");
  form.store();
  EXPECT_EQ(f.graphic().plottedCount, 2);
  // A ticked parameter without styles gets markers and lines.
  EXPECT_EQ(f.record(61).marker, 1);
  EXPECT_EQ(f.record(61).lines, 1);

  form.selectAll();
  form.store();
  EXPECT_EQ(f.graphic().plottedCount, 130);
}

// The Set memory dialog: OK writes the window file at once.
TEST(SetMemoryTest, OkWritesTheWindowFileAtOnceAndALoadKeepsIt) {
  Scene scene;
  setenv("APPDATA", scene.files.dir().c_str(), 1);  // the window file of this test alone
  Session* s = scene.session.get();
  s->startup.placements = DefaultWindowPlacement(1024, 768);
  // An unreadable field keeps its value; a usable one is taken.
  ASSERT_TRUE(SetMemoryCommand(*s, " 250000 ", "lots", 1024, 768));
  EXPECT_EQ(s->startup.budgets.MaxNumericItems, 250000);
  EXPECT_EQ(s->startup.budgets.MaxTextItems, kDefaultMaxTextItems);

  // Opening a file (which reads the preference file) leaves the budgets as the user set them,
  // and they are on disk for the next start.
  scene.Open("Depth [m]\tT [C]\n1\t2\n2\t3\n");
  EXPECT_EQ(s->startup.budgets.MaxNumericItems, 250000);
  StartupState stored;
  ASSERT_TRUE(ReadWindowFile(BuildSettingsPath(kWindowFileName), stored));
  EXPECT_EQ(stored.budgets.MaxNumericItems, 250000);
  EXPECT_TRUE(scene.ui.messages.empty());
}

}  // namespace
}  // namespace sx
