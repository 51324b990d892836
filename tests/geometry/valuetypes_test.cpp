// The values that fresh records and new sequence elements start from, and index records
// keeping what the loader hands them.
#include <gtest/gtest.h>

#include <array>

#include "data/geometry/light.h"
#include "data/geometry/material.h"
#include "data/geometry/matrix4.h"
#include "data/geometry/quadindices.h"
#include "data/geometry/shader.h"
#include "data/geometry/texcoord.h"
#include "data/geometry/texture.h"
#include "data/geometry/triangleindices.h"
#include "data/geometry/vector3.h"

namespace {

using namespace Data::Geometry;
using Rgba = std::array<float, 4>;

Rgba rgba(const Color& c) { return {c.r, c.g, c.b, c.a}; }

TEST(ValueTypesTest, NewColoursAndLightsAreOpaqueWhiteAndMaterialsOpaqueBlack) {
  const Light light;
  for (const Color& c : {Color(), light.ambient, light.diffuse, light.specular})
    EXPECT_EQ((Rgba{1, 1, 1, 1}), rgba(c));
  const Material material;
  for (const Color& c : {material.ambient, material.diffuse, material.specular, material.emission})
    EXPECT_EQ((Rgba{0, 0, 0, 1}), rgba(c));
  EXPECT_EQ(0, material.shininess);
  EXPECT_FALSE(material.texture);
}

TEST(ValueTypesTest, NumbersNobodySetStartAtZero) {
  EXPECT_EQ(0, TVector3<float>().lengthSquared());
  const TMatrix4<float> m;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(0, m[0][i]);
  EXPECT_EQ(0, TexCoord().u + TexCoord().v);
  const TriangleIndices tri;
  const QuadIndices quad;
  EXPECT_EQ(0u, tri.a | tri.b | tri.c | quad.a | quad.b | quad.c | quad.d);
  const Texture texture;
  EXPECT_EQ(0u, texture.width | texture.height | texture.glName);
  EXPECT_EQ(0u, Shader("texLight").program);
}

TEST(ValueTypesTest, IndexSetKeepsOrderAndSignedBits) {
  TriangleIndices tri;
  tri.set(7, 0, -1);
  EXPECT_EQ((std::array<std::uint32_t, 3>{7, 0, 0xFFFFFFFF}),
            (std::array<std::uint32_t, 3>{tri.a, tri.b, tri.c}));
  QuadIndices quad;
  quad.set(3, 2, 1, -2);
  EXPECT_EQ((std::array<std::uint32_t, 4>{3, 2, 1, 0xFFFFFFFE}),
            (std::array<std::uint32_t, 4>{quad.a, quad.b, quad.c, quad.d}));
}

}  // namespace
