// The desktop program: `sondrix [FILE]`. A file named on the command line opens at once (any
// path; a relative one is taken from the current folder); without one, "Select data" shows.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <string>

#include "core/data_model.h"
#include "platform/qt_user_interface.h"
#include "shell/menus.h"
#include "shell/startup.h"
#include "ui/main_frame.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Sondrix");
  QApplication::setWindowIcon(QIcon(":/sondrix.svg"));
  const QStringList args = QApplication::arguments();
  if (args.size() > 2 || (args.size() == 2 && args[1].startsWith("--"))) {
    std::fputs("usage: sondrix [FILE]\n", stderr);
    return args[1] == "--help" ? 0 : 64;
  }

  sx::QtUserInterface ui;
  QSize screen(1024, 768);
  if (const QScreen* primary = QGuiApplication::primaryScreen())
    screen = primary->geometry().size();
  std::unique_ptr<sx::Session> session = sx::StartSession(ui, screen.width(), screen.height());
  if (!session) return 1;
  if (args.size() == 2) {
    // The name as the bytes it was given (Qt has taken its own options out of argv): a name that
    // is not valid UTF-8 would not survive the round trip through a QString.
    std::string path = argc >= 2 ? argv[argc - 1] : args[1].toStdString();
    while (path.size() > 2 && path.starts_with("./")) path.erase(0, 2);
    if (path.empty() || path.front() != '/') {
      path = QFile::encodeName(QDir::currentPath()).toStdString() + "/" + path;
    }
    sx::SetDataFilePath(session->data, path);
    session->startup.FileFromCommandLine = 1;
  }

  sx::MdiFrame frame(*session);
  ui.setOwner(&frame);
  frame.setWindowIcon(QApplication::windowIcon());
  frame.show();
  // The first command once the frame is on screen: the file, or the dialog to choose one.
  QTimer::singleShot(0, &frame, [&frame] { frame.command(sx::cmd::kOpen); });
  const int code = QApplication::exec();
  session->ui = nullptr;
  return code;
}
