#include "data/geometry/matrix4.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/matrices.h"

namespace {

using namespace TestMatrices;

const float kPi = 3.14159265358979f;
const Matrix kRows(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);  // singular
const Matrix kGeneral(2, -1, 0, 3, 1, 4, 2, 0, 0, 5, -3, 1, 6, 0, 1, 2);    // determinant 290
// Its cofactors: element (i, j) is (-1)^(i+j) times the minor without row i and column j.
const Matrix kGeneralCofactors(-48, -5, 34, 127, -22, 40, 76, 28, 8, 25, -54, 3, 68, -5, -24, -47);
const Matrix kDiagonal(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5);

TEST(Matrix4Test, RowsGoInColumnsAreStoredAndBuildersWriteTheirRows) {
  const float stored[16] = {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(stored[i], kRows[0][i]) << i;
  Matrix rows = kRows;
  EXPECT_EQ(&rows[0][12], &rows[3][0]);
  EXPECT_EQ(&Matrix::identity(), &Matrix::identity());
  // An angle whose sine and cosine differ and are both far from 0 and 1.
  const float c = static_cast<float>(std::cos(0.5)), s = static_cast<float>(std::sin(0.5));
  const struct {
    Matrix built, rows;
  } cases[] = {{translation(1, 2, 3), {1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}},
               {rotationX(0.5f), {1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1}},
               {rotationY(0.5f), {c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1}},
               {rotationZ(0.5f), {c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};
  for (const auto& k : cases) EXPECT_TRUE(near(k.rows, k.built, 0));
}

TEST(Matrix4Test, ProductsWithTheRightOperandActingFirst) {
  // The rotation acts first: (1, 0, 0) turns to (0, 1, 0), which then moves to (1, 1, 0).
  EXPECT_TRUE(near(Matrix(0, -1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1),
                   translation(1, 0, 0) * rotationZ(kPi / 2)));
  const Matrix generalTimesRows(36, 40, 44, 48, 39, 46, 53, 60, 11, 14, 17, 20, 41, 50, 59, 68);
  EXPECT_TRUE(near(generalTimesRows, kGeneral * kRows, 0));
  Matrix product = kRows;
  EXPECT_EQ(&product, &(product *= kGeneral));
  EXPECT_TRUE(
      near(Matrix(28, 22, -1, 14, 64, 54, -1, 38, 100, 86, -1, 62, 136, 118, -1, 86), product, 0));
  EXPECT_TRUE(near(kGeneral, kGeneral * Matrix::identity(), 0));
  EXPECT_TRUE(near(kGeneral, Matrix::identity() * kGeneral, 0));
  Matrix squared = kGeneral;
  squared *= squared;
  EXPECT_TRUE(near(kGeneral * Matrix(kGeneral), squared, 0));
}

TEST(Matrix4Test, DeterminantOfLeadingBlockAndAdjointAsCofactorMatrix) {
  const float ofOrder[] = {0, 0, 2, 9, -47, 290};  // orders -1 to 4
  for (int n = -1; n <= 4; ++n) EXPECT_EQ(ofOrder[n + 1], determinant(kGeneral, n)) << n;
  EXPECT_EQ(290, kGeneral.determinant());
  EXPECT_EQ(120, kDiagonal.determinant());
  EXPECT_EQ(1, Matrix::identity().determinant());
  EXPECT_EQ(-1, Matrix(0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1).determinant());
  EXPECT_EQ(0, Matrix(2, -1, 0, 3, 1, 4, 2, 0, 2, -1, 0, 3, 6, 0, 1, 2).determinant());
  EXPECT_TRUE(near(kGeneralCofactors, kGeneral.adjoint(), 0));
  EXPECT_TRUE(
      near(Matrix(60, 0, 0, 0, 0, 40, 0, 0, 0, 0, 30, 0, 0, 0, 0, 24), kDiagonal.adjoint(), 0));
  EXPECT_TRUE(near(Matrix::identity(), Matrix::identity().adjoint(), 0));
}

TEST(Matrix4Test, InverseIsTheTransposedAdjointOverTheDeterminant) {
  EXPECT_TRUE(near(kGeneralCofactors.transpose() / 290.f, kGeneral.inverse(), 0));
  EXPECT_TRUE(near(translation(-1.5f, 2, -3), translation(1.5f, -2, 3).inverse()));
  EXPECT_TRUE(near(rotationY(0.7f).transpose(), rotationY(0.7f).inverse()));
  const Matrix rigid = translation(3, -2, 7) * rotationY(0.7f) * rotationX(-1.1f) *
                       translation(0.5f, 1, 0) * rotationZ(2.0f);
  EXPECT_TRUE(near(Matrix::identity(), rigid * rigid.inverse()));
  EXPECT_TRUE(near(Matrix::identity(), rigid.inverse() * rigid));
  for (int i = 0; i < 16; ++i) EXPECT_FALSE(std::isfinite(kRows.inverse()[0][i])) << i;
}

}  // namespace
