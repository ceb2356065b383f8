// The plot of the series being edited: its data, layout and drawing.
#include "console/series_plot.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "series/meteo.h"

namespace console {
namespace {

// Existing file's format letter -> the units its values are held in.
struct ValueUnits {
  char letter;
  std::string_view label;
};
constexpr ValueUnits kValueUnits[] = {
    {'M', "Width (mm)"}, {'A', "Width (mm)"}, {'I', "Index"}, {'T', "Monthly value"}};
constexpr std::string_view kPlainValues = "Value";

// Steps of the ticks: these times a power of ten.
constexpr double kRoundSteps[] = {1, 2, 5, 10};
// Room, in pixels, around the plot area and between a tick and its label.
constexpr int kMargin = 10;
constexpr int kTickLength = 4;

QString qtext(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::vector<float> valuesOf(const float* values, int count) {
  return std::vector<float>(values, values + std::max(count, 0));
}

// Decimals that show every tick of a step apart.
int decimalsOf(double step) {
  return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

std::vector<PlotTick> labelled(const std::vector<double>& at, int decimals) {
  std::vector<PlotTick> ticks;
  for (double v : at) ticks.push_back({v, QString::number(v, 'f', decimals)});
  return ticks;
}

bool isMissing(float value) { return value <= series::kMissingValue; }

}  // namespace

PlotSeries plotSeriesOf(const app::CurrentSeries& current, char formatLetter) {
  PlotSeries plot;
  const std::string& ident = current.series.ident;
  plot.ident = ident.substr(0, ident.find_last_not_of(' ') + 1);
  plot.firstYear = current.series.firstYear;
  plot.values = valuesOf(current.series.values.data(), current.series.count);
  plot.savedFirstYear = current.saved.firstYear;
  plot.savedValues = valuesOf(current.saved.values.data(), current.saved.count);
  plot.valueLabel = qtext(kPlainValues);
  for (const ValueUnits& units : kValueUnits)
    if (units.letter == formatLetter) plot.valueLabel = qtext(units.label);
  return plot;
}

QString plotTitle(const PlotSeries& series) {
  return (QStringLiteral("Plot ") + QString::fromUtf8(series.ident.c_str())).trimmed();
}

QString plotHeading(const PlotSeries& series) {
  const int count = static_cast<int>(series.values.size());
  return QStringLiteral("%1   %2-%3, %4 years")
      .arg(QString::fromUtf8(series.ident.c_str()))
      .arg(series.firstYear)
      .arg(series.firstYear + count - 1)
      .arg(count);
}

std::vector<double> roundTicks(double low, double high, int maxTicks) {
  if (!(high > low)) high = low + 1;
  const double raw = (high - low) / std::max(maxTicks, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power * kRoundSteps[0];
  for (double m : kRoundSteps)
    if ((step = power * m) >= raw) break;
  std::vector<double> ticks;
  const double first = std::floor(low / step + 1e-9) * step;
  const int n = static_cast<int>(std::ceil((high - first) / step - 1e-9));
  for (int k = 0; k <= n; ++k) ticks.push_back(first + k * step);
  return ticks;
}

QPointF PlotLayout::at(double year, double value) const {
  const double x =
      area.left() + (year - firstYear) * area.width() / std::max(lastYear - firstYear, 1);
  const double y = area.bottom() - (value - low) * area.height() / (high - low);
  return {x, y};
}

PlotLayout layoutPlot(const PlotSeries& series, const QRect& bounds, const QFontMetrics& metrics) {
  PlotLayout layout;
  const int count = static_cast<int>(series.values.size());
  const int savedCount = static_cast<int>(series.savedValues.size());
  layout.firstYear =
      std::min(series.firstYear, savedCount > 0 ? series.savedFirstYear : series.firstYear);
  layout.lastYear = std::max(series.firstYear + count - 1, series.savedFirstYear + savedCount - 1);
  std::vector<float> all;
  for (const std::vector<float>* values : {&series.values, &series.savedValues})
    std::copy_if(values->begin(), values->end(), std::back_inserter(all),
                 [](float v) { return !isMissing(v); });
  const auto [lowest, highest] = std::minmax_element(all.begin(), all.end());
  const double low = all.empty() ? 0 : *lowest;
  const double high = all.empty() ? 1 : *highest;
  const int rows = std::max(2, bounds.height() / (3 * metrics.height()));
  const std::vector<double> values = roundTicks(low, high, rows);
  layout.low = values.front();
  layout.high = values.back();
  layout.valueTicks = labelled(values, decimalsOf(values.size() > 1 ? values[1] - values[0] : 1));
  int labelWidth = 0;
  for (const PlotTick& tick : layout.valueTicks)
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tick.label));
  const int yearWidth = metrics.horizontalAdvance(QString::number(layout.lastYear));
  layout.area = bounds.adjusted(labelWidth + kTickLength + 2 * kMargin, 3 * metrics.height(),
                                -(yearWidth / 2 + kMargin), -(2 * metrics.height() + kMargin));
  const int columns = std::max(1, layout.area.width() / (2 * yearWidth));
  for (double year : roundTicks(layout.firstYear, layout.lastYear, columns))
    if (year >= layout.firstYear && year <= layout.lastYear && year == std::floor(year))
      layout.yearTicks.push_back({year, QString::number(static_cast<int>(year))});
  return layout;
}

namespace {

void drawRun(QPainter& painter, const QPolygonF& points) {
  if (points.size() == 1)
    painter.drawPoint(points.front());
  else if (points.size() > 1)
    painter.drawPolyline(points);
}

// A missing value (of a meteorological series) breaks the line.
void drawLine(QPainter& painter, const PlotLayout& layout, int firstYear,
              const std::vector<float>& values, const QColor& colour, int width) {
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPolygonF run;
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (isMissing(values[k])) {
      drawRun(painter, run);
      run.clear();
      continue;
    }
    run << layout.at(firstYear + static_cast<double>(k), values[k]);
  }
  drawRun(painter, run);
}

void drawAxes(QPainter& painter, const PlotLayout& layout, const QFontMetrics& metrics) {
  const QRect& a = layout.area;
  painter.setPen(QPen(Qt::black, 1));
  painter.drawLine(a.bottomLeft(), a.bottomRight());
  painter.drawLine(a.bottomLeft(), a.topLeft());
  for (const PlotTick& tick : layout.yearTicks) {
    const int x = qRound(layout.at(tick.at, layout.low).x());
    painter.drawLine(x, a.bottom(), x, a.bottom() + kTickLength);
    const int width = metrics.horizontalAdvance(tick.label);
    painter.drawText(x - width / 2, a.bottom() + kTickLength + metrics.ascent() + 2, tick.label);
  }
  for (const PlotTick& tick : layout.valueTicks) {
    const int y = qRound(layout.at(layout.firstYear, tick.at).y());
    painter.drawLine(a.left() - kTickLength, y, a.left(), y);
    const int width = metrics.horizontalAdvance(tick.label);
    painter.drawText(a.left() - kTickLength - 2 - width, y + metrics.ascent() / 2, tick.label);
  }
}

}  // namespace

void drawPlot(QPainter& painter, const QRect& bounds, const PlotSeries& series, int lineWidth) {
  painter.save();
  painter.fillRect(bounds, Qt::white);
  const QFontMetrics metrics = painter.fontMetrics();
  const PlotLayout layout = layoutPlot(series, bounds, metrics);
  painter.setPen(Qt::black);
  painter.drawText(QRect(bounds.left(), bounds.top(), bounds.width(), metrics.height() * 3 / 2),
                   Qt::AlignCenter, plotHeading(series));
  painter.drawText(bounds.left() + kMargin, layout.area.top() - metrics.descent() - kTickLength,
                   series.valueLabel);
  drawAxes(painter, layout, metrics);
  drawLine(painter, layout, series.savedFirstYear, series.savedValues, kPlotAsRead, lineWidth);
  drawLine(painter, layout, series.firstYear, series.values, kPlotAsEdited, lineWidth);
  painter.restore();
}

}  // namespace console
