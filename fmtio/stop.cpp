// STOP, runtime termination and the exit sequence.
#include "fmtio/stop.h"

#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "fmtio/hooks.h"
#include "fmtio/options.h"
#include "fmtio/unit.h"

namespace fmtio {
namespace {

// State of the end of a run: the exit handlers and whether the final loop ran.
struct StopState {
  std::vector<std::function<void()>> exitHandlers;
  bool finalLoopRan = false;
};

StopState& stopState() {
  static StopState state;
  return state;
}

// The final loop runs at most once per run.
void runFinalLoop() {
  StopState& state = stopState();
  if (state.finalLoopRan) return;
  state.finalLoopRan = true;
  if (consoleHooks().finalLoop) consoleHooks().finalLoop();
}

// Last registered first; a handler may register further ones, which run too.
// A handler that stops does not end the sequence.
void runExitHandlers() {
  std::vector<std::function<void()>>& handlers = stopState().exitHandlers;
  while (!handlers.empty()) {
    std::function<void()> handler = std::move(handlers.back());
    handlers.pop_back();
    try {
      handler();
    } catch (const StopRequest&) {
    }
  }
}

}  // namespace

void STOP(std::string_view text) {
  std::string out;
  if (runtimeOptions().printStop) {
    out = " STOP";
    if (!text.empty()) out += ' ';
  }
  if (text.size() > 1 || (text.size() == 1 && text[0] != ' ')) out += text;
  if (!out.empty()) {
    out += '\n';
    consoleHooks().writeBlock(kStandardWindow, true, out);
  }
  runtimeTerminate(0);
}

// A unit that cannot be closed is reported by closeAllUnits; a run that
// would have ended well then ends with -1, as after any other reported error,
// so that a new file left incomplete is never reported as a success.
void runtimeTerminate(int code) {
  if (closeAllUnits() != kOk && code == 0) code = -1;
  runFinalLoop();
  throw StopRequest{code};
}

void registerExitHandler(std::function<void()> handler) {
  stopState().exitHandlers.push_back(std::move(handler));
}

int runProgram(const std::function<void()>& body) {
  // A write beyond the process's file size limit then fails with "File too
  // large", which is reported, instead of killing the process unannounced.
  std::signal(SIGXFSZ, SIG_IGN);
  stopState().finalLoopRan = false;
  int code = 0;
  try {
    body();
    STOP();
  } catch (const StopRequest& request) {
    code = request.code;
  }
  runExitHandlers();
  runFinalLoop();
  return code;
}

}  // namespace fmtio
