#pragma once
// Matrix and point comparisons for the scene-graph tests.

#include <gtest/gtest.h>

#include <array>

#include "data/geometry/matrix4.h"

namespace SceneTest {

using Matrix = Data::Geometry::TMatrix4<float>;
using Point = std::array<float, 3>;

// Where m takes the point p (w = 1).
inline Point apply(const Matrix& m, Point p) {
  Point out{};
  for (int r = 0; r < 3; ++r) out[r] = m[0][r] * p[0] + m[1][r] * p[1] + m[2][r] * p[2] + m[3][r];
  return out;
}

inline void expectNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r)
      EXPECT_NEAR(actual[c][r], expected[c][r], tolerance) << "element (" << r << ", " << c << ")";
}

inline void expectPoint(const Point& actual, const Point& expected, float tolerance = 1e-5f) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

inline Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }
inline Matrix rotationZ(float a) { return Matrix().setRotationZ(a); }

}  // namespace SceneTest
