// The graphics window: opening with its defaults, painting by the
// program's callback, Save to BMP with its header fields, the close
// prompt, printing, and the capture of a picture at each depth.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPainter>
#include <QtEndian>

#include "console/bmp_capture.h"
#include "console/frame.h"
#include "console/graphics_window.h"
#include "tests/console/fake_dialogs.h"
#include "tests/console/window_fixture.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

using testing_support::TempDir;

std::uint32_t at32(const QByteArray& b, int offset) {
  return qFromLittleEndian<quint32>(b.constData() + offset);
}

class GraphicsTest : public WindowTest {
 protected:
  FakeDialogs dialogs_;
  TempDir dir_;
};

TEST_F(GraphicsTest, OpensOnceWithTheDefaults) {
  int width = 0, height = 200;
  ASSERT_EQ(environment_.openGraphics(width, height, "   ", 0, nullptr), 1);
  EXPECT_EQ(width, 600);
  EXPECT_EQ(height, 300);
  GraphicsWindow* window = environment_.graphics();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Graphics");
  EXPECT_EQ(window->geometry(), QRect(15, 15, 600, 300));
  EXPECT_EQ(window->view()->mappingMode(), 1);
  int w2 = 10, h2 = 10;
  EXPECT_EQ(environment_.openGraphics(w2, h2, "again", 2, nullptr), 0);
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(GraphicsTest, TitlesAndMappingModes) {
  EXPECT_EQ(graphicsTitle("Ring widths   "), "Ring widths");
  EXPECT_EQ(graphicsTitle(std::string(90, 'g')), QString(80, 'g'));
  EXPECT_EQ(graphicsTitle(""), "Graphics");
  const int modes[][2] = {{0, 1}, {1, 1}, {2, 2}, {8, 8}, {9, 1}, {-3, 1}};
  for (const auto& m : modes) EXPECT_EQ(static_cast<int>(mappingModeOf(m[0])), m[1]) << m[0];
}

// A plot in millimetres (mode 2, y up): a line 10 mm long from the origin
// set 20 pixels down.
TEST_F(GraphicsTest, PaintsThroughTheMappingMode) {
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawingContext dc(painter, 2, 254, 254);  // 10 pixels to the millimetre
  dc.setViewportOrigin(0, 20);
  EXPECT_EQ(dc.toDevice(QPointF(100, 0)), QPointF(100, 20));
  EXPECT_EQ(dc.toDevice(QPointF(0, 10)), QPointF(0, 10)) << "y upwards";
  dc.setMappingMode(8);
  dc.setWindowExtent(10, 10);
  dc.setViewportExtent(100, 50);
  EXPECT_EQ(dc.toDevice(QPointF(1, 1)), QPointF(10, 25));
  dc.setMappingMode(7);
  dc.setWindowExtent(10, 10);
  dc.setViewportExtent(100, 50);
  EXPECT_EQ(dc.toDevice(QPointF(1, 1)), QPointF(5, 25)) << "isotropic: the smaller scale";
}

TEST_F(GraphicsTest, SavesABmpWithTheComputedHeader) {
  int width = 300, height = 200;
  int paints = 0;
  ASSERT_EQ(environment_.openGraphics(width, height, "Plot", 1,
                                      [&](DrawingContext& dc) {
                                        ++paints;
                                        dc.setPen(Qt::red);
                                        dc.moveTo(0, 0);
                                        dc.lineTo(100, 100);
                                        dc.textOut(10, 10, "rings");
                                      }),
            1);
  GraphicsWindow* window = environment_.graphics();
  const QString file = QString::fromStdString(dir_.path() + "/plot.bmp");
  dialogs_.files.push_back(file);
  environment_.frame()->command(static_cast<int>(Command::Save));
  EXPECT_GT(paints, 0);
  ASSERT_EQ(dialogs_.saveRequests.size(), 1u);
  EXPECT_EQ(dialogs_.saveRequests[0].filter, "BitMap Files (*.bmp);;All Files (*.*)");
  EXPECT_EQ(dialogs_.saveRequests[0].defaultSuffix, "bmp");
  EXPECT_EQ(window->windowTitle(), "plot.bmp");
  EXPECT_TRUE(window->saved());
  EXPECT_FALSE(environment_.frame()->action(Command::Save)->isEnabled());
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray b = f.readAll();
  const QSize size = window->savedSize();
  const BmpLayout layout = bmpLayout(
      {size.width(), size.height(), 1, qFromLittleEndian<quint16>(b.constData() + 28), {}, {}});
  EXPECT_EQ(b.left(2), "BM");
  EXPECT_EQ(at32(b, 2), layout.fileSize);
  EXPECT_EQ(static_cast<std::uint32_t>(b.size()), layout.fileSize);
  EXPECT_EQ(at32(b, 10), layout.pixelOffset);
  EXPECT_EQ(at32(b, 18), static_cast<std::uint32_t>(window->view()->width()));
  EXPECT_EQ(at32(b, 22), static_cast<std::uint32_t>(window->view()->height()));
  EXPECT_EQ(at32(b, 34), layout.imageSize);
  // Save again: no dialog, same file; closing does not ask.
  environment_.frame()->command(static_cast<int>(Command::Save));
  EXPECT_EQ(dialogs_.saveRequests.size(), 1u);
  window->close();
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(GraphicsTest, CloseAsksUntilSaved) {
  int width = 0, height = 0;
  ASSERT_EQ(environment_.openGraphics(width, height, "Plot", 1, nullptr), 1);
  QPointer<GraphicsWindow> window = environment_.graphics();
  dialogs_.buttons = {QMessageBox::Cancel, QMessageBox::Yes};
  const QString file = QString::fromStdString(dir_.path() + "/closing.bmp");
  dialogs_.files.push_back(file);
  window->close();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Save changes to Plot?");
  ASSERT_FALSE(window.isNull());
  EXPECT_TRUE(window->isVisible());
  window->close();
  EXPECT_TRUE(QFile::exists(file));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST_F(GraphicsTest, PrintsThePictureOnOnePage) {
  int width = 0, height = 0, paints = 0;
  ASSERT_EQ(environment_.openGraphics(width, height, "", 4,
                                      [&](DrawingContext& dc) {
                                        ++paints;
                                        dc.rectangle(100, -100, 500, -300);
                                      }),
            1);
  paints = 0;
  dialogs_.pdfPath = QString::fromStdString(dir_.path() + "/graphic.pdf");
  environment_.frame()->command(static_cast<int>(Command::Print));
  EXPECT_EQ(paints, 1);
  EXPECT_FALSE(dialogs_.offeredPageRange);
  EXPECT_EQ(pdfPageCount(dialogs_.pdfPath), 1);
}

struct CaptureCase {
  int width, height, bits;
  std::uint32_t offset, imageSize;
  std::size_t colours;
};

TEST(BmpCapture, ConvertsToTheScreenDepth) {
  const CaptureCase cases[] = {
      {640, 480, 24, 54, 921600, 0},    {640, 480, 8, 1078, 307200, 256},
      {641, 3, 24, 54, 3 * 81 * 24, 0}, {33, 5, 1, 62, 5 * 5, 2},
      {33, 5, 4, 118, 5 * 5 * 4, 16},   {10, 4, 32, 54, 4 * 2 * 32, 0},
  };
  for (const CaptureCase& c : cases) {
    QImage image(c.width, c.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    const BmpPicture picture = captureImage(image, c.bits);
    const BmpLayout layout = bmpLayout(picture);
    const std::string row = std::to_string(c.width) + "x" + std::to_string(c.bits);
    EXPECT_EQ(layout.pixelOffset, c.offset) << row;
    EXPECT_EQ(layout.imageSize, c.imageSize) << row;
    EXPECT_EQ(bmpHeaders(picture).size(), c.offset) << row;
    EXPECT_LE(picture.colours.size(), c.colours == 0 ? 0u : c.colours) << row;
    EXPECT_EQ(picture.pixels.size(), pixelBufferSize(picture)) << row;
  }
}

}  // namespace
}  // namespace console
