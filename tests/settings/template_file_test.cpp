// Scenarios of template files: what a user finds in the settings after saving one and loading it
// onto a data set.

#include "settings/template_file.h"

#include <climits>
#include <tuple>

#include "scene_fixture.h"

namespace sx {
namespace {

// The stored integer fields of a record in the file's order (the styles row first), and the
// stored floats.
// clang-format off
#define SX_RECORD_INTS(X) \
  X(plotState) X(marker) X(lines) X(columns) X(histogramLines) X(outline) X(valueText) \
  X(occurrence) X(course) X(comment) X(lithology) X(showParameterLabel) X(showGroupLabel) \
  X(boundary) X(lineWidth) X(fixedAxisLength) X(axisLength) X(doWithNext) X(colorize) \
  X(flagValid) X(flagNotValid) X(flagUnknown) X(flagQuestionable) X(flagIndividual) X(bothSides) \
  X(inside) X(textOrientation) X(markerSymbol) X(markerSize) X(minorTicks) X(ticklines) \
  X(minorTicklines) X(columnWidth) X(automatic) X(modeSelected) X(modeMarkerSymbol) \
  X(modeMarkerSize) X(modeLineWidth) X(reverseRange)
#define SX_RECORD_FLOATS(X) X(minimum) X(maximum) X(cMax) X(referenceLine) X(tickIncrement)
// clang-format on

constexpr char kData[] = "Depth (m)\tA (mg/l)\tB\tC (%)\n1\t2\t3\t4\n2\t3\t4\t5\n3\t4.5\t5\t6\n";
constexpr int kBlockLines = 13;
int LineOf(int block, int line) {
  return 6 + kBlockLines * block + line - 1;
}

std::string JoinLines(const std::vector<std::string>& lines, std::size_t count,
                      const char* end = "\r\n") {
  std::string text;
  for (std::size_t i = 0; i < count && i < lines.size(); ++i) text += lines[i] + end;
  return text;
}

// Gives every stored field (and a few that are not stored) a value of its own per record.
void Scramble(Session& s, int seed) {
  for (int i = 0; i < kSettingsRecords; ++i) {
    ParameterSettings& r = s.settings.record(i);
    int j = 0;
#define SX_SET_INT(f) r.f = seed * 100000 + i * 100 + j++;
    SX_RECORD_INTS(SX_SET_INT)
#define SX_SET_FLOAT(f) r.f = static_cast<float>(seed) + i * 0.5f + (j++) * 0.25f;
    SX_RECORD_FLOATS(SX_SET_FLOAT)
    r.format.assign("%." + std::to_string((i + seed) % 10) + "f");
    r.color = {static_cast<std::uint8_t>(seed + i), static_cast<std::uint8_t>(i), 7};
    r.modeColor = {9, static_cast<std::uint8_t>(seed * 3 + i), static_cast<std::uint8_t>(i / 2)};
    r.rgbColumn = seed + i;
    r.epsilon = seed * 2.0f + i;
    r.reservedA = r.reservedB = seed;
    s.data.column(i).label.assign("P" + std::to_string(seed) + "-" + std::to_string(i) +
                                  " (\u00B0C)");
    s.data.column(i).groupName.assign("G" + std::to_string(seed * 1000 + i));
  }
  s.settings.record(2).maximum = 3.0e38f;  // its row is far longer than 80 characters
  GraphicSettings& g = s.settings.graphic;
  int j = 1;  // 0 would be the plot mode's, set below
  for (std::int32_t* f :
       {&g.useColor, &g.allInOne, &g.clipXAxis, &g.frameWidth, &g.useTemplate, &g.graphicWidth,
        &g.graphicHeight, &g.plotDistance, &g.spareSettingA, &g.tickIncrementPercent, &g.fontSize,
        &g.modeFontSize, &g.spareSettingB, &g.modeEntityKind, &g.dateTimeStamp, &g.fileNameStamp,
        &g.unitStyle, &g.horizontalLayoutSwitch}) {
    *f = seed * 1000 + j++;
  }
  g.plotMode = static_cast<PlotMode>(seed % 2);
  g.unitStyle = 1;
  g.fontName.assign("Font " + std::to_string(seed));
  g.CreditText.assign("Credit \u00B0 " + std::to_string(seed));
  g.DateText.assign("date " + std::to_string(seed));  // not stored
}

class TemplateTest : public SceneTest {
 protected:
  std::unique_ptr<Session> Open(const std::string& content = kData) {
    std::unique_ptr<Session> s = CreateSession({}, ui);
    SetDataFilePath(s->data, files.Write("data.tab", content));
    EXPECT_EQ(OpenDataFile(*s), 0);
    ui.messages.clear();
    return s;
  }
  // The template of a session, as text.
  std::string Saved(const Session& s) {
    const std::string path = files.dir() + "/saved.stf";
    EXPECT_TRUE(WriteTemplate(s.data, s.settings, path));
    return ReadBytes(path);
  }
  std::int32_t Read(Session& s, const std::string& text) {
    return ReadTemplate(s.data, s.settings, files.Write("t.stf", text));
  }
};

TEST_F(TemplateTest, WrittenLayoutAndRoundTripOfEveryStoredField) {
  std::unique_ptr<Session> a = Open();
  Scramble(*a, 1);
  const std::string text = Saved(*a);
  const std::vector<std::string> lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 6u + 257u * kBlockLines);
  EXPECT_EQ(JoinLines(lines, lines.size()), text);  // every line ends with CR LF
  const std::vector<std::string> head = {
      "2008-08-08",
      "Version: 11.04 - Build: 2009-08-24",
      "Font: Font 1",
      "Copyrighttext: Credit \xB0 1",  // Windows-1252
      "1\t1001\t1002\t1003\t1004",
      "1005\t3\t1006\t1007\t1008\t1009\t1010\t1011\t1012\t1013\t1014\t1015\t1016\t1\t1018"};
  EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 6), head);
  EXPECT_EQ(lines[LineOf(256, 1)], "Parameter: 256");
  // Block 2 begins with its names and colours; field j of record 2 is 100200 + j.
  EXPECT_EQ(JoinLines({lines.begin() + LineOf(2, 1), lines.begin() + LineOf(2, 7)}, 6, "\n"),
            "Parameter: 2\nName: P1-2 (\260C)\nGroupname: G1002\nFormat: %.3f\n3\t2\t7\n"
            "100200\t100201\t100202\t100203\t100204\t100205\t100206\t100207\t100208\t100209\t"
            "100210\t100211\t100212\t100213\t100214\n");
  EXPECT_FALSE(WriteTemplate(a->data, a->settings, files.dir() + "/missing/t.stf"));

  // Read onto another session: records 0..3 (the file's parameters) are written back alike.
  std::unique_ptr<Session> b = Open();
  Scramble(*b, 2);
  const std::vector<ParameterSettings> before(&b->settings.record(0), &b->settings.record(0) + 257);
  const std::string label7 = b->data.column(7).label.str();
  std::string version;
  ASSERT_EQ(ReadTemplate(b->data, b->settings, files.Write("t.stf", text), &version),
            kTemplateApplied);
  EXPECT_EQ(version, "11.04 - Build: 2009-08-24");
  const std::vector<std::string> again = SplitCrLf(Saved(*b));
  for (int k = 0; k < LineOf(4, 1); ++k) EXPECT_EQ(again[k], lines[k]) << "line " << k + 1;
  EXPECT_EQ(b->settings.ModeColorTable[3], a->settings.record(3).modeColor);
  for (int i = 0; i < kSettingsRecords; ++i) {
    const ParameterSettings &r = b->settings.record(i), &old = before[i];
    EXPECT_EQ(r.rgbColumn, old.rgbColumn);
    // Records beyond the file keep their values but are no longer plotted.
    if (i > 3) {
      EXPECT_TRUE(r.plotState == 0 && r.lines == old.lines && r.minimum == old.minimum) << i;
    }
  }
  EXPECT_EQ(b->data.column(7).label.view(), label7);
  EXPECT_EQ(b->settings.graphic.DateText.view(), "date 2");
}

