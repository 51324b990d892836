#pragma once
// A 4x4 matrix stored column by column, as glMultMatrixf and glUniformMatrix4fv read it.
// Vectors are columns: in A * B, B acts first.

#include <cmath>

#include "data/geometry/packed.h"

namespace Data {
namespace Geometry {

template <typename T>
class TMatrix4 {
 public:
  // Zero rather than unset, so a matrix nobody filled is still a number.
  TMatrix4() : elements_{} {}

  // The sixteen values are given row by row.
  TMatrix4(T m00, T m01, T m02, T m03, T m10, T m11, T m12, T m13, T m20, T m21, T m22, T m23,
           T m30, T m31, T m32, T m33) {
    set(m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33);
  }

  TMatrix4(const TMatrix4&) = default;
  TMatrix4& operator=(const TMatrix4&) = default;

  // Row by row: argument k becomes element (k / 4, k % 4).
  TMatrix4& set(T m00, T m01, T m02, T m03, T m10, T m11, T m12, T m13, T m20, T m21, T m22, T m23,
                T m30, T m31, T m32, T m33) {
    const T rows[16] = {m00, m01, m02, m03, m10, m11, m12, m13,
                        m20, m21, m22, m23, m30, m31, m32, m33};
    for (int k = 0; k < 16; ++k) elements_[4 * (k % 4) + k / 4] = rows[k];
    return *this;
  }

  // The four elements of column i, so m[c][r] is element (r, c); m[0] points at all sixteen.
  // Unchecked: i is 0 to 3.
  T* operator[](const int& i) { return elements_ + 4 * i; }
  const T* operator[](const int& i) const { return elements_ + 4 * i; }

  // Built once; callers copy it.
  static const TMatrix4& identity() {
    static const TMatrix4 shared(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return shared;
  }

  // this = this * other, as glMultMatrixf does; other may be this matrix itself.
  TMatrix4& operator*=(const TMatrix4& other) {
    const TMatrix4 left(*this);
    const TMatrix4 right(other);
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) {
        double sum = 0;
        for (int k = 0; k < 4; ++k)
          sum += static_cast<double>(left[k][j]) * static_cast<double>(right[i][k]);
        elements_[4 * i + j] = static_cast<T>(sum);
      }
    }
    return *this;
  }

  TMatrix4& operator/=(const T& s) {
    for (T& e : elements_) e /= s;
    return *this;
  }

  TMatrix4 transpose() const {
    TMatrix4 result;
    for (int c = 0; c < 4; ++c)
      for (int r = 0; r < 4; ++r) result[c][r] = (*this)[r][c];
    return result;
  }

  T determinant() const;

  // The cofactor matrix itself, not its transpose.
  TMatrix4 adjoint() const;

  // A singular matrix gives infinite or NaN elements; the renderer only inverts rigid
  // transforms, whose determinant is 1.
  TMatrix4 inverse() const;

  TMatrix4& setTranslation(T x, T y, T z) {
    return set(1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1);
  }

  // Rotations in radians, counter-clockwise seen from the positive axis.
  TMatrix4& setRotationX(T a) {
    const T c = cosOf(a), s = sinOf(a);
    return set(1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1);
  }

  TMatrix4& setRotationY(T a) {
    const T c = cosOf(a), s = sinOf(a);
    return set(c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1);
  }

  TMatrix4& setRotationZ(T a) {
    const T c = cosOf(a), s = sinOf(a);
    return set(c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  }

 private:
  static T cosOf(T a) { return static_cast<T>(std::cos(static_cast<double>(a))); }
  static T sinOf(T a) { return static_cast<T>(std::sin(static_cast<double>(a))); }

  T elements_[16];
};

static_assert(isPackedArrayOf<TMatrix4<float>, float, 16>(),
              "TMatrix4<float> must be sixteen floats, packed");

template <typename T>
TMatrix4<T> operator*(TMatrix4<T> left, const TMatrix4<T>& right) {
  return left *= right;
}

template <typename T>
TMatrix4<T> operator/(TMatrix4<T> m, const T& s) {
  return m /= s;
}

// The determinant of the leading n x n block of m, expanded along column 0; 0 for n < 1.
template <typename T>
T determinant(const TMatrix4<T>& m, int n) {
  if (n < 1) return 0;
  if (n == 1) return m[0][0];
  if (n == 2) return m[0][0] * m[1][1] - m[1][0] * m[0][1];
  T sum = 0;
  TMatrix4<T> block = TMatrix4<T>::identity();
  for (int j = 0; j < n; ++j) {
    for (int k = 0, row = 0; row < n; ++row) {
      if (row == j) continue;
      for (int c = 1; c < n; ++c) block[c - 1][k] = m[c][row];
      ++k;
    }
    const double sign = (j % 2 == 0) ? 1.0 : -1.0;
    sum += static_cast<T>(sign * static_cast<double>(m[0][j]) *
                          static_cast<double>(determinant(block, n - 1)));
  }
  return sum;
}

template <typename T>
T TMatrix4<T>::determinant() const {
  return Geometry::determinant(*this, 4);
}

template <typename T>
TMatrix4<T> TMatrix4<T>::adjoint() const {
  TMatrix4 result = identity();
  TMatrix4 block = identity();
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      for (int row = 0, mr = 0; row < 4; ++row) {
        if (row == i) continue;
        for (int col = 0, mc = 0; col < 4; ++col) {
          if (col == j) continue;
          block[mc][mr] = (*this)[col][row];
          ++mc;
        }
        ++mr;
      }
      const double sign = ((i + j) % 2 == 0) ? 1.0 : -1.0;
      result[j][i] = static_cast<T>(sign * static_cast<double>(Geometry::determinant(block, 3)));
    }
  }
  return result;
}

template <typename T>
TMatrix4<T> TMatrix4<T>::inverse() const {
  const T d = determinant();
  return adjoint().transpose() / d;
}

}  // namespace Geometry
}  // namespace Data
