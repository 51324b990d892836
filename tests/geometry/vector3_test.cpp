#include "data/geometry/vector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Vec = Data::Geometry::TVector3<float>;

TEST(Vector3Test, DefaultVectorIsZero) {
  const Vec v;
  EXPECT_EQ(0.0f, v.x);
  EXPECT_EQ(0.0f, v.y);
  EXPECT_EQ(0.0f, v.z);
}

TEST(Vector3Test, LengthOfThreeFourZeroIsFive) {
  const Vec v(3, 4, 0);
  EXPECT_FLOAT_EQ(25.0f, v.lengthSquared());
  EXPECT_FLOAT_EQ(5.0f, v.length());
}

TEST(Vector3Test, NormalizeScalesInPlaceAndReturnsSameObject) {
  Vec v(3, 4, 0);
  Vec& result = v.normalize();
  EXPECT_EQ(&v, &result);
  EXPECT_FLOAT_EQ(0.6f, v.x);
  EXPECT_FLOAT_EQ(0.8f, v.y);
  EXPECT_FLOAT_EQ(0.0f, v.z);
  EXPECT_FLOAT_EQ(1.0f, v.length());
}

TEST(Vector3Test, NormalizingZeroVectorGivesNaNWithoutFailing) {
  Vec v(0, 0, 0);
  v.normalize();
  EXPECT_TRUE(std::isnan(v.x));
  EXPECT_TRUE(std::isnan(v.y));
  EXPECT_TRUE(std::isnan(v.z));
}

struct CrossCase {
  Vec a, b, expected;
};

TEST(Vector3Test, CrossProductFollowsRightHandRule) {
  const std::vector<CrossCase> cases = {
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},   {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
      {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},   {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
      {{1, 2, 3}, {4, 5, 6}, {-3, 6, -3}}, {{2, 0, 0}, {4, 0, 0}, {0, 0, 0}},
  };
  for (const CrossCase& c : cases) {
    const Vec a = c.a;
    const Vec r = a.cross(c.b);
    EXPECT_FLOAT_EQ(c.expected.x, r.x);
    EXPECT_FLOAT_EQ(c.expected.y, r.y);
    EXPECT_FLOAT_EQ(c.expected.z, r.z);
    EXPECT_EQ(c.a.x, a.x);  // the operand is left alone
    EXPECT_EQ(c.a.y, a.y);
    EXPECT_EQ(c.a.z, a.z);
  }
}

TEST(Vector3Test, SequenceIsPackedArrayOfThreeFloats) {
  std::vector<Vec> vs = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  const float* f = &vs[0].x;
  for (int i = 0; i < 9; ++i) EXPECT_EQ(float(i + 1), f[i]);
  EXPECT_EQ(reinterpret_cast<const char*>(&vs[0]) + 9 * sizeof(float),
            reinterpret_cast<const char*>(vs.data() + 3));
}

}  // namespace
