#include "ui/main_frame.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <span>

#include "core/messages.h"
#include "shell/file_dialogs.h"
#include "ui/child_windows.h"
#include "ui/dialogs.h"

namespace sx {

// A child's frame inside the MDI area: its closing tells the frame where it stood.
class ChildSubWindow : public QMdiSubWindow {
 public:
  ChildSubWindow(MdiFrame& frame, ChildKind kind) : frame_(frame), kind_(kind) {
    setAttribute(Qt::WA_DeleteOnClose);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    frame_.childClosing(kind_, this);
    QMdiSubWindow::closeEvent(event);
  }

 private:
  MdiFrame& frame_;
  ChildKind kind_;
};

namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Placement ToPlacement(const QRect& r) {
  return {r.x(), r.y(), r.width(), r.height()};
}

// Whether a key is one of the frame's accelerators.
bool IsAcceleratorKey(const QKeySequence& key) {
  const std::span<const Accelerator> table = AcceleratorTable();
  return std::any_of(table.begin(), table.end(),
                     [&key](const Accelerator& a) { return QKeySequence(Q(a.keys)) == key; });
}

// "All Files (*.*)" is meant to show every file; on this system many have no dot.
QString PatternFor(std::string_view pattern) {
  if (pattern == "*.*") return "*";
  return Q(pattern);
}

// Qt's dialog reads a typed name that holds a double quote as a list of quoted names: a file
// with one in its name could not be opened at all (not even by a click in the list, which types
// its name), and a save went to the name between the quotes, another file. A name with a double
// quote is therefore taken as it is: an existing file when opening, any file (with the default
// extension, and the question before replacing one) when saving.
class LiteralFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  void accept() override {
    const QString file = typedFile();
    if (file.isEmpty()) {
      QFileDialog::accept();
      return;
    }
    if (acceptMode() == QFileDialog::AcceptSave && QFileInfo::exists(file) &&
        QMessageBox::warning(
            this, windowTitle(),
            QFileInfo(file).fileName() + " already exists.\nDo you want to replace it?",
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
      return;
    }
    literal = file;
    QDialog::accept();
  }
  QString literal;  // the file taken as typed, or empty

 protected:
  void showEvent(QShowEvent* event) override {
    QFileDialog::showEvent(event);
    auto* name = findChild<QLineEdit*>("fileNameEdit");
    auto* buttons = findChild<QDialogButtonBox*>("buttonBox");
    if (name == nullptr || buttons == nullptr || connected_) return;
    connected_ = true;
    // After the dialog's own check of the name, which greys Open.
    connect(name, &QLineEdit::textChanged, this, [this, buttons] {
      if (typedFile().isEmpty()) return;
      for (QAbstractButton* b : buttons->buttons()) {
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) b->setEnabled(true);
      }
    });
  }

 private:
  // The file named by a typed name with a double quote in it; empty for any other name, a
  // folder, or a file to open that does not exist.
  QString typedFile() const {
    const auto* name = findChild<QLineEdit*>("fileNameEdit");
    if (name == nullptr || !name->text().contains('"')) return {};
    const QFileInfo typed(directory(), name->text());
    if (acceptMode() == QFileDialog::AcceptOpen) {
      return fileMode() == QFileDialog::ExistingFile && typed.isFile() ? typed.absoluteFilePath()
                                                                       : QString();
    }
    if (typed.isDir()) return {};
    QString path = typed.absoluteFilePath();
    if (!defaultSuffix().isEmpty() && !typed.fileName().contains('.')) {
      path += '.' + defaultSuffix();
    }
    return path;
  }
  bool connected_ = false;
};

}  // namespace

std::optional<std::string> ShowFileDialog(QWidget* owner, FileDialogRequest& request) {
  LiteralFileDialog dialog(owner, Q(request.title));
  dialog.setObjectName("FileDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The list shows each entry's own text; the pattern in brackets is what filters.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  QStringList filters;
  for (const FileFilter& f : FileFilterList(request.filterKind)) {
    filters << Q(f.text) + " (" + PatternFor(f.pattern) + ")";
  }
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 0 && request.filterIndex < filters.size()) {
    dialog.selectNameFilter(filters[request.filterIndex]);
  }
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(DefaultExtension(request.filterKind)));
    // A name typed without an extension gets that of the list entry chosen.
    const std::span<const FileFilter> list = FileFilterList(request.filterKind);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, list, filters](const QString& chosen) {
                       const qsizetype i = filters.indexOf(chosen);
                       if (i < 0 || static_cast<std::size_t>(i) >= list.size()) return;
                       const std::string_view pattern = list[static_cast<std::size_t>(i)].pattern;
                       if (pattern.starts_with("*.") && pattern != "*.*") {
                         dialog.setDefaultSuffix(Q(pattern.substr(2)));
                       }
                     });
  } else {
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!request.proposed.empty()) {
    const QFileInfo proposed(Q(request.proposed));
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
  } else if (!request.directory.empty()) {
    dialog.setDirectory(Q(request.directory));
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (dialog.literal.isEmpty() && dialog.selectedFiles().isEmpty()) return std::nullopt;
  request.filterIndex = static_cast<std::int32_t>(filters.indexOf(dialog.selectedNameFilter()));
  return (dialog.literal.isEmpty() ? dialog.selectedFiles().front() : dialog.literal).toStdString();
}

