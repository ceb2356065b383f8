// The drawing context a paint callback of the program receives: a small set
// of drawing calls in logical units over a QPainter, with the platform's
// mapping modes (1 text: pixels, y down; 2 to 6 metric and English units,
// y up; 7 isotropic and 8 anisotropic: units set by the window and
// viewport extents). Text is always drawn upright.
#pragma once

#include <QColor>
#include <QPoint>
#include <QTransform>
#include <span>
#include <string_view>

class QPainter;

namespace console {

// Mapping modes by the platform's numbers.
enum class MappingMode {
  Text = 1,
  LowMetric = 2,
  HighMetric = 3,
  LowEnglish = 4,
  HighEnglish = 5,
  Twips = 6,
  Isotropic = 7,
  Anisotropic = 8
};

// A mode outside 2..8 is the text mode.
MappingMode mappingModeOf(int mode);

class DrawingContext {
 public:
  // dpiX and dpiY: the device's pixels per inch.
  DrawingContext(QPainter& painter, int mappingMode, int dpiX, int dpiY);

  void setMappingMode(int mode);
  MappingMode mappingMode() const { return mode_; }
  // Extents and origins (the isotropic and anisotropic modes use extents).
  void setWindowExtent(int width, int height);
  void setViewportExtent(int width, int height);
  void setWindowOrigin(int x, int y);
  void setViewportOrigin(int x, int y);
  // The device point of a logical point.
  QPointF toDevice(QPointF logical) const;

  void setPen(QColor colour, int width = 0, Qt::PenStyle style = Qt::SolidLine);
  void setBrush(QColor colour);
  void setNullBrush();
  void setTextColour(QColor colour);
  void moveTo(int x, int y);
  void lineTo(int x, int y);
  void polyline(std::span<const QPoint> points);
  void rectangle(int left, int top, int right, int bottom);
  void ellipse(int left, int top, int right, int bottom);
  void setPixel(int x, int y, QColor colour);
  // Text with its top-left corner at the logical point.
  void textOut(int x, int y, std::string_view text);

  QPainter& painter() { return painter_; }

 private:
  void apply();

  QPainter& painter_;
  MappingMode mode_ = MappingMode::Text;
  int dpiX_;
  int dpiY_;
  QSizeF windowExtent_{1, 1};
  QSizeF viewportExtent_{1, 1};
  QPointF windowOrigin_;
  QPointF viewportOrigin_;
  QPoint current_;
  QColor textColour_ = Qt::black;
  QTransform transform_;
};

}  // namespace console
