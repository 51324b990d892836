#include "data/geometry/matrix4.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/matrices.h"

namespace {

using namespace TestMatrices;

const Matrix kRows(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);  // singular
const Matrix kGeneral(2, -1, 0, 3, 1, 4, 2, 0, 0, 5, -3, 1, 6, 0, 1, 2);    // determinant 290
// Its cofactors: element (i, j) is (-1)^(i+j) times the minor without row i and column j.
const Matrix kGeneralCofactors(-48, -5, 34, 127, -22, 40, 76, 28, 8, 25, -54, 3, 68, -5, -24, -47);

TEST(Matrix4Test, RowsGoInColumnsAreStoredAndBuildersWriteTheirRows) {
  const float stored[16] = {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(stored[i], kRows[0][i]) << i;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(0, Matrix()[0][i]) << i;
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

// The right operand acts first; a matrix may also multiply itself in place.
TEST(Matrix4Test, ProductsWithTheRightOperandActingFirst) {
  const Matrix generalTimesRows(36, 40, 44, 48, 39, 46, 53, 60, 11, 14, 17, 20, 41, 50, 59, 68);
  EXPECT_TRUE(near(generalTimesRows, kGeneral * kRows, 0));
  Matrix product = kGeneral;
  EXPECT_EQ(&product, &(product *= Matrix::identity()));
  product *= product;
  EXPECT_TRUE(near(kGeneral * Matrix(kGeneral), product, 0));
}

TEST(Matrix4Test, DeterminantOfLeadingBlockAdjointAsCofactorMatrixAndInverse) {
  const float ofOrder[] = {0, 0, 2, 9, -47, 290};  // orders -1 to 4
  for (int n = -1; n <= 4; ++n) EXPECT_EQ(ofOrder[n + 1], determinant(kGeneral, n)) << n;
  EXPECT_TRUE(near(kGeneralCofactors, kGeneral.adjoint(), 0));
  // The inverse is the transposed adjoint over the determinant.
  EXPECT_TRUE(near(kGeneralCofactors.transpose() / 290.f, kGeneral.inverse(), 0));
  EXPECT_TRUE(near(translation(-1.5f, 2, -3), translation(1.5f, -2, 3).inverse()));
  for (int i = 0; i < 16; ++i) EXPECT_FALSE(std::isfinite(kRows.inverse()[0][i])) << i;
}

}  // namespace
