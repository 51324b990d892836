#include "data/geometry/vector3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Vec = Data::Geometry::TVector3<float>;

void expectVec(const Vec& expected, const Vec& actual) {
  EXPECT_FLOAT_EQ(expected.x, actual.x);
  EXPECT_FLOAT_EQ(expected.y, actual.y);
  EXPECT_FLOAT_EQ(expected.z, actual.z);
}

TEST(Vector3Test, NormalizeDividesByTheLengthInPlace) {
  Vec v(3, 4, 0);
  EXPECT_FLOAT_EQ(25, v.lengthSquared());
  EXPECT_FLOAT_EQ(5, v.length());
  EXPECT_EQ(&v, &v.normalize());
  expectVec(Vec(0.6f, 0.8f, 0), v);

  Vec zero(0, 0, 0);
  zero.normalize();
  EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z));
}

TEST(Vector3Test, CrossProductFollowsRightHandRuleAndKeepsOperand) {
  const struct {
    Vec a, b, expected;
  } cases[] = {
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
      {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
      {{1, 2, 3}, {4, 5, 6}, {-3, 6, -3}},
  };
  for (const auto& c : cases) {
    const Vec a = c.a;
    expectVec(c.expected, a.cross(c.b));
    expectVec(c.a, a);
  }
}

}  // namespace