TEST_F(TemplateTest, ColumnsAreRenamedByPosition) {
  std::unique_ptr<Session> a = Open();
  a->settings.record(2).lines = 0;
  a->data.column(3).label.assign("C [%]");
  a->settings.graphic.useTemplate = 0;
  // A count that belongs to the template's own file.
  a->settings.graphic.plottedCount = 40;
  for (int i = 1; i <= 20; ++i) a->settings.record(i).plotState = 1;
  a->settings.record(1).plotState = 0;
  const std::string text = Saved(*a);
  std::unique_ptr<Session> b = Open("Depth (m)\tX\tY\tZ\n1\t2\t3\t4\n2\t3\t4\t5\n");
  b->settings.DefaultColorTable[1] = {1, {}, {1, 2, 3}};
  b->settings.DefaultColorTable[1].name.assign("N [x]");
  b->settings.graphic.useTemplate = 1;
  ASSERT_EQ(Read(*b, text), kTemplateApplied);
  EXPECT_EQ(b->data.column(1).label.view(), "A (mg/l)");
  EXPECT_EQ(b->data.column(2).label.view(), "B");
  EXPECT_EQ(b->settings.record(2).lines, 0);
  // The names take the template's unit style; the colour memory keeps its own.
  EXPECT_EQ(b->data.column(3).label.view(), "C (%)");
  EXPECT_EQ(b->settings.DefaultColorTable[1].name.view(), "N [x]");
  // Line 6 starting with 0 switches the template off.
  EXPECT_EQ(b->settings.graphic.useTemplate, 0);
  EXPECT_EQ(b->settings.graphic.plottedCount, 2);

  // Names Windows-1252 cannot hold, or whose Windows-1252 bytes would read as UTF-8, are written
  // in UTF-8 (the first test sees Windows-1252 where it serves).
  for (const char* label : {"\u03B1 (x)", "\u00C2\u00B0"}) {
    a->data.column(1).label.assign(label);
    const std::string saved = Saved(*a);
    EXPECT_NE(saved.find(std::string("Name: ") + label + "\r\n"), std::string::npos) << label;
    ASSERT_EQ(Read(*b, saved), kTemplateApplied);
    EXPECT_EQ(b->data.column(1).label.view(), label);
  }
}

