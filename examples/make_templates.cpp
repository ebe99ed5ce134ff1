// Writes the example templates (examples/<name>.stf) from the example data files. Styles belong
// in templates, never in data files, so the pictures in the README are made from a data file and
// the template written here; run examples/make_readme_images.sh instead of calling this directly.
//
// usage: make_example_templates [EXAMPLES_DIR]   (default: examples)

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

#include "core/reader.h"
#include "core/user_interface.h"
#include "settings/plot_settings.h"
#include "settings/settings_model.h"
#include "settings/template_file.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "shell/startup.h"

namespace {

using sx::ParameterSettings;
using sx::RGB;
using sx::Session;

constexpr std::int32_t kWidth = 1200;
constexpr std::int32_t kHeight = 900;

// Every style off and nothing plotted, so each example switches on exactly what it shows.
void ClearStyles(Session& s) {
  for (int i = 1; i <= s.data.ParameterCount; ++i) {
    ParameterSettings& r = s.settings.record(i);
    r.plotState = 0;
    r.colorize = r.lines = r.columns = r.histogramLines = r.outline = 0;
    r.occurrence = r.valueText = r.comment = r.lithology = r.boundary = 0;
    r.course = r.marker = r.doWithNext = 0;
    r.modeSelected = 0;
  }
}

// Fixed axis range instead of the automatic one (the template then keeps it); the reference
// line goes to the minimum unless a style wants it elsewhere.
void FixRange(ParameterSettings& r, float minimum, float maximum, float tick, const char* format) {
  r.automatic = 0;
  r.minimum = minimum;
  r.maximum = maximum;
  r.tickIncrement = tick;
  r.referenceLine = minimum;
  r.format.assign(format);
}

void Globals(Session& s, sx::PlotMode mode, std::int32_t width, std::int32_t height) {
  sx::GraphicSettings& g = s.settings.graphic;
  sx::ChoosePlotMode(s.settings, mode);
  g.plotMode = mode;
  g.graphicWidth = width;
  g.graphicHeight = height;
  g.useTemplate = 0;
  g.dateTimeStamp = 0;  // keeps the pictures identical from run to run
  g.fileNameStamp = 1;
  g.plotDistance = 6;
}

// A member of a "Do with next" group is drawn in its head's strip, so it gets no strip itself.
void Finish(Session& s, std::initializer_list<int> groupMembers) {
  for (int i = 1; i <= s.data.ParameterCount; ++i) sx::UpdatePlotState(s.settings, i);
  for (int m : groupMembers) s.settings.record(m).plotState = 0;
  sx::RecountPlotted(s.settings);
}

// Horizontal: a sediment log in text-type styles, one strip per style.
void StyleHorizontal(Session& s) {
  ClearStyles(s);
  Globals(s, sx::kHorizontal, kWidth, kHeight);
  ParameterSettings& lithology = s.settings.record(1);  // pattern names as text
  lithology.lithology = 1;
  ParameterSettings& facies = s.settings.record(2);  // pattern numbers
  facies.lithology = 1;
  FixRange(facies, 0, 30, 10, "%.0f");
  ParameterSettings& boundary = s.settings.record(3);
  boundary.boundary = 1;
  boundary.lineWidth = 2;
  FixRange(boundary, 0, 1, 1, "%.0f");
  s.settings.record(4).comment = 1;
  ParameterSettings& colour = s.settings.record(5);  // cells "r/g/b"
  colour.rgbColumn = 1;
  colour.columnWidth = 30;
  ParameterSettings& forams = s.settings.record(6);
  forams.occurrence = 1;
  forams.markerSymbol = 4;
  forams.markerSize = 5;
  forams.color = RGB{186, 15, 255};
  ParameterSettings& direction = s.settings.record(7);  // with the speed in column 8
  direction.course = 1;
  direction.lineWidth = 2;
  direction.color = RGB{0, 146, 255};
  direction.markerSymbol = 2;
  direction.markerSize = 2;
  FixRange(s.settings.record(8), 0, 20, 5, "%.0f");
  ParameterSettings& toc = s.settings.record(9);
  toc.histogramLines = 1;
  toc.marker = 1;
  toc.markerSymbol = 1;
  toc.markerSize = 2;
  toc.lineWidth = 3;
  toc.color = RGB{0, 167, 18};
  FixRange(toc, 0, 2.5f, 0.5f, "%.1f");
  toc.referenceLine = 1.2f;
  Finish(s, {8});
}

// Vertical: curves, fills, bars, "Do with next" groups, quality flags and the ten markers.
void StyleVertical(Session& s) {
  ClearStyles(s);
  Globals(s, sx::kVertical, kWidth, kHeight);
  ParameterSettings& temp = s.settings.record(1);  // filled about a reference line
  temp.lines = 1;
  temp.colorize = 1;
  temp.color = RGB{255, 130, 23};
  FixRange(temp, 3, 7, 1, "%.0f");
  temp.referenceLine = 5;
  // The filtered curve ("?" cells shown, "/" and "*" cells not) over the same cells drawn
  // unfiltered in grey: a member of a "plot" group draws every value it has.
  ParameterSettings& caco3 = s.settings.record(2);
  caco3.doWithNext = -1;
  caco3.lines = 1;
  caco3.marker = 1;
  caco3.markerSymbol = 3;
  caco3.markerSize = 2;
  caco3.lineWidth = 2;
  caco3.flagValid = 1;
  caco3.flagQuestionable = 1;
  caco3.flagNotValid = 0;
  caco3.flagUnknown = 0;
  caco3.color = RGB{0, 146, 255};
  FixRange(caco3, 0, 100, 25, "%.0f");
  ParameterSettings& raw = s.settings.record(3);
  raw.lines = 1;
  raw.flagValid = raw.flagNotValid = raw.flagUnknown = raw.flagQuestionable = 1;
  raw.color = RGB{170, 170, 170};
  const RGB grain[3] = {RGB{252, 204, 0}, RGB{209, 50, 0}, RGB{119, 54, 255}};
  for (int k = 0; k < 3; ++k) {  // sand, silt, clay added up: stacked bars
    ParameterSettings& r = s.settings.record(4 + k);
    r.columns = 1;
    r.columnWidth = 8;
    r.color = grain[k];
  }
  s.settings.record(4).doWithNext = 2;
  FixRange(s.settings.record(4), 0, 100, 25, "%.0f");
  ParameterSettings& ca = s.settings.record(7);  // two curves in one strip
  ca.doWithNext = -1;
  ca.lines = 1;
  ca.marker = 1;
  ca.markerSymbol = 5;
  ca.lineWidth = 2;
  ca.color = RGB{0, 167, 18};
  FixRange(ca, 0, 16, 4, "%.0f");
  ParameterSettings& mg = s.settings.record(8);
  mg.lines = 1;
  mg.marker = 1;
  mg.markerSymbol = 6;
  mg.lineWidth = 2;
  mg.color = RGB{255, 0, 255};
  ParameterSettings& susc = s.settings.record(9);  // filled step curve
  susc.outline = 1;
  susc.colorize = 1;
  susc.color = RGB{127, 255, 161};
  FixRange(susc, 0, 250, 50, "%.0f");
  susc.referenceLine = 0;
  ParameterSettings& age = s.settings.record(10);  // values written beside their markers
  age.valueText = 1;
  age.marker = 1;
  age.markerSymbol = 7;
  age.markerSize = 2;
  age.color = RGB{255, 23, 33};
  FixRange(age, 0, 15000, 5000, "%.0f");
  s.settings.record(11).doWithNext = -9;  // symbols 1..10 side by side
  FixRange(s.settings.record(11), 0, 11, 1, "%.0f");
  for (int k = 1; k <= 10; ++k) {
    ParameterSettings& r = s.settings.record(10 + k);
    r.marker = 1;
    r.markerSymbol = k;
    r.markerSize = 3;
    r.color = RGB{0, 0, 1};
  }
  Finish(s, {3, 5, 6, 8, 12, 13, 14, 15, 16, 17, 18, 19, 20});
}

// The frames and labels of the Ternary and Phase modes are drawn only while some parameter is
// plotted in the profile modes; curves keep those modes useful with the same template too.
void PlotAllAsLines(Session& s) {
  for (int i = 1; i <= s.data.ParameterCount; ++i) {
    s.settings.record(i).lines = 1;
    sx::UpdatePlotState(s.settings, i);
  }
}

// Ternary: each core (a column group of sand, silt and clay) with its own marker and colour.
void StyleTernary(Session& s) {
  ClearStyles(s);
  PlotAllAsLines(s);
  Globals(s, sx::kTernary, kWidth, kHeight);
  s.settings.graphic.modeEntityKind = 1;
  s.settings.graphic.tickIncrementPercent = 10;
  const RGB colours[3] = {RGB{255, 23, 33}, RGB{0, 146, 255}, RGB{0, 167, 18}};
  const std::int32_t kSymbols[3] = {1, 7, 5};  // filled circle, triangle, diamond
  for (int g = 1; g <= s.data.GroupCount && g <= 3; ++g) {
    ParameterSettings& r = s.settings.record(g);
    r.modeSelected = 1;
    r.modeMarkerSymbol = kSymbols[g - 1];
    r.modeMarkerSize = 5;
    r.modeColor = colours[g - 1];
  }
  sx::RecountPlotted(s.settings);
}

// Phase: the current vectors of two moorings, one colour and width each.
void StylePhase(Session& s) {
  ClearStyles(s);
  PlotAllAsLines(s);
  Globals(s, sx::kPhase, kWidth, kHeight);
  s.settings.graphic.modeEntityKind = 1;
  const RGB colours[2] = {RGB{0, 146, 255}, RGB{255, 130, 23}};
  for (int g = 1; g <= s.data.GroupCount && g <= 2; ++g) {
    ParameterSettings& r = s.settings.record(g);
    r.modeSelected = 1;
    r.modeLineWidth = 3;
    r.cMax = 20;
    r.modeColor = colours[g - 1];
  }
  sx::RecountPlotted(s.settings);
}

struct Example {
  const char* name;
  void (*style)(Session&);
};

constexpr Example kExamples[] = {
    {"styles_horizontal", StyleHorizontal},
    {"styles_vertical", StyleVertical},
    {"ternary_sediment", StyleTernary},
    {"phase_currents", StylePhase},
};

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "examples";
  int failures = 0;
  for (const Example& e : kExamples) {
    sx::RecordingUserInterface ui;
    std::unique_ptr<Session> session = sx::StartSession(ui, 1920, 1080);
    if (!session) {
      std::fprintf(stderr, "make_example_templates: the engine could not start\n");
      return 1;
    }
    const std::string data = dir + "/" + e.name + ".tab";
    const std::string stf = dir + "/" + e.name + ".stf";
    sx::SetDataFilePath(session->data, data);
    if (sx::OpenDataFile(*session) != 0 || session->data.ParameterCount < 1) {
      std::fprintf(stderr, "make_example_templates: cannot read %s\n", data.c_str());
      ++failures;
      continue;
    }
    e.style(*session);
    std::string error;
    if (!sx::WriteTemplate(session->data, session->settings, stf, &error)) {
      std::fprintf(stderr, "make_example_templates: %s: %s\n", stf.c_str(), error.c_str());
      ++failures;
      continue;
    }
    std::printf("wrote %s\n", stf.c_str());
  }
  return failures == 0 ? 0 : 1;
}
