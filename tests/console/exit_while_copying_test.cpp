// Exit chosen while "T" copies series in the window: the run stops at the
// next console call, and every series the window has shown COPIED is in the
// new file, whole.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/session.h"
#include "console/frame.h"
#include "fmtio/hooks.h"
#include "tests/console/window_fixture.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

namespace fs = std::filesystem;

constexpr int kSeries = 300;
constexpr int kValues = 10;

// Compact series of ten values each, S0000, S0001, ...
std::string compactFile() {
  std::string text;
  char line[128];
  for (int k = 0; k < kSeries; ++k) {
    std::snprintf(line, sizeof line, "%8d=N%8d=I %-47s%3d%-8s~\n", kValues, 1800 + k,
                  ("S" + std::to_string(1000 + k)).c_str(), -2, "(10F6.0)");
    text += line;
    for (int i = 0; i < kValues; ++i) {
      std::snprintf(line, sizeof line, "%6d", 100 + k + i);
      text += line;
    }
    text += "\n";
  }
  return text;
}

int countOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

int shownCopied(const ConsoleWidget* io) {
  int n = 0;
  for (const std::string& line : linesOf(io)) n += countOf(line, ", COPIED");
  return n;
}

TEST(ExitWhileCopying, EverySeriesShownCopiedIsInTheNewFile) {
  for (int shownBefore : {1, 5, 25}) {
    WindowRun window;
    testing_support::TempDir dir;
    dir.write("old.dat", compactFile());
    const fs::path home = fs::current_path();
    fs::current_path(dir.path());
    for (const char* answer : {"old.dat", "new.dat", "", "N", "T"}) window.driver.type(answer);
    ConsoleWidget* io = window.io;
    Environment& environment = window.environment;
    // Exit is chosen just after the window has shown the chosen series'
    // COPIED line: the run stops at its next statement.
    fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
    int seen = 0;
    hooks.writeBlock = [&, write = hooks.writeBlock](int unit, bool toError,
                                                     std::string_view bytes) {
      write(unit, toError, bytes);
      if (bytes.find(", COPIED") != std::string_view::npos && ++seen == shownBefore)
        environment.frame()->action(Command::Exit)->trigger();
    };
    window.driver.press(QMessageBox::No);
    EXPECT_EQ(window.run(app::editSession), 0);
    fs::current_path(home);

    const std::string written = dir.read("new.dat");
    const int inFile = countOf(written, "=N");
    const int shown = shownCopied(io);
    EXPECT_EQ(shown, shownBefore);
    EXPECT_EQ(inFile, shown) << "every series shown COPIED, and no other";
    EXPECT_EQ(countOf(written, "\n"), 2 * inFile) << "a series is not whole";
  }
}

}  // namespace
}  // namespace console
