#pragma once
// The program's main window: an MDI frame titled "Sondrix" holding at most the plot window and
// the description window, its menus built from the shell's tables, every accelerator key, file
// drops and the recent files. It only shows and forwards: the decisions are FrameController's.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "shell/frame.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace sx {

class ChildSubWindow;

class MdiFrame : public QMainWindow, public FrameView {
  Q_OBJECT

 public:
  // session.ui shows the messages; the session outlives the frame.
  explicit MdiFrame(Session& session, QWidget* parent = nullptr);
  ~MdiFrame() override;

  FrameController& controller() { return controller_; }
  // Runs a command as its menu item or accelerator would: the frame's own, or the active
  // child's.
  void command(std::int32_t id);
  // The child window of a kind, or null.
  QWidget* child(ChildKind kind) const;
  QMdiArea* mdiArea() const { return mdi_; }

  // Replaceable for tests and scripts: the file dialogs and the editor start.
  std::function<std::optional<std::string>(FileDialogRequest&)> fileDialogRunner;
  std::function<std::string(const EditorLaunch&)> editorStarter;
  // The manual's window while it is open, else null.
  QWidget* manualWindow() const { return manual_; }

  // FrameView
  bool HasChild(ChildKind kind) const override;
  void CloseChild(ChildKind kind) override;
  void CreateChild(ChildKind kind, const Placement& placement, const std::string& title) override;
  void SetChildTitle(ChildKind kind, const std::string& title) override;
  std::optional<std::string> RunFileDialog(FileDialogRequest& request) override;
  Size FrameClientSize() const override;
  Size ScreenSize() const override;
  void MenusChanged() override;
  void RepaintChildren() override;
  std::string StartEditor(const EditorLaunch& launch) override;

  // Called by a child window while it closes.
  void childClosing(ChildKind kind, QMdiSubWindow* window);
  Placement framePlacement() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildMenus();
  void buildShortcuts();
  void updateRecentMenu();
  void showHelp();
  void cascade();
  void showAbout();
  void showSetMemory();
  QAction* action(std::int32_t id);

  Session& session_;
  FrameController controller_;
  QMdiArea* mdi_ = nullptr;
  std::map<std::int32_t, QAction*> actions_;  // one per command, shared by the menus
  std::map<std::pair<MenuKind, std::int32_t>, QMenu*> popups_;
  QMenu* recent_ = nullptr;
  QPointer<QMdiSubWindow> plot_, description_;
  QPointer<QWidget> manual_;
};

// Default file dialog: non-native, with the filter list of the request's kind.
std::optional<std::string> ShowFileDialog(QWidget* owner, FileDialogRequest& request);
// Default editor start: the desktop's application for the file, or the program detached with the
// file as its one argument. Empty when started, else why not.
std::string LaunchEditor(const EditorLaunch& launch);
// Where the manual is: installed beside the program, else in the source tree.
QString ManualPath();

}  // namespace sx
