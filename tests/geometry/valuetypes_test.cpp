#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "data/geometry/color.h"
#include "data/geometry/quadindices.h"
#include "data/geometry/texcoord.h"
#include "data/geometry/triangleindices.h"

namespace {

using Data::Geometry::Color;
using Data::Geometry::QuadIndices;
using Data::Geometry::TexCoord;
using Data::Geometry::TriangleIndices;

TEST(ValueTypesTest, DefaultColorIsOpaqueWhite) {
  const Color c;
  EXPECT_EQ(1.0f, c.r);
  EXPECT_EQ(1.0f, c.g);
  EXPECT_EQ(1.0f, c.b);
  EXPECT_EQ(1.0f, c.a);
}

TEST(ValueTypesTest, DefaultTexCoordAndIndexRecordsAreZero) {
  const TexCoord t;
  EXPECT_EQ(0.0f, t.u);
  EXPECT_EQ(0.0f, t.v);
  const TriangleIndices tri;
  EXPECT_EQ(0u, tri.a + tri.b + tri.c);
  const QuadIndices quad;
  EXPECT_EQ(0u, quad.a + quad.b + quad.c + quad.d);
}

TEST(ValueTypesTest, IndexSetKeepsOrderAndSignedBitsUnchanged) {
  TriangleIndices tri;
  tri.set(7, 0, -1);
  EXPECT_EQ(7u, tri.a);
  EXPECT_EQ(0u, tri.b);
  EXPECT_EQ(0xFFFFFFFFu, tri.c);
  QuadIndices quad;
  quad.set(3, 2, 1, -2);
  EXPECT_EQ(3u, quad.a);
  EXPECT_EQ(2u, quad.b);
  EXPECT_EQ(1u, quad.c);
  EXPECT_EQ(0xFFFFFFFEu, quad.d);
}

// The drawing code hands these sequences to GL as plain arrays.
template <typename T, typename Component>
const Component* asArray(const std::vector<T>& v) {
  return reinterpret_cast<const Component*>(v.data());
}

TEST(ValueTypesTest, ColorSequenceIsFourFloatsPerElementInRgbaOrder) {
  const std::vector<Color> colors = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  const float* f = asArray<Color, float>(colors);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(float(i + 1), f[i]);
  EXPECT_EQ(16u, sizeof(Color));
}

TEST(ValueTypesTest, TexCoordSequenceIsTwoFloatsPerElement) {
  std::vector<TexCoord> coords(2);
  coords[0].set(1, 2);
  coords[1].set(3, 4);
  const float* f = asArray<TexCoord, float>(coords);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(float(i + 1), f[i]);
  EXPECT_EQ(8u, sizeof(TexCoord));
}

TEST(ValueTypesTest, IndexSequencesArePackedUnsigned32BitIntegers) {
  std::vector<TriangleIndices> tris(2);
  tris[0].set(1, 2, 3);
  tris[1].set(4, 5, 6);
  const std::uint32_t* t = asArray<TriangleIndices, std::uint32_t>(tris);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(std::uint32_t(i + 1), t[i]);
  EXPECT_EQ(12u, sizeof(TriangleIndices));

  std::vector<QuadIndices> quads(2);
  quads[0].set(1, 2, 3, 4);
  quads[1].set(5, 6, 7, 8);
  const std::uint32_t* q = asArray<QuadIndices, std::uint32_t>(quads);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(std::uint32_t(i + 1), q[i]);
  EXPECT_EQ(16u, sizeof(QuadIndices));
}

}  // namespace
