#pragma once
// Matrices built in one call and compared within a tolerance, for tests of matrix code.

#include <gtest/gtest.h>

#include <cmath>

#include "data/geometry/matrix4.h"

namespace TestMatrices {

using Matrix = Data::Geometry::TMatrix4<float>;

inline Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }
inline Matrix rotationX(float a) { return Matrix().setRotationX(a); }
inline Matrix rotationY(float a) { return Matrix().setRotationY(a); }
inline Matrix rotationZ(float a) { return Matrix().setRotationZ(a); }

inline testing::AssertionResult near(const Matrix& expected, const Matrix& actual,
                                     float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i)
    if (!(std::fabs(expected[0][i] - actual[0][i]) <= tolerance))
      return testing::AssertionFailure()
             << "stored element " << i << " is " << actual[0][i] << ", expected " << expected[0][i];
  return testing::AssertionSuccess();
}

}  // namespace TestMatrices
