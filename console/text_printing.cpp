// Printing the text of a console window: 100 logical units to the inch,
// as many lines to a page as fit, the chosen pages, every copy.
#include <QPainter>
#include <QPrinter>

#include "console/console_window.h"
#include "console/dialogs.h"
#include "console/messages.h"
#include "console/print_job.h"

namespace console {
namespace {

constexpr int kUnitsPerInch = 100;

QString text(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Anisotropic mapping: 100 logical units to the inch both ways. Text is
// drawn in device pixels at the mapped position, so that the font keeps its
// size on the printer.
struct Mapping {
  int dpiX;
  int dpiY;
  int toUnits(int pixels) const { return pixels * kUnitsPerInch / dpiY; }
  int toPixels(int units) const { return units * dpiY / kUnitsPerInch; }
};

}  // namespace

PrintReport ConsoleWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  switch (platformDialogs().print(printer, true)) {
    case PrintChoice::Cancelled: return {};
    case PrintChoice::NoDevice: warn(kNoPrinter); return {};
    case PrintChoice::Printer: break;
  }
  return printOn(printer);
}

PrintReport ConsoleWindow::printOn(QPrinter& printer) {
  PrintReport report;
  const ConsoleText& lines = console_->text();
  printer.setDocName(text(kTextDocument));
  PrintJob job(this);
  QPainter painter;
  if (!painter.begin(&printer)) return report;
  const Mapping mapping{printer.logicalDpiX(), printer.logicalDpiY()};
  QFont font = console_->textFont();
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
  painter.setFont(font);
  painter.setPen(console_->textColour());
  const QFontMetrics metrics = painter.fontMetrics();
  const int lineHeight = std::max(1, mapping.toUnits(metrics.height() + metrics.leading()));
  const int pageHeight = mapping.toUnits(printer.height());
  const bool ranged = printer.printRange() == QPrinter::PageRange;
  report.plan = planPrint(lines.lineCount(), linesPerPage(pageHeight, lineHeight),
                          {printer.fromPage(), printer.toPage(), ranged});
  const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
  bool going = true;
  for (int copy = 0; copy < copies && going; ++copy) {
    if (copy > 0 && !printer.newPage()) break;
    ++report.pagesPrinted;
    int onPage = 0;
    for (int k = report.plan.firstLine; k <= report.plan.lastLine; ++k) {
      if (!(going = job.keepGoing())) break;
      if (onPage == report.plan.linesPerPage) {
        if (!printer.newPage()) break;
        ++report.pagesPrinted;
        onPage = 0;
      }
      const std::string_view line = lines.line(k - 1);
      painter.drawText(0, mapping.toPixels(lineHeight * onPage) + metrics.ascent(),
                       QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
      ++onPage;
      ++report.linesPrinted;
    }
  }
  painter.end();
  return report;
}

}  // namespace console
