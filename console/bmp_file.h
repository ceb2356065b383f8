// BMP files of a picture captured from a window: the header numbers, the
// header bytes and the writing of the file. Plain C++; the window that
// captures the picture fills a BmpPicture from the screen bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace console {

struct BmpPicture {
  int width = 0;
  int height = 0;
  int planes = 1;
  int bitsPerPixel = 24;
  std::vector<std::uint32_t> colours;  // the colour table as RGB values
  std::string pixels;                  // rows bottom-up, as the screen delivers them
};

// The numbers of the headers.
struct BmpLayout {
  int bits = 0;  // planes × bits per pixel, rounded up to 1, 4, 8, 16, 24 or 32
  std::uint32_t coloursUsed = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t pixelOffset = 0;
  std::uint32_t fileSize = 0;
};

BmpLayout bmpLayout(const BmpPicture& picture);

// The 14-byte file header, the 40-byte header and the colour table (missing
// entries are 0).
std::string bmpHeaders(const BmpPicture& picture);

// Bytes of one pixel row as the screen delivers it (rows end on 4 bytes).
std::size_t rowBytes(int width, int bits);
// The pixel buffer a capture needs: the image size of the header or the
// row-aligned rows, whichever is bigger.
std::size_t pixelBufferSize(const BmpPicture& picture);

// Creating the file, as the fatal error names the step.
inline constexpr std::string_view kCreateFileStep = "CreateFile";

// The step of writing that failed, named as the fatal error reports it;
// empty when the file was written.
std::string_view writeBmpFile(const std::string& path, const BmpPicture& picture);

}  // namespace console
