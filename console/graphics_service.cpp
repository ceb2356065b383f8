// Opening the graphics window for program code.
#include <QMdiArea>

#include "console/environment.h"
#include "console/frame.h"

namespace console {

int Environment::openGraphics(int& width, int& height, std::string_view title, int mappingMode,
                              PaintCallback paint) {
  if (graphicsOpened_ || frame_ == nullptr) return 0;
  if (width == 0 || height == 0) {
    width = kGraphicsWidth;
    height = kGraphicsHeight;
  }
  auto* window =
      new GraphicsWindow(graphicsTitle(title), mappingMode, std::move(paint),
                         [this](std::string_view text, int code) { fatalSystemError(text, code); });
  window->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(window, &GraphicsWindow::closeCancelled, window,
                   [this] { registry_.closing = false; });
  frame_->addGraphics(window);
  window->setGeometry(QRect(kGraphicsPosition, QSize(width, height)));
  window->show();
  graphics_ = window;
  graphicsOpened_ = true;
  return 1;
}

}  // namespace console
