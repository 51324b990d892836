#pragma once
// The GL type constant of an element type, so an array handed to GL names the type its
// elements really have.

#include "rendering/glheaders.h"

namespace Rendering {

template <typename T>
struct glType;

template <>
struct glType<float> {
  static constexpr GLenum value = GL_FLOAT;
};

}  // namespace Rendering
