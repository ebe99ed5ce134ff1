// Scenarios of the desktop program on the offscreen platform: the frame is driven through its
// actions (by object name) and keys as a user would; file dialogs are answered by a stand-in and
// messages are recorded instead of shown.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <cstring>
#include <filesystem>
#include <fstream>

#ifdef SONDRIX_HAVE_EMF2SVG
#include <emf2svg.h>
#endif

#include "settings/scales.h"
#include "settings/settings_files.h"
#include "settings/settings_model.h"
#include "shell/file_dialogs.h"
#include "shell/plot_window.h"
#include "shell/startup.h"
#include "test_files.h"
#include "ui/child_windows.h"
#include "ui/dialog_answers.h"
#include "ui/main_frame.h"
#include "ui/plot_output.h"
#include "ui/settings_dialogs.h"

using namespace sx;

namespace {

const TestFiles kFiles;  // removed with what the scenarios wrote when the program ends
std::string TempFile(const std::string& name, const std::string& content) {
  return kFiles.Write(name, content);
}

const char* const kNoDescription =
    "Depth [m]\tTemp [C]\tSal [psu]\n1\t4.1\t35\n2\t4.0\t34.9\n3\t3.8\t34.8\n";
const char* const kWithDescription =
    "/* DATA DESCRIPTION:\nCitation:\tSomeone (2024): A core\nEvent:\tK-1\n*/\n"
    "Depth [m]\tTemp [C]\tSal [psu]\n1\t4.1\t35\n2\t4.0\t34.9\n3\t3.8\t34.8\n";

const char* const kThreeParts =
    "Depth [m]\tA [%]\tB [%]\tC [%]\n1\t20\t30\t50\n2\t60\t10\t30\n3\t10\t70\t20\n4\t40\t40\t20\n";

}  // namespace

class FrameScenarios : public QObject {
  Q_OBJECT

 private:
  struct Program {
    RecordingUserInterface ui;
    std::unique_ptr<Session> session;
    std::unique_ptr<MdiFrame> frame;
    std::vector<FileDialogRequest> dialogs;
    std::optional<std::string> answer;  // what every file dialog returns
    std::vector<DialogRequest> asked;   // settings dialogs the plot window asked for

