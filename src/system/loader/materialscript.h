#pragma once
// What reading one MTL library does to the material being built, kept so that a library is read
// once per load however many lines name it.

#include <cstddef>
#include <string>
#include <vector>

namespace System {
namespace Loader {

// One change to the material being built, or the start of the next material (which delivers the
// one before it).
struct MaterialStep {
  enum Kind { Ambient, Diffuse, Specular, Alpha, Shininess, Texture, NewMaterial };
  Kind kind;
  float values[3];
  std::string text;  // the texture path or the new material's name
};

// The steps of one library, reduced to those that change what it delivers: between two materials
// only the last value of each field counts, and a new material without a name while none is
// pending changes nothing. Its length is then in proportion to the materials it delivers.
class MaterialScript {
 public:
  void add(MaterialStep step);
  // Keeps the materials completed so far: drops the steps of the one being read, which opens
  // nothing then.
  void cut();
  const std::vector<MaterialStep>& steps() const { return list; }

 private:
  std::vector<MaterialStep> list;
  std::size_t materialStart = 0;  // first step after the last NewMaterial
  bool named = false;             // a material with a name is pending
};

}  // namespace Loader
}  // namespace System
