// Test support: a started window environment per test, with a driver that
// plays the user, and the runtime's process-wide state reset around it.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>
#include <string>
#include <vector>

#include "console/console_widget.h"
#include "console/environment.h"
#include "fmtio/options.h"
#include "fmtio/unit.h"
#include "tests/console/window_driver.h"

namespace console {

// Forgets the runtime's units and options when made and when gone.
struct RuntimeReset {
  RuntimeReset() { reset(); }
  ~RuntimeReset() { reset(); }
  static void reset() {
    fmtio::resetUnitTable();
    fmtio::resetRuntimeOptions();
  }
};

// One started environment with a driver playing the user; it starts with
// nothing remembered from earlier runs unless told to keep it.
struct WindowRun {
  explicit WindowRun(const QString& title = "ringedit-test", bool keepSettings = false) {
    if (!keepSettings) QSettings().clear();
    EXPECT_EQ(environment.start(title), 0);
    io = environment.console(-1);
    EXPECT_NE(io, nullptr);
  }

  // Runs a program body in the environment; its exit code.
  int run(const std::function<void()>& body) {
    const int code = environment.run(body);
    EXPECT_TRUE(driver.done()) << "steps never taken: " << driver.pending();
    return code;
  }

  RuntimeReset reset;
  Environment environment;
  WindowDriver driver{environment};
  ConsoleWidget* io = nullptr;
};

inline std::vector<std::string> linesOf(const ConsoleWidget* console) {
  std::vector<std::string> lines;
  for (int k = 0; k < console->text().lineCount(); ++k) lines.emplace_back(console->text().line(k));
  return lines;
}

inline bool hasLine(const ConsoleWidget* console, const std::string& line) {
  for (const std::string& l : linesOf(console))
    if (l == line) return true;
  return false;
}

// Whether anything dark is painted in a cell of a picture of the window.
inline bool cellInked(const ConsoleWidget* console, const QImage& image, int line, int column) {
  const QPoint cell = console->cellPosition(line, column);
  for (int y = cell.y(); y < cell.y() + console->characterHeight(); ++y)
    for (int x = cell.x(); x < cell.x() + console->characterWidth(); ++x)
      if (image.pixelColor(x, y).lightness() < 128) return true;
  return false;
}

// A test with one started environment.
class WindowTest : public testing::Test {
 protected:
  int run(const std::function<void()>& body) { return window_.run(body); }

  WindowRun window_;
  Environment& environment_ = window_.environment;
  WindowDriver& driver_ = window_.driver;
  ConsoleWidget* io_ = window_.io;
};

}  // namespace console
