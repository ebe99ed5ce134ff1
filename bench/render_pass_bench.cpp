// Render pass benchmark: how long a screen pass (new layout, frames and axes, and the data as far
// as renderers are in place) takes on the QImage back end, against the time the Qt surface needs
// to draw the very calls that pass makes. The difference is what the plot code itself costs:
// layout, axis arithmetic, label formatting and the text measurements the layout asks for.
//
// The calls are recorded through a surface that hands every call on to a Qt surface over a
// scratch image, so the layout sees real font metrics and records exactly what the timed pass
// draws. The replayed picture is checked against the pass's picture pixel for pixel.
//
// usage: render_pass_bench FILE [--runs N] [--warmup N] [--size WxH]
//                              [--mode horizontal|vertical] [--template T.stf]
// Exit status: 0 target met, 1 target missed, 2 usage or load error, 3 replay differs.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/reader.h"
#include "platform/qt_surface.h"
#include "plot/plot_pass.h"
#include "render/drawing.h"
#include "render/recording_surface.h"
#include "settings/settings_model.h"
#include "settings/template_file.h"
#include "shell/open_sequence.h"
#include "shell/session.h"

namespace {

using sx::RecordingSurface;
using Clock = std::chrono::steady_clock;

constexpr float kScreenDpi = 96.0f;
constexpr double kTargetOverhead = 0.25;
constexpr std::int32_t kTextItems = 100000;
constexpr std::int32_t kMaxSide = 20000;
// A polyline or polygon of more points than this is data: frames have five points, ticks and grid
// lines two. Ellipses (markers) and tiles (lithology fills) are data too.
constexpr std::size_t kAxisPolylinePoints = 5;

// Forwards every call to a Qt surface, so that metrics are the real ones, and records the
// drawing calls on the side. Metric queries are counted, not recorded: they draw nothing.
class ForwardingSurface : public sx::Surface {
 public:
  explicit ForwardingSurface(sx::QtSurface& target)
      : target_(target),
        recorder_(target.ResolutionX(), target.ResolutionY(), target.OpaqueTextBackground()) {}

  float ResolutionX() const override { return target_.ResolutionX(); }
  float ResolutionY() const override { return target_.ResolutionY(); }
  bool OpaqueTextBackground() const override { return target_.OpaqueTextBackground(); }

  void Polyline(std::span<const sx::DevicePoint> points, std::int32_t width, sx::RGB color,
                sx::PenStyle style) override {
    recorder_.Polyline(points, width, color, style);
    target_.Polyline(points, width, color, style);
  }
  void Polygon(std::span<const sx::DevicePoint> points, std::int32_t width, sx::RGB color,
               sx::Fill fill) override {
    recorder_.Polygon(points, width, color, fill);
    target_.Polygon(points, width, color, fill);
  }
  void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
               std::int32_t width, sx::RGB color, sx::Fill fill) override {
    recorder_.Ellipse(left, top, right, bottom, width, color, fill);
    target_.Ellipse(left, top, right, bottom, width, color, fill);
  }
  void MonochromeBitmap(std::int32_t x, std::int32_t y, const std::uint8_t* bits,
                        std::int32_t width, std::int32_t height, std::int32_t copyWidth,
                        std::int32_t copyHeight) override {
    recorder_.MonochromeBitmap(x, y, bits, width, height, copyWidth, copyHeight);
    target_.MonochromeBitmap(x, y, bits, width, height, copyWidth, copyHeight);
  }
  void SelectFont(const sx::FontSpec& font) override {
    recorder_.SelectFont(font);
    target_.SelectFont(font);
  }
  std::int32_t FontLineHeight() override {
    ++metricQueries_;
    return target_.FontLineHeight();
  }
  std::int32_t TextWidth(std::string_view text) override {
    ++metricQueries_;
    return target_.TextWidth(text);
  }
  void Text(std::int32_t x, std::int32_t y, std::string_view text, sx::TextAlign align) override {
    recorder_.Text(x, y, text, align);
    target_.Text(x, y, text, align);
  }

  const std::vector<RecordingSurface::Call>& calls() const { return recorder_.calls(); }
  std::int64_t metricQueries() const { return metricQueries_; }

