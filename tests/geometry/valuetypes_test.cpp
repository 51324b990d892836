// The plain value types: what fresh records start from, and index records keeping what the
// loader hands them.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

TEST(ValueTypesTest, NumbersNobodySetStartAtZeroAndIndexSetKeepsSignedBits) {
  EXPECT_EQ(0, TVector3<float>().lengthSquared());
  const TMatrix4<float> m;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(0, m[0][i]);
  EXPECT_EQ(0, TexCoord().u + TexCoord().v + Material().shininess);
  EXPECT_EQ(0u, Texture().width | Texture().height | Texture().glName | Shader("x").program);
  TriangleIndices tri;
  QuadIndices quad;
  tri.set(7, 0, -1);
  quad.set(3, 2, 1, -2);
  EXPECT_EQ((std::vector<std::uint32_t>{7, 0, 0xFFFFFFFF, 3, 2, 1, 0xFFFFFFFE}),
            (std::vector<std::uint32_t>{tri.a, tri.b, tri.c, quad.a, quad.b, quad.c, quad.d}));
}

}  // namespace
