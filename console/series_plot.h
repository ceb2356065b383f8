// The plot of the series being edited: what it shows (PlotSeries, taken
// from the session's current series and its saved copy), where everything
// goes in a picture of a given size (PlotLayout), and the drawing itself:
// the identification and interval as a heading, the year axis below and the
// value axis at the left with ticks and labels, the series as read in grey
// and as edited in black.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "app/edits.h"

class QFontMetrics;
class QPainter;

namespace console {

// The colours of the two lines.
inline const QColor kPlotAsRead{150, 150, 150};
inline const QColor kPlotAsEdited{0, 0, 0};

struct PlotSeries {
  std::string ident;  // without trailing blanks
  int firstYear = 0;
  std::vector<float> values;
  int savedFirstYear = 0;
  std::vector<float> savedValues;
  QString valueLabel;  // the values' units, by the existing file's format
};

// The plot of a current series; formatLetter is the existing file's.
PlotSeries plotSeriesOf(const app::CurrentSeries& current, char formatLetter);
// "Plot <identification>".
QString plotTitle(const PlotSeries& series);
// "<identification>   <first>-<last>, <n> years".
QString plotHeading(const PlotSeries& series);

struct PlotTick {
  double at;  // a year or a value
  QString label;
};

struct PlotLayout {
  QRect area;  // where the lines go
  int firstYear = 0;
  int lastYear = 0;
  double low = 0;
  double high = 1;
  std::vector<PlotTick> yearTicks;
  std::vector<PlotTick> valueTicks;
  // The pixel of a year and a value.
  QPointF at(double year, double value) const;
};

// Ticks at round steps (1, 2 or 5 times a power of ten) from low to high,
// at most maxTicks of them (at least one step).
std::vector<double> roundTicks(double low, double high, int maxTicks);
PlotLayout layoutPlot(const PlotSeries& series, const QRect& bounds, const QFontMetrics& metrics);
// Draws the whole plot into bounds; lineWidth in pixels.
void drawPlot(QPainter& painter, const QRect& bounds, const PlotSeries& series, int lineWidth);

}  // namespace console
