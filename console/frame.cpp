// The frame window, its menus and accelerators, and the routing of commands.
#include "console/frame.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "console/console_window.h"
#include "console/graphics_window.h"
#include "resources/resource_tables.h"

// The icons live in the library's compiled resources, which a static
// library must load by name.
static void loadIcons() { Q_INIT_RESOURCE(ringedit); }

namespace console {
namespace {

// What the frame shows once the program has ended.
constexpr std::string_view kFinishedTitle = " \u2014 finished";
constexpr std::string_view kFinishedStatus =
    "The session has ended: the dialogue can still be read, saved and printed. "
    "Exit closes the program.";

QString text(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The key sequence of an accelerator: a control character is typed with
// Ctrl and its letter.
QKeySequence keyOf(const resources::AccelResource& accel) {
  const int modifier = accel.shift ? static_cast<int>(Qt::SHIFT) : 0;
  if (accel.kind == resources::AccelKind::Character)
    return QKeySequence(static_cast<int>(Qt::CTRL) | modifier | (Qt::Key_A + accel.code - 1));
  const int key = accel.code == resources::kVirtualF5 ? Qt::Key_F5 : 0;
  return QKeySequence(modifier | key);
}

}  // namespace

Frame::Frame(const QString& title) : mdiArea_(new QMdiArea) {
  loadIcons();
  setWindowTitle(title);
  setWindowIcon(QIcon(text(resources::kFrameIcon)));
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  createMenus();
  createAccelerators();
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &Frame::updateActions);
  // Text copied in any program can be pasted.
  if (QClipboard* clipboard = QGuiApplication::clipboard())
    connect(clipboard, &QClipboard::dataChanged, this, &Frame::updateActions);
  updateActions();
}

// The children go before the frame's slots may no longer be called.
Frame::~Frame() {
  mdiArea_->disconnect(this);
  for (QMdiSubWindow* child : mdiArea_->subWindowList())
    if (auto* window = qobject_cast<ConsoleWindow*>(child)) window->console()->disconnect(this);
}

// MainMenu, built from its resource table; every item sends its identifier.
// The Window popup lists the children each time it opens.
void Frame::createMenus() {
  for (const resources::PopupResource& popup : resources::kMainMenu) {
    QMenu* menu = menuBar()->addMenu(text(popup.title));
    if (windowMenu_ == nullptr &&
        menuBar()->actions().size() == resources::kWindowMenuPosition + 1) {
      windowMenu_ = menu;
      connect(menu, &QMenu::aboutToShow, this, &Frame::listChildren);
    }
    for (const resources::MenuItemResource& item : popup.items) {
      if (item.id == resources::kSeparator) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(text(item.text));
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { command(id); });
      actions_[id] = action;
    }
  }
}

// The end of the Window menu: a separator and "&1 title", "&2 title" ... for
// the children in the order they were made, the current one checked. Each
// sends its identifier, the first child's being 100. Made anew on every
// opening, so that the list never names a window that is gone.
void Frame::listChildren() {
  for (QAction* item : childItems_) {
    windowMenu_->removeAction(item);
    delete item;
  }
  childItems_.clear();
  const QList<QMdiSubWindow*> children = mdiArea_->subWindowList();
  if (children.isEmpty()) return;
  childItems_.push_back(windowMenu_->addSeparator());
  for (int i = 0; i < children.size(); ++i) {
    QString title = children[i]->windowTitle();
    title.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction* item = windowMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
    item->setCheckable(true);
    item->setChecked(children[i] == mdiArea_->currentSubWindow());
    const int id = resources::kFirstChildId + i;
    connect(item, &QAction::triggered, this, [this, id] { command(id); });
    childItems_.push_back(item);
  }
}

// MDIAccel: each accelerator triggers the menu item of its command.
void Frame::createAccelerators() {
  for (const resources::AccelResource& accel : resources::kMdiAccel)
    if (QAction* item = actions_[accel.command]) {
      item->setShortcut(keyOf(accel));
      item->setShortcutContext(Qt::WindowShortcut);
    }
}

QAction* Frame::action(Command command) const {
  const auto found = actions_.find(static_cast<int>(command));
  return found == actions_.end() ? nullptr : found->second;
}

Route Frame::command(int parameter) {
  const int id = parameter & 0xFFFF;
  Route route = Route::Child;
  if (runFrameCommand(id)) {
    route = Route::Frame;
  } else if (id >= kFirstProgramItem && id < nextItem_) {
    runProgramItem(id);
    route = Route::ProgramItem;
  } else if (id >= kFirstSystemCommand) {
    route = Route::System;
  } else if (mdiArea_->currentSubWindow() != nullptr) {
    routeToChild(id);
  } else {
    route = Route::Nowhere;
  }
  updateActions();
  return route;
}

