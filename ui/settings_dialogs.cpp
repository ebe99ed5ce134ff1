#include "ui/settings_dialogs.h"

#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/global_options_form.h"
#include "shell/settings_forms.h"
#include "ui/form_dialog.h"

namespace sx {

namespace {

const QString kCm = "cm";
const QString kPixel = "pixel";

QGridLayout* Grid() {
  return new QGridLayout;
}

// Checks in a column, each (id, text).
QVBoxLayout* Checks(FormDialog& d, std::initializer_list<std::pair<int, const char*>> boxes,
                    bool radios = false) {
  auto* column = new QVBoxLayout;
  for (const auto& [id, text] : boxes) {
    column->addWidget(radios ? d.radio(id, text) : d.check(id, text));
  }
  return column;
}

void AxisLengthRow(FormDialog& d, QGridLayout* grid, const char* text) {
  const int r = grid->rowCount();
  grid->addWidget(d.check(1024, text), r, 0);
  grid->addWidget(d.field(1025), r, 1);
  grid->addWidget(new QLabel(kCm), r, 2);
}

void RangeRows(FormDialog& d, QGridLayout* grid, int automatic, int minimum, int maximum,
               int reference) {
  grid->addWidget(d.check(automatic, "&Automatic"), grid->rowCount(), 0, 1, 2);
  d.row(grid, "Minimum", d.field(minimum));
  d.row(grid, "Maximum", d.field(maximum));
  d.row(grid, "Reference line", d.field(reference));
}

void TickRows(FormDialog& d, QGridLayout* grid, TickIds ids, const char* minorText,
              const char* minorLines) {
  d.row(grid, "Tick increment", d.field(ids.increment));
  d.row(grid, minorText, d.field(ids.minorTicks));
  auto* boxes = new QGridLayout;
  boxes->addWidget(d.check(ids.bothSides, "&Both side"), 0, 0);
  boxes->addWidget(d.check(ids.inside, "&Inside"), 0, 1);
  boxes->addWidget(d.check(ids.ticklines, "&Ticklines"), 1, 0);
  boxes->addWidget(d.check(ids.minorTicklines, minorLines), 1, 1);
  grid->addLayout(boxes, grid->rowCount(), 0, 1, 3);
}

void LabelRows(FormDialog& d, QGridLayout* grid, ParameterForm& form) {
  auto* group = d.check(1034, "Group");
  QObject::connect(group, &QAbstractButton::toggled, &d, [&form](bool on) {
    if (auto* axis = dynamic_cast<ParameterAxisForm*>(&form)) axis->toggleGroupLabel(on);
    if (auto* option = dynamic_cast<ParameterOptionForm*>(&form)) option->toggleGroupLabel(on);
  });
  const int r = grid->rowCount();
  grid->addWidget(group, r, 0);
  grid->addWidget(d.field(1033), r, 1, 1, 2);
  grid->addWidget(d.check(1035, "Parameter"), r + 1, 0);
  grid->addWidget(d.field(1000), r + 1, 1, 1, 2);
}

void OrientationRow(FormDialog& d, QVBoxLayout* into) {
  auto* row = new QHBoxLayout;
  row->addWidget(d.radio(1152, "0°"));
  row->addWidget(d.radio(1153, "45°"));
  row->addWidget(d.radio(1154, "90°"));
  into->addWidget(d.group("Text orientation", row));
}

bool Run(FormDialog& d) {
  d.finish();
  return d.exec() == QDialog::Accepted;
}

// ---- Dialogs of one thing -----------------------------------------------------------------------

bool GraphicDialog(QWidget* parent, Session& session, bool ternary) {
  GraphicForm form(session, ternary, PixelsPerCm(parent));
  FormDialog d(parent, session, form, ternary ? "TERNARYMODEGRAPHICDIALOG" : "GRAPHICDIALOG",
               "Graphic settings");
  auto* size = Grid();
  d.row(size, "Width", d.field(1300), kCm);
  d.row(size, "Height", d.field(1301), kCm);
  if (!ternary) d.row(size, "Distance between plots", d.field(1302), kCm);
  d.body()->addWidget(d.group("Size of graphic", size));
  if (!ternary) {
    auto* units = new QHBoxLayout;
    units->addWidget(d.check(1303, "All in &one"));
    units->addWidget(d.radio(1144, "(unit)"));
    units->addWidget(d.radio(1145, "[unit]"));
    d.body()->addLayout(units);
  }
  auto* stamp = Grid();
  d.row(stamp, "Text", d.field(1305));
  stamp->addWidget(d.check(1315, "&Date / Time"), stamp->rowCount(), 0);
  stamp->addWidget(d.check(1316, "&Filename"), stamp->rowCount() - 1, 1);
  d.body()->addWidget(d.group("Stamp", stamp));
  auto* lines = Grid();
  d.row(lines, "Tickline width", d.field(1311), kPixel);
  d.row(lines, "Frame width", d.field(1312), kPixel);
  if (ternary) d.row(lines, "Tick increment", d.field(1314), "%");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(d.colorButton(1310, "Tic&kline color"));
  auto* font = new QPushButton("Font");
  font->setObjectName("1313");
  font->setAutoDefault(false);
  QObject::connect(font, &QPushButton::clicked, &d, [&] {
    const GraphicSettings& g = session.settings.graphic;
    const bool profile = g.plotMode == kHorizontal || g.plotMode == kVertical;
    bool ok = false;
    const QFont start(QString::fromUtf8(g.fontName.c_str()), form.fontChosen() ? form.fontPoints()
                                                             : profile         ? g.fontSize
                                                                               : g.modeFontSize);
    const QFont chosen = QFontDialog::getFont(&ok, start, &d, "Font");
    if (ok) form.chooseFont(chosen.family().toStdString(), chosen.pointSize());
  });
  buttons->addWidget(font);
  lines->addLayout(buttons, lines->rowCount(), 0, 1, 3);
  d.body()->addWidget(d.group("Lines", lines));
  d.body()->addLayout(Checks(d, {{1306, "Use &color"}, {1308, "Use &template"}}));
  if (!ternary) d.body()->addWidget(d.check(1307, "Use defa&ult color"));
  if (!Run(d)) return false;
  form.store();
  return true;
}

bool XAxisDialog(QWidget* parent, Session& session) {
  XAxisForm form(session, PixelsPerCm(parent));
  FormDialog d(parent, session, form, "XAXISDIALOG", "X axis settings");
  auto* grid = Grid();
  d.row(grid, "Label", d.field(1400));
  AxisLengthRow(d, grid, "Maximum a&xis length");
  RangeRows(d, grid, 1403, 1401, 1402, 1410);
  grid->addWidget(d.check(1046, "Reverse range"), grid->rowCount(), 0, 1, 2);
  TickRows(d, grid, kXTickIds, "Number of minor marks between major marks", "&Minor ticklines");
  grid->addWidget(d.check(1411, "&Clip x-axis"), grid->rowCount(), 0, 1, 2);
  d.body()->addLayout(grid);
  if (!Run(d)) return false;
  form.store();
  return true;
}

bool ParameterAxisDialog(QWidget* parent, Session& session, int record) {
  ParameterAxisForm form(session, record, PixelsPerCm(parent));
  FormDialog d(parent, session, form, "PARAMETERAXISDIALOG", "Y axis settings");
  auto* grid = Grid();
  LabelRows(d, grid, form);
  AxisLengthRow(d, grid, "fixed a&xis length");
  RangeRows(d, grid, 1002, 1003, 1004, 1005);
  grid->addWidget(d.check(1045, "Reverse range"), grid->rowCount(), 0, 1, 2);
  TickRows(d, grid, kParameterTickIds, "Number of minor ticks between major ticks",
           "&Minor ticklines");
  d.body()->addLayout(grid);
  OrientationRow(d, d.body());
  d.addMoveButtons([&] { form.previous(); }, [&] { form.next(); });
  if (!Run(d)) return false;
  form.store();
  return true;
}

bool ParameterOptionDialog(QWidget* parent, Session& session, int record) {
  ParameterOptionForm form(session, record);
  FormDialog d(parent, session, form, "PARAMETEROPTIONDIALOG", "Parameter settings");
  auto* labels = Grid();
  LabelRows(d, labels, form);
  d.body()->addLayout(labels);
  auto* next = new QHBoxLayout;
  next->addWidget(new QLabel("Do with next"));
  next->addWidget(d.field(1001));
  next->addWidget(new QLabel("parameter(s)"));
  next->addWidget(d.radio(1600, "add"));
  next->addWidget(d.radio(1601, "plot"));
  d.body()->addLayout(next);
  auto* styles = Grid();
  styles->addWidget(d.check(1010, "&Lines"), 0, 0);
  styles->addWidget(d.field(1026), 0, 1);
  styles->addWidget(new QLabel(kPixel), 0, 2);
  styles->addWidget(d.check(1012, "C&olumns"), 1, 0);
  styles->addWidget(d.field(1311), 1, 1);
  styles->addWidget(new QLabel(kPixel), 1, 2);
  styles->addWidget(d.check(1013, "Histogram li&nes"), 2, 0);
  styles->addWidget(d.check(1011, "&Colorize"), 2, 1);
  styles->addWidget(d.check(1014, "O&utline"), 2, 2);
  styles->addWidget(d.check(1027, "&Value text"), 3, 0);
  styles->addWidget(d.check(1028, "Occu&rrence"), 3, 1);
  styles->addWidget(d.check(1029, "Cours&e"), 3, 2);
  styles->addWidget(d.check(1031, "&Lithology"), 4, 0);
  styles->addWidget(d.check(1032, "&Boundary"), 4, 1);
  styles->addWidget(d.check(1030, "Commen&t"), 4, 2);
  styles->addWidget(d.check(1007, "Mar&ker"), 5, 0);
  auto* marker = new QHBoxLayout;
  marker->addWidget(new QLabel("Symbol"));
  marker->addWidget(d.field(1008));
  marker->addWidget(new QLabel("Size"));
  marker->addWidget(d.field(1009));
  styles->addLayout(marker, 5, 1, 1, 2);
  styles->addWidget(d.colorButton(1023, "Color"), 6, 0);
  d.body()->addWidget(d.group("Styles", styles));
  d.body()->addWidget(d.group("Quality", Checks(d, {{1040, "valid"},
                                                    {1041, "not valid"},
                                                    {1042, "unknown"},
                                                    {1043, "questionable"},
                                                    {1044, "individual definition"}})));
  d.addMoveButtons([&] { form.previous(); }, [&] { form.next(); });
  if (!Run(d)) return false;
  form.store();
  return true;
}

bool ModeItemDialog(QWidget* parent, Session& session, int item, bool phase) {
  ModeItemForm form(session, item, phase);
  FormDialog d(parent, session, form, phase ? "PHASEMODEDIALOG" : "TERNARYMODEDIALOG",
               phase ? "Parameter settings - phase mode" : "Parameter settings - ternary mode");
  auto* grid = Grid();
  d.row(grid, "Label", d.field(1100));
  if (phase) {
    d.row(grid, "Width", d.field(1009), kPixel);
    d.row(grid, "C_max", d.field(1101));
  } else {
    d.row(grid, "Symbol", d.field(1008));
    d.row(grid, "Size", d.field(1009));
    d.row(grid, "Epsilon", d.field(1101));
  }
  grid->addWidget(d.colorButton(1023, "Color"), grid->rowCount(), 0);
  d.body()->addLayout(grid);
  d.addMoveButtons([&] { form.previous(); }, [&] { form.next(); });
  if (!Run(d)) return false;
  form.store();
  return true;
}

// ---- Set global options ------------------------------------------------------------------------

bool AskScope(QWidget* parent, Session& session) {
  ScopeForm form(session);
  FormDialog d(parent, session, form, "CHANGEMODEDIALOG", "Change mode");
  d.body()->addLayout(
      Checks(d, {{1800, "in &all parameters"}, {1801, "only in &selected parameters"}}, true));
  if (!Run(d)) {
    form.cancel();
    return false;
  }
  form.store();
  return true;
}

QString GlobalTitle(std::string_view resource) {
  static const std::pair<std::string_view, const char*> kTitles[] = {
      {"YAXISDIALOGMAXAXISLENGTH", "Maximum axis length (all parameters)"},
      {"YAXISDIALOGRANGE", "Range (all parameters)"},
      {"YAXISDIALOGPHASEMODERANGE", "Range (all parameters)"},
      {"YAXISDIALOGTICKS", "Ticks (all parameters)"},
      {"YAXISDIALOGADDNEXT", "Do with next (all parameters)"},
      {"YAXISDIALOGMARKER", "Marker (all parameters)"},
      {"YAXISDIALOGGMARKER", "Marker (all groups)"},
      {"YAXISDIALOGOPTIONS", "Options (all parameters)"},
      {"YAXISDIALOGQUALITYFLAGS", "Quality flags (all parameters)"},
      {"YAXISDIALOGLINEWIDTH", "Line width (all parameters)"},
      {"YAXISDIALOGCOLUMNWIDTH", "Column width (all parameters)"},
      {"YAXISDIALOGTEXTORIENTATION", "Text orientation (all parameters)"},
      {"EPSILONDIALOG", "Epsilon (all parameters)"},
  };
  for (const auto& [name, title] : kTitles) {
    if (name == resource) return title;
  }
  return {};
}

bool GlobalOptionsDialog(QWidget* parent, Session& session, const DialogRequest& request,
                         GlobalOptionsForm::Group group) {
  using G = GlobalOptionsForm::Group;
  GlobalOptionsForm form(session, group, request.record, PixelsPerCm(parent));
  FormDialog d(parent, session, form, request.resource.c_str(), GlobalTitle(request.resource));
  auto* grid = Grid();
  switch (group) {
    case G::kAxisLength:
      AxisLengthRow(d, grid, "&Set");
      break;
    case G::kRange:
      RangeRows(d, grid, 1002, 1003, 1004, 1005);
      break;
    case G::kPhaseRange:
      d.row(grid, "C_max", d.field(1101));
      break;
    case G::kTicks:
      TickRows(d, grid, kParameterTickIds, "Number of minor ticks between major ticks",
               "&Minor ticklines");
      break;
    case G::kDoWithNext:
      d.row(grid, "Do with next", d.field(1001), "parameter(s)");
      grid->addLayout(Checks(d, {{1600, "add"}, {1601, "plot"}}, true), grid->rowCount(), 1);
      break;
    case G::kMarker:
    case G::kModeMarker:
      if (group == G::kMarker) grid->addWidget(d.check(1007, "&Marker"), 0, 0);
      d.row(grid, "Symbol", d.field(1008));
      d.row(grid, "Size", d.field(1009));
      break;
    case G::kOptions:
      grid->addLayout(Checks(d, {{1010, "&Lines"},
                                 {1012, "C&olumns"},
                                 {1013, "Histogram li&nes"},
                                 {1011, "&Colorize"},
                                 {1014, "O&utline"}}),
                      0, 0);
      grid->addLayout(Checks(d, {{1027, "&Value text"},
                                 {1028, "Occu&rrence"},
                                 {1029, "Cours&e"},
                                 {1031, "&Lithology"},
                                 {1032, "&Boundary"},
                                 {1030, "Commen&t"}}),
                      0, 1);
      break;
    case G::kQuality:
      grid->addLayout(Checks(d, {{1040, "&valid"},
                                 {1041, "&not valid"},
                                 {1042, "&unknown"},
                                 {1043, "&questionable"},
                                 {1044, "&missing"}}),
                      0, 0);
      break;
    case G::kLineWidth:
    case G::kColumnWidth:
      d.row(grid, "Width", d.field(1026), kPixel);
      break;
    case G::kOrientation:
      break;
    case G::kEpsilon:
      d.row(grid, "Epsilon", d.field(1101));
      break;
  }
  d.body()->addLayout(grid);
  if (group == G::kOrientation) OrientationRow(d, d.body());
  if (!Run(d)) return false;
  form.store();
  return true;
}

bool ColorMappingDialog(QWidget* parent, Session& session) {
  ColorMappingForm form(session);
  FormDialog d(parent, session, form, "COLORMAPPINGDIALOG", "Color mapping");
  auto* row = new QHBoxLayout;
  row->addWidget(d.colorButton(1038, "First color"));
  row->addWidget(d.colorButton(1039, "Last color"));
  d.body()->addLayout(row);
  if (!Run(d)) return false;
  form.store();
  return true;
}

bool SelectDialog(QWidget* parent, Session& session, std::int32_t entityKind, bool& changed) {
  SelectForm form(session, entityKind);
  FormDialog d(parent, session, form, "SELECT", "Select parameter");
  auto* boxes = Grid();
  for (int box = 1; box <= SelectForm::kBoxes; ++box) {
    const int id = SelectForm::kFirstBox + box - 1;
    QAbstractButton* check = d.check(id, {});
    boxes->addWidget(check, (box - 1) / 6, (box - 1) % 6);
    QObject::connect(check, &QAbstractButton::toggled, &d, [&form, &changed, box](bool on) {
      form.toggle(box, on);
      changed = true;
    });
  }
  d.body()->addLayout(boxes);
  auto* row = new QHBoxLayout;
  row->addWidget(d.actionButton(1021, "<", [&] {
    form.previousPage();
    changed = true;
  }));
  row->addWidget(d.actionButton(1022, ">", [&] {
    form.nextPage();
    changed = true;
  }));
  row->addWidget(d.actionButton(1270, "Select all", [&] {
    form.selectAll();
    changed = true;
  }));
  row->addWidget(d.actionButton(1271, "Select none", [&] {
    form.selectNone();
    changed = true;
  }));
  row->addStretch();
  d.body()->addLayout(row);
  // The boxes' captions follow the page.
  auto captions = [&] {
    for (int box = 1; box <= SelectForm::kBoxes; ++box) {
      const int id = SelectForm::kFirstBox + box - 1;
      auto* check = d.findChild<QAbstractButton*>(QString::number(id));
      check->setText(QString::fromStdString(form.control(id).text));
      check->setEnabled(form.itemOf(box) > 0);
    }
  };
  captions();
  for (int id : {1021, 1022}) {
    QObject::connect(d.findChild<QAbstractButton*>(QString::number(id)), &QAbstractButton::clicked,
                     &d, captions);
  }
  if (!Run(d)) return false;
  form.store();
  return true;
}

}  // namespace

bool OpenSettingsDialog(QWidget* parent, Session& session, const DialogRequest& request) {
  const std::string& r = request.resource;
  const PlotMode mode = session.settings.graphic.plotMode;
  if (r == "GRAPHICDIALOG" || r == "TERNARYMODEGRAPHICDIALOG") {
    return GraphicDialog(parent, session, r == "TERNARYMODEGRAPHICDIALOG");
  }
  if (r == "XAXISDIALOG") return XAxisDialog(parent, session);
  if (r == "PARAMETERAXISDIALOG") return ParameterAxisDialog(parent, session, request.record);
  if (r == "PARAMETEROPTIONDIALOG") return ParameterOptionDialog(parent, session, request.record);
  if (r == "TERNARYMODEDIALOG" || r == "PHASEMODEDIALOG") {
    return ModeItemDialog(parent, session, request.record, r == "PHASEMODEDIALOG");
  }
  if (r == "CHANGEMODEDIALOG") return AskScope(parent, session);
  if (r == "SELECT") {
    bool changed = false;
    const bool ok = SelectDialog(parent, session, request.command == 3070 ? 1 : 2, changed);
    return ok || changed;
  }

  // The "Set global options" commands: nothing without a plotted item, the scope question when
  // only some parameters are plotted, then the dialog.
  GlobalOptionsForm::Group group{};
  const bool known = GlobalOptionsForm::GroupOf(r, group);
  if (!known && r != "COLORMAPPINGDIALOG" && r != "COLORCHOOSER") return false;
  switch (BeginGlobalOptions(session)) {
    case ScopeStep::kNothing:
      return false;
    case ScopeStep::kAsk:
      if (!AskScope(parent, session)) return false;
      break;
    case ScopeStep::kGo:
      break;
  }
  if (r == "COLORMAPPINGDIALOG") return ColorMappingDialog(parent, session);
  if (r == "COLORCHOOSER") {
    RGB chosen{};
    if (!ChooseColor(parent, session.settings, ColorCommandPreset(session, request.record),
                     chosen)) {
      return false;
    }
    ApplyColorCommand(session, chosen);
    return true;
  }
  if (mode == kTernary && group == GlobalOptionsForm::Group::kRange) return false;
  return GlobalOptionsDialog(parent, session, request, group);
}

}  // namespace sx
