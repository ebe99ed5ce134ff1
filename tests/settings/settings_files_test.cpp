#include "settings/settings_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "core/save_data.h"
#include "settings/patterns.h"
#include "settings/preferences.h"
#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "test_files.h"

namespace sx {
namespace {

// The 36 stored record fields in the order of a record line.
using P = ParameterSettings;
constexpr std::int32_t P::*kStored[] = {
    &P::plotState,        &P::marker,           &P::lines,          &P::columns,
    &P::histogramLines,   &P::outline,          &P::lithology,      &P::boundary,
    &P::valueText,        &P::occurrence,       &P::course,         &P::comment,
    &P::columnWidth,      &P::fixedAxisLength,  &P::axisLength,     &P::doWithNext,
    &P::colorize,         &P::flagValid,        &P::flagNotValid,   &P::flagUnknown,
    &P::flagQuestionable, &P::flagIndividual,   &P::reverseRange,   &P::bothSides,
    &P::inside,           &P::textOrientation,  &P::markerSymbol,   &P::markerSize,
    &P::minorTicks,       &P::ticklines,        &P::minorTicklines, &P::lineWidth,
    &P::modeSelected,     &P::modeMarkerSymbol, &P::modeMarkerSize, &P::modeLineWidth};

class SettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"APPDATA", "XDG_CONFIG_HOME", "HOME"}) {
      if (const char* v = std::getenv(name)) saved_.push_back({name, v});
    }
    setenv("APPDATA", files.dir().c_str(), 1);
  }
  void TearDown() override {
    for (const char* name : {"APPDATA", "XDG_CONFIG_HOME", "HOME"}) unsetenv(name);
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
  }

  std::unique_ptr<Session> NewSession() {
    auto s = CreateSession({600, 40}, ui);
    SetAllDefaults(s->settings);
    return s;
  }

  std::int32_t Read(const std::string& bytes, Session& s) {
    return ReadPreferences(files.Write("p.ini", bytes), s.settings, s.data);
  }

  RecordingUserInterface ui;
  TestFiles files;

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(SettingsFilesTest, RoundTripOverEveryLineEndRestoresStoredFieldsOnly) {
  // Every stored preference differs from the defaults.
  auto a = NewSession();
  GraphicSettings& g = a->settings.graphic;
  std::int32_t value = static_cast<std::int32_t>(kTernary);
  g.plotMode = static_cast<PlotMode>(value++);
  for (std::int32_t* f :
       {&g.useColor, &g.useDefaultColor, &g.allInOne, &g.clipXAxis, &g.frameWidth, &g.plotDistance,
        &g.spareSettingA, &g.tickIncrementPercent, &g.fontSize, &g.modeFontSize, &g.spareSettingB,
        &g.modeEntityKind, &g.dateTimeStamp, &g.fileNameStamp, &g.horizontalLayoutSwitch}) {
    *f = value++;
  }
  g.unitStyle = 2;
  g.fontName.assign("Liberation Sans");
  g.editorPath = "/usr/bin/gedit --new-window";
  g.CreditText.assign("Lab 7, Ä-Straße");
  for (int i = 0; i < kSettingsRecords; ++i) {
    for (std::size_t k = 0; k < std::size(kStored); ++k) {
      a->settings.record(i).*kStored[k] = i * 100 + static_cast<int>(k) - 50;
    }
  }
  auto& colors = a->settings.DefaultColorTable;
  colors[1] = {1, {}, {10, 20, 30}};
  colors[1].name.assign("Fe [ppm]");
  colors[2] = {1, {}, {255, 0, 1}};
  colors[2].name.assign("Temp [°C]");

  const std::string path = files.dir() + "/prefs.ini";
  ASSERT_TRUE(WritePreferences(path, a->settings, 1, ""));
  const std::string crlf = ReadBytes(path);
  // Every character has a byte in Windows-1252, so the file is written in that code page.
  EXPECT_NE(crlf.find("Temp [\260C]"), std::string::npos);
  g.horizontalLayoutSwitch = 0;  // written, never read back
  const std::string expected = FormatPreferences(a->settings, 1);

  for (const std::string& bytes : {crlf, std::regex_replace(crlf, std::regex("\r\n"), "\n"),
                                   std::regex_replace(crlf, std::regex("\r\n"), "\r")}) {
    auto b = NewSession();
    b->data.ParameterCount = 1;
    b->data.column(1).label.assign("Ca (%)");
    b->settings.record(5).minimum = 42.0f;  // not stored
    b->settings.graphic.graphicWidth = 555;
    b->settings.graphic.horizontalLayoutSwitch = 1;
    ASSERT_EQ(Read(bytes, *b), kPreferencesRead);
    EXPECT_EQ(FormatPreferences(b->settings, 1), expected);  // every stored field
    EXPECT_EQ(b->settings.graphic.horizontalLayoutSwitch, 0);
    EXPECT_EQ(b->settings.graphic.customEditor, 1);
    EXPECT_EQ(b->settings.record(5).minimum, 42.0f);
    EXPECT_EQ(b->settings.graphic.graphicWidth, 555);
    EXPECT_EQ(b->data.column(1).label, "Ca [%]");  // the stored bracket style
  }
}