    explicit Program(const std::string& commandLineFile = {}) {
      session = StartSession(ui, 1024, 768);
      if (!commandLineFile.empty()) {
        SetDataFilePath(session->data, commandLineFile);
        session->startup.FileFromCommandLine = 1;
      }
      frame = std::make_unique<MdiFrame>(*session);
      frame->fileDialogRunner = [this](FileDialogRequest& r) {
        dialogs.push_back(r);
        return answer;
      };
      frame->show();
      frame->command(cmd::kOpen);
      QCoreApplication::processEvents();
    }
    ~Program() {
      frame.reset();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QAction* action(int id) const {
      return frame->findChild<QAction*>(QString("action%1").arg(id));
    }
    QString menu() const { return frame->menuBar()->objectName(); }
    bool has(ChildKind kind) const { return frame->HasChild(kind); }
    // The plot window, painted once, its dialogs recorded instead of shown.
    MdiDataPlotChild* plot() {
      auto* child = static_cast<MdiDataPlotChild*>(frame->child(ChildKind::kPlot));
      child->dialogOpener = [this](QWidget*, Session&, const DialogRequest& r) {
        asked.push_back(r);
        return false;
      };
      child->canvas()->repaint();
      return child;
    }
    void settle() const {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  };

  // The window file of a first run on this screen: no child window placed yet.
  static void UnplacedWindows() {
    std::ofstream(BuildSettingsPath(kWindowFileName))
        << "2008-08-08\n2000\t100000\n0\t0\t800\t600\n-1\t-1\t-1\t-1\n-1\t-1\t-1\t-1\n";
  }

 private slots:
  void firstStartShowsSelectDataAndCancelKeepsInitMenu() {
    Program p;
    QCOMPARE(p.dialogs.size(), size_t{1});
    QCOMPARE(p.dialogs[0].title, std::string("Select data"));
    QVERIFY(!p.has(ChildKind::kPlot) && !p.has(ChildKind::kDescription));
    QCOMPARE(p.menu(), QString("MdiMenuInit"));
    QVERIFY(!p.action(cmd::kOpenPlotWindow)->isEnabled());
    QVERIFY(p.ui.messages.empty());
    // Help names the manual and shows it.
    p.frame->command(cmd::kHelp);
    QCOMPARE(p.ui.messages.size(), size_t{1});
    QVERIFY(p.ui.messages[0].text.starts_with("Please, read the fine manual\n/"));
    QVERIFY(p.frame->manualWindow() != nullptr && p.frame->manualWindow()->isVisible());
    QVERIFY(p.frame->manualWindow()->findChild<QTextBrowser*>()->toPlainText().contains(
        "Sondrix manual"));
    // A file dropped on the frame opens as one named on the command line.
    const std::string file = TempFile("dropped.tab", kNoDescription);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(p.frame.get(), &enter);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(p.frame.get(), &drop);
    p.settle();
    QVERIFY(p.has(ChildKind::kPlot));
    QCOMPARE(p.dialogs.size(), size_t{1});
    QCOMPARE(p.session->data.DataFilePath, file);
  }

  void fileWithoutDescriptionOpensOnlyThePlotWindowAtFiveFive() {
    UnplacedWindows();
    const std::string file = TempFile("plain.tab", kNoDescription);
    Program p(file);
    QVERIFY(p.dialogs.empty());
    QVERIFY(p.has(ChildKind::kPlot));
    QVERIFY(!p.has(ChildKind::kDescription));
    auto* window = static_cast<QMdiSubWindow*>(p.frame->child(ChildKind::kPlot)->parentWidget());
    QCOMPARE(window->pos(), QPoint(5, 5));
    QCOMPARE(window->windowTitle(), QString::fromStdString("Data plot - " + file));
    QCOMPARE(p.menu(), QString("MdiMenuDataPlot"));
    QVERIFY(p.action(cmd::kSaveDataAs)->isEnabled());
    // F2..F5 switch the mode; the menu shows which one.
    p.frame->command(cmd::kHorizontal);
    QVERIFY(p.action(cmd::kHorizontal)->isChecked());
    p.frame->command(cmd::kTernary);
    QVERIFY(!p.action(cmd::kXAxis)->isEnabled());
  }

  void ctrlRReloadsAndCtrlWClosesWithoutADialogAndACancelledOpenKeepsTheWindows() {
    Program p(TempFile("described.tab", kWithDescription));
    QVERIFY(p.has(ChildKind::kPlot) && p.has(ChildKind::kDescription));
    QWidget* oldPlot = p.frame->child(ChildKind::kPlot);
    QApplication::setActiveWindow(p.frame.get());
    QVERIFY(QTest::qWaitForWindowActive(p.frame.get()));
    p.frame->mdiArea()->setActiveSubWindow(static_cast<QMdiSubWindow*>(oldPlot->parentWidget()));
    QTest::keyClick(p.frame.get(), Qt::Key_R, Qt::ControlModifier);
    p.settle();
    QVERIFY(p.dialogs.empty());
    QVERIFY(p.has(ChildKind::kPlot) && p.has(ChildKind::kDescription));
    QVERIFY(p.frame->child(ChildKind::kPlot) != oldPlot);
    // Cascade keeps both windows large enough to show their contents.
    p.frame->command(cmd::kCascade);
    for (ChildKind kind : {ChildKind::kPlot, ChildKind::kDescription}) {
      QVERIFY(p.frame->child(kind)->height() > p.frame->mdiArea()->height() / 2);
    }
    // "Select data" cancelled: the file and its windows stay.
    p.frame->command(cmd::kOpen);
    p.settle();
    QCOMPARE(p.dialogs.size(), size_t{1});
    QVERIFY(p.has(ChildKind::kPlot) && p.has(ChildKind::kDescription));
    QVERIFY(p.session->data.ParameterCount > 0);
    // Ctrl+W closes the active window (the window's own menu must not claim the key too).
    p.frame->mdiArea()->setActiveSubWindow(
        static_cast<QMdiSubWindow*>(p.frame->child(ChildKind::kPlot)->parentWidget()));
    QTest::keyClick(p.frame->child(ChildKind::kPlot), Qt::Key_W, Qt::ControlModifier);
    p.settle();
    QVERIFY(!p.has(ChildKind::kPlot) && p.has(ChildKind::kDescription));
    QVERIFY(p.ui.messages.empty());
  }

  void closeAllThenReopenFromTheWindowMenu() {
    Program p(TempFile("described.tab", kWithDescription));
    p.frame->command(cmd::kCloseAll);
    p.settle();
    QVERIFY(!p.has(ChildKind::kPlot) && !p.has(ChildKind::kDescription));
    QCOMPARE(p.menu(), QString("MdiMenuInit"));
    p.action(cmd::kOpenPlotWindow)->trigger();
    p.settle();
    QVERIFY(p.has(ChildKind::kPlot));
    // Closed by its close box, then Close All: unavailable until the next load.
    p.frame->child(ChildKind::kPlot)->parentWidget()->close();
    p.settle();
    p.frame->command(cmd::kCloseAll);
    p.settle();
    p.frame->command(cmd::kOpenPlotWindow);
    p.settle();
    QVERIFY(!p.has(ChildKind::kPlot));
    // The description window was closed by the first Close All: the second one retires it too.
    p.frame->command(cmd::kOpenDescriptionWindow);
    p.settle();
    QVERIFY(!p.has(ChildKind::kDescription));
  }

  void unusableTemplateIsRefusedAndTheDataReadAgain() {
    Program p(TempFile("plain.tab", kNoDescription));
    p.answer = TempFile("old.stf", "2008-08-08\n");
    p.action(cmd::kLoadTemplate)->trigger();
    p.settle();
    QCOMPARE(p.dialogs.back().title, std::string("Select template"));
    QCOMPARE(p.ui.messages.size(), size_t{1});
    QCOMPARE(p.ui.messages[0].text, std::string("Sorry, you can't use this old template."));
    QCOMPARE(p.session->data.ParameterCount, std::int32_t{2});
    QVERIFY(p.action(cmd::kSaveDataAs)->isEnabled());
  }

  void aFileThatFailsLeavesTheFrameUsable() {
    Program p(TempFile("empty.tab", "no numbers here\n"));
    QCOMPARE(p.ui.messages.size(), size_t{1});
    QCOMPARE(p.ui.messages[0].text, std::string("Wrong format of data."));
    QVERIFY(!p.has(ChildKind::kPlot));
    QVERIFY(p.action(cmd::kOpen)->isEnabled());
  }

  // Qt's own dialog reads a name with a double quote as a list of quoted names.
  void aFileWithAQuoteInItsNameCanBeOpenedAndSaved() {
    const std::string file = TempFile("core \"A\" 1.tab", kNoDescription);
    const std::string description = kFiles.dir() + "/DD_core \"A\" 1.txt";
    for (FileDialogRequest request :
         {FileDialogRequest{false, "Select data", kFilterData, 0, {}, {}},
          FileDialogRequest{
              true, "Save data description as...", kFilterDescription, 0, description, {}}}) {
      const std::string typed = request.save ? description : file;
      Answers answers(
          {{"FileDialog", [&typed](QDialog& d) {
              d.findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(typed));
              for (QAbstractButton* b : d.findChild<QDialogButtonBox*>()->buttons()) {
                if (b->isEnabled() && b->text() != "Cancel") b->click();
              }
            }}});
      const std::optional<std::string> chosen = ShowFileDialog(nullptr, request);
      QCOMPARE(chosen, std::optional<std::string>(typed));
      QVERIFY(answers.allAnswered());
    }
  }