 private:
  sx::QtSurface& target_;
  RecordingSurface recorder_;
  std::int64_t metricQueries_ = 0;
};

void Replay(sx::Surface& s, const std::vector<RecordingSurface::Call>& calls) {
  using Kind = RecordingSurface::Kind;
  for (const RecordingSurface::Call& c : calls) {
    switch (c.kind) {
      case Kind::kPolyline:
        s.Polyline(c.points, c.width, c.color, c.pen);
        break;
      case Kind::kPolygon:
        s.Polygon(c.points, c.width, c.color, c.fill);
        break;
      case Kind::kEllipse:
        if (c.points.size() == 2) {
          s.Ellipse(c.points[0].x, c.points[0].y, c.points[1].x, c.points[1].y, c.width, c.color,
                    c.fill);
        }
        break;
      case Kind::kBitmap:
        if (c.points.size() == 1) {
          s.MonochromeBitmap(c.points[0].x, c.points[0].y, c.bits.data(), c.width, c.height,
                             c.copyWidth, c.copyHeight);
        }
        break;
      case Kind::kFont:
        s.SelectFont(c.font);
        break;
      case Kind::kText:
        if (c.points.size() == 1) s.Text(c.points[0].x, c.points[0].y, c.text, c.align);
        break;
    }
  }
}

// CPU time of the process in milliseconds (any helper thread Qt starts included): on a busy
// machine it varies far less than wall time, which also counts the waits for a processor.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Timing {
  double wallMs = 0.0;
  double cpuMs = 0.0;
};

// Draws on a white image through a fresh painter and Qt surface; only the drawing is timed, not
// clearing the image.
Timing TimedDraw(QImage& image, const std::function<void(sx::Surface&)>& draw) {
  image.fill(Qt::white);
  const double cpuStart = CpuMs();
  const Clock::time_point start = Clock::now();
  {
    QPainter painter(&image);
    sx::QtSurface surface(painter, kScreenDpi, kScreenDpi, false);
    draw(surface);
  }
  const Clock::time_point end = Clock::now();
  return {std::chrono::duration<double, std::milli>(end - start).count(), CpuMs() - cpuStart};
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

double Minimum(const std::vector<double>& v) {
  return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

// The smallest numeric budget that lets every row of the file load: columns x (lines + 3), from
// the widest line and the line count.
std::int64_t NumericBudgetFor(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return -1;
  std::int64_t lines = 0, maxTabs = 0, tabs = 0;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const std::streamsize n = in.gcount();
    for (std::streamsize i = 0; i < n; ++i) {
      if (buffer[i] == '\t') {
        ++tabs;
      } else if (buffer[i] == '\n') {
        ++lines;
        maxTabs = std::max(maxTabs, tabs);
        tabs = 0;
      }
    }
  }
  // The reader keeps at most kMaxParameter + 1 columns; the cap also keeps the product small.
  maxTabs = std::min<std::int64_t>(std::max(maxTabs, tabs), sx::kMaxParameter);
  return (maxTabs + 1) * (lines + 4);
}

bool ReadCount(std::string_view text, std::int32_t low, std::int32_t high, std::int32_t& out) {
  const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size() && out >= low && out <= high;
}

struct Options {
  std::string file, templatePath;
  std::int32_t runs = 50, warmup = 5, width = 1600, height = 1200;
  std::optional<sx::PlotMode> mode;  // none: the mode the file opens in
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--runs" && hasValue) {
      if (!ReadCount(argv[++i], 1, 100000, o.runs)) return false;
    } else if (a == "--warmup" && hasValue) {
      if (!ReadCount(argv[++i], 0, 100000, o.warmup)) return false;
    } else if (a == "--size" && hasValue) {
      const std::string_view s = argv[++i];
      const std::size_t x = s.find('x');
      if (x == std::string_view::npos || !ReadCount(s.substr(0, x), 1, kMaxSide, o.width) ||
          !ReadCount(s.substr(x + 1), 1, kMaxSide, o.height)) {
        return false;
      }
    } else if (a == "--template" && hasValue) {
      o.templatePath = argv[++i];
    } else if (a == "--mode" && hasValue) {
      const std::string_view m = argv[++i];
      if (m == "horizontal") {
        o.mode = sx::kHorizontal;
      } else if (m == "vertical") {
        o.mode = sx::kVertical;
      } else {
        return false;
      }
    } else if (o.file.empty() && !a.empty() && a[0] != '-') {
      o.file = a;
    } else {
      return false;
    }
  }
  return !o.file.empty();
}

