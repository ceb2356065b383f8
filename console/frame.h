// The frame window: the main window whose multiple-document area holds the
// console and graphics windows, with the menu bar MainMenu and the
// accelerators MDIAccel. Every menu command goes through command(), which
// routes it: the frame's own commands, the program's menu items from 800
// upward, the system range, and everything else to the active child.
// Exit (and closing the frame) is carried out by the environment.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "console/timer_table.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace console {

class ConsoleWindow;
class GraphicsWindow;

// Menu commands by their identifiers in MainMenu.
enum class Command {
  Save = 500,
  SaveAs = 501,
  Print = 510,
  About = 520,
  Exit = 530,
  Undo = 600,
  Cut = 610,
  Copy = 611,
  Paste = 612,
  Delete = 613,
  Font = 650,
  Colour = 651,
  TileVertically = 700,
  TileHorizontally = 701,
  Cascade = 702,
  ArrangeIcons = 703,
  PlotSeries = 704
};

// The first identifier of the program's menu items and of the system range.
constexpr int kFirstProgramItem = 800;
constexpr int kFirstSystemCommand = 0xF000;

// Flags of the program's menu items, as the program passes them.
constexpr unsigned kMenuGrayed = 0x1;
constexpr unsigned kMenuDisabled = 0x2;
constexpr unsigned kMenuChecked = 0x8;
constexpr unsigned kMenuSeparator = 0x800;

// A child window of the frame that takes the commands routed to it.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  virtual void command(int id) = 0;
};

// Where the frame sent a command.
enum class Route { Frame, ProgramItem, System, Child, Nowhere };

class Frame : public QMainWindow {
  Q_OBJECT

 public:
  explicit Frame(const QString& title);
  ~Frame() override;

  QMdiArea* mdiArea() const { return mdiArea_; }
  // The console window commands go to, or nullptr.
  ConsoleWindow* currentConsole() const;
  QAction* action(Command command) const;
  // Exit: closes every window; true when all of them closed.
  void setExitCommand(std::function<bool()> exit) { exitCommand_ = std::move(exit); }
  // Plot series: opens or shows the plot of the series being edited.
  void setPlotCommand(std::function<void()> plot) { plotCommand_ = std::move(plot); }
  // Makes a console or graphics window a child of the frame.
  void addConsole(ConsoleWindow* window);
  void addGraphics(GraphicsWindow* window);

  // The program has ended: the title gains " — finished" and the status
  // line tells what can still be done.
  void markFinished();

  // A menu command; the identifier is the low 16 bits of parameter.
  Route command(int parameter);

  // Services for program code. Menu positions count from 1.
  bool appendMenuItem(int popup, unsigned flags, std::string_view text,
                      std::function<void(int)> callback);
  bool insertMenuItem(int popup, int item, unsigned flags, std::string_view text,
                      std::function<void(int)> callback);
  void checkMenuItem(int popup, int item, unsigned flags);
  void enableMenuItem(int popup, int item, unsigned flags);
  void deleteMenuItem(int popup, int item);
  // 1 when the timer runs, 0 when the table is full or the platform refuses.
  int setTimer(int id, int milliseconds, std::function<void()> callback);
  void killTimer(int id);
  const TimerTable& timers() const { return timers_; }
  int nextProgramItem() const { return nextItem_; }

 public slots:
  // Enables the commands that apply to the current window.
  void updateActions();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void createMenus();
  void createAccelerators();
  void listChildren();
  bool runFrameCommand(int id);
  void runProgramItem(int id);
  void routeToChild(int id);
  QMenu* popupAt(int popup) const;
  QAction* itemAt(int popup, int item) const;
  QAction* makeProgramItem(QMenu* menu, unsigned flags, std::string_view text,
                           std::function<void(int)> callback);
  void tile(Qt::Orientation orientation);
  void showCarets();
  void arrangeIcons();
  void about();

  QMdiArea* mdiArea_;
  std::map<int, QAction*> actions_;
  QMenu* windowMenu_ = nullptr;
  std::vector<QAction*> childItems_;                    // the Window menu's list of children
  std::vector<std::function<void(int)>> programItems_;  // by identifier - 800
  int nextItem_ = kFirstProgramItem;
  TimerTable timers_;
  std::map<int, int> platformTimers_;  // platform timer -> timer identifier
  std::function<bool()> exitCommand_;
  std::function<void()> plotCommand_;
};

}  // namespace console
