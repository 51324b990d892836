#include "data/geometry/matrix4.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "geometry/matrices.h"

namespace {

using namespace TestMatrices;
using Vec4 = std::array<float, 4>;

const float kPi = 3.14159265358979f;
const Matrix kRows(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);  // singular
const Matrix kGeneral(2, -1, 0, 3, 1, 4, 2, 0, 0, 5, -3, 1, 6, 0, 1, 2);    // determinant 290

const Matrix kDiagonal(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5);

TEST(Matrix4Test, ProductsMapPointsWithTheRightOperandActingFirst) {
  EXPECT_EQ(5, kRows[0][1]);  // rows in, columns stored
  EXPECT_EQ(&Matrix::identity(), &Matrix::identity());
  const struct {
    Matrix m;
    Vec4 in, out;
  } cases[] = {{translation(1, 0, 0) * rotationZ(kPi / 2), {1, 0, 0, 1}, {1, 1, 0, 1}},
               {rotationZ(kPi / 2) * translation(1, 0, 0), {1, 0, 0, 1}, {0, 2, 0, 1}},
               {rotationX(kPi / 2), {0, 1, 0, 1}, {0, 0, 1, 1}},
               {rotationY(kPi / 2), {0, 0, 1, 1}, {1, 0, 0, 1}},
               {rotationZ(kPi / 2), {1, 0, 0, 1}, {0, 1, 0, 1}},
               {rotationX(-kPi / 2), {0, 1, 0, 1}, {0, 0, -1, 1}},
               {translation(5, 5, 5), {1, 0, 0, 0}, {1, 0, 0, 0}}};
  for (const auto& c : cases)
    for (int r = 0; r < 4; ++r) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += c.m[k][r] * c.in[k];
      EXPECT_NEAR(c.out[r], sum, 1e-6f);
    }
  Matrix squared = kGeneral;
  squared *= squared;
  EXPECT_TRUE(near(kGeneral * Matrix(kGeneral), squared, 0));
}

TEST(Matrix4Test, DeterminantOfLeadingBlockAndAdjointAsCofactorMatrix) {
  const float ofOrder[] = {0, 0, 2, 9, -47, 290};  // orders -1 to 4
  for (int n = -1; n <= 4; ++n) EXPECT_EQ(ofOrder[n + 1], determinant(kGeneral, n)) << n;
  EXPECT_EQ(290, kGeneral.determinant());
  EXPECT_EQ(120, kDiagonal.determinant());
  EXPECT_EQ(-1, Matrix(0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1).determinant());
  const Matrix product = kGeneral * kGeneral.adjoint().transpose();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(i % 5 ? 0 : 290, product[0][i], 1e-3f);
}

TEST(Matrix4Test, InverseUndoesRigidTransformsAndIsNonFiniteWhenSingular) {
  EXPECT_TRUE(near(translation(-1.5f, 2, -3), translation(1.5f, -2, 3).inverse()));
  const Matrix rigid = translation(3, -2, 7) * rotationY(0.7f) * rotationX(-1.1f) *
                       translation(0.5f, 1, 0) * rotationZ(2.0f);
  EXPECT_TRUE(near(Matrix::identity(), rigid * rigid.inverse()));
  EXPECT_TRUE(near(Matrix::identity(), rigid.inverse() * rigid));
  for (int i = 0; i < 16; ++i) EXPECT_FALSE(std::isfinite(kRows.inverse()[0][i])) << i;
}

}  // namespace
