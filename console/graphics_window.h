// The graphics window: one child of the frame whose contents a paint
// callback of the program draws through a DrawingContext; the user can save
// the picture as a BMP file or print it.
#pragma once

#include <QMdiSubWindow>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

#include "console/drawing_context.h"
#include "console/frame.h"

class QPrinter;

namespace console {

using PaintCallback = std::function<void(DrawingContext&)>;
// Stops the program with one of the texts of a failing step and a code.
using FatalError = std::function<void(std::string_view text, int code)>;

// The graphics window's defaults.
constexpr int kGraphicsWidth = 600;
constexpr int kGraphicsHeight = 300;
constexpr QPoint kGraphicsPosition{15, 15};

// The drawing area: paints by the callback in the window's mapping mode.
class GraphicsView : public QWidget {
  Q_OBJECT

 public:
  GraphicsView(int mappingMode, PaintCallback paint);
  int mappingMode() const { return mappingMode_; }
  bool hasCallback() const { return static_cast<bool>(paint_); }
  // Draws the picture on any device (the window or a printer).
  void paintOn(QPainter& painter, int dpiX, int dpiY);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int mappingMode_;
  PaintCallback paint_;
};

class GraphicsWindow : public QMdiSubWindow, public CommandTarget {
  Q_OBJECT

 public:
  GraphicsWindow(const QString& title, int mappingMode, PaintCallback paint, FatalError fatal);

  GraphicsView* view() const { return view_; }
  void command(int id) override;
  bool saved() const { return saved_; }
  bool save();
  bool saveAs();
  // The picture to a BMP file of the screen's depth; a failing step is fatal.
  void savePicture(const std::string& path);
  // Prints the picture after the print dialog; false when nothing printed.
  bool print();
  bool printOn(QPrinter& printer);
  // The width and height of the last saved picture.
  QSize savedSize() const { return savedSize_; }
  // The Save dialog offers PNG too; a path ending in ".png" is saved as PNG.
  void offerPng(bool offer) { offerPng_ = offer; }
  // Without asking, closing never offers to save (a picture made anew).
  void setAskBeforeClose(bool ask) { askBeforeClose_ = ask; }

 signals:
  void savedChanged();
  // The user cancelled the close.
  void closeCancelled();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool mayClose();
  void markSaved(const std::string& path);

  GraphicsView* view_;
  FatalError fatal_;
  bool saved_ = false;
  std::string path_;  // the file the picture was saved to
  QSize savedSize_;
  bool offerPng_ = false;
  bool askBeforeClose_ = true;
};

// The title of a graphics window: "Graphics" for a blank one, else without
// trailing blanks, at most 80 characters.
QString graphicsTitle(std::string_view title);

}  // namespace console
