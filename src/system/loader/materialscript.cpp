#include "system/loader/materialscript.h"

#include <utility>

namespace System {
namespace Loader {

void MaterialScript::add(MaterialStep step) {
  if (step.kind == MaterialStep::NewMaterial) {
    if (!named && step.text.empty()) {
      return;
    }
    named = !step.text.empty();
    list.push_back(std::move(step));
    materialStart = list.size();
    return;
  }
  for (std::size_t k = materialStart; k < list.size(); ++k) {
    if (list[k].kind == step.kind) {
      list[k] = std::move(step);
      return;
    }
  }
  list.push_back(std::move(step));
}

void MaterialScript::cut() {
  list.resize(materialStart);
  if (!list.empty()) {
    list.back().text.clear();
  }
  named = false;
}

}  // namespace Loader
}  // namespace System
