// The printing dialog (200) while a print runs: shown modeless, with the
// window that prints disabled; its Cancel button ends the print at the next
// check of the abort procedure.
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

namespace console {

class PrintJob {
 public:
  explicit PrintJob(QWidget* window);
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // The abort procedure: handles every waiting event; false once Cancel
  // was pressed.
  bool keepGoing();
  QDialog* dialog() const { return dialog_.get(); }

 private:
  QPointer<QWidget> window_;
  std::unique_ptr<QDialog> dialog_;
  bool continue_ = true;
};

}  // namespace console
