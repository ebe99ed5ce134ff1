// Picture export, page fitting and the batch, run on recording surfaces.

#include "plot/output.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/reader.h"
#include "core/session.h"
#include "render/recording_surface.h"
#include "settings/template_file.h"
#include "test_files.h"

namespace sx {
namespace {

TEST(OutputTest, FitGraphicToPageKeepsTheProportionWithinThePage) {
  GraphicSettings g;
  g.graphicWidth = 800;
  g.graphicHeight = 600;
  FitGraphicToPage(g, 4000, 6000);
  EXPECT_EQ(g.graphicWidth, 4000);
  EXPECT_EQ(g.graphicHeight, 3000);

  // An upright graphic takes the page height; its width would be 4500 and is cut to the page.
  g.graphicWidth = 600;
  g.graphicHeight = 800;
  FitGraphicToPage(g, 4000, 6000);
  EXPECT_EQ(g.graphicWidth, 4000);
  EXPECT_EQ(g.graphicHeight, 6000);
  g.graphicWidth = 600;
  g.graphicHeight = 800;
  FitGraphicToPage(g, 5000, 6000);
  EXPECT_EQ(g.graphicWidth, 4500);
  EXPECT_EQ(g.graphicHeight, 6000);

  // No usable proportion (a height of 0, the "window size" marks): the whole page.
  for (auto [w, h] : {std::pair{800, 0}, std::pair{0, 600}, std::pair{-1, -1}}) {
    g.graphicWidth = w;
    g.graphicHeight = h;
    FitGraphicToPage(g, 4000, 6000);
    EXPECT_EQ(g.graphicWidth, 4000) << w << "x" << h;
    EXPECT_EQ(g.graphicHeight, 6000) << w << "x" << h;
  }
  // Extreme proportions stay within the page and never overflow.
  g.graphicWidth = 2147483647;
  g.graphicHeight = 1;
  FitGraphicToPage(g, 4000, 6000);
  EXPECT_EQ(g.graphicWidth, 4000);
  EXPECT_EQ(g.graphicHeight, 0);
}

TEST(OutputTest, MetafileFrameAndDeviceScale) {
  // 96 dpi: 26 hundredths of a millimetre per pixel, 1.5 % added, both sides by the width's k.
  // The products are taken in double precision and truncated, as metafile readers have always
  // been given them: 800 x 26 x 1.015 is just below 21112.
  EXPECT_EQ(ComputeMetafileFrame(800, 600, 96.0f), (MetafileFrame{0, 0, 21111, 15833}));
  EXPECT_EQ(ComputeMetafileFrame(1000, 2000, 254.0f), (MetafileFrame{0, 0, 10149, 20299}));
  // A surface without a usable resolution is taken at 96 dpi.
  EXPECT_EQ(ComputeMetafileFrame(800, 600, 0.0f), ComputeMetafileFrame(800, 600, 96.0f));

  RecordingSurface printer(600.0f, 300.0f);
  float rx = 0, ry = 0;
  SetupDeviceScale(printer, 1, rx, ry);
  EXPECT_EQ(rx, 600.0f);
  EXPECT_EQ(ry, 300.0f);
  EXPECT_EQ(ComputeDotsPerCm(600.0f), 236);
  EXPECT_EQ(ComputeDotsPerCm(96.0f), 37);
}

TEST(OutputTest, BatchExportNames) {
  EXPECT_EQ(BatchExportPath("/d/dep12.sx", ".emf"), "/d/dep12.emf");
  EXPECT_EQ(BatchExportPath("/d/dep12.tab", ".emf"), "/d/dep12.tab.emf");
  EXPECT_EQ(BatchExportPath("dep12.SX.sx", ".svg"), "dep12.svg");
  EXPECT_EQ(BatchExportPath("dep12.sx.SX", ".emf"), "dep12.sx.emf");  // ".SX" comes first
  EXPECT_EQ(BatchExportPath("noext", ".emf"), "noext.emf");
  // Only the file name is cut, never a folder whose name holds ".sx".
  EXPECT_EQ(BatchExportPath("/data/run.sx/dep12.tab", ".emf"), "/data/run.sx/dep12.tab.emf");
}

constexpr char kPrevious[] = "Depth [m]\tSal [psu]\n0\t35.1\n10\t35.3\n20\t35.0\n";
constexpr char kFirst[] =
    "Depth [m]\tTemp [deg C]\tO2 [ml/l]\n0\t10.5\t6.1\n10\t11.0\t5.9\n20\t11.2\t5.2\n";
constexpr char kSecond[] = "Age [ka]\tCaCO3 [%]\n1\t52\n2\t55\n3\t51\n";

bool HasText(const RecordingSurface& s, std::string_view part) {
  for (const auto& c : s.calls()) {
    if (c.kind == RecordingSurface::Kind::kText && c.text.find(part) != std::string::npos) {
      return true;
    }
  }
  return false;
}

struct BatchFixture {
  RecordingUserInterface ui;
  TestFiles files;
  std::unique_ptr<Session> session = CreateSession({}, ui);
  std::vector<std::string> events;
  std::vector<std::string> exportedTexts;  // per export: "Temp" / "CaCO3" found
  std::string failPath;                    // the file factory fails for this destination

