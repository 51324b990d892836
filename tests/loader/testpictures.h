#pragma once
// Pictures of known pixels, written through FreeImage, for the texture tests.

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "data/geometry/texture.h"
#include "loader/ressourcetestfiles.h"

namespace testpictures {

using ressourcetest::ScratchDir;

struct Bgr {
  unsigned char b, g, r;
};

// Row y counts from the bottom, as FreeImage and the texture store rows.
inline Bgr colourAt(unsigned x, unsigned y) {
  return {static_cast<unsigned char>(x * 37 + y * 11), static_cast<unsigned char>(x * 5 + y * 71),
          static_cast<unsigned char>(x * y * 13 + 29)};
}

inline unsigned char greyAt(unsigned x, unsigned y) {
  return static_cast<unsigned char>(x * 29 + y * 17);
}

inline Bgr expectedAt(unsigned bpp, unsigned x, unsigned y) {
  if (bpp == 8) {
    const unsigned char grey = greyAt(x, y);
    return {grey, grey, grey};
  }
  return colourAt(x, y);
}

// A picture of 8 (grey palette), 24 or 32 bits per pixel; the alpha of 32-bit
// pictures varies so that a decoder mixing it into the colours shows.
inline FIBITMAP* makePicture(unsigned bpp, unsigned width, unsigned height) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, bpp);
  if (bpp == 8) {
    RGBQUAD* palette = FreeImage_GetPalette(picture);
    for (unsigned i = 0; i < 256; ++i) {
      palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
    }
  }
  const unsigned step = bpp / 8;
  for (unsigned y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(picture, y);
    for (unsigned x = 0; x < width; ++x) {
      BYTE* pixel = row + x * step;
      if (bpp == 8) {
        pixel[0] = greyAt(x, y);
        continue;
      }
      const Bgr colour = colourAt(x, y);
      pixel[FI_RGBA_BLUE] = colour.b;
      pixel[FI_RGBA_GREEN] = colour.g;
      pixel[FI_RGBA_RED] = colour.r;
      if (bpp == 32) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(255 - x);
    }
  }
  return picture;
}

inline std::string savePicture(const ScratchDir& dir, const std::string& name,
                               FREE_IMAGE_FORMAT format, unsigned bpp, unsigned width,
                               unsigned height) {
  FIBITMAP* picture = makePicture(bpp, width, height);
  const bool saved = FreeImage_Save(format, picture, dir.path(name).c_str(), 0);
  FreeImage_Unload(picture);
  EXPECT_TRUE(saved) << name;
  return dir.path(name);
}

inline std::string contentsOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void expectPixels(const Data::Geometry::Texture& texture, unsigned bpp, unsigned width,
                         unsigned height) {
  ASSERT_EQ(texture.width, static_cast<int>(width));
  ASSERT_EQ(texture.height, static_cast<int>(height));
  ASSERT_TRUE(texture.data);
  for (unsigned y = 0; y < height; ++y) {
    for (unsigned x = 0; x < width; ++x) {
      const unsigned char* pixel = texture.data.get() + (y * width + x) * 3;
      const Bgr expected = expectedAt(bpp, x, y);
      ASSERT_EQ(pixel[0], expected.b) << "blue at " << x << "," << y;
      ASSERT_EQ(pixel[1], expected.g) << "green at " << x << "," << y;
      ASSERT_EQ(pixel[2], expected.r) << "red at " << x << "," << y;
    }
  }
}

inline  // A bitmap header of 54 bytes announcing 60000 x 60000 pixels: decoding it
    // would clear 10 GB before finding the pixel data missing.
    std::string
    giantBitmapHeader() {
  unsigned char header[54] = {'B', 'M'};
  const auto put = [&header](int at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) header[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  put(10, 54, 4);     // pixel data offset
  put(14, 40, 4);     // info header size
  put(18, 60000, 4);  // width
  put(22, 60000, 4);  // height
  put(26, 1, 2);      // planes
  put(28, 24, 2);     // bits per pixel
  return std::string(reinterpret_cast<const char*>(header), sizeof header) + "abcdefgh";
}

}  // namespace testpictures
