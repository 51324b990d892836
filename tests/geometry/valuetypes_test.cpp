#include <gtest/gtest.h>

#include "data/geometry/light.h"
#include "data/geometry/shader.h"
#include "geometry/printed.h"

namespace {

using namespace TestPrinted;
using Vec = TVector3<float>;

// Lights and new vertex colours are opaque white, materials opaque black; numbers nobody set
// start at zero. The loader hands signed ints to the index records; they keep them bit for bit.
TEST(ValueTypesTest, FreshRecordsAndSetKeepingItsArgumentsInOrder) {
  EXPECT_EQ("1,1,1,1 1,1,1,1 1,1,1,1 0 | 0,0,0,1 0,0,0,1 0,0,0,1 0,0,0,1 0 | 0 0 | 0 0 0 0",
            fields(Light().ambient, Light().diffuse, Light().specular, Light().flag, "|",
                   Material().ambient, Material().diffuse, Material().specular, Material().emission,
                   Material().shininess, "|", Shader("").loaded, Shader("").program, "|",
                   Texture().uploaded, Texture().width, Texture().height, Texture().glName));
  Color color;
  TexCoord uv;
  TriangleIndices tri;
  QuadIndices quad;
  EXPECT_EQ("0,0,0 1,1,1,1 0 0 0,0,0 0,0,0,0", fields(Vec(), color, uv.u, uv.v, tri, quad));
  color.set(0.25f, 0.5f, 0.75f, 0.125f);
  uv.set(0.5f, 2);
  tri.set(7, 0, -1);
  quad.set(3, 2, 1, -2);
  EXPECT_EQ("0.25,0.5,0.75,0.125 0.5 2 7,0,4294967295 3,2,1,4294967294",
            fields(color, uv.u, uv.v, tri, quad));
}

// (3, 4, 0) has a zero and small integers; (2, -3, 6) and (1, 2, 4) have every component distinct.
TEST(ValueTypesTest, LengthNormalizeAndCrossOfVectors) {
  Vec v(3, 4, 0), w(2, -3, 6);
  EXPECT_EQ("25 5 0,0,-4 | 49 7 -24,-2,7",
            fields(v.lengthSquared(), v.length(), v.cross(Vec(1, 0, 0)), "|", w.lengthSquared(),
                   w.length(), w.cross(Vec(1, 2, 4))));
  EXPECT_EQ(&v, &v.normalize());
  w.normalize();
  EXPECT_EQ(fields(Vec(0.6f, 0.8f, 0), Vec(2.f / 7, -3.f / 7, 6.f / 7)), fields(v, w));
}

}  // namespace
