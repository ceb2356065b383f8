// The plot of the series being edited: its round ticks, its picture (the
// two lines at their years, the axis labels), and its window: opened by
// Plot series, retitled and saved as BMP or PNG, printed.
#include <QAction>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QPrinter>
#include <QTest>
#include <fstream>

#include "app/series_watch.h"
#include "console/frame.h"
#include "console/series_plot.h"
#include "console/series_plotter.h"
#include "tests/console/fake_dialogs.h"
#include "tests/console/window_fixture.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

struct TickCase {
  double low, high;
  int maxTicks;
  std::vector<double> want;
};

TEST(PlotTicks, FallOnRoundStepsCoveringTheRange) {
  const TickCase cases[] = {
      {0, 10, 5, {0, 2, 4, 6, 8, 10}},
      {1851, 1990, 3, {1850, 1900, 1950, 2000}},
      {0.37, 2.41, 5, {0, 0.5, 1, 1.5, 2, 2.5}},
      {3, 3, 4, {3, 3.5, 4}},  // a flat series still gets a scale
      {-1.2, 0.3, 3, {-1.5, -1, -0.5, 0, 0.5}},
  };
  for (const TickCase& c : cases) {
    const std::vector<double> got = roundTicks(c.low, c.high, c.maxTicks);
    ASSERT_EQ(got.size(), c.want.size()) << c.low << ".." << c.high;
    for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], c.want[k], 1e-9) << k;
  }
}

// Twenty-one years from 1900, read as 1.0 .. 3.0; 1910 edited to 6.0.
app::CurrentSeries editedSeries() {
  app::CurrentSeries current;
  current.series.ident = "ABC01   ";
  current.series.firstYear = 1900;
  current.series.count = 21;
  for (int k = 0; k < 21; ++k) current.series.values[k] = 1.0f + 0.1f * static_cast<float>(k);
  app::saveCopy(current);
  current.series.values[10] = 6.0f;
  return current;
}

struct Picture {
  QImage image{640, 360, QImage::Format_RGB32};
  PlotLayout layout;
};

Picture render(const PlotSeries& series) {
  Picture picture;
  picture.image.fill(Qt::red);
  QPainter painter(&picture.image);
  drawPlot(painter, picture.image.rect(), series, 2);
  picture.layout = layoutPlot(series, picture.image.rect(), painter.fontMetrics());
  return picture;
}

bool inked(const QImage& image, const QRect& rect) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.pixelColor(x, y).lightness() < 128) return true;
  return false;
}

TEST(PlotPicture, DrawsTheSeriesAsReadInGreyAndAsEditedInBlack) {
  const PlotSeries series = plotSeriesOf(editedSeries(), 'M');
  const Picture p = render(series);
  auto colourAt = [&](double year, double value) {
    return p.image.pixelColor(p.layout.at(year, value).toPoint());
  };
  EXPECT_EQ(colourAt(1910, 2.0), kPlotAsRead) << "the value as read";
  EXPECT_EQ(colourAt(1910, 6.0), kPlotAsEdited) << "the value as edited";
  EXPECT_EQ(colourAt(1903, 1.3), kPlotAsEdited) << "unchanged years: the edited line on top";
  EXPECT_EQ(colourAt(1920, 3.0), kPlotAsEdited);
  EXPECT_EQ(colourAt(1915, 5.0), QColor(Qt::white)) << "the background, cleared";
  EXPECT_EQ(p.image.pixelColor(1, 1), QColor(Qt::white));
}

TEST(PlotPicture, LabelsBothAxesAndHeadsThePlot) {
  const PlotSeries series = plotSeriesOf(editedSeries(), 'M');
  const Picture p = render(series);
  std::vector<std::string> years;
  for (const PlotTick& tick : p.layout.yearTicks) years.push_back(tick.label.toStdString());
  EXPECT_EQ(years.front(), "1900");
  EXPECT_EQ(years.back(), "1920");
  EXPECT_GE(years.size(), 3u);
  EXPECT_LE(p.layout.low, 1.0);
  EXPECT_GE(p.layout.high, 6.0);
  // Each year label is drawn below its tick, each value label left of the axis.
  const int below = p.layout.area.bottom() + 6;
  for (const PlotTick& tick : p.layout.yearTicks) {
    const int x = qRound(p.layout.at(tick.at, 0).x());
    EXPECT_TRUE(inked(p.image, QRect(x - 12, below, 24, 14))) << tick.label.toStdString();
  }
  for (const PlotTick& tick : p.layout.valueTicks) {
    const int y = qRound(p.layout.at(p.layout.firstYear, tick.at).y());
    EXPECT_TRUE(inked(p.image, QRect(0, y - 6, p.layout.area.left() - 6, 12)))
        << tick.label.toStdString();
  }
  EXPECT_TRUE(inked(p.image, QRect(0, 0, p.image.width(), p.layout.area.top() / 2)))
      << "the heading";
  EXPECT_EQ(plotHeading(series), "ABC01   1900-1920, 21 years");
  EXPECT_EQ(plotTitle(series), "Plot ABC01");
}

