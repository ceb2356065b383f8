// BMP headers of captured pictures.
#include "console/bmp_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/console_script.h"

namespace console {
namespace {

struct LayoutCase {
  int width, height, planes, bitsPerPixel;
  int wantBits;
  std::uint32_t wantColours, wantImageSize, wantOffset, wantFileSize;
};

TEST(BmpLayout, FollowsTheBitDepth) {
  const LayoutCase cases[] = {
      {640, 480, 1, 24, 24, 0, 921600, 54, 921654},
      {640, 480, 1, 8, 8, 256, 307200, 1078, 1078 + 307200},
      {640, 480, 1, 32, 32, 0, 1228800, 54, 54 + 1228800},
      {9, 2, 1, 1, 1, 2, 4, 62, 66},        // width rounded up to whole bytes
      {10, 10, 1, 2, 4, 16, 80, 118, 198},  // 2 bits round up to 4
      {10, 10, 3, 4, 16, 65536, 320, 54 + 4 * 65536, 54 + 4 * 65536 + 320},  // planes count
  };
  for (const LayoutCase& c : cases) {
    const BmpLayout layout = bmpLayout({c.width, c.height, c.planes, c.bitsPerPixel, {}, {}});
    const std::string row = std::to_string(c.width) + "x" + std::to_string(c.height) + " " +
                            std::to_string(c.planes) + "x" + std::to_string(c.bitsPerPixel);
    EXPECT_EQ(layout.bits, c.wantBits) << row;
    EXPECT_EQ(layout.coloursUsed, c.wantColours) << row;
    EXPECT_EQ(layout.imageSize, c.wantImageSize) << row;
    EXPECT_EQ(layout.pixelOffset, c.wantOffset) << row;
    EXPECT_EQ(layout.fileSize, c.wantFileSize) << row;
  }
}

std::uint32_t at32(const std::string& bytes, std::size_t offset) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[offset + k]);
  return v;
}

TEST(BmpHeaders, AreLittleEndianAtTheirOffsets) {
  BmpPicture picture{2, 1, 1, 8, {0x00FF0000, 0x000000FF}, "\x01\x00"};
  const std::string bytes = bmpHeaders(picture);
  ASSERT_EQ(bytes.size(), 54u + 4 * 256);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(at32(bytes, 2), 54u + 1024 + 8);  // file size
  EXPECT_EQ(at32(bytes, 10), 1078u);          // pixel data offset
  EXPECT_EQ(at32(bytes, 14), 40u);
  EXPECT_EQ(at32(bytes, 18), 2u);
  EXPECT_EQ(at32(bytes, 22), 1u);
  EXPECT_EQ(at32(bytes, 26), 1u | (8u << 16));  // planes, bits per pixel
  EXPECT_EQ(at32(bytes, 34), 8u);               // image size
  EXPECT_EQ(at32(bytes, 46), 256u);             // colours used
  EXPECT_EQ(at32(bytes, 54), 0x00FF0000u);      // the colour table
  EXPECT_EQ(at32(bytes, 58), 0x000000FFu);
  EXPECT_EQ(at32(bytes, 62), 0u);
}

TEST(BmpFile, HoldsExactlyTheComputedSize) {
  testing_support::TempDir dir;
  BmpPicture picture{16, 4, 1, 24, {}, std::string(10, '\x7f')};
  EXPECT_EQ(writeBmpFile(dir.file("picture.bmp"), picture), "");
  EXPECT_EQ(std::filesystem::file_size(dir.file("picture.bmp")), bmpLayout(picture).fileSize);
  EXPECT_EQ(writeBmpFile(dir.file("missing/picture.bmp"), picture), "CreateFile");
}

}  // namespace
}  // namespace console
