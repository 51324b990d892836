#include "rendering/programmessages.h"

#include <algorithm>

namespace Rendering {

bool ProgramMessages::first(const boost::shared_ptr<Data::Geometry::Shader>& program,
                            const std::string& text) {
  written.erase(std::remove_if(written.begin(), written.end(),
                               [](const Written& w) { return w.program.expired(); }),
                written.end());
  auto entry = std::find_if(written.begin(), written.end(), [&](const Written& w) {
    return !w.program.owner_before(program) && !program.owner_before(w.program);
  });
  if (entry == written.end()) entry = written.insert(written.end(), Written{program, {}});
  std::vector<std::string>& texts = entry->texts;
  if (std::find(texts.begin(), texts.end(), text) != texts.end()) return false;
  texts.push_back(text);
  return true;
}

void ProgramMessages::forgetAll() { written.clear(); }

}  // namespace Rendering
