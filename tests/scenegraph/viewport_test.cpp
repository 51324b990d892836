#include "rendering/viewport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <sstream>

namespace {

using Rendering::Viewport;
using Rect = std::array<int, 4>;

Rect pixels(const Viewport& v) {
  return {v.getPixelX(), v.getPixelY(), v.getPixelWidth(), v.getPixelHeight()};
}

TEST(ViewportTest, PixelRectanglesTruncateTheExactProduct) {
  const struct {
    float x, y, w, h;
    int width, height;
    Rect expected;
  } rows[] = {
      // 640 × 0.7f is 447.99999… and must not become 448.
      {0.7f, 0.7f, 0.25f, 0.25f, 640, 480, {447, 335, 160, 120}},
      {0.7f, 0.7f, 0.25f, 0.25f, 800, 600, {559, 419, 200, 150}},
      {-0.5f, 0, 0.5f, 1, 641, 10, {-320, 0, 320, 10}},
      {0, 0, 1e30f, std::nanf(""), 640, 480, {0, 0, std::numeric_limits<int>::max(), 0}},
  };
  for (const auto& row : rows) {
    Viewport v(row.x, row.y, row.w, row.h);
    EXPECT_EQ(pixels(v.resize(row.width, row.height)), row.expected) << row.x << " " << row.w;
  }
}

TEST(ViewportTest, SetRelativeFollowsTheWindowOnlyOnceItsSizeIsKnown) {
  Viewport v(0.5f, 0.5f, 0.5f, 0.5f);
  EXPECT_EQ(v.setRelative(0, 0, 1, 1).getAspect(), 1.0f);
  EXPECT_EQ(pixels(v), (Rect{0, 0, 0, 0}));
  v.resize(640, 480).setRelative(0.5f, 0, 0.5f, 0.25f);
  EXPECT_EQ(pixels(v), (Rect{320, 0, 320, 120}));
  std::ostringstream out;
  out << v;
  EXPECT_EQ(out.str(), "viewport 320/0 320/120 2.66667");
}

TEST(ViewportTest, AWindowOfNoHeightKeepsTheLastFiniteAspect) {
  Viewport v;
  v.resize(640, 480).resize(640, 0);
  EXPECT_EQ(pixels(v), (Rect{0, 0, 640, 0}));
  EXPECT_EQ(v.getAspect(), static_cast<float>(4.0 / 3.0));
  v.setRelative(0, 0, 0.5f, 0.5f);  // a window of no height: only stored
  EXPECT_EQ(pixels(v), (Rect{0, 0, 640, 0}));
  v.resize(0, 0);
  EXPECT_EQ(v.getAspect(), static_cast<float>(4.0 / 3.0));
}

}  // namespace
