// Test support for the window environment: a driver that plays the user.
// Its steps run one after another from a timer that fires inside every
// loop the program or a dialog runs; each step waits for its condition
// (a read waiting, a modal box shown, the final loop running) and then acts.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

namespace console {

class Environment;
class ConsoleWidget;

class WindowDriver : public QObject {
  Q_OBJECT

 public:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
    std::string what;
  };

  explicit WindowDriver(Environment& environment);
  ~WindowDriver() override;

  WindowDriver& then(Step step);
  // Conditions.
  Step whenReading(std::function<void()> act, std::string what = "read");
  Step whenModal(std::function<void(QWidget*)> act, std::string what = "modal box");
  Step whenFinished(std::function<void()> act, std::string what = "final loop");
  // Common steps.
  WindowDriver& type(const std::string& answer);
  WindowDriver& exitWhileReading();
  WindowDriver& exitWhenFinished();
  WindowDriver& press(QMessageBox::StandardButton button, QString* text = nullptr,
                      QString* caption = nullptr);
  WindowDriver& chooseFile(const std::string& path, QString* title = nullptr);
  WindowDriver& cancelFileDialog(QString* title = nullptr);

  bool done() const { return steps_.empty(); }
  // The steps left when the program ended.
  std::string pending() const;

 private:
  void tick();
  void giveUp();

  Environment& environment_;
  std::deque<Step> steps_;
  QTimer timer_;
  int idleTicks_ = 0;
  bool starting_ = false;  // a step's action is about to run
};

// Types an answer into a console window and presses Enter.
void typeLine(ConsoleWidget* console, const std::string& answer);

}  // namespace console
