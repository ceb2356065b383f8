// The console window registry: which console window belongs to which unit.
//
// Entry 1 (index 0) belongs to the "Input/Output" window and serves every
// negative unit number (the standard units). A unit is registered first; the
// window created next takes the entry registered last. Entries are not
// released when a window closes, only emptied; once all 100 have been used,
// a registration reuses the oldest emptied entry after the first.
#pragma once

#include <array>

namespace console {

constexpr int kRegistryEntries = 100;

template <class Window>
class WindowRegistry {
 public:
  void reset() { *this = WindowRegistry(); }

  // Registers unit in the next entry; false when every entry holds an open window.
  bool registerUnit(int unit) {
    int index = registered_ < kRegistryEntries ? registered_++ : reusableEntry();
    if (index < 0) return false;
    units_[index] = unit;
    windows_[index] = nullptr;
    lastRegistered_ = index;
    return true;
  }

  // The window being created takes the entry registered last; false when
  // 100 windows are open already or nothing was registered.
  bool attach(Window* window) {
    if (open_ >= kRegistryEntries || lastRegistered_ < 0 || windows_[lastRegistered_] != nullptr)
      return false;
    windows_[lastRegistered_] = window;
    ++open_;
    return true;
  }

  // A closed window empties its entry.
  void detach(const Window* window) {
    for (Window*& w : windows_)
      if (w != nullptr && w == window) {
        w = nullptr;
        --open_;
      }
  }

  // The window of a unit, or nullptr. A negative unit is served by the first
  // entry, which takes that number; otherwise the latest registration of the
  // unit decides.
  Window* find(int unit) {
    if (unit < 0) {
      units_[0] = unit;
      return registered_ > 0 ? windows_[0] : nullptr;
    }
    for (int k = registered_ - 1; k >= 0; --k)
      if (units_[k] == unit) return windows_[k];
    return nullptr;
  }

  bool holds(const Window* window) const {
    for (const Window* w : windows_)
      if (w != nullptr && w == window) return true;
    return false;
  }

  int registeredCount() const { return registered_; }
  int openCount() const { return open_; }
  int unitOfEntry(int index) const { return units_[index]; }

  // Set while Exit closes the windows; a window whose close is cancelled clears it.
  bool closing = false;

 private:
  int reusableEntry() const {
    for (int k = 1; k < kRegistryEntries; ++k)
      if (windows_[k] == nullptr) return k;
    return -1;
  }

  std::array<int, kRegistryEntries> units_{};
  std::array<Window*, kRegistryEntries> windows_{};
  int registered_ = 0;
  int open_ = 0;
  int lastRegistered_ = -1;
};

}  // namespace console
