// Line editing of the answers, with the system's editline library.
#include "app/line_editing.h"

#include <editline/readline.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "fmtio/hooks.h"
#include "fmtio/stop.h"

namespace app {
namespace {

// The text after the last line end of what was written: the open question
// the next answer is typed behind. It is shown by the editor as its prompt.
struct OpenLine {
  std::string text;
};

OpenLine& openLine() {
  static OpenLine line;
  return line;
}

void writeOut(std::FILE* stream, std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

}  // namespace

void useLineEditing() {
  if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) return;
  fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
  hooks.writeBlock = [](int, bool toError, std::string_view bytes) {
    std::string& open = openLine().text;
    if (toError) {
      writeOut(stdout, std::exchange(open, {}));
      return writeOut(stderr, bytes);
    }
    std::size_t end = bytes.find_last_of('\n');
    if (end == std::string_view::npos) {
      open.append(bytes);
      return;
    }
    std::string shown = std::move(open);
    shown.append(bytes.substr(0, end + 1));
    open.assign(bytes.substr(end + 1));
    writeOut(stdout, shown);
  };
  hooks.readLine = [](int, std::string& line) {
    std::string prompt = std::move(openLine().text);
    openLine().text.clear();
    char* typed = readline(prompt.c_str());
    if (typed == nullptr) {
      writeOut(stdout, "\n");
      return false;
    }
    line = typed;
    if (!line.empty()) add_history(typed);
    std::free(typed);
    line += '\n';
    return true;
  };
  // A question still open when the run ends is shown all the same.
  fmtio::registerExitHandler([] { writeOut(stdout, std::exchange(openLine().text, {})); });
}

}  // namespace app
