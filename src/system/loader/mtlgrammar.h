#pragma once
// The line grammar of Wavefront MTL libraries; built once per loader, it fills the loader's
// current material.

#include "system/loader/linegrammar.h"

namespace System {
namespace Loader {

class WavefrontLoader;

class MtlGrammar : public LineGrammar {
 public:
  explicit MtlGrammar(WavefrontLoader& loader);
};

}  // namespace Loader
}  // namespace System
