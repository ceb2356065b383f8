// The frame's services for program code (menu items and timers), the
// arranging of its children and the About box.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimerEvent>

#include "console/frame.h"
#include "console/resource_dialog.h"
#include "console/system_info.h"
#include "resources/resource_tables.h"

namespace console {
namespace {

QString text(std::string_view s) {
  return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

// Where minimised children line up, and how big each one is.
constexpr int kIconWidth = 160;

}  // namespace

QMenu* Frame::popupAt(int popup) const {
  const QList<QAction*> popups = menuBar()->actions();
  if (popup < 1 || popup > popups.size()) return nullptr;
  return popups[popup - 1]->menu();
}

QAction* Frame::itemAt(int popup, int item) const {
  QMenu* menu = popupAt(popup);
  if (menu == nullptr || item < 1 || item > menu->actions().size()) return nullptr;
  return menu->actions()[item - 1];
}

// A program item takes the next free identifier and sends it when chosen.
QAction* Frame::makeProgramItem(QMenu* menu, unsigned flags, std::string_view itemText,
                                std::function<void(int)> callback) {
  const int id = nextItem_++;
  programItems_.push_back(std::move(callback));
  auto* item = new QAction(text(itemText), menu);
  item->setSeparator((flags & kMenuSeparator) != 0);
  item->setCheckable(true);
  item->setChecked((flags & kMenuChecked) != 0);
  item->setEnabled((flags & (kMenuGrayed | kMenuDisabled)) == 0);
  item->setData(id);
  connect(item, &QAction::triggered, this, [this, id] { command(id); });
  return item;
}

bool Frame::appendMenuItem(int popup, unsigned flags, std::string_view itemText,
                           std::function<void(int)> callback) {
  QMenu* menu = popupAt(popup);
  if (menu == nullptr) return false;
  menu->addAction(makeProgramItem(menu, flags, itemText, std::move(callback)));
  return true;
}

// Item 0 inserts a new empty popup at popup position - 1 of the bar;
// otherwise the new item goes before the item at item position - 1 (from 0).
bool Frame::insertMenuItem(int popup, int item, unsigned flags, std::string_view itemText,
                           std::function<void(int)> callback) {
  if (item == 0) {
    const QList<QAction*> popups = menuBar()->actions();
    const int at = popup - 1;
    auto* menu = new QMenu(text(itemText), menuBar());
    menuBar()->insertMenu(at >= 0 && at < popups.size() ? popups[at] : nullptr, menu);
    return true;
  }
  QMenu* menu = popupAt(popup);
  if (menu == nullptr) return false;
  const QList<QAction*> items = menu->actions();
  const int at = item - 1;
  QAction* before = at >= 0 && at < items.size() ? items[at] : nullptr;
  menu->insertAction(before, makeProgramItem(menu, flags, itemText, std::move(callback)));
  return true;
}

void Frame::checkMenuItem(int popup, int item, unsigned flags) {
  if (QAction* action = itemAt(popup, item)) {
    action->setCheckable(true);
    action->setChecked((flags & kMenuChecked) != 0);
  }
}

void Frame::enableMenuItem(int popup, int item, unsigned flags) {
  if (QAction* action = itemAt(popup, item))
    action->setEnabled((flags & (kMenuGrayed | kMenuDisabled)) == 0);
}

void Frame::deleteMenuItem(int popup, int item) {
  QMenu* menu = popupAt(popup);
  if (QAction* action = itemAt(popup, item)) {
    menu->removeAction(action);
    if (action->parent() == menu) delete action;
  }
}

// The callback learns whether its item carries a check mark.
void Frame::runProgramItem(int id) {
  const std::function<void(int)> callback = programItems_[id - kFirstProgramItem];
  if (!callback) return;
  int checked = 0;
  for (QAction* popup : menuBar()->actions())
    if (popup->menu() != nullptr)
      for (QAction* item : popup->menu()->actions())
        if (item->data().toInt() == id) checked = item->isChecked() ? 1 : 0;
  callback(checked);
}

int Frame::setTimer(int id, int milliseconds, std::function<void()> callback) {
  if (timers_.full()) return 0;
  const int platformTimer = startTimer(milliseconds);
  if (platformTimer == 0) return 0;
  timers_.add(id, std::move(callback));
  platformTimers_[platformTimer] = id;
  return 1;
}

void Frame::killTimer(int id) {
  for (auto it = platformTimers_.begin(); it != platformTimers_.end();) {
    if (it->second == id) {
      QObject::killTimer(it->first);
      it = platformTimers_.erase(it);
    } else {
      ++it;
    }
  }
  timers_.remove(id);
}

void Frame::timerEvent(QTimerEvent* event) {
  const auto found = platformTimers_.find(event->timerId());
  if (found == platformTimers_.end()) return QMainWindow::timerEvent(event);
  timers_.fire(found->second);
}

// The children that are not minimised share the area: side by side
// (Qt::Horizontal, tile vertically) or one above the other.
void Frame::tile(Qt::Orientation orientation) {
  QList<QMdiSubWindow*> shown;
  for (QMdiSubWindow* child : mdiArea_->subWindowList())
    if (!child->isMinimized() && child->isVisible()) shown.append(child);
  if (shown.isEmpty()) return;
  const QSize area = mdiArea_->viewport()->size();
  const int n = static_cast<int>(shown.size());
  for (int k = 0; k < n; ++k) {
    if (shown[k]->isMaximized()) shown[k]->showNormal();
    if (orientation == Qt::Horizontal)
      shown[k]->setGeometry(area.width() * k / n, 0, area.width() / n, area.height());
    else
      shown[k]->setGeometry(0, area.height() * k / n, area.width(), area.height() / n);
  }
}

// Minimised children line up along the bottom of the area.
void Frame::arrangeIcons() {
  const QSize area = mdiArea_->viewport()->size();
  int x = 0;
  for (QMdiSubWindow* child : mdiArea_->subWindowList())
    if (child->isMinimized()) {
      child->move(x, area.height() - child->height());
      x += kIconWidth;
    }
}

void Frame::about() {
  std::unique_ptr<QDialog> dialog = buildDialog(resources::kAboutDialog, this);
  const SystemInfo info = systemInfo();
  setField(*dialog, resources::kPageSizeField, QString::number(info.pageSize));
  setField(*dialog, resources::kMinimumAddressField, text(hexAddress(info.minimumAddress)));
  setField(*dialog, resources::kMaximumAddressField, text(hexAddress(info.maximumAddress)));
  setField(*dialog, resources::kProcessorTypeField, text(info.processorType));
  setField(*dialog, resources::kProcessorCountField, QString::number(info.processorCount));
  dialog->exec();
}

}  // namespace console
