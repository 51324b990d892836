// The plain value types: what fresh records start from, set keeping its arguments in order, and
// the vector arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "data/geometry/light.h"
#include "data/geometry/matrix4.h"
#include "data/geometry/shader.h"
#include "geometry/printed.h"

namespace {

using namespace TestPrinted;
using Vec = TVector3<float>;

// Lights and new vertex colours are opaque white, materials opaque black; numbers nobody set
// start at zero. The loader hands signed ints to the index records; they keep them bit for bit.
TEST(ValueTypesTest, FreshRecordsAndSetKeepingItsArgumentsInOrder) {
  const Light l;
  const Material m;
  const Shader shader("texLight");
  const Texture texture;
  EXPECT_EQ("1,1,1,1 1,1,1,1 1,1,1,1 | 0,0,0,1 0,0,0,1 0,0,0,1 0,0,0,1",
            text(std::vector<Color>{l.ambient, l.diffuse, l.specular}) + " | " +
                text(std::vector<Color>{m.ambient, m.diffuse, m.specular, m.emission}));
  EXPECT_TRUE(!l.flag && m.name.empty() && m.shininess == 0 && !m.texture);
  EXPECT_TRUE(shader.name == "texLight" && shader.vertexSource.empty() &&
              shader.fragmentSource.empty() && !shader.loaded);
  EXPECT_TRUE(texture.name.empty() && !texture.data && !texture.uploaded);
  EXPECT_EQ(0u, texture.width | texture.height | texture.glName | shader.program);
  const TMatrix4<float> matrix;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(0, matrix[0][i]);
  EXPECT_EQ("0,0,0 1,1,1,1 0,0 0,0,0 0,0,0,0",
            text(Vec()) + " " + text(Color()) + " " + text(TexCoord()) + " " +
                text(TriangleIndices()) + " " + text(QuadIndices()));
  Vec v;
  Color color;
  TexCoord uv;
  TriangleIndices tri;
  QuadIndices quad;
  EXPECT_EQ(&v, &v.set(1, 2, 3));
  color.set(0.25f, 0.5f, 0.75f, 0.125f);
  uv.set(0.5f, 2);
  tri.set(7, 0, -1);
  quad.set(3, 2, 1, -2);
  EXPECT_EQ("1,2,3 0.25,0.5,0.75,0.125 0.5,2 7,0,4294967295 3,2,1,4294967294",
            text(v) + " " + text(color) + " " + text(uv) + " " + text(tri) + " " + text(quad));
}

TEST(ValueTypesTest, LengthNormalizeAndCrossOfVectors) {
  const struct {
    Vec v, other;
    float lengthSquared, length;
    Vec normalized, cross;
  } cases[] = {{{3, 4, 0}, {1, 0, 0}, 25, 5, {0.6f, 0.8f, 0}, {0, 0, -4}},
               {{1, 0, 0}, {0, 1, 0}, 1, 1, {1, 0, 0}, {0, 0, 1}},
               {{0, 1, 0}, {1, 0, 0}, 1, 1, {0, 1, 0}, {0, 0, -1}},
               {{2, -3, 6}, {1, 2, 4}, 49, 7, {2.f / 7, -3.f / 7, 6.f / 7}, {-24, -2, 7}}};
  for (const auto& c : cases) {
    Vec v = c.v;
    EXPECT_EQ(c.lengthSquared, v.lengthSquared());
    EXPECT_EQ(c.length, v.length());
    EXPECT_EQ(text(c.cross) + " " + text(c.v), text(v.cross(c.other)) + " " + text(v));
    EXPECT_EQ(&v, &v.normalize());
    EXPECT_EQ(text(c.normalized), text(v));
  }
  Vec zero(0, 0, 0);
  zero.normalize();
  EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z));
}

}  // namespace
