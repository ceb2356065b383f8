// BMP file headers and writing.
#include "console/bmp_file.h"

#include <algorithm>
#include <cstdio>

namespace console {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
// Bit depths a BMP file may have, smallest first.
constexpr int kDepths[] = {1, 4, 8, 16, 24, 32};
// Failing steps, as the fatal error names them.
constexpr std::string_view kWriteFailed = "WriteFile";
constexpr std::string_view kCloseFailed = "CloseHandle";
// Pixel data goes out in pieces below this size.
constexpr std::size_t kPieceLimit = 65536;

void put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

int roundedDepth(int bits) {
  for (int depth : kDepths)
    if (bits <= depth) return depth;
  return kDepths[std::size(kDepths) - 1];
}

}  // namespace

BmpLayout bmpLayout(const BmpPicture& picture) {
  BmpLayout layout;
  layout.bits = roundedDepth(picture.planes * picture.bitsPerPixel);
  layout.coloursUsed = layout.bits < 24 ? 1u << layout.bits : 0;
  layout.imageSize = static_cast<std::uint32_t>(picture.height) *
                     ((static_cast<std::uint32_t>(picture.width) + 7) / 8) *
                     static_cast<std::uint32_t>(layout.bits);
  layout.pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * layout.coloursUsed;
  layout.fileSize = layout.pixelOffset + layout.imageSize;
  return layout;
}

std::string bmpHeaders(const BmpPicture& picture) {
  const BmpLayout layout = bmpLayout(picture);
  std::string out = "BM";
  put32(out, layout.fileSize);
  put32(out, 0);  // two reserved words
  put32(out, layout.pixelOffset);
  put32(out, kInfoHeaderSize);
  put32(out, static_cast<std::uint32_t>(picture.width));
  put32(out, static_cast<std::uint32_t>(picture.height));
  put16(out, static_cast<std::uint32_t>(picture.planes));
  put16(out, static_cast<std::uint32_t>(picture.bitsPerPixel));
  put32(out, 0);  // no compression
  put32(out, layout.imageSize);
  put32(out, 0);  // resolutions
  put32(out, 0);
  put32(out, layout.coloursUsed);
  put32(out, 0);  // colours important
  for (std::uint32_t k = 0; k < layout.coloursUsed; ++k)
    put32(out, k < picture.colours.size() ? picture.colours[k] : 0);
  return out;
}

// Exactly the computed number of pixel bytes is written (zeros where the
// picture has fewer), in pieces of 65535 bytes while 65536 or more remain.
std::string_view writeBmpFile(const std::string& path, const BmpPicture& picture) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return kCreateFileStep;
  const std::string headers = bmpHeaders(picture);
  std::string pixels = picture.pixels;
  pixels.resize(bmpLayout(picture).imageSize, '\0');
  bool written = std::fwrite(headers.data(), 1, headers.size(), file) == headers.size();
  std::size_t at = 0;
  while (written && at < pixels.size()) {
    const std::size_t left = pixels.size() - at;
    const std::size_t piece = left >= kPieceLimit ? kPieceLimit - 1 : left;
    written = std::fwrite(pixels.data() + at, 1, piece, file) == piece;
    at += piece;
  }
  if (std::fclose(file) != 0) return written ? kCloseFailed : kWriteFailed;
  return written ? std::string_view() : kWriteFailed;
}

std::size_t rowBytes(int width, int bits) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
}

std::size_t pixelBufferSize(const BmpPicture& picture) {
  const BmpLayout layout = bmpLayout(picture);
  const std::size_t aligned =
      rowBytes(picture.width, layout.bits) * static_cast<std::size_t>(std::max(picture.height, 0));
  return std::max<std::size_t>(layout.imageSize, aligned);
}

}  // namespace console
