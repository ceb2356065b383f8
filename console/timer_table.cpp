// The program's timer table.
#include "console/timer_table.h"

namespace console {

bool TimerTable::add(int id, std::function<void()> callback) {
  if (!callback) callback = [] {};
  for (Entry& entry : entries_)
    if (!entry.callback) {
      entry = {id, std::move(callback)};
      ++inUse_;
      return true;
    }
  return false;
}

void TimerTable::remove(int id) {
  for (Entry& entry : entries_)
    if (entry.callback && entry.id == id) {
      entry = Entry();
      --inUse_;
    }
}

// A callback may set or kill timers: it runs on a copy.
int TimerTable::fire(int id) const {
  int ran = 0;
  for (const Entry& entry : entries_)
    if (entry.callback && entry.id == id) {
      const std::function<void()> callback = entry.callback;
      callback();
      ++ran;
    }
  return ran;
}

}  // namespace console
