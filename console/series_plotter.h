// The plot window of ringedit-window: "Plot series" (Ctrl+G) opens a
// graphics window titled "Plot <identification>" that draws the series
// being edited (series_plot.h). The session tells the plotter each time it
// shows its current series; the window, when open, is drawn anew and
// retitled. It saves as BMP or PNG and prints through the graphics window's
// own commands, and closes without asking, since it can be opened again.
// Watching only copies the series: the dialogue and the new file are not
// touched.
#pragma once

#include <QPointer>

#include "app/edits.h"
#include "console/graphics_window.h"
#include "console/series_plot.h"

namespace console {

class Frame;

class SeriesPlotter {
 public:
  explicit SeriesPlotter(Frame& frame);
  ~SeriesPlotter();
  SeriesPlotter(const SeriesPlotter&) = delete;
  SeriesPlotter& operator=(const SeriesPlotter&) = delete;

  // The session showed its current series; inUnit is the existing file's.
  void seriesShown(const app::CurrentSeries& current, int inUnit);
  // Plot series: opens the window, or shows it again, in front of the
  // others; the window the user types in stays the current one.
  void show();
  GraphicsWindow* window() const { return window_; }
  const PlotSeries& series() const { return series_; }
  bool hasSeries() const { return hasSeries_; }

 private:
  void paint(DrawingContext& context) const;
  QString title() const;

  Frame& frame_;
  PlotSeries series_;
  bool hasSeries_ = false;
  QPointer<GraphicsWindow> window_;
};

}  // namespace console
