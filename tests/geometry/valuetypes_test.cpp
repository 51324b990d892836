// The plain value types: vector arithmetic, the values that fresh records and new sequence
// elements start from, and index records keeping what the loader hands them.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

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
using Vec = TVector3<float>;
using Rgba = std::array<float, 4>;

Rgba rgba(const Color& c) { return {c.r, c.g, c.b, c.a}; }
std::array<float, 3> xyz(const Vec& v) { return {v.x, v.y, v.z}; }

TEST(ValueTypesTest, NormalizeDividesByTheLengthInPlace) {
  Vec v(3, 4, 0);
  EXPECT_EQ(25, v.lengthSquared());
  EXPECT_EQ(5, v.length());
  EXPECT_EQ(&v, &v.normalize());
  EXPECT_EQ((std::array<float, 3>{0.6f, 0.8f, 0}), xyz(v));
  Vec zero(0, 0, 0);
  zero.normalize();
  EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z));
}

TEST(ValueTypesTest, CrossProductFollowsTheRightHandRuleAndKeepsItsOperand) {
  const Vec x(1, 0, 0), y(0, 1, 0), a(1, 2, 3);
  EXPECT_EQ((std::array<float, 3>{0, 0, 1}), xyz(x.cross(y)));
  EXPECT_EQ((std::array<float, 3>{0, 0, -1}), xyz(y.cross(x)));
  EXPECT_EQ((std::array<float, 3>{-3, 6, -3}), xyz(a.cross(Vec(4, 5, 6))));
  EXPECT_EQ((std::array<float, 3>{1, 2, 3}), xyz(a));
}

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
