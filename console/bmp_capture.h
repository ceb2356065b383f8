// A window's picture as the screen bitmap of a BMP file: the pixels of a
// captured image converted to the screen's bits per pixel, rows bottom-up,
// with the colour table of the lower depths.
#pragma once

#include <QImage>

#include "console/bmp_file.h"

namespace console {

// The picture of an image at bitsPerPixel (1, 4, 8, 16, 24 or 32); its
// pixel buffer has pixelBufferSize() bytes.
BmpPicture captureImage(const QImage& image, int bitsPerPixel);

}  // namespace console
