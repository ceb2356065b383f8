// The frame window, its menus and the routing of its commands.
#include "console/frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "console/console_window.h"

namespace console {
namespace {

// Menu items of the frame: command and text; a separator goes before the
// items that ask for one.
struct MenuItem {
  Command command;
  const char* text;
  bool separatorBefore;
};
constexpr MenuItem kFileMenu[] = {{Command::Save, "&Save", false},
                                  {Command::SaveAs, "Save As...", false},
                                  {Command::Exit, "E&xit", true}};
constexpr const char* kFileMenuTitle = "&File";

}  // namespace

Frame::Frame(const QString& title) : mdiArea_(new QMdiArea) {
  setWindowTitle(title);
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  createActions();
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &Frame::updateActions);
  updateActions();
}

// The children go before the frame's slots may no longer be called.
Frame::~Frame() {
  mdiArea_->disconnect(this);
  for (QMdiSubWindow* child : mdiArea_->subWindowList())
    if (auto* window = qobject_cast<ConsoleWindow*>(child)) window->console()->disconnect(this);
}

// Every action of the frame is built here, from the menu tables.
void Frame::createActions() {
  QMenu* file = menuBar()->addMenu(tr(kFileMenuTitle));
  for (const MenuItem& item : kFileMenu) {
    if (item.separatorBefore) file->addSeparator();
    QAction* action = file->addAction(tr(item.text));
    const Command command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
    actions_.emplace_back(command, action);
  }
}

QAction* Frame::action(Command command) const {
  for (const auto& [c, action] : actions_)
    if (c == command) return action;
  return nullptr;
}

void Frame::run(Command command) {
  ConsoleWindow* window = currentConsole();
  switch (command) {
    case Command::Save:
      if (window != nullptr) window->save();
      break;
    case Command::SaveAs:
      if (window != nullptr) window->saveAs();
      break;
    case Command::Exit:
      if (exitCommand_) exitCommand_();
      break;
  }
  updateActions();
}

// Commands go to the current child even while the frame is not active.
ConsoleWindow* Frame::currentConsole() const {
  return qobject_cast<ConsoleWindow*>(mdiArea_->currentSubWindow());
}

void Frame::addConsole(ConsoleWindow* window) {
  mdiArea_->addSubWindow(window);
  connect(window->console(), &ConsoleWidget::modificationChanged, this, &Frame::updateActions);
}

void Frame::updateActions() {
  const ConsoleWindow* window = currentConsole();
  action(Command::Save)->setEnabled(window != nullptr && window->console()->text().modified());
  action(Command::SaveAs)->setEnabled(window != nullptr);
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
