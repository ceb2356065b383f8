// The printing dialog and the abort procedure.
#include "console/print_job.h"

#include <QCoreApplication>

#include "console/resource_dialog.h"

namespace console {

PrintJob::PrintJob(QWidget* window)
    : window_(window), dialog_(buildDialog(resources::kPrintingDialog, nullptr)) {
  QObject::connect(dialog_.get(), &QDialog::finished, [this] { continue_ = false; });
  dialog_->setModal(false);
  dialog_->show();
  if (window_) window_->setEnabled(false);
}

PrintJob::~PrintJob() {
  dialog_->disconnect();
  dialog_.reset();
  if (window_) window_->setEnabled(true);
}

bool PrintJob::keepGoing() {
  QCoreApplication::processEvents();
  return continue_;
}

}  // namespace console