TEST_F(TemplateTest, DamagedFilesAreRefusedWholeOrMended) {
  std::unique_ptr<Session> a = Open();
  Scramble(*a, 1);
  std::vector<std::string> lines = SplitCrLf(Saved(*a));
  std::unique_ptr<Session> b = Open();
  const std::string unchanged = Saved(*b);
  // A file ending early is refused and changes nothing (which message the user sees is the load
  // command's).
  const int needed = LineOf(4, 1);  // blocks 0..3 for three parameters
  for (int present = 0; present < needed; ++present) {
    ASSERT_LT(Read(*b, JoinLines(lines, present)), 0) << present << " lines";
    ASSERT_EQ(Saved(*b), unchanged) << present;
  }
  // Lines 5 and 6 with more values than fields, a foreign stamp: refused.
  for (const auto& [index, tail, code] :
       {std::tuple{4, "\t1", kTemplateGlobalsTooMany}, {5, "\t\t1", kTemplateOptionsTooMany}}) {
    std::vector<std::string> copy = lines;
    copy[index] += tail;
    EXPECT_EQ(Read(*b, JoinLines(copy, copy.size())), code);
  }
  EXPECT_EQ(Read(*b, "2008-08-09\r\n" + JoinLines(lines, lines.size()).substr(12)),
            kTemplateWrongStamp);

  // Faulty values are mended, and a last line without its line end is still there.
  lines[LineOf(1, 1)] = "Parameter: 300";          // no such record
  lines[LineOf(2, 5)] = "300\t-5\t70000";          // components beyond a byte
  lines[LineOf(2, 8)] = "1\t1\t45\t3\t4\t99\t99";  // more values than fields
  lines[LineOf(2, 4)] = "Format: %s%n";            // not a number format
  lines[LineOf(3, 7)] = "2147483648\t-2147483648\t-99999999999\t +12abc\tabc";
  std::string text = JoinLines(lines, needed);
  text.resize(text.size() - 2);
  b = Open();
  const ParameterSettings one = b->settings.record(1), two = b->settings.record(2),
                          three = b->settings.record(3);
  ASSERT_EQ(Read(*b, text), kTemplateApplied);
  // The block naming record 300 is read past: record 1 keeps its values, the next blocks apply.
  EXPECT_EQ(b->settings.record(1).lines, one.lines);
  const ParameterSettings &r2 = b->settings.record(2), &r3 = b->settings.record(3);
  EXPECT_EQ(r2.lines, a->settings.record(2).lines);
  EXPECT_EQ(r2.color, (RGB{255, 0, 255}));
  EXPECT_EQ(r2.format.view(), two.format.view());
  // Extra values stay out of the next row; numbers saturate.
  EXPECT_EQ(std::vector({r2.bothSides, r2.markerSize, r2.minorTicks}),
            std::vector({1, 4, a->settings.record(2).minorTicks}));
  EXPECT_EQ(
      std::vector({r3.fixedAxisLength, r3.axisLength, r3.doWithNext, r3.colorize, r3.flagValid}),
      std::vector({INT_MAX, INT_MIN, INT_MIN, 12, three.flagValid}));
}

