#pragma once
// What the OBJ and MTL line grammars share: one rule, built once per loader, run over each line.

#include "system/loader/linescanner.h"

namespace System {
namespace Loader {

class LineGrammar {
 public:
  LineGrammar(const LineGrammar&) = delete;
  LineGrammar& operator=(const LineGrammar&) = delete;

  // True when an alternative took the line and nothing but blanks follows it.
  bool parse(const char* line) const;

 protected:
  LineGrammar() = default;
  ~LineGrammar() = default;

  // The numbers read so far on the line being parsed; the rule's actions fire with them. The rule
  // refers to them by address, hence no copies.
  float numbers[3] = {0.0f, 0.0f, 0.0f};
  LineRule grammar;
};

}  // namespace Loader
}  // namespace System
