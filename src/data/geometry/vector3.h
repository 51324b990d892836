#pragma once
// A point or direction in 3D, packed as exactly its three components.

#include <cmath>

#include "data/geometry/packed.h"

namespace Data {
namespace Geometry {

template <typename T>
class TVector3 {
 public:
  T x, y, z;

  // Zero rather than unset, so a vertex no file line wrote is still a number.
  TVector3() : x(0), y(0), z(0) {}
  TVector3(T x, T y, T z) : x(x), y(y), z(z) {}
  TVector3(const TVector3&) = default;
  TVector3& operator=(const TVector3&) = default;

  TVector3& set(T newX, T newY, T newZ) {
    x = newX;
    y = newY;
    z = newZ;
    return *this;
  }

  T lengthSquared() const {
    const double dx = x, dy = y, dz = z;
    return static_cast<T>(dx * dx + dy * dy + dz * dz);
  }

  T length() const { return static_cast<T>(std::sqrt(static_cast<double>(lengthSquared()))); }

  // A zero vector becomes NaN in every component; callers never normalise one.
  TVector3& normalize() {
    const T len = length();
    x /= len;
    y /= len;
    z /= len;
    return *this;
  }

  TVector3 cross(const TVector3& other) const {
    const double ax = x, ay = y, az = z;
    const double bx = other.x, by = other.y, bz = other.z;
    return TVector3(static_cast<T>(ay * bz - az * by), static_cast<T>(az * bx - ax * bz),
                    static_cast<T>(ax * by - ay * bx));
  }
};

static_assert(isPackedArrayOf<TVector3<float>, float, 3>(),
              "TVector3<float> must be three floats, packed");

}  // namespace Geometry
}  // namespace Data
