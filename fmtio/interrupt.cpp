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

// What the handler reads: a fixed buffer, changed only with the signals held.
struct InterruptState {
  char note[kNoteCapacity + 1] = {};
  std::size_t noteLength = 0;
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

extern "C" void onInterrupt(int number) {
  const char* name = "signal";
  for (const CaughtSignal& s : kCaughtSignals)
    if (s.number == number) name = s.name;
  say(kInterruptedText, sizeof kInterruptedText - 1);
  say(name, std::strlen(name));
  say(")", 1);
  const InterruptState& state = interruptState();
  say(state.note, state.noteLength);
  say("\n", 1);
  ::_exit(128 + number);
}

}  // namespace

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  action.sa_mask = caughtSet();
  for (const CaughtSignal& s : kCaughtSignals) ::sigaction(s.number, &action, nullptr);
}

void setInterruptNote(std::string_view note) {
  sigset_t set = caughtSet(), saved;
  ::sigprocmask(SIG_BLOCK, &set, &saved);
  InterruptState& state = interruptState();
  state.noteLength = std::min(note.size(), kNoteCapacity);
  std::memcpy(state.note, note.data(), state.noteLength);
  ::sigprocmask(SIG_SETMASK, &saved, nullptr);
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
