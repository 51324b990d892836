#include "system/loader/imagedecoder.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/ressourcetestfiles.h"
#include "loader/testpictures.h"

namespace {

using Data::Geometry::Texture;
using ressourcetest::ScratchDir;
using System::Loader::decodeImage;
using namespace testpictures;

class FreeImageEnvironment : public testing::Environment {
 public:
  void SetUp() override { FreeImage_Initialise(FALSE); }
  void TearDown() override { FreeImage_DeInitialise(); }
};
const testing::Environment* const freeImage =
    testing::AddGlobalTestEnvironment(new FreeImageEnvironment);

struct PictureCase {
  FREE_IMAGE_FORMAT format;
  const char* extension;
  unsigned bpp;
  unsigned width;
  unsigned height;
};

class LosslessPicture : public testing::TestWithParam<PictureCase> {};

// Widths of 1, 3, 5 and 37 pixels leave 24-bit rows padded in FreeImage.
TEST_P(LosslessPicture, DecodesToPackedBgrRowsBottomFirst) {
  const PictureCase& picture = GetParam();
  ScratchDir dir;
  const std::string path = savePicture(dir, std::string("picture.") + picture.extension,
                                       picture.format, picture.bpp, picture.width, picture.height);
  Texture texture;
  ASSERT_TRUE(decodeImage(picture.format, path, texture));
  expectPixels(texture, picture.bpp, picture.width, picture.height);
}

INSTANTIATE_TEST_SUITE_P(
    DepthsAndWidths, LosslessPicture,
    testing::Values(PictureCase{FIF_BMP, "bmp", 24, 4, 3}, PictureCase{FIF_BMP, "bmp", 24, 5, 4},
                    PictureCase{FIF_BMP, "bmp", 24, 1, 1}, PictureCase{FIF_BMP, "bmp", 8, 37, 9},
                    PictureCase{FIF_BMP, "bmp", 32, 3, 7}, PictureCase{FIF_PNG, "png", 24, 37, 5},
                    PictureCase{FIF_PNG, "png", 8, 3, 3}, PictureCase{FIF_PNG, "png", 32, 5, 2},
                    PictureCase{FIF_TARGA, "tga", 24, 7, 7},
                    PictureCase{FIF_TARGA, "tga", 32, 9, 1},
                    PictureCase{FIF_TARGA, "tga", 8, 11, 2},
                    PictureCase{FIF_TIFF, "tif", 24, 13, 6}));

TEST(ImageDecoder, KeepsTheBottomRowOfTheFileFirst) {
  ScratchDir dir;
  // A PPM lists its top row first: red above, blue below.
  const std::string path =
      dir.write("two.ppm", std::string("P6\n1 2\n255\n") + std::string("\xff\x00\x00", 3) +
                               std::string("\x00\x00\xff", 3));
  Texture texture;
  ASSERT_TRUE(decodeImage(FIF_PPM, path, texture));
  ASSERT_EQ(texture.width, 1);
  ASSERT_EQ(texture.height, 2);
  const std::vector<unsigned char> bytes(texture.data.get(), texture.data.get() + 6);
  EXPECT_EQ(bytes, (std::vector<unsigned char>{0xff, 0, 0, 0, 0, 0xff}));
}

TEST(ImageDecoder, SixteenBitChannelsKeepTheirHighBytes) {
  ScratchDir dir;
  FIBITMAP* picture = FreeImage_AllocateT(FIT_RGB16, 3, 2);
  for (unsigned y = 0; y < 2; ++y) {
    FIRGB16* row = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(picture, y));
    for (unsigned x = 0; x < 3; ++x) {
      const Bgr colour = colourAt(x, y);
      row[x].red = static_cast<WORD>(colour.r << 8 | 0x7f);
      row[x].green = static_cast<WORD>(colour.g << 8 | 0x7f);
      row[x].blue = static_cast<WORD>(colour.b << 8 | 0x7f);
    }
  }
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, picture, dir.path("deep.png").c_str(), 0));
  FreeImage_Unload(picture);
  Texture texture;
  ASSERT_TRUE(decodeImage(FIF_PNG, dir.path("deep.png"), texture));
  expectPixels(texture, 24, 3, 2);
}

TEST(ImageDecoder, FloatColoursAreToneMappedToBytes) {
  ScratchDir dir;
  FIBITMAP* picture = FreeImage_AllocateT(FIT_RGBF, 5, 3);
  for (unsigned y = 0; y < 3; ++y) {
    FIRGBF* row = reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(picture, y));
    for (unsigned x = 0; x < 5; ++x) row[x] = FIRGBF{x * 0.25f, y * 0.5f, 1.0f};
  }
  ASSERT_TRUE(FreeImage_Save(FIF_PFM, picture, dir.path("light.pfm").c_str(), 0));
  FreeImage_Unload(picture);
  Texture texture;
  ASSERT_TRUE(decodeImage(FIF_PFM, dir.path("light.pfm"), texture));
  EXPECT_EQ(texture.width, 5);
  EXPECT_EQ(texture.height, 3);
  const unsigned char* darkest = texture.data.get();
  const unsigned char* brightest = texture.data.get() + (2 * 5 + 4) * 3;
  EXPECT_LT(darkest[2], brightest[2]) << "red grows to the right";
  EXPECT_LT(darkest[1], brightest[1]) << "green grows upwards";
}

TEST(ImageDecoder, LossyPictureDecodesToTheFullSize) {
  ScratchDir dir;
  const std::string path = savePicture(dir, "photo.jpg", FIF_JPEG, 24, 301, 97);
  Texture texture;
  ASSERT_TRUE(decodeImage(FIF_JPEG, path, texture));
  EXPECT_EQ(texture.width, 301);
  EXPECT_EQ(texture.height, 97);
}

TEST(ImageDecoder, AcceptsTheLargestSideWithinBounds) {
  ScratchDir dir;
  const std::string path = savePicture(dir, "strip.png", FIF_PNG, 24, 16384, 1);
  Texture texture;
  ASSERT_TRUE(decodeImage(FIF_PNG, path, texture));
  EXPECT_EQ(texture.width, 16384);
}

}  // namespace
