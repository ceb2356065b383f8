// The platform's dialogs: Qt's file, print, font and colour dialogs and
// message boxes, used unless other dialogs were installed.
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "console/dialogs.h"

namespace console {
namespace {

// The page range the print dialog offers.
constexpr int kFirstPage = 1;
constexpr int kLastPage = 32767;

class QtDialogs : public PlatformDialogs {
 public:
  std::optional<QString> saveFile(const SaveFileRequest& request) override {
    QFileDialog dialog(nullptr, request.caption, request.proposedPath, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
  }

  QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& caption,
                                      const QString& text,
                                      QMessageBox::StandardButtons buttons) override {
    QMessageBox box(icon, caption, text, buttons);
    return static_cast<QMessageBox::StandardButton>(box.exec());
  }

  PrintChoice print(QPrinter& printer, bool pageRange) override {
    printer.setCollateCopies(true);
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageRange);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    if (pageRange) {
      dialog.setMinMax(kFirstPage, kLastPage);
      printer.setFromTo(kFirstPage, kFirstPage);
    }
    if (dialog.exec() != QDialog::Accepted) return PrintChoice::Cancelled;
    return printer.isValid() ? PrintChoice::Printer : PrintChoice::NoDevice;
  }

  bool chooseFont(QFont& font) override {
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, font, nullptr, QString(), QFontDialog::MonospacedFonts);
    if (ok) font = chosen;
    return ok;
  }

  bool chooseColour(QColor& colour) override {
    const QColor chosen = QColorDialog::getColor(colour);
    if (!chosen.isValid()) return false;
    colour = chosen;
    return true;
  }
};

PlatformDialogs* installed = nullptr;

}  // namespace

PlatformDialogs& platformDialogs() {
  static QtDialogs platform;
  return installed != nullptr ? *installed : platform;
}

void setPlatformDialogs(PlatformDialogs* dialogs) { installed = dialogs; }

}  // namespace console