  void exitWritesTheWindowFile() {
    const std::string path = BuildSettingsPath(kWindowFileName);
    std::filesystem::remove(path);
    Program p(TempFile("plain.tab", kNoDescription));
    p.frame->command(cmd::kExit);
    p.settle();
    QVERIFY(!p.frame->isVisible());
    QVERIFY(std::filesystem::exists(path));
  }

  void aClickAsksForTheDialogOfTheStripAndTheFirstClickAfterReactivationOnlyActivates() {
    Program p(TempFile("described.tab", kWithDescription));
    MdiDataPlotChild* plot = p.plot();
    const ColumnRecord& strip = p.session->data.column(2);  // Vertical: side by side
    const QPoint inside(strip.originX + strip.extentX / 2, strip.originY + strip.extentY / 2);
    QTest::mouseMove(plot->canvas(), inside);
    QVERIFY(plot->statusBar()->currentMessage().startsWith("Depth (m): "));
    QTest::mouseClick(plot->canvas(), Qt::LeftButton, {}, inside);
    QCOMPARE(p.asked.size(), size_t{1});
    QCOMPARE(p.asked[0].resource, std::string("PARAMETEROPTIONDIALOG"));
    QCOMPARE(p.asked[0].record, 2);
    auto* plotWindow = static_cast<QMdiSubWindow*>(plot->parentWidget());
    auto* description =
        static_cast<QMdiSubWindow*>(p.frame->child(ChildKind::kDescription)->parentWidget());
    p.frame->mdiArea()->setActiveSubWindow(description);
    p.frame->mdiArea()->setActiveSubWindow(plotWindow);
    QTest::mouseClick(plot->canvas(), Qt::LeftButton, {}, inside);
    QCOMPARE(p.asked.size(), size_t{1});
    QTest::mouseClick(plot->canvas(), Qt::RightButton, {}, QPoint(1, 1));
    QCOMPARE(p.asked.size(), size_t{2});
    QCOMPARE(p.asked[1].resource, std::string("GRAPHICDIALOG"));
  }

