// The environment's own message loops and its quit flag.
//
// The program's main routine runs straight from main(), never inside
// QApplication::exec(), so QCoreApplication::quit() cannot end its loops.
// Instead every loop the environment runs (a console read, the final loop)
// is kept on a stack with the condition that ends it; posting quit ends
// every running loop and makes any later loop return at once.
#pragma once

#include <functional>
#include <vector>

class QEventLoop;

namespace console {

class EventLoops {
 public:
  // Handles events until done() holds when checked (see recheck) or quit
  // is posted; returns at once when either is already the case.
  void runUntil(const std::function<bool()>& done);
  // Ends each running loop whose condition now holds.
  void recheck();
  // Handles every waiting event and returns.
  static void pump();

  void postQuit(int code);
  bool quitPosted() const { return quitPosted_; }
  int quitCode() const { return quitCode_; }

 private:
  struct Running {
    QEventLoop* loop;
    const std::function<bool()>* done;
  };
  std::vector<Running> running_;
  bool quitPosted_ = false;
  int quitCode_ = 0;
};

}  // namespace console
