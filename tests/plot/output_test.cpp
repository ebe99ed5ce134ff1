// Picture export, page fitting and the batch, run on recording surfaces.

#include "plot/output.h"
#include "shell/batch.h"

#include <unistd.h>

#include <utility>

#include "scene_fixture.h"
#include "settings/settings_files.h"
#include "settings/template_file.h"

namespace sx {
namespace {

TEST(OutputTest, FitGraphicToPageKeepsTheProportionWithinThePage) {
  // {width, height, page width, fitted width, fitted height} on a page 6000 high. An upright
  // graphic takes the page height, its width cut to the page; without a usable proportion (a
  // height of 0, the "window size" marks) the whole page; extremes never overflow.
  const std::int32_t cases[][5] = {{800, 600, 4000, 4000, 3000},  {600, 800, 4000, 4000, 6000},
                                   {600, 800, 5000, 4500, 6000},  {800, 0, 4000, 4000, 6000},
                                   {0, 600, 4000, 4000, 6000},    {-1, -1, 4000, 4000, 6000},
                                   {2147483647, 1, 4000, 4000, 0}};
  for (const auto& c : cases) {
    GraphicSettings g;
    g.graphicWidth = c[0], g.graphicHeight = c[1];
    FitGraphicToPage(g, c[2], 6000);
    EXPECT_EQ(g.graphicWidth, c[3]) << c[0] << "x" << c[1] << " on " << c[2];
    EXPECT_EQ(g.graphicHeight, c[4]) << c[0] << "x" << c[1] << " on " << c[2];
  }
}

TEST(OutputTest, BatchExportNames) {
  // ".SX" is cut before ".sx"; never a folder whose name holds ".sx".
  const char* cases[][3] = {{"/d/dep12.sx", ".emf", "/d/dep12.emf"},
                            {"/d/dep12.tab", ".emf", "/d/dep12.tab.emf"},
                            {"dep12.SX.sx", ".svg", "dep12.svg"},
                            {"dep12.sx.SX", ".emf", "dep12.sx.emf"},
                            {"noext", ".emf", "noext.emf"},
                            {"/data/run.sx/dep12.tab", ".emf", "/data/run.sx/dep12.tab.emf"}};
  for (const auto& c : cases) EXPECT_EQ(BatchExportPath(c[0], c[1]), c[2]) << c[0];
}

constexpr char kPrevious[] = "Depth [m]\tSal [psu]\n0\t35.1\n10\t35.3\n20\t35.0\n";
constexpr char kFirst[] =
    "Depth [m]\tTemp [deg C]\tO2 [ml/l]\n0\t10.5\t6.1\n10\t11.0\t5.9\n20\t11.2\t5.2\n";
constexpr char kSecond[] = "Age [ka]\tCaCO3 [%]\n1\t52\n2\t55\n3\t51\n";

class BatchTest : public SceneTest {
 protected:
  std::vector<std::string> events;
  std::vector<std::string> exportedTexts;  // per export: "Temp" / "CaCO3" found
  std::string failPath;                    // the file factory fails for this destination

