#pragma once
// The local transform of a scene-graph node, with the operations that move it.

#include "data/geometry/matrix4.h"

namespace Rendering::Scenegraph {

// Every changing operation returns the Moveable itself so calls chain. The flag of the
// step operations chooses the frame the step acts in: false composes it on the left
// (after the existing transform, along the parent's axes), true on the right (before it,
// along the node's own axes). Angles are in radians. Turns are taken in double precision and
// rounded once, so any number of them keeps the matrix's lengths and right angles.
class Moveable {
 public:
  using Matrix = Data::Geometry::TMatrix4<float>;

  Moveable();

  Matrix getMatrix() const;
  Moveable& setMatrix(Matrix m);
  Moveable& applyTransform(Matrix x, bool flag);

  Moveable& rotateX(float angle, bool flag);
  Moveable& rotateY(float angle, bool flag);
  Moveable& rotateZ(float angle, bool flag);
  Moveable& turnX(float angle, bool flag);
  Moveable& turnY(float angle, bool flag);
  Moveable& turnZ(float angle, bool flag);

  // The Minus forms negate the amount themselves.
  Moveable& translatePlusX(float a, bool flag);
  Moveable& translateMinusX(float a, bool flag);
  Moveable& translatePlusY(float a, bool flag);
  Moveable& translateMinusY(float a, bool flag);
  Moveable& translatePlusZ(float a, bool flag);
  Moveable& translateMinusZ(float a, bool flag);

  // Replaces the matrix by a viewing transform: eye to the origin, towards centre along
  // -Z, up along +Y. With eye equal to centre or a zero up vector the matrix is kept.
  Moveable& lookAt(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ,
                   float upX, float upY, float upZ);

 private:
  Matrix matrix;
};

}  // namespace Rendering::Scenegraph
