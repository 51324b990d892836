#pragma once
// Compile-time check that a value type is exactly its components in order, as OpenGL
// reads a sequence of them from a client array.

#include <cstddef>
#include <type_traits>

namespace Data {
namespace Geometry {

template <typename T, typename Component, std::size_t count>
constexpr bool isPackedArrayOf() {
  return sizeof(T) == count * sizeof(Component) && std::is_trivially_copyable<T>::value &&
         std::is_standard_layout<T>::value;
}

}  // namespace Geometry
}  // namespace Data