TEST_F(TemplateTest, LoadCommandAndActiveTemplate) {
  std::unique_ptr<Session> a = Open();
  for (int i = 1; i <= 2; ++i) {
    a->settings.record(i).automatic = i == 1;
    a->settings.record(i).minimum = 1000.0f;
    a->settings.record(i).maximum = 2000.0f;
  }
  const std::string good = files.Write("good.stf", Saved(*a));
  std::unique_ptr<Session> b = Open();
  EXPECT_EQ(LoadTemplateCommand(*b, good), kTemplateApplied);
  EXPECT_EQ(b->settings.TemplatePath, good);
  // Only the automatic parameters are rescaled to the data, and the marks stay.
  EXPECT_LT(b->settings.record(1).maximum, 10.0f);
  EXPECT_EQ(b->settings.record(2).maximum, 2000.0f);
  EXPECT_EQ(b->settings.record(2).automatic, 0);
  EXPECT_TRUE(ui.messages.empty());

  // A refused template: its message, then the data file's own settings again.
  b->settings.record(1).lines = 0;
  const std::vector<std::string> lines = SplitCrLf(Saved(*a));
  const std::pair<std::size_t, const char*> cases[] = {
      {1, "Sorry, you can't use this old template."}, {20, "Wrong format of data."}};
  for (const auto& [count, message] : cases) {
    EXPECT_LT(LoadTemplateCommand(*b, files.Write("bad.stf", JoinLines(lines, count))), 0);
    EXPECT_EQ(Message(), message);
    EXPECT_EQ(b->settings.record(1).lines, 1);
    EXPECT_EQ(b->settings.graphic.plottedCount, 3);
  }

  // An active template is applied after each load of several rows.
  a->data.column(1).label.assign("Renamed");
  a->settings.graphic.useTemplate = 1;
  ui.messages.clear();
  ASSERT_EQ(LoadTemplateCommand(*b, files.Write("t.stf", Saved(*a))), kTemplateApplied);
  ASSERT_TRUE(IsTemplateActive(b->settings));
  SetDataFilePath(b->data, files.Write("two.tab", "Depth\tA\n1\t2\n2\t3\n"));
  ASSERT_EQ(OpenDataFile(*b), 0);
  EXPECT_EQ(b->data.column(1).label.view(), "Renamed");
  SetDataFilePath(b->data, files.Write("one.tab", "Depth\tA\n1\t2\n"));
  ASSERT_EQ(OpenDataFile(*b), 0);
  EXPECT_EQ(b->data.column(1).label.view(), "A");
  EXPECT_TRUE(ui.messages.empty());
  // An active template that has gone away is reported at the next load.
  b->settings.TemplatePath = files.dir() + "/gone.stf";
  SetDataFilePath(b->data, files.dir() + "/two.tab");
  ASSERT_EQ(OpenDataFile(*b), 0);
  EXPECT_EQ(Message(), "Could not open file:\n>" + files.dir() + "/gone.stf<");
}

}  // namespace
}  // namespace sx
