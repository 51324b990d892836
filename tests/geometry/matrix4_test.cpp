#include "data/geometry/matrix4.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using Mat = Data::Geometry::TMatrix4<float>;
using Vec4 = std::array<float, 4>;

const float kPi = 3.14159265358979f;

// Element (r, c) through the public column accessor.
float at(const Mat& m, int r, int c) { return m[c][r]; }

Vec4 timesColumn(const Mat& m, const Vec4& p) {
  Vec4 out{};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r] += at(m, r, c) * p[c];
  return out;
}

void expectNear(const Mat& expected, const Mat& actual, float tolerance = 1e-5f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(at(expected, r, c), at(actual, r, c), tolerance) << "element " << r << "," << c;
}

void expectNear(const Vec4& expected, const Vec4& actual) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(expected[i], actual[i], 1e-6f) << "component " << i;
}

Mat translation(float x, float y, float z) { return Mat().setTranslation(x, y, z); }
Mat rotationX(float a) { return Mat().setRotationX(a); }
Mat rotationY(float a) { return Mat().setRotationY(a); }
Mat rotationZ(float a) { return Mat().setRotationZ(a); }

Mat diagonal(float a, float b, float c, float d) {
  return Mat(a, 0, 0, 0, 0, b, 0, 0, 0, 0, c, 0, 0, 0, 0, d);
}

// Rows 1..16, and a second matrix with no symmetry, so that A*B and B*A differ.
const Mat kA(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
const Mat kB(2, 0, 1, 0, 0, 1, 0, 3, 1, 0, 0, 1, 0, 2, 1, 0);

TEST(Matrix4Test, DefaultMatrixIsZero) {
  const Mat m;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(0.0f, m[0][i]);
}

TEST(Matrix4Test, SetTakesRowsAndStoresColumns) {
  Mat m;
  Mat& result = m.set(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  EXPECT_EQ(&m, &result);
  const float* storage = m[0];
  const float expected[16] = {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(expected[i], storage[i]) << "position " << i;
  EXPECT_EQ(2.0f, m[1][0]);
  EXPECT_EQ(6.0f, m[1][1]);
  EXPECT_EQ(10.0f, m[1][2]);
  EXPECT_EQ(14.0f, m[1][3]);
}

TEST(Matrix4Test, IdentityIsOneSharedObject) {
  const Mat& first = Mat::identity();
  EXPECT_EQ(&first, &Mat::identity());
  expectNear(diagonal(1, 1, 1, 1), first, 0);
}

TEST(Matrix4Test, IdentityLeavesProductUnchangedOnEitherSide) {
  expectNear(kA, kA * Mat::identity(), 0);
  expectNear(kA, Mat::identity() * kA, 0);
}

TEST(Matrix4Test, ProductMatchesRowByColumnInBothOrders) {
  Mat ab, ba;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      float sumAB = 0, sumBA = 0;
      for (int k = 0; k < 4; ++k) {
        sumAB += at(kA, r, k) * at(kB, k, c);
        sumBA += at(kB, r, k) * at(kA, k, c);
      }
      ab[c][r] = sumAB;
      ba[c][r] = sumBA;
    }
  }
  expectNear(ab, kA * kB, 0);
  expectNear(ba, kB * kA, 0);
  EXPECT_NE(at(kA * kB, 0, 0), at(kB * kA, 0, 0));
}

TEST(Matrix4Test, InPlaceProductPostMultipliesAndReturnsTarget) {
  Mat m = kA;
  Mat& result = (m *= kB);
  EXPECT_EQ(&m, &result);
  expectNear(kA * kB, m, 0);
}

TEST(Matrix4Test, InPlaceProductWithItselfSquares) {
  Mat squared = kA;
  squared *= squared;
  Mat copy = kA;
  expectNear(kA * copy, squared, 0);
}

TEST(Matrix4Test, RightOperandActsFirst) {
  const Vec4 p{1, 0, 0, 1};
  expectNear(Vec4{1, 1, 0, 1}, timesColumn(translation(1, 0, 0) * rotationZ(kPi / 2), p));
  expectNear(Vec4{0, 2, 0, 1}, timesColumn(rotationZ(kPi / 2) * translation(1, 0, 0), p));
}

TEST(Matrix4Test, TranslationFillsColumnThree) {
  const Mat t = translation(1, 2, 3);
  EXPECT_EQ(1.0f, t[0][12]);
  EXPECT_EQ(2.0f, t[0][13]);
  EXPECT_EQ(3.0f, t[0][14]);
  expectNear(Vec4{1, 2, 3, 1}, Vec4{t[3][0], t[3][1], t[3][2], t[3][3]});
  expectNear(Vec4{5, 7, 9, 1}, timesColumn(t, Vec4{4, 5, 6, 1}));
}

struct RotationCase {
  std::string name;
  Mat rotation;
  Vec4 in, out;
};

TEST(Matrix4Test, RotationsTurnCounterClockwiseAboutTheirAxis) {
  const std::vector<RotationCase> cases = {
      {"Z maps x to y", rotationZ(kPi / 2), {1, 0, 0, 1}, {0, 1, 0, 1}},
      {"Z maps y to -x", rotationZ(kPi / 2), {0, 1, 0, 1}, {-1, 0, 0, 1}},
      {"Z keeps z", rotationZ(kPi / 2), {0, 0, 1, 1}, {0, 0, 1, 1}},
      {"X maps y to z", rotationX(kPi / 2), {0, 1, 0, 1}, {0, 0, 1, 1}},
      {"X maps z to -y", rotationX(kPi / 2), {0, 0, 1, 1}, {0, -1, 0, 1}},
      {"X keeps x", rotationX(kPi / 2), {1, 0, 0, 1}, {1, 0, 0, 1}},
      {"Y maps z to x", rotationY(kPi / 2), {0, 0, 1, 1}, {1, 0, 0, 1}},
      {"Y maps x to -z", rotationY(kPi / 2), {1, 0, 0, 1}, {0, 0, -1, 1}},
      {"Y keeps y", rotationY(kPi / 2), {0, 1, 0, 1}, {0, 1, 0, 1}},
      {"Z by pi reverses x", rotationZ(kPi), {1, 0, 0, 1}, {-1, 0, 0, 1}},
      {"X by -pi/2 maps y to -z", rotationX(-kPi / 2), {0, 1, 0, 1}, {0, 0, -1, 1}},
      {"direction ignores translation", translation(5, 5, 5), {1, 0, 0, 0}, {1, 0, 0, 0}},
  };
  for (const RotationCase& c : cases) {
    SCOPED_TRACE(c.name);
    expectNear(c.out, timesColumn(c.rotation, c.in));
  }
}

TEST(Matrix4Test, BuildersOverwriteWholeMatrix) {
  Mat m = kA;
  m.setRotationY(0.3f);
  const float c = std::cos(0.3f), s = std::sin(0.3f);
  expectNear(Mat(c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1), m, 0);
  m = kA;
  expectNear(diagonal(1, 1, 1, 1), m.setTranslation(0, 0, 0), 0);
}

struct DeterminantCase {
  std::string name;
  Mat m;
  int order;
  float expected;
};

TEST(Matrix4Test, DeterminantOfLeadingBlock) {
  const Mat general(2, -1, 0, 3, 1, 4, 2, 0, 0, 5, -3, 1, 6, 0, 1, 2);
  const std::vector<DeterminantCase> cases = {
      {"identity", Mat::identity(), 4, 1},
      {"diagonal", diagonal(2, 3, 4, 5), 4, 120},
      {"two equal rows", Mat(1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 9, 1, 2, 7), 4, 0},
      {"rows in arithmetic progression", kA, 4, 0},
      {"general", general, 4, 290},
      {"order 3 block", general, 3, -47},
      {"order 2 block", general, 2, 9},
      {"order 1 block", general, 1, 2},
      {"order 0", general, 0, 0},
      {"negative order", general, -2, 0},
      {"row swap flips sign", Mat(0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1), 4, -1},
  };
  for (const DeterminantCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, Data::Geometry::determinant(c.m, c.order));
    if (c.order == 4) {
      EXPECT_EQ(c.expected, c.m.determinant());
    }
  }
}

