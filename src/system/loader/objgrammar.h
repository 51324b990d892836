#pragma once
// The line grammar of Wavefront OBJ files; built once per loader, it fires the loader's actions.

#include "system/loader/linegrammar.h"

namespace System {
namespace Loader {

class WavefrontLoader;

class ObjGrammar : public LineGrammar {
 public:
  explicit ObjGrammar(WavefrontLoader& loader);
};

}  // namespace Loader
}  // namespace System