// The frame's own commands; false for any other identifier.
bool Frame::runFrameCommand(int id) {
  switch (static_cast<Command>(id)) {
    case Command::About: about(); return true;
    case Command::Exit:
      if (exitCommand_) exitCommand_();
      return true;
    case Command::TileVertically: tile(Qt::Horizontal); break;
    case Command::TileHorizontally: tile(Qt::Vertical); break;
    case Command::Cascade: mdiArea_->cascadeSubWindows(); break;
    case Command::ArrangeIcons: arrangeIcons(); return true;
    case Command::PlotSeries:
      if (plotCommand_) plotCommand_();
      return true;
    default: return false;
  }
  showCarets();
  return true;
}

// After the children were arranged, each console shows its caret's line.
void Frame::showCarets() {
  for (QMdiSubWindow* child : mdiArea_->subWindowList())
    if (auto* window = qobject_cast<ConsoleWindow*>(child)) window->console()->showCaret();
}

// Below 500 an identifier names a child of the Window menu to activate;
// the others are the child's commands.
void Frame::routeToChild(int id) {
  QMdiSubWindow* child = mdiArea_->currentSubWindow();
  if (id < static_cast<int>(Command::Save)) {
    const QList<QMdiSubWindow*> children = mdiArea_->subWindowList();
    const int index = id - resources::kFirstChildId;
    if (index < 0 || index >= children.size()) return;
    // A minimised child is shown again.
    if (children[index]->isMinimized()) children[index]->showNormal();
    mdiArea_->setActiveSubWindow(children[index]);
    return;
  }
  if (auto* target = dynamic_cast<CommandTarget*>(child)) target->command(id);
}

void Frame::markFinished() {
  setWindowTitle(windowTitle() + QString::fromUtf8(kFinishedTitle.data(),
                                                   static_cast<qsizetype>(kFinishedTitle.size())));
  statusBar()->showMessage(text(kFinishedStatus));
}

// Commands go to the current child even while the frame is not active.
ConsoleWindow* Frame::currentConsole() const {
  return qobject_cast<ConsoleWindow*>(mdiArea_->currentSubWindow());
}

void Frame::addConsole(ConsoleWindow* window) {
  window->setWindowIcon(QIcon(text(resources::kChildIcon)));
  mdiArea_->addSubWindow(window);
  connect(window->console(), &ConsoleWidget::modificationChanged, this, &Frame::updateActions);
  connect(window->console(), &ConsoleWidget::selectionChanged, this, &Frame::updateActions);
  connect(window->console(), &ConsoleWidget::undoChanged, this, &Frame::updateActions);
  connect(window, &ConsoleWindow::copied, this, &Frame::updateActions);
}

void Frame::addGraphics(GraphicsWindow* window) {
  window->setWindowIcon(QIcon(text(resources::kChildIcon)));
  mdiArea_->addSubWindow(window);
  connect(window, &GraphicsWindow::savedChanged, this, &Frame::updateActions);
}

// Save: a modified console window or a graphics window not saved yet; Copy:
// a selection; Cut and Delete: a selection on one line; Paste: text on the clipboard; Undo: an
// edit of the answer to take back.
void Frame::updateActions() {
  const ConsoleWindow* console = currentConsole();
  const auto* graphics = qobject_cast<GraphicsWindow*>(mdiArea_->currentSubWindow());
  const bool modified = console != nullptr && console->console()->text().modified();
  action(Command::Save)->setEnabled(modified || (graphics != nullptr && !graphics->saved()));
  const bool child = console != nullptr || graphics != nullptr;
  action(Command::SaveAs)->setEnabled(child);
  action(Command::Print)->setEnabled(child);
  const bool selected = console != nullptr && console->console()->text().hasSelection();
  action(Command::Copy)->setEnabled(selected);
  // A stretch over several lines can be copied, not cut or deleted.
  const bool oneLine = selected && console->console()->text().selectionOnOneLine();
  for (Command c : {Command::Cut, Command::Delete}) action(c)->setEnabled(oneLine);
  action(Command::Paste)->setEnabled(console != nullptr && clipboardHasText());
  action(Command::Undo)->setEnabled(console != nullptr && console->console()->text().canUndo());
}

// Closing the frame is the Exit command; the frame goes only when every
// window closed.
void Frame::closeEvent(QCloseEvent* event) {
  if (exitCommand_ && !exitCommand_())
    event->ignore();
  else
    event->accept();
}

}  // namespace console
