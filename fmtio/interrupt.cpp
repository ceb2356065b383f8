// Interrupted runs: the signal handler and the hold of whole work.
#include "fmtio/interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace fmtio {
namespace {

struct CaughtSignal {
  int number;
  const char* name;
};
// The signals that end a run with the interrupt line.
constexpr CaughtSignal kCaughtSignals[] = {
    {SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};

constexpr std::size_t kNoteCapacity = 255;
constexpr char kInterruptedText[] = "\nringedit: run interrupted (";

constexpr std::size_t kPathCapacity = 4096;
constexpr std::size_t kMaxChildren = 8;
constexpr char kRemovedText[] = "; the incomplete new file ";
constexpr char kRemovedEnd[] = " was removed";

// What the handler reads: fixed buffers, changed only with the signals held.
struct InterruptState {
  char note[kNoteCapacity + 1] = {};
  std::size_t noteLength = 0;
  char removal[kPathCapacity + 1] = {};  // a file to remove, NUL-terminated
  std::size_t removalLength = 0;
  bool quiet = false;
  pid_t children[kMaxChildren] = {};
  std::size_t childCount = 0;
};

InterruptState& interruptState() {
  static InterruptState state;
  return state;
}

sigset_t caughtSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const CaughtSignal& s : kCaughtSignals) sigaddset(&set, s.number);
  return set;
}

// Only write(2) and _exit(2): both are safe in a handler.
void say(const char* text, std::size_t length) {
  while (length > 0) {
    ssize_t n = ::write(STDERR_FILENO, text, length);
    if (n <= 0) return;
    text += n;
    length -= static_cast<std::size_t>(n);
  }
}

// Only kill(2), unlink(2), write(2) and _exit(2): all are safe in a handler.
extern "C" void onInterrupt(int number) {
  const InterruptState& state = interruptState();
  for (std::size_t k = 0; k < state.childCount; ++k) ::kill(state.children[k], number);
  const bool removed = state.removalLength > 0 && ::unlink(state.removal) == 0;
  if (!state.quiet) {
    const char* name = "signal";
    for (const CaughtSignal& s : kCaughtSignals)
      if (s.number == number) name = s.name;
    say(kInterruptedText, sizeof kInterruptedText - 1);
    say(name, std::strlen(name));
    say(")", 1);
    say(state.note, state.noteLength);
    if (removed) {
      say(kRemovedText, sizeof kRemovedText - 1);
      say(state.removal, state.removalLength);
      say(kRemovedEnd, sizeof kRemovedEnd - 1);
    }
    say("\n", 1);
  }
  ::_exit(128 + number);
}

// Runs change with the three signals held, so the handler never sees it half done.
template <class Change>
void held(Change change) {
  sigset_t set = caughtSet(), saved;
  ::sigprocmask(SIG_BLOCK, &set, &saved);
  change(interruptState());
  ::sigprocmask(SIG_SETMASK, &saved, nullptr);
}

}  // namespace

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  action.sa_mask = caughtSet();
  for (const CaughtSignal& s : kCaughtSignals) ::sigaction(s.number, &action, nullptr);
}

void setInterruptNote(std::string_view note) {
  held([note](InterruptState& state) {
    state.noteLength = std::min(note.size(), kNoteCapacity);
    std::memcpy(state.note, note.data(), state.noteLength);
  });
}

void setInterruptRemoval(std::string_view path) {
  held([path](InterruptState& state) {
    state.removalLength = path.size() <= kPathCapacity ? path.size() : 0;
    std::memcpy(state.removal, path.data(), state.removalLength);
    state.removal[state.removalLength] = '\0';
  });
}

void setInterruptQuiet(bool quiet) {
  held([quiet](InterruptState& state) { state.quiet = quiet; });
}

void setInterruptChildren(const std::vector<pid_t>& children) {
  held([&children](InterruptState& state) {
    state.childCount = std::min(children.size(), kMaxChildren);
    std::copy_n(children.begin(), state.childCount, state.children);
  });
}

Uninterrupted::Uninterrupted() {
  sigset_t set = caughtSet();
  ::sigprocmask(SIG_BLOCK, &set, &saved_);
  ConsoleHooks& hooks = consoleHooks();
  hooks_ = hooks;
  hooks.pump = [] {};
  hooks.writeBlock = [this](int window, bool toError, std::string_view bytes) {
    if (window == kStandardWindow && !toError)
      held_ += bytes;
    else
      hooks_.writeBlock(window, toError, bytes);
  };
}

Uninterrupted::~Uninterrupted() { restore(); }

void Uninterrupted::restore() {
  if (!active_) return;
  active_ = false;
  ConsoleHooks& hooks = consoleHooks();
  hooks.pump = std::move(hooks_.pump);
  hooks.writeBlock = std::move(hooks_.writeBlock);
  // A signal that came meanwhile is delivered here.
  ::sigprocmask(SIG_SETMASK, &saved_, nullptr);
}

std::string Uninterrupted::release() {
  restore();
  return std::move(held_);
}

void showHeldText(std::string_view text) {
  if (!text.empty()) consoleHooks().writeBlock(kStandardWindow, false, text);
}

}  // namespace fmtio
