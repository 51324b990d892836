#pragma once
// The messages each shader program has written since it was built, so that one a frame
// would repeat many times a second is written once per build.

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>
#include <string>
#include <vector>

#include "data/geometry/shader.h"

namespace Rendering {

class ProgramMessages {
 public:
  // True the first time the program gives this text since it was last built.
  bool first(const boost::shared_ptr<Data::Geometry::Shader>& program, const std::string& text);
  // Every program was built again: each may write its messages once more.
  void forgetAll();

 private:
  // Held weakly and by record, not by name or address: a record made later under a freed
  // one's name or address is another program. Released records are dropped.
  struct Written {
    boost::weak_ptr<Data::Geometry::Shader> program;
    std::vector<std::string> texts;  // distinct, so no more than a program has messages
  };
  std::vector<Written> written;
};

}  // namespace Rendering