TEST_F(SettingsFilesTest, PreferenceFileLayout) {
  auto s = NewSession();
  ParameterSettings& r = s->settings.record(12);
  for (std::size_t k = 0; k < std::size(kStored); ++k) r.*kStored[k] = static_cast<int>(k) + 1;
  auto& colors = s->settings.DefaultColorTable;
  colors[0].name.assign("renamed");
  colors[1].inUse = 1;
  colors[1].name.assign("Fe");
  colors[2].inUse = 1;
  colors[2].name.assign("Mn\tx");
  colors[4].inUse = 1;  // behind the first free entry: not written

  const std::string bytes = FormatPreferences(s->settings, 0);
  const std::vector<std::string> lines = SplitCrLf(bytes);
  ASSERT_EQ(lines.size(), 265u + 3u);
  ASSERT_TRUE(bytes.ends_with("\r\n"));  // and no other CR or LF
  EXPECT_EQ(
      std::count(bytes.begin(), bytes.end(), '\r') + std::count(bytes.begin(), bytes.end(), '\n'),
      2 * 268);
  EXPECT_EQ(
      std::vector(lines.begin(), lines.begin() + 6),
      (std::vector<std::string>{
          "2008-08-08", "Version: 11.04 - Build: 2009-08-24", "Font: Arial", "Editor: Notepad.exe",
          " 1\t1\t1\t0\t0\t1\t0\t0\t20\t10\t10\t10\t1\t1\t1\t1\t0", "MERIDAT/Sondrix"}));
  EXPECT_EQ(lines[6 + 12],
            "12\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15\t16\t17\t18\t19\t20\t21\t22"
            "\t23\t24\t25\t26\t27\t28\t29\t30\t31\t32\t33\t34\t35\t36");
  // A tab in a colour name would shift the components.
  EXPECT_EQ(std::vector(lines.begin() + 263, lines.end()),
            (std::vector<std::string>{"0\t0", "[Default colors]", "TICK\t212\t212\t212",
                                      "Fe\t0\t146\t255", "Mn x\t119\t54\t255"}));
  EXPECT_EQ(colors[0].name, "TICK");
  s->settings.graphic.CreditText.assign("Own text");
  EXPECT_EQ(SplitCrLf(FormatPreferences(s->settings, 1))[5], "Own text");
}

