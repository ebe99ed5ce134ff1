// Every text of a plot is legible: read back from a recorded screen pass and measured with the
// real fonts (independently of the metrics the pass used), no text overlaps another, none stands
// closer than 3 pixels to its neighbour on the same line, and none leaves the picture. Checked on
// files a user would make: many parameters with long names, names turned by 45 and 90 degrees, a
// very long file name and a credit, dense comment and value columns, dates over many years, long
// group names in the Ternary and Phase legends.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/reader.h"
#include "platform/qt_surface.h"
#include "plot/plot_pass.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "test_files.h"

namespace sx {
namespace {

constexpr int kWidth = 1200, kHeight = 900;
constexpr double kMinGap = 3.0;

struct Box {
  double left, top, right, bottom;
  bool across;  // reads up or down the page
  std::string text;
};

// The cell of a recorded text in its font, turned about its reference point.
Box Measure(const RecordingSurface::Call& c) {
  const QFontMetricsF metrics(QtSurface::MakeQFont(c.font, 96.0f));
  const double w = metrics.horizontalAdvance(QString::fromStdString(c.text));
  const double h = metrics.ascent() + metrics.descent();
  const double u0 = c.align == TextAlign::kLeftTop    ? 0.0
                    : c.align == TextAlign::kRightTop ? -w
                                                      : -w / 2;
  const double theta = c.font.escapement / 10.0 * M_PI / 180.0;
  const double cs = std::cos(theta), sn = std::sin(theta);
  Box b{1e9, 1e9, -1e9, -1e9, std::fabs(sn) > 0.9, c.text};
  for (const double u : {u0, u0 + w}) {
    for (const double v : {0.0, h}) {
      const double x = c.points[0].x + u * cs + v * sn, y = c.points[0].y - u * sn + v * cs;
      b.left = std::min(b.left, x), b.right = std::max(b.right, x);
      b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}

struct Problems {
  int overlapping = 0, close = 0, outside = 0;
  std::string first;
  void Note(const std::string& what) {
    if (first.empty()) first = what;
  }
};

Problems Check(const std::vector<Box>& boxes) {
  Problems p;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const Box& a = boxes[i];
    if (a.left < 0 || a.top < 0 || a.right > kWidth || a.bottom > kHeight) {
      ++p.outside;
      p.Note("outside: \"" + a.text + "\"");
    }
    for (std::size_t j = 0; j < i; ++j) {
      const Box& b = boxes[j];
      const double overlapX = std::min(a.right, b.right) - std::max(a.left, b.left);
      const double overlapY = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
      if (overlapX > 0 && overlapY > 0) {
        ++p.overlapping;
        p.Note("\"" + a.text + "\" over \"" + b.text + "\"");
      } else if (a.across == b.across && (a.across ? overlapX > 0 && -overlapY < kMinGap
                                                   : overlapY > 0 && -overlapX < kMinGap)) {
        ++p.close;
        p.Note("\"" + a.text + "\" close to \"" + b.text + "\"");
      }
    }
  }
  return p;
}

// Files a user makes. Each line of the data block has the depth (or date) first.
std::string ManyLongNames() {
  std::string t =
      "Depth [m]@Alfred Example Institute for Polar and Marine Research, Data "
      "Archive of Sediment Cores and Water Column Profiles";
  for (int c = 1; c <= 24; ++c) {
    t += "\tConcentration of dissolved substance number " + std::to_string(c) + " [\u00B5mol/kg]";
  }
  t += "\tCore description\n";
  for (int r = 0; r < 500; ++r) {
    t += std::to_string(r * 0.01);
    for (int c = 1; c <= 24; ++c) t += "\t" + std::to_string((r * c) % 97 + 0.5 * c);
    t += "\tcomment on row " + std::to_string(r) + "\n";
  }
  return t;
}

std::string DatesOverYears() {
  std::string t = "Date/Time\tTemperature [\u00B0C]\tSalinity\tRemark\n";
  for (int r = 0; r < 400; ++r) {
    char line[128];
    std::snprintf(line, sizeof line, "%d-%02d-15\t%d.5\t%d\t%s\n", 1950 + r / 6, r % 12 + 1, r % 30,
                  30 + r % 7, r % 2 == 0 ? "sampled by hand" : "");
    t += line;
  }
  return t;
}

// Narrow strips whose values are written as numbers beside the curve.
std::string DenseValues() {
  std::string t = "Depth [m]";
  for (int c = 1; c <= 14; ++c) t += "\tValue " + std::to_string(c) + " [mg/l]";
  t += "\n";
  for (int r = 0; r < 300; ++r) {
    t += std::to_string(r * 0.1);
    for (int c = 1; c <= 14; ++c) t += "\t" + std::to_string(1000 + (r * 37 * c) % 900);
    t += "\n";
  }
  return t;
}

std::string LongGroups() {
  std::string t = "";
  for (int g = 1; g <= 6; ++g) {
    const std::string name = "\tSediment core GeoB " + std::to_string(g) +
                             " from the continental margin off the river mouth";
    t += name + name + name;
  }
  t += "\nDepth [m]";
  for (int g = 1; g <= 6; ++g) t += "\tSand [%]\tSilt [%]\tClay [%]";
  t += "\n";
  for (int r = 0; r < 40; ++r) {
    t += std::to_string(r * 0.1);
    for (int g = 1; g <= 6; ++g) {
      const int sand = (r * 7 + g * 5) % 60;
      t += "\t" + std::to_string(sand) + "\t" + std::to_string(30) + "\t" +
           std::to_string(70 - sand);
    }
    t += "\n";
  }
  return t;
}

// A file in a mode, its names turned by some degrees, its values written as text or not.
struct Case {
  const char* name;
  std::string (*file)();
  PlotMode mode;
  int degrees = 0;
  bool valueTexts = false;
};

TEST(Legibility, NoTextOverprintsAnotherOrLeavesThePicture) {
  const std::string longName(150, 'x');
  const std::vector<Case> cases = {
      {"long names", ManyLongNames, kVertical},
      {"long names", ManyLongNames, kHorizontal},
      {"names at 45", ManyLongNames, kVertical, 45},
      {"names at 90", ManyLongNames, kVertical, 90},
      {"names at 90", ManyLongNames, kHorizontal, 90},
      {"dates", DatesOverYears, kVertical},
      {"dates", DatesOverYears, kHorizontal},
      {"value texts", DenseValues, kVertical, 0, true},
      {"value texts", DenseValues, kHorizontal, 0, true},
      {"groups", LongGroups, kVertical},
      {"groups", LongGroups, kHorizontal},
      {"groups", LongGroups, kHorizontal, 90},
      {"groups", LongGroups, kTernary},
      {"groups", LongGroups, kPhase},
  };
  TestFiles files;
  RecordingUserInterface ui;
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  QtSurface metrics(painter, 96.0f, 96.0f, false);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ", mode " + std::to_string(static_cast<int>(c.mode)));
    auto session = CreateSession({}, ui);
    SetDataFilePath(
        session->data,
        files.Write("a_data_file_with_a_very_long_name_" + longName + ".tab", c.file()));
    ASSERT_EQ(OpenDataFile(*session), 0);
    ChoosePlotMode(session->settings, c.mode);
    for (int p = 1; p <= kMaxParameter; ++p) {
      if (c.degrees) session->settings.record(p).textOrientation = c.degrees;
      if (c.valueTexts) session->settings.record(p).valueText = 1;
    }
    session->settings.graphic.graphicWidth = kWidth;
    session->settings.graphic.graphicHeight = kHeight;

    RecordingSurface surface(96.0f, 96.0f, false, &metrics);
    PlotContext ctx = session->plotContext(ComputeScale(surface, 96.0f));
    PlotPass(surface, ctx, kStageScreen);
    std::vector<Box> boxes;
    for (const RecordingSurface::Call& call : surface.calls()) {
      if (call.kind == RecordingSurface::Kind::kText && !call.text.empty()) {
        boxes.push_back(Measure(call));
      }
    }
    ASSERT_GT(boxes.size(), 5u);
    const Problems p = Check(boxes);
    EXPECT_EQ(p.overlapping + p.close + p.outside, 0)
        << p.overlapping << " overlapping, " << p.close << " too close, " << p.outside
        << " outside; first: " << p.first;
  }
}

}  // namespace
}  // namespace sx