std::string LaunchEditor(const EditorLaunch& launch) {
  if (launch.desktopDefault) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(Q(launch.file)))) return {};
    return "no application opens this file";
  }
  // Started directly with the file as its one argument: nothing in either is interpreted.
  if (QProcess::startDetached(Q(launch.program), {Q(launch.file)})) return {};
  return "the program could not be started";
}

QString ManualPath() {
  const QString installed =
      QCoreApplication::applicationDirPath() + "/../share/doc/sondrix/manual.md";
  if (QFileInfo::exists(installed)) return QFileInfo(installed).canonicalFilePath();
#ifdef SONDRIX_SOURCE_DIR
  const QString source = QStringLiteral(SONDRIX_SOURCE_DIR "/docs/manual.md");
  if (QFileInfo::exists(source)) return source;
#endif
  return installed;
}

MdiFrame::MdiFrame(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), controller_(session, *this) {
  setObjectName("MdiFrame");
  setWindowTitle("Sondrix");
  setAcceptDrops(true);
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName("MdiClient");
  setCentralWidget(mdi_);
  fileDialogRunner = [this](FileDialogRequest& request) { return ShowFileDialog(this, request); };
  editorStarter = LaunchEditor;
  buildMenus();
  buildShortcuts();
  qApp->installEventFilter(this);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    // The plot window that loses activation takes its next click only as activation.
    if (window != plot_ && plot_) static_cast<MdiDataPlotChild*>(plot_->widget())->deactivated();
    if (window == nullptr) {
      controller_.ChildActivated(std::nullopt);
    } else {
      controller_.ChildActivated(window == plot_ ? ChildKind::kPlot : ChildKind::kDescription);
    }
  });
  const Placement& p = session.startup.placements.FramePlacement;
  if (p.width > 0 && p.height > 0) setGeometry(p.x, p.y, p.width, p.height);
  MenusChanged();
}

MdiFrame::~MdiFrame() {
  // Children go before the controller they call.
  disconnect(mdi_, nullptr, this, nullptr);
  delete plot_;
  delete description_;
}

QAction* MdiFrame::action(std::int32_t id) {
  QAction*& a = actions_[id];
  if (a == nullptr) {
    a = new QAction(this);
    a->setObjectName(QString("action%1").arg(id));
    if (id >= cmd::kHorizontal && id <= cmd::kPhase) a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, id] { command(id); });
  }
  return a;
}

void MdiFrame::buildMenus() {
  recent_ = new QMenu("Recent files", this);
  recent_->setObjectName("menuRecentFiles");
  for (MenuKind kind : kAllMenus) {
    std::function<void(QMenu*, std::span<const MenuItem>)> fill =
        [&](QMenu* menu, std::span<const MenuItem> items) {
          for (const MenuItem& item : items) {
            switch (item.type) {
              case MenuItem::Type::kSeparator:
                menu->addSeparator();
                break;
              case MenuItem::Type::kCommand:
                menu->addAction(action(item.id));
                if (item.id == cmd::kOpen) menu->addMenu(recent_);
                break;
              case MenuItem::Type::kPopup: {
                QMenu* popup = new QMenu(Q(item.text), this);
                popup->setObjectName(Q(MenuName(kind)) + "_" + Q(item.name));
                popups_[{kind, item.id}] = popup;
                fill(popup, item.items);
                menu->addMenu(popup);
                break;
              }
            }
          }
        };
    for (const MenuItem& popup : MenuBar(kind)) {
      QMenu* menu = new QMenu(Q(popup.text), this);
      menu->setObjectName(Q(MenuName(kind)) + "_" + Q(popup.name));
      popups_[{kind, popup.id}] = menu;
      fill(menu, popup.items);
    }
  }
  updateRecentMenu();
}

void MdiFrame::buildShortcuts() {
  for (const Accelerator& a : AcceleratorTable()) {
    auto* shortcut = new QShortcut(QKeySequence(Q(a.keys)), this);
    shortcut->setObjectName("shortcut" + Q(a.keys));
    const std::int32_t id = a.id;
    connect(shortcut, &QShortcut::activated, this, [this, id] {
      if (controller_.AcceleratorFires(id)) command(id);
    });
  }
}

