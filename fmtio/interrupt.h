// Interrupted runs and work that must be whole.
//
// catchInterrupts() makes SIGINT, SIGTERM and SIGHUP end the process at once
// with the status 128 + the signal number, after one line on standard error:
// "ringedit: run interrupted (SIGINT)" followed by the note the program last
// set ("; the new file x.rwm holds 3 series"). The handler only passes the
// signal on to the worker processes named, removes the one file named as
// incomplete, writes that line and exits: what a file unit still buffers is
// not written, so the program writes through (FLUSH) whatever it has told
// the user is done.
//
// While an Uninterrupted is in force the three signals wait, the console is
// not pumped (no window command can stop the run) and the records written to
// the console wait in it; release() hands them back so that the program can
// show them after its own report of the work. Only one may be in force.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/hooks.h"

namespace fmtio {

void catchInterrupts();
// Replaces the note of the interrupt line (cut to 255 bytes).
void setInterruptNote(std::string_view note);
// A new file being written that a signal would leave incomplete: the handler
// removes it and says so. Empty: none.
void setInterruptRemoval(std::string_view path);
// A worker process says nothing when a signal ends it: its parent does.
void setInterruptQuiet(bool quiet);
// Processes the handler passes the signal on to before it ends (at most 8).
void setInterruptChildren(const std::vector<pid_t>& children);

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