// Damaged files are fuzzed; this keeps the rules a user can see.
TEST_F(SettingsFilesTest, ShortDamagedAndForeignFiles) {
  const std::vector<std::string> lines = SplitCrLf(FormatPreferences(NewSession()->settings, 0));
  auto s = NewSession();
  std::string head;
  for (int k = 0; k < 5; ++k) head += lines[k] + "\r\n";
  EXPECT_EQ(Read(head, *s), kPreferencesLineMissing);
  EXPECT_EQ(Read(head + lines[5] + "\r\n", *s), kPreferencesRead);
  EXPECT_EQ(Read("2008-08-09\r\n", *s), kPreferencesWrongStamp);
  EXPECT_EQ(ReadPreferences(files.dir() + "/none.ini", s->settings, s->data),
            kPreferencesUnreadable);

  // The stored plot mode and credit; a credit with an address keeps its own text; a mode that
  // does not exist leaves the current one.
  GraphicSettings& g = s->settings.graphic;
  const std::string credit = "2008-08-08\r\nV\r\nFont: A\r\nEditor: e\r\n 2\r\nFrom file\r\n";
  g.CreditText.assign("me@example.org");
  ASSERT_EQ(Read(credit, *s), 0);
  EXPECT_EQ(g.plotMode, kTernary);
  EXPECT_EQ(g.CreditText, "me");
  ASSERT_EQ(Read(credit, *s), 0);
  EXPECT_EQ(g.CreditText, "From file");
  ASSERT_EQ(Read("2008-08-08\r\nV\r\nF\r\nE\r\n17\r\nC\r\n", *s), 0);
  EXPECT_EQ(g.plotMode, kTernary);

  // Rows are clipped, clamped or ignored.
  std::string records;
  for (int v = 0; v < 38; ++v) records += "\t7";
  const std::string bytes = "2008-08-08\r\nV\r\nFont: Font: Courier\r\nEditor: vi\r\n" +
                            std::string("0\t\t1\t\t\t0\tx\t4\r\n") + "credit\r\n" +
                            " 3\t1\t2\r\n"      // fewer values: the rest unchanged
                            "999\t5\t5\t5\r\n"  // indices outside 0..256: ignored
                            "-1\t5\t5\r\n 4" +
                            records + "\r\n" +  // 38 values for 36 fields: clipped
                            "0\t0\r\n[Default colors]\r\nTICK\t1\t2\t3\r\n" +
                            std::string(100, 'a') + "\t300\t-4\t\t77\t9\r\n";
  s = NewSession();
  ASSERT_EQ(Read(bytes, *s), 0);
  EXPECT_EQ(s->settings.graphic.fontName, "Courier");
  EXPECT_EQ(s->settings.graphic.customEditor, 0);
  // Empty pieces take no position; "x" is no number and leaves its field.
  const GraphicSettings& h = s->settings.graphic;
  EXPECT_EQ(h.plotMode, kHorizontal);
  EXPECT_EQ(std::vector({h.useColor, h.useDefaultColor, h.allInOne, h.clipXAxis}),
            std::vector<std::int32_t>({1, 0, 0, 4}));
  EXPECT_EQ(s->settings.record(3).marker, 2);
  EXPECT_EQ(s->settings.record(3).lines, 0);
  EXPECT_EQ(s->settings.record(4).modeLineWidth, 7);
  for (int i = 0; i < kSettingsRecords; ++i) EXPECT_NE(s->settings.record(i).marker, 5) << i;
  EXPECT_EQ(s->settings.DefaultColorTable[1].name, std::string(80, 'a'));
  EXPECT_EQ(s->settings.DefaultColorTable[1].rgb, (RGB{255, 0, 77}));
}

TEST_F(SettingsFilesTest, LoadingCreatesAMissingFileAndStylesNewColumns) {
  // A loaded file: column 1 with 300 values, 2 with 250, 3 text only, 4 an "RGB" column.
  auto loaded = [this] {
    auto s = NewSession();
    s->data.ParameterCount = 4, s->data.GroupCount = 1;
    const int counts[] = {300, 300, 250, 0, 10};
    for (int c = 0; c <= 4; ++c) {
      s->data.column(c).label.assign("P" + std::to_string(c) + " [m]");
      s->data.column(c).itemCount = counts[c];
    }
    s->settings.record(4).rgbColumn = 1;
    return s;
  };
  const std::string prefs = BuildSettingsPath("Sondrix.ini");
  auto s = loaded();
  s->settings.graphic.CreditText.assign("me@lab");
  LoadPreferences(s->data, s->settings);
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(SplitCrLf(ReadBytes(prefs)).at(5), "MERIDAT/Sondrix");
  EXPECT_EQ(s->settings.graphic.CreditText, "me@lab");  // nothing was read
  EXPECT_EQ(s->data.column(1).label, "P1 (m)");         // units in the default style all the same
  // Markers only up to 250 values, comments for text columns but never for colour columns.
  const std::tuple<int, std::int32_t P::*, int> styles[] = {
      {1, &P::lines, 1},     {1, &P::marker, 0},       {2, &P::lines, 1},       {2, &P::marker, 1},
      {3, &P::plotState, 1}, {3, &P::lines, 0},        {3, &P::comment, 1},     {4, &P::comment, 0},
      {5, &P::plotState, 0}, {1, &P::modeSelected, 1}, {2, &P::modeSelected, 0}};
  for (const auto& [i, field, value] : styles) {
    EXPECT_EQ(s->settings.record(i).*field, value) << "record " << i;
  }
  EXPECT_EQ(s->settings.graphic.modeEntityKind, 2);

  // A short record section leaves the rest at the defaults; a readable file is not rewritten.
  std::vector<std::string> lines = SplitCrLf(FormatPreferences(NewSession()->settings, 0));
  lines[6 + 1] = " 1\t1\t0\t0\t1";  // record 1: plotted as columns only
  std::string bytes;
  for (int k = 0; k < 6 + 2; ++k) bytes += lines[k] + "\r\n";  // records 0 and 1 only
  files.Write("Sondrix/Sondrix.ini", bytes);
  s = loaded();
  LoadPreferences(s->data, s->settings);
  EXPECT_EQ(ReadBytes(prefs), bytes);
  EXPECT_EQ(s->settings.record(1).columns, 1);
  EXPECT_EQ(s->data.column(1).label, "P1 (m)");
  EXPECT_EQ(s->settings.record(2).lines, 1);
}

