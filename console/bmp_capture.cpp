// Converting a captured image into the rows of a BMP file.
#include "console/bmp_capture.h"

#include <cstring>

namespace console {
namespace {

// Screen depth -> the image format whose rows match the BMP rows.
struct DepthFormat {
  int bits;
  QImage::Format format;
};
constexpr DepthFormat kDepthFormats[] = {{1, QImage::Format_Mono},     {4, QImage::Format_Indexed8},
                                         {8, QImage::Format_Indexed8}, {16, QImage::Format_RGB555},
                                         {24, QImage::Format_BGR888},  {32, QImage::Format_RGB32}};

QImage::Format formatFor(int bits) {
  for (const DepthFormat& d : kDepthFormats)
    if (d.bits == bits) return d.format;
  return QImage::Format_RGB32;
}

// Two 8-bit indices to a byte, the first in the high nibble.
void packNibbles(const uchar* from, int width, char* to) {
  for (int x = 0; x < width; ++x) {
    const auto nibble = static_cast<unsigned char>(from[x] & 0x0F);
    auto& byte = reinterpret_cast<unsigned char&>(to[x / 2]);
    byte = static_cast<unsigned char>(x % 2 == 0 ? nibble << 4 : byte | nibble);
  }
}

}  // namespace

BmpPicture captureImage(const QImage& image, int bitsPerPixel) {
  BmpPicture picture;
  picture.width = image.width();
  picture.height = image.height();
  picture.bitsPerPixel = bitsPerPixel;
  const int bits = bmpLayout(picture).bits;
  Qt::ImageConversionFlags flags = Qt::ThresholdDither | Qt::AvoidDither;
  QImage converted = image.convertToFormat(formatFor(bits), flags);
  if (bits == 4 && converted.colorCount() > 16)
    converted =
        image.convertToFormat(QImage::Format_Indexed8, converted.colorTable().mid(0, 16), flags);
  for (QRgb colour : converted.colorTable()) picture.colours.push_back(colour & 0xFFFFFF);
  picture.pixels.assign(pixelBufferSize(picture), '\0');
  const std::size_t row = rowBytes(picture.width, bits);
  const std::size_t copied = std::min<std::size_t>(row, converted.bytesPerLine());
  for (int y = 0; y < picture.height; ++y) {
    char* to = picture.pixels.data() + static_cast<std::size_t>(picture.height - 1 - y) * row;
    if (bits == 4)
      packNibbles(converted.constScanLine(y), picture.width, to);
    else
      std::memcpy(to, converted.constScanLine(y), copied);
  }
  return picture;
}

}  // namespace console
