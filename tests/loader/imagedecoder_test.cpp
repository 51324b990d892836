#include "system/loader/imagedecoder.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "loader/loadertest.h"

namespace {

using Data::Geometry::Texture;

// Blue, green and red (c = 0, 1, 2) of pixel (x, y), rows counted from the bottom; grey pictures
// have one value for all three.
unsigned char channel(unsigned bpp, unsigned c, unsigned x, unsigned y) {
  return static_cast<unsigned char>(bpp == 8 ? x * 29 + y * 17
                                             : x * (37 - c * 13) + y * (c * 29 + 11));
}

// FreeImage gives 8-bit pictures a grey palette. The alpha of 32-bit pictures varies so that a
// decoder mixing it into the colours shows.
FIBITMAP* makePicture(unsigned bpp, unsigned width, unsigned height) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, bpp);
  for (unsigned y = 0; y < height; ++y) {
    BYTE* pixel = FreeImage_GetScanLine(picture, y);
    for (unsigned x = 0; x < width; ++x, pixel += bpp / 8) {
      for (unsigned c = 0; c < 3 && c < bpp / 8; ++c) pixel[c] = channel(bpp, c, x, y);  // BGR
      if (bpp == 32) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(255 - x);
    }
  }
  return picture;
}

// Odd widths leave 24-bit rows padded in FreeImage; 16384 is the widest side the decoder takes.
TEST(ImageDecoder, EveryDepthAndWidthBecomesPackedBgrRowsBottomFirst) {
  const struct {
    FREE_IMAGE_FORMAT format;
    unsigned bpp, width, height;
  } pictures[] = {{FIF_BMP, 24, 5, 4},   {FIF_BMP, 8, 37, 9},    {FIF_BMP, 32, 3, 7},
                  {FIF_PNG, 24, 37, 5},  {FIF_PNG, 32, 5, 2},    {FIF_TARGA, 8, 11, 2},
                  {FIF_TIFF, 24, 13, 6}, {FIF_PNG, 24, 16384, 1}};
  loadertest::ScratchDir dir;
  for (const auto& p : pictures) {
    FIBITMAP* picture = makePicture(p.bpp, p.width, p.height);
    ASSERT_TRUE(FreeImage_Save(p.format, picture, dir.path("picture").c_str(), 0));
    FreeImage_Unload(picture);
    Texture texture;
    ASSERT_TRUE(System::Loader::decodeImage(p.format, dir.path("picture"), texture));
    ASSERT_TRUE(int(p.width) == texture.width && int(p.height) == texture.height);
    std::string expected;
    for (unsigned y = 0; y < p.height; ++y)
      for (unsigned x = 0; x < p.width; ++x)
        for (unsigned c = 0; c < 3; ++c) expected += static_cast<char>(channel(p.bpp, c, x, y));
    EXPECT_TRUE(expected ==
                std::string(reinterpret_cast<const char*>(texture.data.get()), expected.size()))
        << p.bpp << " bits, " << p.width << " wide";
  }
}

// FreeImage fills what a cut file lacks with made-up pixels, and would clear 10 GB for a 62-byte
// bitmap announcing 60000 (0xea60) pixels a side.
TEST(ImageDecoder, RefusesPicturesCutShortOrOfAbsurdSize) {
  loadertest::ScratchDir dir;
  FIBITMAP* picture = makePicture(24, 40, 30);
  Texture texture;
  for (const FREE_IMAGE_FORMAT format :
       {FIF_BMP, FIF_PNG, FIF_JPEG, FIF_TARGA, FIF_TIFF, FIF_PPM}) {
    ASSERT_TRUE(FreeImage_Save(format, picture, dir.path("whole").c_str(), 0));
    std::ifstream in(dir.path("whole"), std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), {}};
    for (std::size_t percent : {95, 20})
      EXPECT_FALSE(System::Loader::decodeImage(
          format, dir.write("cut", whole.substr(0, whole.size() * percent / 100)), texture))
          << format << " cut to " << percent << "%";
  }
  FreeImage_Unload(picture);
  const std::string giant =
      std::string("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x60\xea\0\0\x60\xea\0\0\x01\0\x18", 29) +
      std::string(25, '\0') + "abcdefgh";
  EXPECT_FALSE(System::Loader::decodeImage(FIF_BMP, dir.write("giant.bmp", giant), texture));
}

}  // namespace
