// Interrupted runs and work that must be whole.
//
// catchInterrupts() makes SIGINT, SIGTERM and SIGHUP end the process at once
// with the status 128 + the signal number, after one line on standard error:
// "ringedit: run interrupted (SIGINT)" followed by the note the program last
// set ("; the new file x.rwm holds 3 series"). The handler only writes that
// line and exits: what a file unit still buffers is not written, so the
// program writes through (FLUSH) whatever it has told the user is done.
//
// While an Uninterrupted is in force the three signals wait, the console is
// not pumped (no window command can stop the run) and the records written to
// the console wait in it; release() hands them back so that the program can
// show them after its own report of the work. Only one may be in force.
#pragma once

#include <csignal>
#include <string>
#include <string_view>

#include "fmtio/hooks.h"

namespace fmtio {

void catchInterrupts();
// Replaces the note of the interrupt line (cut to 255 bytes).
void setInterruptNote(std::string_view note);

class Uninterrupted {
 public:
  Uninterrupted();
  // When not released (a stop unwinding through it), the held console text
  // is dropped; the signals and the hooks are restored either way.
  ~Uninterrupted();
  Uninterrupted(const Uninterrupted&) = delete;
  Uninterrupted& operator=(const Uninterrupted&) = delete;

  // Ends the hold; returns the console text written meanwhile.
  std::string release();

 private:
  void restore();

  sigset_t saved_;
  ConsoleHooks hooks_;
  std::string held_;
  bool active_ = true;
};

// Shows console text held by an Uninterrupted, as it was written.
void showHeldText(std::string_view text);

}  // namespace fmtio
