// The graphics window: painting, Save, Save As, Print and the close prompt.
#include "console/graphics_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <cerrno>

#include "console/bmp_capture.h"
#include "console/dialogs.h"
#include "console/messages.h"
#include "console/print_job.h"

namespace console {
namespace {

// Texts of the failing steps of a save.
constexpr std::string_view kCaptureFailed = "GetObject fail";
constexpr std::string_view kAllocFailed = "GlobalAlloc";

QString latin1(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

QString graphicsTitle(std::string_view title) {
  const std::size_t end = title.find_last_not_of(' ');
  if (end == std::string_view::npos) return latin1(kGraphicsTitle);
  return QString::fromLocal8Bit(title.data(),
                                static_cast<qsizetype>(std::min(end + 1, kGraphicsTitleLimit)));
}

GraphicsView::GraphicsView(int mappingMode, PaintCallback paint)
    : mappingMode_(static_cast<int>(mappingModeOf(mappingMode))), paint_(std::move(paint)) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
}

void GraphicsView::paintOn(QPainter& painter, int dpiX, int dpiY) {
  if (!paint_) return;
  DrawingContext context(painter, mappingMode_, dpiX, dpiY);
  paint_(context);
}

void GraphicsView::paintEvent(QPaintEvent* /*event*/) {
  if (!paint_) return;
  QPainter painter(this);
  paintOn(painter, logicalDpiX(), logicalDpiY());
}

GraphicsWindow::GraphicsWindow(const QString& title, int mappingMode, PaintCallback paint,
                               FatalError fatal)
    : view_(new GraphicsView(mappingMode, std::move(paint))), fatal_(std::move(fatal)) {
  setWidget(view_);
  setWindowTitle(title);
}

void GraphicsWindow::command(int id) {
  switch (static_cast<Command>(id)) {
    case Command::Save: save(); break;
    case Command::SaveAs: saveAs(); break;
    case Command::Print: print(); break;
    case Command::Font:
    case Command::Colour: QApplication::beep(); break;
    default: break;
  }
}

// Once saved, Save writes again to the file it was saved to.
bool GraphicsWindow::save() {
  if (!saved_) {
    const std::optional<std::string> path = askBitmapSavePath(windowTitle(), offerPng_);
    if (!path) return false;
    markSaved(*path);
    savePicture(*path);
  } else {
    savePicture(path_);
  }
  emit savedChanged();
  return true;
}

bool GraphicsWindow::saveAs() {
  const std::optional<std::string> path = askBitmapSavePath(windowTitle(), offerPng_);
  if (path) {
    markSaved(*path);
    savePicture(*path);
  }
  emit savedChanged();
  return path.has_value();
}

void GraphicsWindow::markSaved(const std::string& path) {
  saved_ = true;
  path_ = path;
  setWindowTitle(QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName());
}

// The visible part of the drawing area at the screen's depth.
void GraphicsWindow::savePicture(const std::string& path) {
  view_->repaint();
  const QImage image = view_->grab(view_->visibleRegion().boundingRect()).toImage();
  if (image.isNull()) return fatal_(kCaptureFailed, 0);
  if (offerPng_ &&
      QString::fromUtf8(path.c_str()).endsWith(latin1(kPngExtension), Qt::CaseInsensitive)) {
    savedSize_ = image.size();
    if (!image.save(QString::fromUtf8(path.c_str()), "PNG")) fatal_(kCreateFileStep, errno);
    return;
  }
  const QScreen* screen = view_->screen();
  const int depth = screen != nullptr ? screen->depth() : 32;
  const BmpPicture picture = captureImage(image, depth);
  if (picture.pixels.size() < pixelBufferSize(picture)) return fatal_(kAllocFailed, 0);
  savedSize_ = QSize(picture.width, picture.height);
  const std::string_view failed = writeBmpFile(path, picture);
  if (!failed.empty()) fatal_(failed, errno);
}

bool GraphicsWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  switch (platformDialogs().print(printer, false)) {
    case PrintChoice::Cancelled: return false;
    case PrintChoice::NoDevice: warn(kNoPrinter); return false;
    case PrintChoice::Printer: break;
  }
  return printOn(printer);
}

bool GraphicsWindow::printOn(QPrinter& printer) {
  printer.setDocName(latin1(kGraphicDocument));
  PrintJob job(this);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  view_->paintOn(painter, printer.logicalDpiX(), printer.logicalDpiY());
  painter.end();
  return true;
}

// Saved once: closes without asking. Yes asks for a file and saves to it.
bool GraphicsWindow::mayClose() {
  if (saved_ || !askBeforeClose_) return true;
  switch (askSaveChanges(windowTitle())) {
    case QMessageBox::No: return true;
    case QMessageBox::Yes: break;
    default: return false;
  }
  if (const std::optional<std::string> path = askBitmapSavePath(windowTitle(), offerPng_))
    savePicture(*path);
  return true;
}

void GraphicsWindow::closeEvent(QCloseEvent* event) {
  if (!mayClose()) {
    event->ignore();
    emit closeCancelled();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

}  // namespace console
