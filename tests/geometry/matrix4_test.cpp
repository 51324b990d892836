#include "data/geometry/matrix4.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "geometry/matrices.h"

namespace {

using namespace TestMatrices;
using Mat = Matrix;
using Vec4 = std::array<float, 4>;

const float kPi = 3.14159265358979f;

Vec4 times(const Mat& m, const Vec4& p) {
  Vec4 out{};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r] += m[c][r] * p[c];
  return out;
}

void expectNear(const Vec4& expected, const Vec4& actual) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(expected[i], actual[i], 1e-6f) << i;
}

Mat diagonal(float a, float b, float c, float d) {
  return Mat(a, 0, 0, 0, 0, b, 0, 0, 0, 0, c, 0, 0, 0, 0, d);
}

const Mat kRows(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);  // singular
const Mat kGeneral(2, -1, 0, 3, 1, 4, 2, 0, 0, 5, -3, 1, 6, 0, 1, 2);    // determinant 290

TEST(Matrix4Test, TakesRowsAndStoresColumns) {
  const float stored[16] = {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(stored[i], kRows[0][i]) << i;
  EXPECT_EQ(6, kRows[1][1]);
  const Mat t = translation(1, 2, 3);
  EXPECT_EQ((Vec4{1, 2, 3, 1}), (Vec4{t[3][0], t[3][1], t[3][2], t[3][3]}));
  EXPECT_EQ(&Mat::identity(), &Mat::identity());
}

TEST(Matrix4Test, ProductsInBothOrdersLetTheRightOperandActFirst) {
  const Vec4 p{1, 0, 0, 1};
  expectNear(Vec4{1, 1, 0, 1}, times(translation(1, 0, 0) * rotationZ(kPi / 2), p));
  expectNear(Vec4{0, 2, 0, 1}, times(rotationZ(kPi / 2) * translation(1, 0, 0), p));
  EXPECT_TRUE(near(kGeneral, kGeneral * Mat::identity(), 0));
  EXPECT_TRUE(near(kGeneral, Mat::identity() * kGeneral, 0));
  // In place, also with itself as the operand.
  Mat squared = kGeneral;
  squared *= squared;
  EXPECT_TRUE(near(kGeneral * Mat(kGeneral), squared, 0));
}

TEST(Matrix4Test, RotationsTurnCounterClockwiseSeenFromTheirAxis) {
  const struct {
    Mat rotation;
    Vec4 in, out;
  } cases[] = {{rotationX(kPi / 2), {0, 1, 0, 1}, {0, 0, 1, 1}},
               {rotationY(kPi / 2), {0, 0, 1, 1}, {1, 0, 0, 1}},
               {rotationZ(kPi / 2), {1, 0, 0, 1}, {0, 1, 0, 1}},
               {rotationX(-kPi / 2), {0, 1, 0, 1}, {0, 0, -1, 1}},
               {translation(5, 5, 5), {1, 0, 0, 0}, {1, 0, 0, 0}}};
  for (const auto& c : cases) expectNear(c.out, times(c.rotation, c.in));
}

TEST(Matrix4Test, DeterminantOfLeadingBlock) {
  const float ofOrder[] = {0, 0, 2, 9, -47, 290};  // orders -1 to 4
  for (int n = -1; n <= 4; ++n) EXPECT_EQ(ofOrder[n + 1], determinant(kGeneral, n)) << n;
  EXPECT_EQ(290, kGeneral.determinant());
  EXPECT_EQ(1, Mat::identity().determinant());
  EXPECT_EQ(120, diagonal(2, 3, 4, 5).determinant());
  EXPECT_EQ(0, kRows.determinant());
  EXPECT_EQ(0, Mat(1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 9, 1, 2, 7).determinant());   // equal rows
  EXPECT_EQ(-1, Mat(0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1).determinant());  // swapped
}

TEST(Matrix4Test, AdjointIsTheCofactorMatrixNotItsTranspose) {
  EXPECT_TRUE(near(Mat::identity(), Mat::identity().adjoint(), 0));
  EXPECT_TRUE(near(diagonal(60, 40, 30, 24), diagonal(2, 3, 4, 5).adjoint(), 0));
  // Upper triangular: the cofactor of (1, 0) is -2, that of (0, 1) is 0.
  const Mat m(1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  EXPECT_EQ(-2, m.adjoint()[0][1]);
  EXPECT_EQ(0, m.adjoint()[1][0]);
  EXPECT_TRUE(near(diagonal(290, 290, 290, 290), kGeneral * kGeneral.adjoint().transpose(), 1e-3f));
}

TEST(Matrix4Test, InverseUndoesRigidTransforms) {
  EXPECT_TRUE(near(translation(-1.5f, 2, -3), translation(1.5f, -2, 3).inverse()));
  for (const Mat& r : {rotationX(0.4f), rotationY(kPi / 2), rotationZ(-1.0f)})
    EXPECT_TRUE(near(r.transpose(), r.inverse()));
  const Mat rigid = translation(3, -2, 7) * rotationY(0.7f) * rotationX(-1.1f) *
                    translation(0.5f, 1, 0) * rotationZ(2.0f);
  EXPECT_TRUE(near(Mat::identity(), rigid * rigid.inverse()));
  EXPECT_TRUE(near(Mat::identity(), rigid.inverse() * rigid));
}

TEST(Matrix4Test, InverseOfSingularMatrixIsNonFinite) {
  for (int i = 0; i < 16; ++i) EXPECT_FALSE(std::isfinite(kRows.inverse()[0][i])) << i;
}

}  // namespace