void MdiFrame::updateRecentMenu() {
  recent_->clear();
  for (const std::string& path : controller_.recentFiles().paths()) {
    QAction* a = recent_->addAction(Q(path));
    connect(a, &QAction::triggered, this, [this, path] { controller_.OpenNamedFile(path, true); });
  }
  recent_->setEnabled(!recent_->isEmpty());
}

void MdiFrame::MenusChanged() {
  const MenuKind kind = controller_.currentMenu();
  QMenuBar* bar = menuBar();
  bar->setObjectName(Q(MenuName(kind)));
  bar->clear();
  const MenuState& menus = controller_.menus();
  for (const MenuItem& popup : MenuBar(kind)) bar->addMenu(popups_.at({kind, popup.id}));
  for (auto& [key, menu] : popups_) {
    if (key.first != kind) continue;
    if (const ItemState* state = menus.find(kind, key.second)) {
      menu->menuAction()->setEnabled(state->enabled);
      menu->menuAction()->setText(Q(state->text));
    }
  }
  for (auto& [id, a] : actions_) {
    const ItemState* state = menus.find(kind, id);
    if (state == nullptr) continue;
    a->setEnabled(state->enabled);
    a->setChecked(state->checked);
    a->setText(Q(state->text));
  }
  updateRecentMenu();
}

void MdiFrame::command(std::int32_t id) {
  switch (id) {
    case cmd::kOpen:
      controller_.Open();
      return;
    case cmd::kReload:
      controller_.Reload();
      return;
    case cmd::kExit:
      close();
      return;
    case cmd::kClose:
      if (QMdiSubWindow* active = mdi_->currentSubWindow()) active->close();
      return;
    case cmd::kSetMemory: {
      const Size screen = ScreenSize();
      RunSetMemoryDialog(this, session_, screen.width, screen.height);
      return;
    }
    case cmd::kInfo:
      session_.ui->ShowMessage(MessageIcon::kInformation, FormatDataInfo(session_.data));
      return;
    case cmd::kVersion:
      session_.ui->ShowMessage(MessageIcon::kInformation, FormatVersionInfo());
      return;
    case cmd::kHelp:
      showHelp();
      return;
    case cmd::kAbout:
      RunAboutBox(this);
      return;
    case cmd::kTile:
      mdi_->tileSubWindows();
      return;
    case cmd::kCascade:
      cascade();
      return;
    case cmd::kArrangeIcons:
      // Minimised children line up along the bottom by themselves here.
      return;
    case cmd::kCloseAll:
      controller_.CloseAll();
      return;
    case cmd::kOpenPlotWindow:
      controller_.OpenPlotWindow();
      return;
    case cmd::kOpenDescriptionWindow:
      controller_.OpenDescriptionWindow();
      return;
    default:
      break;
  }
  QMdiSubWindow* active = mdi_->currentSubWindow();
  if (active == nullptr) return;
  if (active == plot_) {
    static_cast<MdiDataPlotChild*>(active->widget())->command(id);
  } else if (active == description_) {
    static_cast<MdiDataDescriptionChild*>(active->widget())->command(id);
  }
}

void MdiFrame::showHelp() {
  const QString manual = ManualPath();
  session_.ui->ShowMessage(MessageIcon::kExclamation,
                           FormatNotice("Please, read the fine manual\n%s", manual.toStdString()));
  // Shown by the program itself: a desktop without a viewer for Markdown would show nothing.
  if (!QFileInfo(manual).isFile()) {
    ShowFileMessage(*session_.ui, kFileCouldNotOpen, manual.toStdString());
    return;
  }
  if (manual_) manual_->close();
  manual_ = OpenManualWindow(this, manual);
  // Without a window manager nothing would give the keyboard back to the frame.
  connect(manual_, &QObject::destroyed, this, [this] {
    if (QApplication::activeWindow() == nullptr && isVisible()) activateWindow();
  });
}

void MdiFrame::cascade() {
  // Qt's own cascade gives each window its size hint, which leaves the plot a few pixels high.
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : mdi_->subWindowList(QMdiArea::StackingOrder)) {
    if (!window->isVisible() || window->isMinimized()) continue;
    if (window->isMaximized()) window->showNormal();
    windows.append(window);
  }
  if (windows.isEmpty()) return;
  // One title bar down and right per window, so that each title stays readable.
  const std::int32_t step = windows.front()->widget()->geometry().top();
  const std::vector<Placement> placements =
      CascadePlacements(static_cast<std::int32_t>(windows.size()), FrameClientSize(), step);
  for (qsizetype i = 0; i < windows.size(); ++i) {
    const Placement& p = placements[static_cast<std::size_t>(i)];
    windows[i]->setGeometry(p.x, p.y, p.width, p.height);
  }
}

