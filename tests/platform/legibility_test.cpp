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
#include <functional>
#include <string>
#include <vector>

#include "core/reader.h"
#include "platform/qt_surface.h"
#include "scene_fixture.h"

namespace sx {
namespace {

constexpr int kWidth = 1200, kHeight = 900;
constexpr double kMinGap = 3.0;

struct Box {
  double left, top, right, bottom;  // around the cell
  bool across;                      // reads up or down the page
  bool slanted;                     // neither along nor across: judged by its cell
  double x[4], y[4];                // the cell's corners in turn
  std::string text;
};

// The cell of a recorded text in its font, turned about its reference point.
Box Measure(const Call& c) {
  const QFontMetricsF metrics(QtSurface::MakeQFont(c.font, 96.0f));
  const double w = metrics.horizontalAdvance(QString::fromStdString(c.text));
  const double h = metrics.ascent() + metrics.descent();
  const double u0 = c.align == TextAlign::kLeftTop    ? 0.0
                    : c.align == TextAlign::kRightTop ? -w
                                                      : -w / 2;
  const double theta = c.font.escapement / 10.0 * M_PI / 180.0;
  const double cs = std::cos(theta), sn = std::sin(theta);
  Box b{1e9, 1e9, -1e9, -1e9, std::fabs(sn) > 0.9, c.font.escapement % 900 != 0, {}, {}, c.text};
  const double us[4] = {u0, u0 + w, u0 + w, u0}, vs[4] = {0.0, 0.0, h, h};
  for (int k = 0; k < 4; ++k) {
    b.x[k] = c.points[0].x + us[k] * cs + vs[k] * sn;
    b.y[k] = c.points[0].y - us[k] * sn + vs[k] * cs;
    b.left = std::min(b.left, b.x[k]), b.right = std::max(b.right, b.x[k]);
    b.top = std::min(b.top, b.y[k]), b.bottom = std::max(b.bottom, b.y[k]);
  }
  return b;
}

// Whether two cells overlap: on no axis across an edge of either are they apart.
bool CellsOverlap(const Box& a, const Box& b) {
  for (const Box* edges : {&a, &b}) {
    for (int k = 0; k < 4; ++k) {
      const double ax = edges->y[k] - edges->y[(k + 1) % 4],
                   ay = edges->x[(k + 1) % 4] - edges->x[k];
      double aLo = 1e18, aHi = -1e18, bLo = 1e18, bHi = -1e18;
      for (int i = 0; i < 4; ++i) {
        const double pa = a.x[i] * ax + a.y[i] * ay, pb = b.x[i] * ax + b.y[i] * ay;
        aLo = std::min(aLo, pa), aHi = std::max(aHi, pa);
        bLo = std::min(bLo, pb), bHi = std::max(bHi, pb);
      }
      if (aHi <= bLo || bHi <= aLo) return false;
    }
  }
  return true;
}

// Every text outside the picture, every pair that overlaps and every pair on one line closer
// than the gap.
std::vector<std::string> Problems(const std::vector<Box>& boxes) {
  std::vector<std::string> problems;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const Box& a = boxes[i];
    if (a.left < 0 || a.top < 0 || a.right > kWidth || a.bottom > kHeight) {
      problems.push_back("outside: \"" + a.text + "\"");
    }
    for (std::size_t j = 0; j < i; ++j) {
      const Box& b = boxes[j];
      const double overlapX = std::min(a.right, b.right) - std::max(a.left, b.left);
      const double overlapY = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
      const bool slanted = a.slanted || b.slanted;
      const bool close =
          !slanted && a.across == b.across &&
          (a.across ? overlapX > 0 && -overlapY < kMinGap : overlapY > 0 && -overlapX < kMinGap);
      if ((overlapX > 0 && overlapY > 0 && (!slanted || CellsOverlap(a, b))) || close) {
        problems.push_back("\"" + a.text + "\" over or close to \"" + b.text + "\"");
      }
    }
  }
  return problems;
}

// Files a user makes: a header, then rows of the depth (or date) and cells.
std::string Table(const std::string& header, int rows, int columns,
                  const std::function<std::string(int, int)>& cell) {
  std::string t = header + "\n";
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c <= columns; ++c) t += (c ? "\t" : "") + cell(r, c);
    t += "\n";
  }
  return t;
}

std::string ManyLongNames() {
  std::string h =
      "Depth [m]@Alfred Example Institute for Polar and Marine Research, Data "
      "Archive of Sediment Cores and Water Column Profiles";
  for (int c = 1; c <= 24; ++c) {
    h += "\tConcentration of dissolved substance number " + std::to_string(c) + " [\u00B5mol/kg]";
  }
  return Table(h + "\tCore description", 500, 25, [](int r, int c) {
    return c == 0    ? std::to_string(r * 0.01)
           : c == 25 ? "comment on row " + std::to_string(r)
                     : std::to_string((r * c) % 97 + 0.5 * c);
  });
}

std::string DatesOverYears() {
  return Table("Date/Time\tTemperature [\u00B0C]\tSalinity\tRemark", 400, 3, [](int r, int c) {
    char date[32];
    std::snprintf(date, sizeof date, "%d-%02d-15", 1950 + r / 6, r % 12 + 1);
    const std::string cells[] = {date, std::to_string(r % 30) + ".5", std::to_string(30 + r % 7),
                                 r % 2 == 0 ? "sampled by hand" : ""};
    return cells[c];
  });
}

// Narrow strips whose values are written as numbers beside the curve.
std::string DenseValues() {
  std::string h = "Depth [m]";
  for (int c = 1; c <= 14; ++c) h += "\tValue " + std::to_string(c) + " [mg/l]";
  return Table(h, 300, 14, [](int r, int c) {
    return c == 0 ? std::to_string(r * 0.1) : std::to_string(1000 + (r * 37 * c) % 900);
  });
}

std::string LongGroups() {
  std::string groups, names = "Depth [m]";
  for (int g = 1; g <= 6; ++g) {
    const std::string name = "\tSediment core GeoB " + std::to_string(g) +
                             " from the continental margin off the river mouth";
    groups += name + name + name;
    names += "\tSand [%]\tSilt [%]\tClay [%]";
  }
  return Table(groups + "\n" + names, 40, 18, [](int r, int c) {
    const int sand = (r * 7 + (c + 2) / 3 * 5) % 60;
    return c == 0 ? std::to_string(r * 0.1)
                  : std::to_string((c - 1) % 3 == 0 ? sand
                                   : c % 3 == 2     ? 30
                                                    : 70 - sand);
  });
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
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  QtSurface metrics(painter, 96.0f, 96.0f, false);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ", mode " + std::to_string(static_cast<int>(c.mode)));
    Scene scene;
    scene.Open(c.file(), "a_data_file_with_a_very_long_name_" + longName + ".tab");
    const std::unique_ptr<Session>& session = scene.session;
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
    for (const Call& call : surface.calls()) {
      if (call.kind == Kind::kText && !call.text.empty()) boxes.push_back(Measure(call));
    }
    ASSERT_GT(boxes.size(), 5u);
    const std::vector<std::string> problems = Problems(boxes);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems; first: " << problems[0];
    if (c.degrees == 45) {
      // Slanted names side by side run beside one another: most are whole, only those that
      // reach the picture's edge are cut.
      const auto whole = std::count_if(boxes.begin(), boxes.end(), [](const Box& b) {
        return b.slanted && b.text.find("\u2026") == std::string::npos;
      });
      EXPECT_GE(whole, 12);
    }
  }
}

}  // namespace
}  // namespace sx
