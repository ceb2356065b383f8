// The environment's message loops.
#include "console/event_loops.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace console {

void EventLoops::runUntil(const std::function<bool()>& done) {
  if (quitPosted_ || done()) return;
  QEventLoop loop;
  running_.push_back({&loop, &done});
  loop.exec();
  running_.pop_back();
}

void EventLoops::recheck() {
  for (const Running& r : running_)
    if ((*r.done)()) r.loop->exit();
}

void EventLoops::pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void EventLoops::postQuit(int code) {
  if (quitPosted_) return;
  quitPosted_ = true;
  quitCode_ = code;
  for (const Running& r : running_) r.loop->exit();
}

}  // namespace console
