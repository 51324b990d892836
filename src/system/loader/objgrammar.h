#pragma once
// The line grammar of Wavefront OBJ files; built once per loader, it fires the loader's actions.

#include "system/loader/linescanner.h"

namespace System {
namespace Loader {

class WavefrontLoader;

class ObjGrammar {
 public:
  // What the line being parsed has read so far; the actions fire with it.
  struct Numbers {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
  };

  explicit ObjGrammar(WavefrontLoader& loader);
  ObjGrammar(const ObjGrammar&) = delete;
  ObjGrammar& operator=(const ObjGrammar&) = delete;

  // True when an alternative took the line and nothing but blanks follows it.
  bool parse(const char* line) const { return parseLine(grammar, line); }

 private:
  Numbers numbers;
  LineRule grammar;
};

}  // namespace Loader
}  // namespace System