  ScreenSurfaceFactory Screen() {
    return [this](std::int32_t w, std::int32_t h, const DrawFunction& draw) {
      RecordingSurface s(96.0f, 96.0f, false);
      draw(s);
      events.push_back("screen " + std::to_string(w) + "x" + std::to_string(h) + " plotted " +
                       std::to_string(graphic().plottedCount));
    };
  }
  FileSurfaceFactory Files() {
    return [this](const ExportRequest& r, const DrawFunction& draw) -> std::string {
      RecordingSurface s(r.dpi, r.dpi, true);
      draw(s);
      events.push_back("export " + r.path + " " + std::to_string(r.width) + "x" +
                       std::to_string(r.height) + " " + r.description);
      std::string seen = "?";
      for (const char* label : {"CaCO3", "Temp", "Renamed"}) {
        for (const Call& c : s.calls()) {
          if (c.kind == Kind::kText && c.text.find(label) != std::string::npos) seen = label;
        }
      }
      exportedTexts.push_back(seen);
      if (r.frame != ComputeMetafileFrame(r.width, r.height, r.dpi)) return "wrong frame";
      return r.path == failPath ? "disk full" : "";
    };
  }
};

TEST_F(BatchTest, LoadsPaintsAndExportsEachFileThenReturnsToThePreviousOne) {
  Open(kPrevious, "prev.tab");
  const std::string previous = data().DataFilePath;
  GraphicSettings& g = graphic();
  g.graphicWidth = 640, g.graphicHeight = 480;
  // Changes the user has not saved anywhere.
  ParameterSettings& sal = settings().record(1);
  sal.maximum = 999.0f, sal.markerSymbol = 7, sal.color = {1, 2, 3};
  data().column(1).label.assign("Salinity");
  const std::string before = FormatPreferences(settings(), 1);

  BatchRequest request;
  const std::string dir = files.dir() + "/";
  request.files = {files.Write("dep12.sx", kFirst), dir + "missing.tab",
                   files.Write("dep13.tab", kSecond)};
  request.width = 800, request.height = 600;
  std::vector<std::string> progress;
  const BatchReport report =
      RunBatch(*session, request, Screen(), Files(),
               [&](const BatchFileResult& r, std::size_t i, std::size_t n) {
                 progress.push_back(std::to_string(i) + "/" + std::to_string(n) + " " + r.file);
               });

  const std::vector<std::string> expected = {
      "screen 800x600 plotted 2", "export " + dir + "dep12.emf 800x600 Sondrix Metafile",
      "screen 800x600 plotted 1", "export " + dir + "dep13.tab.emf 800x600 Sondrix Metafile"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(exportedTexts, (std::vector<std::string>{"Temp", "CaCO3"}));
  ASSERT_EQ(report.files.size(), 3u);
  EXPECT_TRUE(report.written == 2 && report.skipped == 1 && report.failed == 0);
  EXPECT_EQ(report.files[1].reason, "could not open file");
  EXPECT_EQ(progress.back(), "2/3 " + request.files[2]);

  // The previous file is back with its name, data, names and every setting as it stood.
  const DataModel& d = data();
  EXPECT_EQ(d.DataFilePath, previous);
  EXPECT_EQ(d.column(1).label.str(), "Salinity");
  EXPECT_TRUE(d.ParameterCount == 1 && d.rowCount() == 3 && g.plottedCount == 1);
  EXPECT_TRUE(g.graphicWidth == 640 && g.graphicHeight == 480);
  EXPECT_EQ(FormatPreferences(settings(), 1), before);
  EXPECT_TRUE((sal.maximum == 999.0f && sal.markerSymbol == 7 && sal.color == RGB{1, 2, 3}));

  // Nothing open before: nothing is shown afterwards.
  SetDataFilePath(data(), "");
  data().ParameterCount = kNoFileYet;
  RunBatch(*session, request, Screen(), Files());
  EXPECT_EQ(data().ParameterCount, kNoFileYet);
  EXPECT_TRUE(data().DataFilePath.empty());
}

TEST_F(BatchTest, TemplateAppliesToEveryFileAndFailuresAreReported) {
  // A template made from one file, in which parameter 1 was renamed.
  Open(kFirst, "model.tab");
  column(1).label.assign("Renamed");
  const std::string stf = files.dir() + "/t.stf";
  ASSERT_TRUE(WriteTemplate(session->data, session->settings, stf));
  column(1).label.assign("Temp");

  BatchRequest request;
  request.extension = ".svg";
  request.files = {files.Write("a.tab", kFirst), files.Write("b.txt", "no table here\n"),
                   files.Write("c.tab", kFirst)};
  request.templatePath = stf;
  failPath = files.dir() + "/a.tab.svg";
  // Without a size of its own the batch falls back to a usable window size.
  graphic().graphicWidth = 0;
  const BatchReport report = RunBatch(*session, request, Screen(), Files());
  ASSERT_EQ(report.files.size(), 3u);
  EXPECT_TRUE(report.files[0].status == BatchStatus::kFailed &&
              report.files[1].status == BatchStatus::kSkipped &&
              report.files[2].status == BatchStatus::kWritten);
  EXPECT_EQ(report.files[0].reason, "disk full");
  EXPECT_EQ(report.files[1].reason, "wrong format of data");
  EXPECT_EQ(report.files[2].output, files.dir() + "/c.tab.svg");
  EXPECT_EQ(events[0], "screen 1200x900 plotted 2");
  EXPECT_EQ(exportedTexts, (std::vector<std::string>{"Renamed", "Renamed"}));
  // The session's own template choice is back, and so is the model file without the template.
  EXPECT_TRUE(settings().TemplatePath.empty());
  EXPECT_EQ(graphic().useTemplate, 0);
  EXPECT_EQ(data().column(1).label.str(), "Temp");  // the name as the user left it
}

// No picture of a batch lands on a data file through a link: not its own, not one the batch read
// before or has yet to read, not the one open before the batch. Only the last file is drawn.
TEST_F(BatchTest, NoPictureReplacesADataFile) {
  Open(kPrevious, "prev.tab");
  const std::string dir = files.dir() + "/";
  BatchRequest request;
  request.files = {files.Write("a.tab", kFirst), files.Write("b.tab", kFirst),
                   files.Write("c.tab", kFirst), files.Write("d.tab", kFirst),
                   files.Write("e.tab", kFirst), files.Write("f.tab", kFirst)};
  request.width = 800, request.height = 600;
  files.Write("e.tab.emf", "");  // what e's picture is written over
  const std::pair<const char*, std::string> links[] = {{"a.tab.emf", "c.tab"},
                                                       {"b.tab.emf", "b.tab"},
                                                       {"c.tab.emf", "a.tab"},
                                                       {"d.tab.emf", data().DataFilePath},
                                                       {"f.tab.emf", "e.tab.emf"}};
  for (const auto& [link, to] : links) ASSERT_EQ(symlink(to.c_str(), (dir + link).c_str()), 0);
  const BatchReport report = RunBatch(*session, request, Screen(), Files());
  ASSERT_EQ(report.files.size(), 6u);
  EXPECT_EQ(report.failed, 5);
  for (const auto& [file, reason] :
       {std::pair(0, "the output is another data file of the batch"),
        std::pair(1, "the output is the data file itself"),
        std::pair(2, "the output is another data file of the batch"),
        std::pair(3, "the output is the data file open before the batch"),
        std::pair(5, "the output is the picture of an earlier file of the batch")}) {
    EXPECT_EQ(report.files[file].reason, reason) << file;
  }
  EXPECT_EQ(events.back(), "export " + dir + "e.tab.emf 800x600 Sondrix Metafile");
}

}  // namespace
}  // namespace sx