  ScreenSurfaceFactory Screen() {
    return [this](std::int32_t w, std::int32_t h, const DrawFunction& draw) {
      RecordingSurface s(96.0f, 96.0f, false);
      draw(s);
      events.push_back("screen " + std::to_string(w) + "x" + std::to_string(h) + " plotted " +
                       std::to_string(session->settings.graphic.plottedCount));
    };
  }
  FileSurfaceFactory Files() {
    return [this](const ExportRequest& r, const DrawFunction& draw) -> std::string {
      RecordingSurface s(r.dpi, r.dpi, true);
      draw(s);
      events.push_back("export " + r.path + " " + std::to_string(r.width) + "x" +
                       std::to_string(r.height) + " " + r.description);
      const char* seen = "?";
      for (const char* label : {"Renamed", "Temp", "CaCO3"}) {
        if (HasText(s, label)) {
          seen = label;
          break;
        }
      }
      exportedTexts.push_back(seen);
      if (r.frame != ComputeMetafileFrame(r.width, r.height, r.dpi)) return "wrong frame";
      return r.path == failPath ? "disk full" : "";
    };
  }
};

TEST(OutputTest, BatchLoadsPaintsAndExportsEachFileThenReturnsToThePreviousOne) {
  BatchFixture f;
  ASSERT_NE(f.session, nullptr);
  const std::string previous = f.files.Write("prev.tab", kPrevious);
  SetDataFilePath(f.session->data, previous);
  ASSERT_EQ(OpenDataFile(*f.session), 0);
  GraphicSettings& g = f.session->settings.graphic;
  g.graphicWidth = 640;
  g.graphicHeight = 480;

  BatchRequest request;
  const std::string dir = f.files.dir() + "/";
  request.files = {f.files.Write("dep12.sx", kFirst), dir + "missing.tab",
                   f.files.Write("dep13.tab", kSecond)};
  request.width = 800;
  request.height = 600;
  std::vector<std::string> progress;
  const BatchReport report =
      RunBatch(*f.session, request, f.Screen(), f.Files(),
               [&](const BatchFileResult& r, std::size_t i, std::size_t n) {
                 progress.push_back(std::to_string(i) + "/" + std::to_string(n) + " " + r.file);
               });

  const std::vector<std::string> expected = {
      "screen 800x600 plotted 2", "export " + dir + "dep12.emf 800x600 Sondrix Metafile",
      "screen 800x600 plotted 1", "export " + dir + "dep13.tab.emf 800x600 Sondrix Metafile"};
  EXPECT_EQ(f.events, expected);
  EXPECT_EQ(f.exportedTexts, (std::vector<std::string>{"Temp", "CaCO3"}));
  ASSERT_EQ(report.files.size(), 3u);
  EXPECT_EQ(report.written, 2);
  EXPECT_EQ(report.skipped, 1);
  EXPECT_EQ(report.failed, 0);
  EXPECT_EQ(report.files[1].status, BatchStatus::kSkipped);
  EXPECT_EQ(report.files[1].reason, "could not open file");
  EXPECT_EQ(progress,
            (std::vector<std::string>{"0/3 " + request.files[0], "1/3 " + request.files[1],
                                      "2/3 " + request.files[2]}));

  // The previous file is back with its name, data and scales, and the graphic size too.
  const DataModel& data = f.session->data;
  EXPECT_EQ(data.DataFilePath, previous);
  EXPECT_EQ(data.DataFileName, "prev.tab");
  EXPECT_EQ(data.DataDirectory, dir);
  EXPECT_EQ(data.ParameterCount, 1);
  EXPECT_EQ(data.column(1).label.str(), "Sal (psu)");
  EXPECT_EQ(data.rowCount(), 3);
  EXPECT_EQ(g.plottedCount, 1);
  EXPECT_EQ(g.graphicWidth, 640);
  EXPECT_EQ(g.graphicHeight, 480);
}

TEST(OutputTest, BatchReportsWriteFailuresAndNeedsNoPreviousFile) {
  BatchFixture f;
  ASSERT_NE(f.session, nullptr);
  BatchRequest request;
  request.extension = ".svg";
  request.files = {f.files.Write("a.tab", kFirst), f.files.Write("b.txt", "no table here\n"),
                   f.files.Write("c.tab", kSecond)};
  f.failPath = f.files.dir() + "/a.tab.svg";
  // Without a size of its own the batch falls back to a usable window size.
  f.session->settings.graphic.graphicWidth = 0;
  const BatchReport report = RunBatch(*f.session, request, f.Screen(), f.Files());
  ASSERT_EQ(report.files.size(), 3u);
  EXPECT_EQ(report.files[0].status, BatchStatus::kFailed);
  EXPECT_EQ(report.files[0].reason, "disk full");
  EXPECT_EQ(report.files[1].status, BatchStatus::kSkipped);
  EXPECT_EQ(report.files[1].reason, "wrong format of data");
  EXPECT_EQ(report.files[2].status, BatchStatus::kWritten);
  EXPECT_EQ(report.files[2].output, f.files.dir() + "/c.tab.svg");
  EXPECT_EQ(f.events[0], "screen 1200x900 plotted 2");
  // Nothing was open before: nothing is shown afterwards.
  EXPECT_EQ(f.session->data.ParameterCount, kNoFileYet);
  EXPECT_TRUE(f.session->data.DataFilePath.empty());
  EXPECT_EQ(f.session->settings.graphic.graphicWidth, 0);
}

TEST(OutputTest, BatchTemplateAppliesToEveryFileAndIsPutBackAfterwards) {
  BatchFixture f;
  ASSERT_NE(f.session, nullptr);
  // A template made from one file, in which parameter 1 was renamed.
  SetDataFilePath(f.session->data, f.files.Write("model.tab", kFirst));
  ASSERT_EQ(OpenDataFile(*f.session), 0);
  f.session->data.column(1).label.assign("Renamed");
  const std::string stf = f.files.dir() + "/t.stf";
  ASSERT_TRUE(WriteTemplate(*f.session, stf));
  f.session->data.column(1).label.assign("Temp");

  BatchRequest request;
  request.files = {f.files.Write("x1.tab", kFirst), f.files.Write("x2.tab", kFirst)};
  request.templatePath = stf;
  const BatchReport report = RunBatch(*f.session, request, f.Screen(), f.Files());
  EXPECT_EQ(report.written, 2);
  EXPECT_EQ(f.exportedTexts, (std::vector<std::string>{"Renamed", "Renamed"}));
  // The session's own template choice is back, and so is the model file without the template.
  EXPECT_TRUE(f.session->settings.TemplatePath.empty());
  EXPECT_EQ(f.session->settings.graphic.useTemplate, 0);
  EXPECT_EQ(f.session->data.column(1).label.str(), "Temp (\u00b0C)");
}

}  // namespace
}  // namespace sx