const char* ModeName(sx::PlotMode mode) {
  switch (mode) {
    case sx::kHorizontal:
      return "horizontal";
    case sx::kVertical:
      return "vertical";
    case sx::kTernary:
      return "ternary";
    case sx::kPhase:
      return "phase";
    default:
      return "?";
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Drawing needs fonts but no display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  // Qt takes the locale from the environment; numbers are always written with a point.
  std::setlocale(LC_NUMERIC, "C");

  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: render_pass_bench FILE [--runs N] [--warmup N] [--size WxH] "
                 "[--mode horizontal|vertical] [--template T.stf]\n");
    return 2;
  }
  const std::int64_t numeric = NumericBudgetFor(o.file);
  if (numeric < 1 || !sx::IsNumericBudgetValid(numeric)) {
    std::fprintf(stderr, "cannot read %s, or it is too large for one numeric table\n",
                 o.file.c_str());
    return 2;
  }

  // No settings folder: the session is made directly, so the bench never writes the user's files.
  sx::RecordingUserInterface ui;
  sx::MemoryBudgets budgets;
  budgets.MaxNumericItems = static_cast<std::int32_t>(numeric);
  budgets.MaxTextItems = kTextItems;
  std::unique_ptr<sx::Session> session = sx::CreateSession(budgets, ui);
  if (!session) {
    std::fprintf(stderr, "cannot make a session with %lld numeric items\n",
                 static_cast<long long>(numeric));
    return 2;
  }
  sx::SetDataFilePath(session->data, o.file);
  if (sx::OpenDataFile(*session) != 0) {
    for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.text.c_str());
    return 2;
  }
  if (!o.templatePath.empty()) {
    sx::LoadTemplateCommand(*session, o.templatePath);
    if (session->data.ParameterCount < 1) {
      for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.text.c_str());
      return 2;
    }
  }
  if (o.mode) sx::ChoosePlotMode(session->settings, *o.mode);
  sx::GraphicSettings& g = session->settings.graphic;
  g.graphicWidth = o.width;
  g.graphicHeight = o.height;
  session->render.ScreenResolution = kScreenDpi;

  auto pass = [&](sx::Surface& surface) {
    sx::PlotContext ctx = session->plotContext(sx::ComputeScale(surface, kScreenDpi));
    sx::PlotPass(surface, ctx, sx::kStageScreen);
  };

  QImage passImage(o.width, o.height, QImage::Format_RGB32);
  QImage replayImage(o.width, o.height, QImage::Format_RGB32);
  QImage scratch(o.width, o.height, QImage::Format_RGB32);
  if (passImage.isNull() || replayImage.isNull() || scratch.isNull()) {
    std::fprintf(stderr, "not enough memory for %d x %d images\n", o.width, o.height);
    return 2;
  }

  // Warm-up: font and glyph caches, first-use allocations.
  for (std::int32_t i = 0; i < o.warmup; ++i) TimedDraw(passImage, pass);

  // The calls of one pass, drawn on the scratch image with real metrics.
  std::vector<RecordingSurface::Call> calls;
  std::int64_t metricQueries = 0;
  scratch.fill(Qt::white);
  {
    QPainter painter(&scratch);
    sx::QtSurface target(painter, kScreenDpi, kScreenDpi, false);
    ForwardingSurface recorder(target);
    pass(recorder);
    calls = recorder.calls();
    metricQueries = recorder.metricQueries();
  }
  const auto replay = [&](sx::Surface& surface) { Replay(surface, calls); };
  for (std::int32_t i = 0; i < o.warmup; ++i) TimedDraw(replayImage, replay);

  // Alternating rounds, so that drift in the machine's speed touches both alike.
  std::vector<double> passMs, replayMs, passCpu, replayCpu;
  for (std::int32_t i = 0; i < o.runs; ++i) {
    const Timing p = TimedDraw(passImage, pass);
    const Timing r = TimedDraw(replayImage, replay);
    passMs.push_back(p.wallMs);
    passCpu.push_back(p.cpuMs);
    replayMs.push_back(r.wallMs);
    replayCpu.push_back(r.cpuMs);
  }

  // The replay must draw what the pass drew, or the comparison means nothing.
  const bool samePixels = passImage == replayImage && passImage == scratch;

  std::int64_t kinds[6] = {};
  std::size_t longest = 0;
  for (const RecordingSurface::Call& c : calls) {
    ++kinds[static_cast<int>(c.kind)];
    if (c.kind == RecordingSurface::Kind::kPolyline || c.kind == RecordingSurface::Kind::kPolygon) {
      longest = std::max(longest, c.points.size());
    }
  }
  const bool dataDrawn = kinds[static_cast<int>(RecordingSurface::Kind::kEllipse)] > 0 ||
                         kinds[static_cast<int>(RecordingSurface::Kind::kBitmap)] > 0 ||
                         longest > kAxisPolylinePoints;

  auto overheadOf = [](double pass, double replay) {
    return replay > 0.0 ? (pass - replay) / replay : 0.0;
  };
  // The verdict goes by CPU time: wall time on a shared machine also counts the waits for a
  // processor, which fall on pass and replay at random.
  const double cpuOverhead = overheadOf(Median(passCpu), Median(replayCpu));
  const double wallOverhead = overheadOf(Median(passMs), Median(replayMs));
  const bool met = cpuOverhead < kTargetOverhead;

  std::printf("file          %s\n", o.file.c_str());
  std::printf("data          %d parameters (+ the depth column) x %d rows; %d plotted; mode %s\n",
              session->data.ParameterCount, session->data.rowCount(), g.plottedCount,
              ModeName(g.plotMode));
  std::printf("picture       %d x %d RGB32 image, stage 1 (new layout), %.0f dpi\n", o.width,
              o.height, static_cast<double>(kScreenDpi));
  std::printf("data drawn    %s\n", dataDrawn
                                        ? "yes: markers, tiles or long polylines among the calls"
                                        : "no: the pass draws layout, frames and axes only");
  std::printf(
      "calls/pass    %zu (polyline %lld, polygon %lld, ellipse %lld, bitmap %lld, font %lld, "
      "text %lld; longest polyline %zu points); %lld metric queries\n",
      calls.size(), static_cast<long long>(kinds[0]), static_cast<long long>(kinds[1]),
      static_cast<long long>(kinds[2]), static_cast<long long>(kinds[3]),
      static_cast<long long>(kinds[4]), static_cast<long long>(kinds[5]), longest,
      static_cast<long long>(metricQueries));
  std::printf("runs          %d timed after %d warm-up, pass and replay alternating\n", o.runs,
              o.warmup);
  std::printf("                 CPU median   CPU min  wall median  wall min\n");
  std::printf("pass ms        %11.3f %9.3f  %11.3f %9.3f\n", Median(passCpu), Minimum(passCpu),
              Median(passMs), Minimum(passMs));
  std::printf("replay ms      %11.3f %9.3f  %11.3f %9.3f\n", Median(replayCpu), Minimum(replayCpu),
              Median(replayMs), Minimum(replayMs));
  std::printf("overhead %%     %11.1f %9.1f  %11.1f %9.1f\n", cpuOverhead * 100.0,
              overheadOf(Minimum(passCpu), Minimum(replayCpu)) * 100.0, wallOverhead * 100.0,
              overheadOf(Minimum(passMs), Minimum(replayMs)) * 100.0);
  std::printf("verdict        overhead %.1f %% (CPU medians), target < %.0f %%: %s\n",
              cpuOverhead * 100.0, kTargetOverhead * 100.0, met ? "met" : "MISSED");
  std::printf("same pixels   %s\n", samePixels ? "yes" : "NO: the replay draws another picture");
  if (!samePixels) return 3;
  return met ? 0 : 1;
}
