#include "rendering/scenegraph/moveable.h"

#include <cmath>

#include "data/geometry/vector3.h"

namespace Rendering::Scenegraph {

namespace {

using Matrix = Moveable::Matrix;
using Exact = Data::Geometry::TMatrix4<double>;
using Vector = Data::Geometry::TVector3<float>;

Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }

// A float rotation is not quite orthogonal (for 0.1 rad, c^2 + s^2 - 1 = 2.4e-8), and a node
// turned 20 times a second compounds that into axes 16% longer after a week. Taken in double and
// rounded once, the product keeps only the rounding's error, which does not compound: a week of
// the demo's turns moves lengths and right angles by less than 1e-4.
Matrix rotated(const Matrix& matrix, const Exact& rotation, bool flag) {
  Exact exact;
  for (int k = 0; k < 16; ++k) exact[0][k] = matrix[0][k];
  exact = flag ? exact * rotation : rotation * exact;
  Matrix result;
  for (int k = 0; k < 16; ++k) result[0][k] = static_cast<float>(exact[0][k]);
  return result;
}

bool isFinite(const Vector& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

Moveable::Moveable() : matrix(Matrix::identity()) {}

Moveable::Matrix Moveable::getMatrix() const { return matrix; }

Moveable& Moveable::setMatrix(Matrix m) {
  matrix = m;
  return *this;
}

Moveable& Moveable::applyTransform(Matrix x, bool flag) {
  return setMatrix(flag ? matrix * x : x * matrix);
}

Moveable& Moveable::rotateX(float angle, bool flag) {
  return setMatrix(rotated(matrix, Exact().setRotationX(angle), flag));
}

Moveable& Moveable::rotateY(float angle, bool flag) {
  return setMatrix(rotated(matrix, Exact().setRotationY(angle), flag));
}

Moveable& Moveable::rotateZ(float angle, bool flag) {
  return setMatrix(rotated(matrix, Exact().setRotationZ(angle), flag));
}

Moveable& Moveable::turnX(float angle, bool flag) { return rotateX(angle, flag); }

Moveable& Moveable::turnY(float angle, bool flag) { return rotateY(angle, flag); }

Moveable& Moveable::turnZ(float angle, bool flag) { return rotateZ(angle, flag); }

Moveable& Moveable::translatePlusX(float a, bool flag) {
  return applyTransform(translation(a, 0, 0), flag);
}

Moveable& Moveable::translateMinusX(float a, bool flag) { return translatePlusX(-a, flag); }

Moveable& Moveable::translatePlusY(float a, bool flag) {
  return applyTransform(translation(0, a, 0), flag);
}

Moveable& Moveable::translateMinusY(float a, bool flag) { return translatePlusY(-a, flag); }

Moveable& Moveable::translatePlusZ(float a, bool flag) {
  return applyTransform(translation(0, 0, a), flag);
}

Moveable& Moveable::translateMinusZ(float a, bool flag) { return translatePlusZ(-a, flag); }

Moveable& Moveable::lookAt(float eyeX, float eyeY, float eyeZ, float centerX, float centerY,
                           float centerZ, float upX, float upY, float upZ) {
  Vector f(centerX - eyeX, centerY - eyeY, centerZ - eyeZ);
  f.normalize();
  Vector u(upX, upY, upZ);
  u.normalize();
  // A zero-length direction or up vector normalises to NaN; keep the old matrix instead.
  if (!isFinite(f) || !isFinite(u)) return *this;
  // The up vector is used as given, not made perpendicular to the viewing direction.
  const Vector s = f.cross(u);
  const Matrix rotation(s.x, s.y, s.z, 0, u.x, u.y, u.z, 0, -f.x, -f.y, -f.z, 0, 0, 0, 0, 1);
  return setMatrix(rotation * translation(-eyeX, -eyeY, -eyeZ));
}

}  // namespace Rendering::Scenegraph