  // With the real dialogs, one of each kind, opened by its click or command: Cancel changes
  // neither the model nor the picture; OK changes both and makes an undo step.
  void everyKindOfDialogChangesModelAndPictureOnOkOnly() {
    Program p(TempFile("abc.tab", kThreeParts));
    auto* plot = static_cast<MdiDataPlotChild*>(p.frame->child(ChildKind::kPlot));
    Session& s = *p.session;
    const auto picture = [plot] { return plot->canvas()->grab().toImage(); };
    // A point of the canvas where a click opens the given dialog on the given record.
    const auto spot = [&](const std::string& resource, std::int32_t record) {
      picture();  // laid out at the window's size
      for (int y = 0; y < plot->canvas()->height(); y += 2) {
        for (int x = 0; x < plot->canvas()->width(); x += 2) {
          const DialogRequest d = ClickOnPlot(s.data, s.settings, s.render.metrics, x, y).dialog;
          if (d.resource == resource && d.record == record) return QPoint(x, y);
        }
      }
      return QPoint(-1, -1);
    };
    struct Case {
      int mode, command;    // the command that opens the dialogs; 0: a click on the plot that
      int record;           // opens the last dialog on this record
      QStringList dialogs;  // answered in turn; the last one gets the change
      Answers::Step change;
      std::function<double()> probe;
      bool immediate = false;  // the change acts at once, Cancel or not, and is a step to undo
    };
    const Case cases[] = {
        {cmd::kVertical,
         0,
         2,
         {"PARAMETEROPTIONDIALOG"},
         [](QDialog& d) { Click(d, 1027); },
         [&s] { return s.settings.record(2).valueText; }},
        {cmd::kVertical,
         cmd::kGraphic,
         0,
         {"GRAPHICDIALOG"},
         [](QDialog& d) { Type(d, 1312, "4"); },
         [&s] { return s.settings.graphic.frameWidth; }},
        {cmd::kVertical,
         cmd::kXAxis,
         0,
         {"XAXISDIALOG"},
         [](QDialog& d) { Click(d, 1046); },
         [&s] { return s.settings.record(0).reverseRange; }},
        {cmd::kVertical,
         3110,
         0,
         {"CHANGEMODEDIALOG", "YAXISDIALOGLINEWIDTH"},
         [](QDialog& d) { Type(d, 1026, "5"); },
         [&s] { return s.settings.record(1).lineWidth; }},
        {cmd::kVertical,
         3109,
         0,
         {"COLORMAPPINGDIALOG"},
         [](QDialog& d) {
           Answers chooser({{"COLORCHOOSER", [](QDialog& c) {
                               static_cast<QColorDialog&>(c).setCurrentColor(Qt::red);
                               Ok(c);
                             }}});
           Click(d, 1039);
         },
         [&s] { return s.settings.record(2).color.green; }},
        {cmd::kVertical,
         cmd::kSelectByParameters,
         0,
         {"SELECT"},
         [](QDialog& d) { Click(d, 1201); },
         [&s] { return s.settings.record(1).plotState; },
         true},
        {cmd::kPhase,
         0,
         1,
         {"PHASEMODEDIALOG"},
         [](QDialog& d) { Type(d, 1009, "6"); },
         [&s] { return s.settings.record(1).modeLineWidth; }},
    };
    for (const Case& c : cases) {
      p.frame->command(c.mode);
      // Some parameters only: global options ask for their scope first.
      s.settings.record(3).plotState = c.dialogs.size() > 1 ? 0 : 1;
      RecountPlotted(s.settings);
      ApplyAutomaticScales(s.data, s.settings, -1);
      plot->redraw();
      for (const bool ok : {false, true}) {
        p.settle();  // a window fitted to the graphic has its new size
        const double before = c.probe();
        const QImage shown = picture();
        const bool couldUndo = p.action(cmd::kUndo)->isEnabled();
        std::vector<std::pair<QString, Answers::Step>> steps;
        for (const QString& name : c.dialogs) {
          const bool last = name == c.dialogs.back();
          steps.emplace_back(name, [&c, ok, last](QDialog& d) {
            if (last) c.change(d);
            (ok || !last) ? Ok(d) : Cancel(d);
          });
        }
        Answers answers(steps);
        if (c.command != 0) {
          p.frame->command(c.command);
        } else {
          const QPoint at = spot(c.dialogs.back().toStdString(), c.record);
          QVERIFY2(at.x() >= 0, qPrintable(c.dialogs.back()));
          QTest::mouseClick(plot->canvas(), Qt::LeftButton, {}, at);
        }
        const QString what = c.dialogs.back() + (ok ? " OK" : " Cancel");
        QVERIFY2(answers.allAnswered(), qPrintable(what));
        QVERIFY2((c.probe() != before) == (ok || c.immediate), qPrintable(what));
        QVERIFY2((picture() != shown) == (ok || c.immediate), qPrintable(what));
        if (!ok && !c.immediate) QCOMPARE(p.action(cmd::kUndo)->isEnabled(), couldUndo);
        if (!ok && c.immediate) {
          p.frame->command(cmd::kUndo);
          QCOMPARE(c.probe(), before);
        }
      }
      QVERIFY(p.action(cmd::kUndo)->isEnabled());
    }
  }

