// Drawing in logical units with the mapping modes.
#include "console/drawing_context.h"

#include <QPainter>

namespace console {
namespace {

// Fixed mapping modes: mode -> logical units per inch (y upwards).
struct FixedMode {
  MappingMode mode;
  double unitsPerInch;
};
constexpr FixedMode kFixedModes[] = {{MappingMode::LowMetric, 254.0},
                                     {MappingMode::HighMetric, 2540.0},
                                     {MappingMode::LowEnglish, 100.0},
                                     {MappingMode::HighEnglish, 1000.0},
                                     {MappingMode::Twips, 1440.0}};

}  // namespace

MappingMode mappingModeOf(int mode) {
  return mode >= 2 && mode <= 8 ? static_cast<MappingMode>(mode) : MappingMode::Text;
}

DrawingContext::DrawingContext(QPainter& painter, int mappingMode, int dpiX, int dpiY)
    : painter_(painter), dpiX_(std::max(1, dpiX)), dpiY_(std::max(1, dpiY)) {
  setMappingMode(mappingMode);
}

// A fixed mode sets its extents; the isotropic and anisotropic modes keep
// the extents the program sets (1:1 at first).
void DrawingContext::setMappingMode(int mode) {
  mode_ = mappingModeOf(mode);
  windowExtent_ = viewportExtent_ = QSizeF(1, 1);
  for (const FixedMode& fixed : kFixedModes)
    if (fixed.mode == mode_) {
      windowExtent_ = QSizeF(fixed.unitsPerInch, fixed.unitsPerInch);
      viewportExtent_ = QSizeF(dpiX_, -dpiY_);
    }
  apply();
}

void DrawingContext::setWindowExtent(int width, int height) {
  if (mode_ < MappingMode::Isotropic || width == 0 || height == 0) return;
  windowExtent_ = QSizeF(width, height);
  apply();
}

void DrawingContext::setViewportExtent(int width, int height) {
  if (mode_ < MappingMode::Isotropic || width == 0 || height == 0) return;
  viewportExtent_ = QSizeF(width, height);
  apply();
}

void DrawingContext::setWindowOrigin(int x, int y) {
  windowOrigin_ = QPointF(x, y);
  apply();
}

void DrawingContext::setViewportOrigin(int x, int y) {
  viewportOrigin_ = QPointF(x, y);
  apply();
}

// device = (logical - window origin) × viewport extent / window extent +
// viewport origin; the isotropic mode takes the smaller scale both ways.
void DrawingContext::apply() {
  double sx = viewportExtent_.width() / windowExtent_.width();
  double sy = viewportExtent_.height() / windowExtent_.height();
  if (mode_ == MappingMode::Isotropic) {
    const double s = std::min(std::abs(sx), std::abs(sy));
    sx = sx < 0 ? -s : s;
    sy = sy < 0 ? -s : s;
  }
  transform_ = QTransform(sx, 0, 0, sy, viewportOrigin_.x() - windowOrigin_.x() * sx,
                          viewportOrigin_.y() - windowOrigin_.y() * sy);
  painter_.setWorldTransform(transform_);
}

QPointF DrawingContext::toDevice(QPointF logical) const { return transform_.map(logical); }

void DrawingContext::setPen(QColor colour, int width, Qt::PenStyle style) {
  QPen pen(colour, width, style);
  pen.setCosmetic(width == 0);
  painter_.setPen(pen);
}

void DrawingContext::setBrush(QColor colour) { painter_.setBrush(colour); }
void DrawingContext::setNullBrush() { painter_.setBrush(Qt::NoBrush); }
void DrawingContext::setTextColour(QColor colour) { textColour_ = colour; }

void DrawingContext::moveTo(int x, int y) { current_ = QPoint(x, y); }

void DrawingContext::lineTo(int x, int y) {
  painter_.drawLine(current_, QPoint(x, y));
  current_ = QPoint(x, y);
}

void DrawingContext::polyline(std::span<const QPoint> points) {
  painter_.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void DrawingContext::rectangle(int left, int top, int right, int bottom) {
  painter_.drawRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
}

void DrawingContext::ellipse(int left, int top, int right, int bottom) {
  painter_.drawEllipse(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
}

void DrawingContext::setPixel(int x, int y, QColor colour) {
  const QPen pen = painter_.pen();
  painter_.setPen(colour);
  painter_.drawPoint(x, y);
  painter_.setPen(pen);
}

void DrawingContext::textOut(int x, int y, std::string_view text) {
  const QPointF at = toDevice(QPointF(x, y));
  painter_.save();
  painter_.resetTransform();
  painter_.setPen(textColour_);
  painter_.drawText(QPointF(at.x(), at.y() + painter_.fontMetrics().ascent()),
                    QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  painter_.restore();
}

}  // namespace console