TEST_F(SettingsFilesTest, WindowFileRoundTripAndEarlyEnd) {
  const std::string path = files.dir() + "/w.ini";
  StartupState a;
  a.budgets = {250000, 4000};
  a.placements.FramePlacement = {1, 2, 1000, 700};
  a.placements.PlotWindowPlacement = {3, 4, 500, 400};
  a.placements.DescriptionWindowPlacement = {-5, 6, 300, 200};
  ASSERT_TRUE(WriteWindowFile(path, a, 1024, 768, ""));
  EXPECT_EQ(
      ReadBytes(path),
      "2008-08-08\r\n4000\t250000\r\n1\t2\t1000\t700\r\n3\t4\t500\t400\r\n-5\t6\t300\t200\r\n");
  StartupState b;
  ASSERT_TRUE(ReadWindowFile(path, b));
  EXPECT_EQ(FormatWindowFile(b, 1, 1), ReadBytes(path));

  // Early end: the caller places the windows itself; unusable budgets become the defaults.
  StartupState c;
  EXPECT_FALSE(ReadWindowFile(files.Write("w.ini", "2008-08-08\n0\t99999999999\n7\t8\tx\n"), c));
  EXPECT_EQ(c.budgets.MaxNumericItems, kDefaultMaxNumericItems);
  EXPECT_EQ(c.placements.FramePlacement, (Placement{7, 8, -1, -1}));

  // Child windows never placed: the defaults for the screen are written.
  StartupState e;
  EXPECT_EQ(SplitCrLf(FormatWindowFile(e, 1024, 768)).at(3), "36\t46\t866\t586");
}

TEST_F(SettingsFilesTest, SettingsFolderFromTheEnvironment) {
  const std::string dir = files.dir();
  struct stat st;
  EXPECT_EQ(BuildSettingsPath("Sondrix.ini"), dir + "/Sondrix/Sondrix.ini");
  unsetenv("APPDATA");
  setenv("XDG_CONFIG_HOME", (dir + "/xdg/").c_str(), 1);
  EXPECT_EQ(BuildSettingsPath("SondrixWindow.ini"), dir + "/xdg/Sondrix/SondrixWindow.ini");
  // A relative folder is ignored: the one under the home folder is made.
  setenv("HOME", (dir + "/home").c_str(), 1);
  mkdir((dir + "/home").c_str(), 0700);
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(BuildSettingsPath("a.ini"), dir + "/home/.config/Sondrix/a.ini");
  EXPECT_EQ(stat((dir + "/home/.config/Sondrix").c_str(), &st), 0);
  setenv("APPDATA", ("/" + std::string(5000, 'x')).c_str(), 1);
  EXPECT_EQ(BuildSettingsPath("a.ini"), "");  // never cut
  EXPECT_FALSE(WritePreferences("", NewSession()->settings, 0, ""));
}

// A FIFO in place of a settings file or the source of a save (a template: the command-line tests)
// is never waited for: it counts as unreadable and is never replaced. Should a read wait after
// all, the FIFOs are opened for writing to let it go on, and the test fails instead of hanging.
TEST_F(SettingsFilesTest, FifosAreNeverWaitedFor) {
  const std::string folder = files.dir() + "/Sondrix/";
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  const std::vector<std::string> fifos = {folder + "Sondrix.ini", folder + "SondrixWindow.ini",
                                          folder + std::string(kPatternFileName),
                                          files.dir() + "/fifo.tab"};
  for (const std::string& fifo : fifos) ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0) << fifo;
  const std::string data = files.Write("data.tab", "Depth\tA\n1\t2\n");

  std::int32_t opened = 1, saved = 1;
  RecordingUserInterface workerUi;
  std::future<void> finished = std::async(std::launch::async, [&] {
    std::unique_ptr<Session> s = StartSession(workerUi, 800, 600);
    SetDataFilePath(s->data, data);
    opened = OpenDataFile(*s);
    const Result result = SaveDataAs(s->data, "", fifos[3], files.dir() + "/copy.tab");
    Tell(workerUi, result);
    saved = result.code;
  });
  const bool inTime = finished.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  while (finished.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    for (const std::string& fifo : fifos) {
      const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) close(fd);
    }
  }
  ASSERT_TRUE(inTime);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(saved, kSaveSourceUnreadable);
  ASSERT_EQ(workerUi.messages.size(), 1u);
  EXPECT_EQ(workerUi.messages[0].text, "Could not save the data: their file\n>" + fifos[3] +
                                           "<\nis not a regular file and cannot be read again.");
  for (const std::string& fifo : fifos) {
    struct stat st;
    ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << fifo;
  }
}

}  // namespace
}  // namespace sx
