#pragma once
// An image in memory (BGR, bottom row first) and its state in the GL context.

#include <boost/shared_array.hpp>
#include <cstdint>
#include <string>

namespace Data {
namespace Geometry {

struct Texture {
  std::string name;  // the path as asked for; the key of the texture cache
  std::int32_t width = 0;
  std::int32_t height = 0;
  boost::shared_array<unsigned char> data;  // width * 3 * height bytes, rows unpadded
  bool uploaded = false;                    // true while glName is valid in the current context
  std::uint32_t glName = 0;
};

}  // namespace Geometry
}  // namespace Data
