#include "app/cli_info.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/cli_options.h"
#include "core/utf8.h"
#include "settings/settings_files.h"
#include "settings/template_file.h"
#include "shell/open_sequence.h"
#include "shell/session.h"
#include "shell/startup.h"

namespace sx::cli {
namespace {

using Json = nlohmann::ordered_json;

// The screen the headless tool assumes for default window placements.
constexpr std::int32_t kScreenWidth = 1920;
constexpr std::int32_t kScreenHeight = 1080;

// A 32-bit float as the number "%.9g" prints (which reads back as the same float): whole
// numbers as integers, others as the double nearest to that text.
Json FloatJson(float f) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(f));
  const double v = std::strtod(text, nullptr);
  if (std::isfinite(v) && std::fabs(v) < 1e15 && v == std::trunc(v)) {
    return Json(static_cast<std::int64_t>(v));
  }
  return Json(v);
}

Json ModelJson(const Session& s, const RecordingUserInterface& ui) {
  const DataModel& d = s.data;
  const PlotSettings& ps = s.settings;
  const GraphicSettings& g = ps.graphic;
  Json j;
  j["parameterCount"] = d.ParameterCount;
  j["rows"] = d.rowCount();
  j["textItemCount"] = d.TextItemCount;
  j["groupCount"] = d.GroupCount;
  j["groupedColumnCount"] = d.GroupedColumnCount;
  j["xIsDate"] = d.XIsDate;
  j["xIsTime"] = d.XIsTime;
  j["dateOffset"] = FloatJson(d.DateOffset);
  j["xAscending"] = d.XAscending;
  j["plottedCount"] = g.plottedCount;
  j["plotMode"] = static_cast<std::int32_t>(g.plotMode);
  j["titleText"] = g.TitleText.str();
  j["dateText"] = g.DateText.str();
  j["creditText"] = g.CreditText.str();
  j["templatePath"] = ps.TemplatePath;
  j["settingsFolder"] = BuildSettingsPath("");
  Json messages = Json::array();
  for (const auto& m : ui.messages) messages.push_back(m.text);
  j["messages"] = messages;
  Json lines = Json::array();
  for (int i = 1; i <= d.DescriptionLineCount; ++i) {
    const DescriptionLine& l = d.DescriptionTable[static_cast<std::size_t>(i)];
    lines.push_back(Json{{"label", l.label.str()}, {"value", l.value.str()}});
  }
  j["descriptionLines"] = lines;
  Json columns = Json::array();
  for (int c = 0; c <= d.ParameterCount; ++c) {
    const ColumnRecord& col = d.column(c);
    const ParameterSettings& r = ps.record(c);
    Json k;
    k["index"] = c;
    k["label"] = col.label.str();
    k["groupName"] = col.groupName.str();
    k["groupSize"] = col.groupSize;
    k["itemCount"] = col.itemCount;
    k["rgbColumn"] = r.rgbColumn;
    k["plotState"] = r.plotState;
    k["marker"] = r.marker;
    k["lines"] = r.lines;
    k["comment"] = r.comment;
    k["showGroupLabel"] = r.showGroupLabel;
    k["showParameterLabel"] = r.showParameterLabel;
    k["autoMinimum"] = FloatJson(col.autoMinimum);
    k["autoMaximum"] = FloatJson(col.autoMaximum);
    k["minimum"] = FloatJson(r.minimum);
    k["maximum"] = FloatJson(r.maximum);
    k["referenceLine"] = FloatJson(r.referenceLine);
    k["tickIncrement"] = FloatJson(r.tickIncrement);
    k["format"] = r.format.str();
    k["automatic"] = r.automatic;
    k["reverseRange"] = r.reverseRange;
    columns.push_back(k);
  }
  j["columns"] = columns;
  return j;
}

// Pads text to a width in characters (printf would count UTF-8 bytes).
std::string Padded(std::string_view text, std::size_t width) {
  std::string s(text);
  for (std::size_t n = Utf8Length(text); n < width; ++n) s += ' ';
  return s;
}

