#include "system/loader/imagedecoder.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <string>

#include "loader/loadertest.h"

namespace {

using Data::Geometry::Texture;

class FreeImageEnvironment : public testing::Environment {
  void SetUp() override { FreeImage_Initialise(FALSE); }
  void TearDown() override { FreeImage_DeInitialise(); }
};
const testing::Environment* const freeImage =
    testing::AddGlobalTestEnvironment(new FreeImageEnvironment);

// Blue, green and red (c = 0, 1, 2) of pixel (x, y), rows counted from the bottom as both
// FreeImage and the texture count them; grey pictures have one value for all three.
unsigned char channel(unsigned bpp, unsigned c, unsigned x, unsigned y) {
  return static_cast<unsigned char>(bpp == 8 ? x * 29 + y * 17
                                             : x * (37 - c * 13) + y * (c * 29 + 11));
}

// A picture of 8 (grey palette), 24 or 32 bits per pixel; the alpha of 32-bit pictures varies so
// that a decoder mixing it into the colours shows.
FIBITMAP* makePicture(unsigned bpp, unsigned width, unsigned height) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, bpp);
  RGBQUAD* palette = FreeImage_GetPalette(picture);
  for (unsigned i = 0; palette != nullptr && i < 256; ++i) {
    palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
  }
  for (unsigned y = 0; y < height; ++y) {
    BYTE* pixel = FreeImage_GetScanLine(picture, y);
    for (unsigned x = 0; x < width; ++x, pixel += bpp / 8) {
      pixel[0] = channel(bpp, 0, x, y);
      if (bpp == 8) continue;
      pixel[FI_RGBA_BLUE] = channel(bpp, 0, x, y);
      pixel[FI_RGBA_GREEN] = channel(bpp, 1, x, y);
      pixel[FI_RGBA_RED] = channel(bpp, 2, x, y);
      if (bpp == 32) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(255 - x);
    }
  }
  return picture;
}

// Widths of 1, 3, 5, 7 and 37 pixels leave 24-bit rows padded in FreeImage; 16384 is the widest
// side the decoder takes.
TEST(ImageDecoder, EveryDepthAndWidthBecomesPackedBgrRowsBottomFirst) {
  const struct {
    FREE_IMAGE_FORMAT format;
    const char* extension;
    unsigned bpp, width, height;
  } pictures[] = {
      {FIF_BMP, "bmp", 24, 4, 3},    {FIF_BMP, "bmp", 24, 5, 4},   {FIF_BMP, "bmp", 24, 1, 1},
      {FIF_BMP, "bmp", 8, 37, 9},    {FIF_BMP, "bmp", 32, 3, 7},   {FIF_PNG, "png", 24, 37, 5},
      {FIF_PNG, "png", 8, 3, 3},     {FIF_PNG, "png", 32, 5, 2},   {FIF_TARGA, "tga", 24, 7, 7},
      {FIF_TARGA, "tga", 32, 9, 1},  {FIF_TARGA, "tga", 8, 11, 2}, {FIF_TIFF, "tif", 24, 13, 6},
      {FIF_PNG, "png", 24, 16384, 1}};
  loadertest::ScratchDir dir;
  for (const auto& p : pictures) {
    const std::string path = dir.path(std::string("picture.") + p.extension);
    SCOPED_TRACE(path + " of " + std::to_string(p.bpp) + " bits, " + std::to_string(p.width) +
                 " wide");
    FIBITMAP* picture = makePicture(p.bpp, p.width, p.height);
    ASSERT_TRUE(FreeImage_Save(p.format, picture, path.c_str(), 0));
    FreeImage_Unload(picture);
    Texture texture;
    ASSERT_TRUE(System::Loader::decodeImage(p.format, path, texture));
    ASSERT_EQ(static_cast<int>(p.width), texture.width);
    ASSERT_EQ(static_cast<int>(p.height), texture.height);
    const unsigned char* byte = texture.data.get();
    for (unsigned y = 0; y < p.height; ++y) {
      for (unsigned x = 0; x < p.width; ++x) {
        for (unsigned c = 0; c < 3; ++c, ++byte) {
          ASSERT_EQ(channel(p.bpp, c, x, y), *byte) << "channel " << c << " at " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
