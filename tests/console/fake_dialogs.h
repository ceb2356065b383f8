// Test support: platform dialogs answered by the test. Each dialog takes
// the next queued answer and records what it was asked.
#pragma once

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "console/dialogs.h"

namespace console {

class FakeDialogs : public PlatformDialogs {
 public:
  struct Message {
    QString caption;
    QString text;
  };

  FakeDialogs() { setPlatformDialogs(this); }
  ~FakeDialogs() override { setPlatformDialogs(nullptr); }

  std::optional<QString> saveFile(const SaveFileRequest& request) override {
    saveRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    std::optional<QString> answer = files.front();
    files.pop_front();
    return answer;
  }

  // Without a queued button a box is answered Ok (or Cancel when it has none).
  QMessageBox::StandardButton message(QMessageBox::Icon, const QString& caption,
                                      const QString& text,
                                      QMessageBox::StandardButtons offered) override {
    messages.push_back({caption, text});
    if (buttons.empty()) return offered & QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = buttons.front();
    buttons.pop_front();
    return answer;
  }

  // Prints to pdfPath; pageHeightMm sets the paper height when positive.
  PrintChoice print(QPrinter& printer, bool pageRange) override {
    ++printDialogs;
    offeredPageRange = pageRange;
    if (printChoice != PrintChoice::Printer) return printChoice;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (pageHeightMm > 0)
      printer.setPageSize(QPageSize(QSizeF(210, pageHeightMm), QPageSize::Millimeter));
    if (fromPage > 0) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(fromPage, toPage);
    }
    return PrintChoice::Printer;
  }

  bool chooseFont(QFont& chosen) override {
    ++fontDialogs;
    if (!font) return false;
    chosen = *font;
    return true;
  }

  bool chooseColour(QColor& chosen) override {
    ++colourDialogs;
    if (!colour) return false;
    chosen = *colour;
    return true;
  }

  std::deque<std::optional<QString>> files;
  std::vector<SaveFileRequest> saveRequests;
  std::deque<QMessageBox::StandardButton> buttons;
  std::vector<Message> messages;
  PrintChoice printChoice = PrintChoice::Printer;
  QString pdfPath;
  double pageHeightMm = 0;
  int fromPage = 0;
  int toPage = 0;
  int printDialogs = 0;
  bool offeredPageRange = false;
  std::optional<QFont> font;
  std::optional<QColor> colour;
  int fontDialogs = 0;
  int colourDialogs = 0;
};

// The pages of a PDF file: its page objects.
inline int pdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  int pages = 0;
  for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0;
       at = bytes.indexOf("/Type /Page", at + 1))
    if (bytes.mid(at + 11, 1) != "s") ++pages;
  return pages;
}

// The text of a PDF file as pdftotext extracts it (empty when it cannot).
inline std::string pdfText(const QString& path) {
  std::string command = "pdftotext -layout '" + path.toStdString() + "' - 2>/dev/null";
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

}  // namespace console
