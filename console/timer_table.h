// The table of timers the program set: 100 entries of (timer identifier,
// callback). Plain C++; the frame starts the platform's timers and passes
// their events here.
#pragma once

#include <array>
#include <functional>

namespace console {

constexpr int kTimerEntries = 100;

class TimerTable {
 public:
  // Takes the first free entry; false when all are in use.
  bool add(int id, std::function<void()> callback);
  bool full() const { return inUse_ == kTimerEntries; }
  // Frees the entries of a timer.
  void remove(int id);
  // Calls the callback of every entry with this identifier; how many ran.
  int fire(int id) const;
  int inUse() const { return inUse_; }

 private:
  struct Entry {
    int id = 0;
    std::function<void()> callback;  // empty: the entry is free
  };
  std::array<Entry, kTimerEntries> entries_;
  int inUse_ = 0;
};

}  // namespace console
