// STOP, runtime termination and the exit sequence.
//
// STOP and runtime termination close every unit (writing out its buffers),
// run the final-loop hook and then unwind the program's own frames to the
// process entry by throwing StopRequest; runProgram() catches it, runs the
// exit handlers last-registered-first and returns the exit code. Tests run a
// program body through runProgram() to see its exit code in-process. Nothing
// may throw StopRequest through a frame of the window toolkit: code called
// back from there catches it and defers the stop.
#pragma once

#include <functional>
#include <string_view>

namespace fmtio {

struct StopRequest {
  int code;  // 0 for STOP, -1 for a runtime error
};

// Writes the stop text (and " STOP" under -printstop) to standard error,
// then ends the run with code 0.
[[noreturn]] void STOP(std::string_view text = {});
// Closes all units, runs the final loop and unwinds with the code; with -1
// instead of 0 when a unit could not be closed (its buffer not written).
[[noreturn]] void runtimeTerminate(int code);

// Registers a handler run at exit, the last registered first.
void registerExitHandler(std::function<void()> handler);

// Runs body; returns its exit code (0 when body returns or STOPs, -1 on a
// runtime error). The process entry maps -1 to the status 255. A write past
// the process's file size limit is a reported error ("File too large"), not
// the end of the process.
int runProgram(const std::function<void()>& body);

}  // namespace fmtio
