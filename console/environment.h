// The window environment: the frame, the console windows and their registry,
// the environment's message loops, and the console hooks through which the
// runtime reads and writes the console windows.
//
// The program runs straight from main() on the one thread; window events are
// handled inside its console reads, writes and pumps. Nothing the program
// does unwinds through a Qt frame: the Exit command only closes the windows
// and posts quit; the read, write and pump hooks see the quit when the events
// are handled and run STOP from the program's side.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "console/event_loops.h"
#include "console/graphics_window.h"
#include "console/window_registry.h"

namespace console {

class ConsoleWidget;
class ConsoleWindow;
class Frame;
class SeriesPlotter;

// The result of a start when the frame or the first console window could
// not be created.
constexpr int kStartFailed = 6;
// The reply capacity of a console read (the console streams' buffer).
constexpr int kReadCapacity = 256;
// Where and how big the first console window is created.
constexpr QRect kInputOutputGeometry{15, 15, 600, 300};

class Environment {
 public:
  Environment();
  ~Environment();
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

  // Installs the console hooks, creates the frame (titled frameTitle) and
  // the "Input/Output" window; 0, or kStartFailed.
  int start(const QString& frameTitle);
  // Runs the main routine; returns its exit code once the user has exited
  // (0 after STOP, -1 after a runtime error).
  int run(const std::function<void()>& mainRoutine);

  // Empties the window of a unit (0 or negative: the first window).
  void clearWindow(int unit);
  // Opens the graphics window (once per run): 0 width or height gives
  // 600 x 300, stored back; 1 when created, else 0.
  int openGraphics(int& width, int& height, std::string_view title, int mappingMode,
                   PaintCallback paint);
  GraphicsWindow* graphics() const { return graphics_; }
  // Stops the program after showing the "System Error" box.
  [[noreturn]] void fatalSystemError(std::string_view text, int code);
  // Ends every loop of the environment; a running program stops at its next
  // console call.
  void postQuit(int code) { loops_.postQuit(code); }

  Frame* frame() const { return frame_.get(); }
  // The plot of the series being edited (after start).
  SeriesPlotter* plotter() const { return plotter_.get(); }
  // The console window of a unit (negative: the first window), or nullptr.
  ConsoleWidget* console(int unit) { return registry_.find(unit); }
  const WindowRegistry<ConsoleWidget>& registry() const { return registry_; }
  bool quitPosted() const { return loops_.quitPosted(); }
  bool finalLoopRunning() const { return finalLoopRunning_; }

 private:
  void installHooks();
  bool readLine(int unit, std::string& line);
  void writeBlock(int unit, std::string_view bytes);
  void pump();
  void finalLoop();
  void showFinished();
  bool openWindow(int unit, std::string_view title, int width, int height);
  int askFileName(int unit, bool mustExist, std::string& name);

  ConsoleWindow* createConsole(const QString& title, const QRect& geometry, bool scrollBars);
  void windowClosing(ConsoleWindow* window);
  bool exitCommand();
  ConsoleWindow* windowToClose() const;
  void stopIfQuit();
  [[noreturn]] void stopNow(int quitCode);

  WindowRegistry<ConsoleWidget> registry_;
  EventLoops loops_;
  std::unique_ptr<Frame> frame_;
  std::unique_ptr<SeriesPlotter> plotter_;
  QPointer<GraphicsWindow> graphics_;
  bool graphicsOpened_ = false;
  bool stopping_ = false;
  bool finalLoopRunning_ = false;
};

}  // namespace console