  void copyPutsThePlotOnTheClipboardInThreeFormats() {
    Program p(TempFile("plain.tab", kNoDescription));
    p.plot();
    p.frame->command(cmd::kCopy);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime != nullptr);
    const QByteArray emf = mime->data("image/emf");
    QCOMPARE(mime->data("image/x-emf"), emf);
    // A whole metafile (its records are checked with the metafile surface): signature and size.
    QVERIFY(emf.size() > 108);
    const auto word = [&emf](qsizetype at) {
      std::uint32_t v = 0;
      std::memcpy(&v, emf.constData() + at, 4);
      return v;
    };
    QCOMPARE(emf.mid(40, 4), QByteArray(" EMF"));
    QCOMPARE(word(48), static_cast<std::uint32_t>(emf.size()));
#ifdef SONDRIX_HAVE_EMF2SVG
    // ... and it reads back with an independent reader, the plot's texts in it.
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("");
    options.svgDelimiter = true;
    QByteArray copy = emf;
    char* out = nullptr;
    std::size_t outLength = 0;
    QCOMPARE(
        emf2svg(copy.data(), static_cast<std::size_t>(copy.size()), &out, &outLength, &options), 1);
    const std::string svg(out, outLength);
    std::free(out);
    QVERIFY(svg.find("<text") != std::string::npos && svg.find("Temp") != std::string::npos);
#endif
    QVERIFY(QSvgRenderer(mime->data("image/svg+xml")).isValid());
    QVERIFY(!QImage::fromData(mime->data("image/png"), "PNG").isNull());
    QVERIFY(p.ui.messages.empty());
  }

  void printingIntoAPdfFileKeepsTheWindowsLayout() {
    Program p(TempFile("plain.tab", kNoDescription));
    MdiDataPlotChild* plot = p.plot();
    const ColumnRecord before = p.session->data.column(1);
    const GraphicSettings graphic = p.session->settings.graphic;
    const std::string pdf = TempFile("page.pdf", "");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    QVERIFY(plot->output().PrintPage(printer));
    const ColumnRecord& after = p.session->data.column(1);
    QCOMPARE(after.originX, before.originX);
    QCOMPARE(after.xScale, before.xScale);
    QCOMPARE(p.session->settings.graphic.graphicWidth, graphic.graphicWidth);
    QCOMPARE(ReadBytes(pdf).substr(0, 5), std::string("%PDF-"));
    QVERIFY(std::filesystem::file_size(pdf) > 1000);

    // The page set-up shows the fixed margins without letting them be edited.
    int margins = -1;
    Answers answers({{"PageSetupDialog", [&](QDialog& d) {
                        margins = 0;
                        for (auto* f : d.findChildren<QDoubleSpinBox*>()) {
                          if (f->objectName().endsWith("Margin"))
                            margins += f->isEnabled() ? 10 : 1;
                        }
                        d.reject();
                      }}});
    p.action(cmd::kPageSetup)->trigger();
    QCOMPARE(margins, 4);
  }

