#pragma once
// The line grammar of Wavefront MTL libraries; built once per loader, it fills the loader's
// current material.

#include "system/loader/linescanner.h"

namespace System {
namespace Loader {

class WavefrontLoader;

class MtlGrammar {
 public:
  explicit MtlGrammar(WavefrontLoader& loader);
  MtlGrammar(const MtlGrammar&) = delete;
  MtlGrammar& operator=(const MtlGrammar&) = delete;

  // True when the taken alternative consumed the whole line, trailing blanks included.
  bool parse(const char* line) const { return parseLine(grammar, line); }

 private:
  float rgb[3] = {0.0f, 0.0f, 0.0f};
  LineRule grammar;
};

}  // namespace Loader
}  // namespace System