QWidget* MdiFrame::child(ChildKind kind) const {
  const QPointer<QMdiSubWindow>& window = kind == ChildKind::kPlot ? plot_ : description_;
  return window ? window->widget() : nullptr;
}

bool MdiFrame::HasChild(ChildKind kind) const {
  return !(kind == ChildKind::kPlot ? plot_ : description_).isNull();
}

void MdiFrame::CloseChild(ChildKind kind) {
  QPointer<QMdiSubWindow> window = kind == ChildKind::kPlot ? plot_ : description_;
  if (!window) return;
  if (window->isMinimized()) window->showNormal();
  window->close();
}

void MdiFrame::childClosing(ChildKind kind, QMdiSubWindow* window) {
  QRect r = window->isMinimized() || window->isMaximized() ? window->normalGeometry()
                                                           : window->geometry();
  if (!r.isValid()) r = window->geometry();
  controller_.ChildClosing(kind, ToPlacement(r), framePlacement());
  (kind == ChildKind::kPlot ? plot_ : description_) = nullptr;
}

Placement MdiFrame::framePlacement() const {
  return ToPlacement(isMaximized() || isMinimized() ? normalGeometry() : geometry());
}

void MdiFrame::CreateChild(ChildKind kind, const Placement& placement, const std::string& title) {
  auto* window = new ChildSubWindow(*this, kind);
  QWidget* widget;
  if (kind == ChildKind::kPlot) {
    widget = new MdiDataPlotChild(controller_);
    window->setObjectName("DataPlotWindow");
    plot_ = window;
  } else {
    widget = new MdiDataDescriptionChild(controller_);
    window->setObjectName("DataDescriptionWindow");
    description_ = window;
  }
  window->setWidget(widget);
  window->setWindowTitle(Q(title));
  window->setWindowIcon(windowIcon());
  // The window's own menu closes it with the platform's Close keys, Ctrl+W among them; a key
  // with two owners does nothing at all, so the accelerators keep their keys to themselves.
  for (QAction* a : window->systemMenu()->actions()) {
    QList<QKeySequence> keys = a->shortcuts();
    keys.removeIf(IsAcceleratorKey);
    a->setShortcuts(keys);
  }
  mdi_->addSubWindow(window);
  window->setGeometry(placement.x, placement.y, std::max(placement.width, 50),
                      std::max(placement.height, 50));
  window->show();
  mdi_->setActiveSubWindow(window);
}

void MdiFrame::SetChildTitle(ChildKind kind, const std::string& title) {
  QPointer<QMdiSubWindow> window = kind == ChildKind::kPlot ? plot_ : description_;
  if (window) window->setWindowTitle(Q(title));
}

std::optional<std::string> MdiFrame::RunFileDialog(FileDialogRequest& request) {
  return fileDialogRunner ? fileDialogRunner(request) : std::nullopt;
}

Size MdiFrame::FrameClientSize() const {
  const QSize s = mdi_->viewport()->size();
  return {s.width(), s.height()};
}

Size MdiFrame::ScreenSize() const {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return {1024, 768};
  return {screen->geometry().width(), screen->geometry().height()};
}

void MdiFrame::RepaintChildren() {
  if (auto* d = static_cast<MdiDataDescriptionChild*>(child(ChildKind::kDescription))) {
    d->updateMetrics();
    d->viewport()->update();
  }
  if (auto* p = static_cast<MdiDataPlotChild*>(child(ChildKind::kPlot))) p->redraw();
}

std::string MdiFrame::StartEditor(const EditorLaunch& launch) {
  return editorStarter ? editorStarter(launch) : std::string("no editor");
}

void MdiFrame::closeEvent(QCloseEvent* event) {
  if (controller_.MayCloseFrame()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool MdiFrame::eventFilter(QObject* watched, QEvent* event) {
  // When a modal dialog or message box closes, the keyboard goes back to the window below it.
  // A window manager does that by itself; without one (a kiosk, a test display) nothing would
  // have the keyboard, and the next key would go nowhere.
  if (event->type() == QEvent::Hide && watched != this) {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->isWindow() && widget->windowModality() != Qt::NonModal) {
      QTimer::singleShot(0, this, [this] {
        if (QApplication::activeWindow() != nullptr || !isVisible()) return;
        QWidget* next = QApplication::activeModalWidget();
        (next != nullptr ? next : this)->activateWindow();
      });
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MdiFrame::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void MdiFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  const std::string path = urls.front().toLocalFile().toStdString();
  // The drop's event ends before the open, which may show messages.
  QMetaObject::invokeMethod(
      this, [this, path] { controller_.OpenNamedFile(path); }, Qt::QueuedConnection);
}

}  // namespace sx