  void aBatchWithABadFileReportsItAndReturnsToThePreviousFile() {
    const std::string file = TempFile("plain.tab", kNoDescription);
    Program p(file);
    MdiDataPlotChild* plot = p.plot();
    p.frame->command(cmd::kSelectNone);
    const std::vector<std::string> files = {TempFile("b1.tab", kNoDescription),
                                            TempFile("b2.tab", "no numbers here\n"),
                                            TempFile("b3.tab", kWithDescription)};
    for (const std::string& f : files) std::filesystem::remove(f + ".emf");
    std::string summary;
    plot->output().batchActionChooser = [] { return 1; };
    plot->output().batchFileChooser = [&files] { return files; };
    plot->output().batchSummary = [&summary](const std::string& s) { summary = s; };
    p.frame->command(cmd::kBatch);
    QVERIFY(summary.starts_with("2 written, 1 skipped, 0 failed."));
    QVERIFY(summary.find(files[1] + ": ") != std::string::npos);
    QVERIFY(std::filesystem::exists(files[0] + ".emf"));
    QVERIFY(!std::filesystem::exists(files[1] + ".emf"));
    QCOMPARE(p.session->data.DataFilePath, file);
    QCOMPARE(p.session->settings.graphic.plottedCount, 0);  // its settings as they were
    // Undo still takes back what was done before the batch.
    p.frame->command(cmd::kUndo);
    QCOMPARE(p.session->settings.graphic.plottedCount, 2);
  }

  void anExportIntoAMissingFolderIsReportedAndLeavesNothing() {
    Program p(TempFile("plain.tab", kNoDescription));
    p.plot();
    const std::string target = TempFile("x", "") + "/missing/plot";
    p.answer = target;
    p.frame->command(cmd::kExport);
    QCOMPARE(p.dialogs.back().title, std::string("Select export file"));
    QCOMPARE(p.ui.messages.size(), size_t{1});
    QVERIFY(!std::filesystem::exists(target + ".emf"));
  }

  // With SONDRIX_DIALOG_PICTURES set to a folder, one picture of every dialog goes there
  // (scripts/screenshots.sh); without it there is nothing to do.
  void pictures() {
    const QString folder = qEnvironmentVariable("SONDRIX_DIALOG_PICTURES");
    if (folder.isEmpty()) QSKIP("SONDRIX_DIALOG_PICTURES not set");
    Program p(TempFile("abc.tab", kThreeParts));
    Session& s = *p.session;
    s.settings.record(1).modeSelected = 1;
    const std::pair<PlotMode, QString> kDialogs[] = {
        {kVertical,
         "GRAPHICDIALOG XAXISDIALOG PARAMETERAXISDIALOG PARAMETEROPTIONDIALOG CHANGEMODEDIALOG "
         "YAXISDIALOGMAXAXISLENGTH YAXISDIALOGRANGE YAXISDIALOGTICKS YAXISDIALOGADDNEXT "
         "YAXISDIALOGMARKER YAXISDIALOGOPTIONS YAXISDIALOGQUALITYFLAGS YAXISDIALOGLINEWIDTH "
         "YAXISDIALOGCOLUMNWIDTH YAXISDIALOGTEXTORIENTATION COLORMAPPINGDIALOG EPSILONDIALOG "
         "SELECT"},
        {kTernary, "TERNARYMODEGRAPHICDIALOG TERNARYMODEDIALOG YAXISDIALOGGMARKER"},
        {kPhase, "PHASEMODEDIALOG YAXISDIALOGPHASEMODERANGE"}};
    for (const auto& [mode, names] : kDialogs) {
      s.settings.graphic.plotMode = mode;
      for (const QString& resource : names.split(' ')) {
        Answers answers({{resource, [folder](QDialog& d) {
                            d.grab().save(folder + "/" + d.objectName().toLower() + ".png");
                            Cancel(d);
                          }}});
        OpenSettingsDialog(nullptr, s, {resource.toStdString(), 1, mode == kVertical ? 3060 : 0});
        QVERIFY2(answers.allAnswered(), qPrintable(resource));
      }
    }
  }
};

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  FrameScenarios scenarios;
  return QTest::qExec(&scenarios, argc, argv);
}

#include "frame_scenarios_test.moc"