void PrintPlain(const Session& s, std::ostream& out) {
  const DataModel& d = s.data;
  const PlotSettings& ps = s.settings;
  const GraphicSettings& g = ps.graphic;
  out << "File:        " << EscapeName(d.DataFilePath) << "\n";
  out << "Parameters:  " << d.ParameterCount << " (plotted " << g.plottedCount << ")\n";
  out << "Rows:        " << d.rowCount() << "\n";
  out << "Text items:  " << d.TextItemCount << "\n";
  out << "Groups:      " << d.GroupCount << " (" << d.GroupedColumnCount
      << " parameters with a group name)\n";
  out << "X column:    " << d.column(0).label.view()
      << (d.XIsDate ? "  [dates" : (d.XIsTime ? "  [times" : "  [numbers"))
      << (d.XIsDate && d.XIsTime ? " and times]" : "]")
      << (d.XAscending ? "  ascending" : "  not ascending") << "\n";
  // The title is the file name unless the file gives one: escaped like it, as are its neighbours.
  out << "Title:       " << EscapeName(g.TitleText.view()) << "\n";
  out << "Date:        " << EscapeName(g.DateText.view()) << "\n";
  out << "Credit:      " << EscapeName(g.CreditText.view()) << "\n";
  if (!ps.TemplatePath.empty()) out << "Template:    " << EscapeName(ps.TemplatePath) << "\n";
  out << "Settings:    " << EscapeName(BuildSettingsPath("")) << "\n";
  if (d.DescriptionLineCount > 0) {
    out << "Description (" << d.DescriptionLineCount << " lines):\n";
    for (int i = 1; i <= d.DescriptionLineCount; ++i) {
      const DescriptionLine& l = d.DescriptionTable[static_cast<std::size_t>(i)];
      out << "  " << l.label.view() << (l.label.empty() ? "" : " ") << l.value.view() << "\n";
    }
  }
  out << "Columns:\n";
  char line[2048];
  std::snprintf(line, sizeof line, "  %3s  %-28s %-16s %7s %4s %23s %23s %s\n", "#", "label",
                "group", "values", "plot", "automatic range", "axis range", "tick / format");
  out << line;
  for (int c = 0; c <= d.ParameterCount; ++c) {
    const ColumnRecord& col = d.column(c);
    const ParameterSettings& r = ps.record(c);
    std::snprintf(line, sizeof line, "  %3d  %s %s %7d %4d %11.5g..%-10.5g %11.5g..%-10.5g %g %s\n",
                  c, Padded(col.label.view(), 28).c_str(), Padded(col.groupName.view(), 16).c_str(),
                  col.itemCount, r.plotState, static_cast<double>(col.autoMinimum),
                  static_cast<double>(col.autoMaximum), static_cast<double>(r.minimum),
                  static_cast<double>(r.maximum), static_cast<double>(r.tickIncrement),
                  r.format.c_str());
    out << line;
  }
}

}  // namespace

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options o = ParseOptions(args);
  if (!o.error.empty() || o.files.size() != 1) {
    err << "sondrix-cli info: " << (o.error.empty() ? "expects one data file" : o.error) << "\n"
        << "usage: sondrix-cli info FILE [--json] [--template T.stf] [--numeric-items N] "
           "[--text-items N]\n";
    return kExitUsage;
  }
  RecordingUserInterface ui;
  const std::string& file = o.files[0];
  const auto report = [&] { PrintMessages(ui, err, {file, o.templatePath}); };
  std::optional<MemoryBudgets> budgets;
  if (o.budgetsGiven) budgets = o.budgets;
  std::unique_ptr<Session> session = StartSession(ui, kScreenWidth, kScreenHeight, budgets);
  if (!session) {
    report();
    return 3;
  }
  ui.messages.clear();
  SetDataFilePath(session->data, file);
  if (OpenDataFile(*session) != 0) {
    report();
    return session->data.ParameterCount == kLoadCouldNotOpen ? 1 : 2;
  }
  if (!o.templatePath.empty()) {
    // As the template load command (a refused template is reported and the data read again),
    // but a model shown without the template asked for would pass for one with it.
    const std::int32_t templateResult = LoadTemplateCommand(*session, o.templatePath);
    if (templateResult != kTemplateApplied) {
      report();
      err << "sondrix-cli info: the template was not applied; nothing shown\n";
      return TemplateExitStatus(templateResult);
    }
  }
  if (o.json) {
    out << ModelJson(*session, ui).dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    report();
    PrintPlain(*session, out);
  }
  return 0;
}

}  // namespace sx::cli
