// The frame window: the main window whose multiple-document area holds the
// console windows, with the menu bar. Commands act on the current console
// window; Exit (and closing the frame) is carried out by the environment.
#pragma once

#include <QMainWindow>
#include <functional>
#include <vector>

class QAction;
class QMdiArea;

namespace console {

class ConsoleWindow;

// Frame commands by their menu identifiers.
enum class Command { Save = 500, SaveAs = 501, Exit = 530 };

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
  // Makes a console window a child of the frame.
  void addConsole(ConsoleWindow* window);

 public slots:
  // Enables the commands that apply to the current window.
  void updateActions();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createActions();
  void run(Command command);

  QMdiArea* mdiArea_;
  std::vector<std::pair<Command, QAction*>> actions_;
  std::function<bool()> exitCommand_;
};

}  // namespace console
