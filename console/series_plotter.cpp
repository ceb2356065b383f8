// The plot window: opening it, following the session's series, painting.
#include "console/series_plotter.h"

#include <QMdiArea>
#include <QPaintDevice>
#include <QPainter>

#include "app/series_watch.h"
#include "common/tables.h"
#include "console/dialogs.h"
#include "console/frame.h"

namespace console {
namespace {

// The plot window's first place: below the "Input/Output" window, as wide,
// filling the height left but never smaller than this.
constexpr QRect kPlotPlace{15, 325, 600, 250};
// What the window says before the first series was read.
constexpr std::string_view kNoSeries = "No series has been read yet.";
// Line width: 2 pixels on a screen of 96 pixels per inch, as wide on paper.
constexpr int kLineWidthDivisor = 48;

}  // namespace

SeriesPlotter::SeriesPlotter(Frame& frame) : frame_(frame) {
  app::watchSeries([this](const app::CurrentSeries& current, std::int32_t inUnit) {
    seriesShown(current, inUnit);
  });
}

SeriesPlotter::~SeriesPlotter() {
  app::watchSeries({});
  delete window_.data();
}

void SeriesPlotter::seriesShown(const app::CurrentSeries& current, int inUnit) {
  series_ = plotSeriesOf(current, common::unitFormat(inUnit));
  hasSeries_ = true;
  if (!window_) return;
  window_->setWindowTitle(title());
  window_->view()->update();
}

QString SeriesPlotter::title() const { return plotTitle(series_); }

void SeriesPlotter::show() {
  if (!window_) {
    // A save failing in the plot is told, and the program goes on.
    window_ = new GraphicsWindow(
        title(), static_cast<int>(MappingMode::Text),
        [this](DrawingContext& context) { paint(context); },
        [](std::string_view text, int) { warn(text); });
    window_->setAttribute(Qt::WA_DeleteOnClose);
    window_->offerPng(true);
    window_->setAskBeforeClose(false);
    QMdiSubWindow* typing = frame_.mdiArea()->currentSubWindow();
    frame_.addGraphics(window_);
    const int height = frame_.mdiArea()->height() - kPlotPlace.top() - kPlotPlace.left();
    window_->setGeometry(kPlotPlace.adjusted(0, 0, 0, std::max(0, height - kPlotPlace.height())));
    window_->show();
    // The answers go on being typed where they were.
    if (typing != nullptr) frame_.mdiArea()->setActiveSubWindow(typing);
  }
  if (window_->isMinimized()) window_->showNormal();
  window_->show();
  window_->raise();
}

// On the window and on paper alike: the whole device.
void SeriesPlotter::paint(DrawingContext& context) const {
  QPainter& painter = context.painter();
  const QPaintDevice* device = painter.device();
  const QRect bounds(0, 0, device->width(), device->height());
  if (!hasSeries_) {
    painter.fillRect(bounds, Qt::white);
    painter.drawText(bounds, Qt::AlignCenter,
                     QString::fromUtf8(kNoSeries.data(), static_cast<qsizetype>(kNoSeries.size())));
    return;
  }
  drawPlot(painter, bounds, series_, std::max(2, device->logicalDpiX() / kLineWidthDivisor));
}

}  // namespace console