TEST(Matrix4Test, AdjointOfIdentityIsIdentity) {
  expectNear(Mat::identity(), Mat::identity().adjoint(), 0);
}

TEST(Matrix4Test, AdjointOfDiagonalHoldsProductsOfOtherEntries) {
  expectNear(diagonal(60, 40, 30, 24), diagonal(2, 3, 4, 5).adjoint(), 0);
}

TEST(Matrix4Test, AdjointIsCofactorMatrixNotItsTranspose) {
  // Upper triangular: the cofactor of (1, 0) is non-zero, that of (0, 1) is zero.
  const Mat m(1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  const Mat adj = m.adjoint();
  EXPECT_EQ(-2.0f, at(adj, 1, 0));
  EXPECT_EQ(0.0f, at(adj, 0, 1));
  EXPECT_EQ(-2.0f, at(m.inverse(), 0, 1));
}

TEST(Matrix4Test, MatrixTimesTransposedAdjointIsDeterminantTimesIdentity) {
  const Mat m(2, -1, 0, 3, 1, 4, 2, 0, 0, 5, -3, 1, 6, 0, 1, 2);
  const Mat product = m * m.adjoint().transpose();
  expectNear(diagonal(290, 290, 290, 290), product, 1e-3f);
}

TEST(Matrix4Test, InverseOfTranslationTranslatesBack) {
  expectNear(translation(-1.5f, 2, -3), translation(1.5f, -2, 3).inverse());
}

TEST(Matrix4Test, InverseOfRotationIsItsTranspose) {
  const std::vector<std::function<Mat(float)>> builders = {rotationX, rotationY, rotationZ};
  for (const auto& build : builders) {
    for (float a : {0.0f, 0.4f, kPi / 2, 2.5f, -1.0f}) {
      const Mat r = build(a);
      expectNear(r.transpose(), r.inverse());
    }
  }
}

TEST(Matrix4Test, InverseOfRigidTransformUndoesItOnEitherSide) {
  const Mat rigid = translation(3, -2, 7) * rotationY(0.7f) * rotationX(-1.1f) *
                    translation(0.5f, 1, 0) * rotationZ(2.0f);
  const Mat inv = rigid.inverse();
  expectNear(Mat::identity(), rigid * inv);
  expectNear(Mat::identity(), inv * rigid);
  EXPECT_NEAR(1.0f, rigid.determinant(), 1e-5f);
}

TEST(Matrix4Test, InverseOfSingularMatrixIsNonFinite) {
  const Mat inv = kA.inverse();
  for (int i = 0; i < 16; ++i) EXPECT_FALSE(std::isfinite(inv[0][i])) << "position " << i;
}

}  // namespace
