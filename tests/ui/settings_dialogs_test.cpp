// The settings dialogs on the offscreen platform: opened as the plot window opens them, driven
// through their controls by object name, closed with OK or Cancel.

#include <QApplication>

#include "settings/settings_model.h"
#include "shell/open_sequence.h"
#include "test_files.h"
#include "ui/dialog_answers.h"
#include "ui/settings_dialogs.h"

using namespace sx;

class SettingsDialogScenarios : public QObject {
  Q_OBJECT

  struct Loaded {
    TestFiles files;
    RecordingUserInterface ui;
    std::unique_ptr<Session> session;
    Loaded() {
      setenv("APPDATA", files.dir().c_str(), 1);
      session = CreateSession({}, ui);
      session->ui = &ui;
      SetDataFilePath(session->data,
                      files.Write("f.tab",
                                  "Depth [m]\tA [u]\tB [u]\tC [u]\n1\t1\t2\t3\n2\t2\t3\t"
                                  "4\n3\t5\t1\t2\n"));
      LoadDataFile(*session);
    }
    ParameterSettings& record(int i) { return session->settings.record(i); }
  };

 private slots:
  void globalOptionAsksTheScopeFirst() {
    Loaded f;
    for (int p = 1; p <= 3; ++p) f.record(p).plotState = p == 3 ? 0 : 1;
    RecountPlotted(f.session->settings);
    Answers answers({{"CHANGEMODEDIALOG",
                      [](QDialog& d) {
                        Click(d, 1800);  // all parameters
                        Ok(d);
                      }},
                     {"YAXISDIALOGCOLUMNWIDTH", [](QDialog& d) {
                        Type(d, 1026, "9");
                        Ok(d);
                      }}});
    QVERIFY(OpenSettingsDialog(nullptr, *f.session, {"YAXISDIALOGCOLUMNWIDTH", 0, 3111}));
    QVERIFY(answers.allAnswered());
    QCOMPARE(f.record(3).columnWidth, 9);  // unplotted, yet in scope
  }

  // With SONDRIX_DIALOG_PICTURES set to a folder, one picture of every dialog goes there
  // (scripts/screenshots.sh); without it there is nothing to do.
  void pictures() {
    const QString folder = qEnvironmentVariable("SONDRIX_DIALOG_PICTURES");
    if (folder.isEmpty()) QSKIP("SONDRIX_DIALOG_PICTURES not set");
    Loaded f;
    f.record(1).plotState = 1;
    f.record(1).modeSelected = 1;
    RecountPlotted(f.session->settings);
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
      f.session->settings.graphic.plotMode = mode;
      for (const QString& resource : names.split(' ')) {
        Answers answers({{resource, [folder](QDialog& d) {
                            d.grab().save(folder + "/" + d.objectName().toLower() + ".png");
                            Cancel(d);
                          }}});
        OpenSettingsDialog(nullptr, *f.session,
                           {resource.toStdString(), 1, mode == kVertical ? 3060 : 0});
        QVERIFY2(answers.allAnswered(), qPrintable(resource));
      }
    }
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  SettingsDialogScenarios scenarios;
  return QTest::qExec(&scenarios, argc, argv);
}

#include "settings_dialogs_test.moc"
