#pragma once
// A GLSL program by name: its two source texts and its state in the GL context.

#include <cstdint>
#include <string>
#include <utility>

namespace Data {
namespace Geometry {

struct Shader {
  explicit Shader(std::string name) : name(std::move(name)) {}

  std::string name;  // sources live in "shaders/" + name + ".vert" and ".frag"
  std::string vertexSource;
  std::string fragmentSource;
  bool loaded = false;
  std::uint32_t program = 0;  // 0xFFFFFFFF once a build has failed
};

}  // namespace Geometry
}  // namespace Data