TEST(PlotPicture, AMissingValueBreaksTheLineAndLeavesTheScale) {
  app::CurrentSeries current = editedSeries();
  current.series.values[15] = current.saved.values[15] = -999.9f;
  const Picture p = render(plotSeriesOf(current, 'T'));
  EXPECT_LE(p.layout.low, 1.0);
  EXPECT_GT(p.layout.low, 0.0) << "the missing value is not on the scale";
  const double before = 1.0 + 0.1 * 14;
  const double after = 1.0 + 0.1 * 16;
  EXPECT_EQ(p.image.pixelColor(p.layout.at(1913.5, before - 0.05).toPoint()), kPlotAsEdited)
      << "the line up to the year before";
  EXPECT_EQ(p.image.pixelColor(p.layout.at(1915, (before + after) / 2).toPoint()),
            QColor(Qt::white))
      << "no line across the missing year";
}

struct UnitsCase {
  char letter;
  const char* want;
};

TEST(PlotPicture, TheValueAxisIsInTheFilesUnits) {
  const UnitsCase cases[] = {{'M', "Width (mm)"},
                             {'A', "Width (mm)"},
                             {'I', "Index"},
                             {'T', "Monthly value"},
                             {'C', "Value"}};
  for (const UnitsCase& c : cases)
    EXPECT_EQ(plotSeriesOf(editedSeries(), c.letter).valueLabel.toStdString(), c.want) << c.letter;
}

class PlotWindowTest : public WindowTest {
 protected:
  Frame* frame() { return environment_.frame(); }
  SeriesPlotter* plotter() { return environment_.plotter(); }
  FakeDialogs dialogs_;
};

TEST_F(PlotWindowTest, PlotSeriesOpensOneWindowThatFollowsTheSeries) {
  QMdiSubWindow* typing = frame()->mdiArea()->currentSubWindow();
  frame()->action(Command::PlotSeries)->trigger();
  GraphicsWindow* window = plotter()->window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(frame()->mdiArea()->currentSubWindow(), typing) << "answers still go to the dialogue";
  EXPECT_EQ(window->windowTitle(), "Plot");
  app::CurrentSeries current = editedSeries();
  app::seriesShown(current, 0);
  EXPECT_EQ(window->windowTitle(), "Plot ABC01");
  current.series.ident = "XYZ     ";
  app::seriesShown(current, 0);
  EXPECT_EQ(window->windowTitle(), "Plot XYZ");
  window->showMinimized();
  frame()->command(static_cast<int>(Command::PlotSeries));
  EXPECT_EQ(plotter()->window(), window) << "the same window, shown again";
  EXPECT_FALSE(window->isMinimized());
}

TEST_F(PlotWindowTest, SavesAsBmpOrPngAndPrints) {
  testing_support::TempDir dir;
  app::seriesShown(editedSeries(), 0);
  frame()->command(static_cast<int>(Command::PlotSeries));
  GraphicsWindow* window = plotter()->window();
  ASSERT_NE(window, nullptr);
  frame()->mdiArea()->setActiveSubWindow(window);
  dialogs_.files = {QString::fromStdString(dir.file("plot.png")),
                    QString::fromStdString(dir.file("plot.bmp"))};
  frame()->command(static_cast<int>(Command::SaveAs));
  frame()->command(static_cast<int>(Command::SaveAs));
  ASSERT_FALSE(dialogs_.saveRequests.empty());
  EXPECT_TRUE(dialogs_.saveRequests.front().filter.contains("*.png"));
  QImage png;
  ASSERT_TRUE(png.load(QString::fromStdString(dir.file("plot.png")), "PNG"));
  EXPECT_EQ(png.size(), window->savedSize()) << "the visible part of the plot";
  EXPECT_TRUE(inked(png, png.rect())) << "the plot is in the picture";
  EXPECT_EQ(dir.read("plot.bmp").substr(0, 2), "BM");
  dialogs_.pdfPath = QString::fromStdString(dir.file("plot.pdf"));
  frame()->command(static_cast<int>(Command::Print));
  EXPECT_EQ(dialogs_.printDialogs, 1);
  EXPECT_GT(dir.read("plot.pdf").size(), 0u);
  // A plot closes without asking.
  window->close();
  EXPECT_TRUE(dialogs_.messages.empty());
}

}  // namespace
}  // namespace console
