#pragma once
// A visitor that writes down every hook it is called with, naming transforms and states by
// the pointers registered for them.

#include <map>
#include <string>
#include <vector>

#include "rendering/scenegraph/basevisitor.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"

namespace SceneTest {

class RecordingVisitor : public Rendering::Scenegraph::BaseVisitor {
 public:
  using BaseVisitor::operator();
  using BaseVisitor::visit;

  void visit(Rendering::Scenegraph::StateChanging& state, bool leave) override {
    calls.push_back((leave ? "leave " : "enter ") + state.shader->name);
  }
  void visit(Rendering::Scenegraph::Moveable& transform, bool leave) override {
    calls.push_back((leave ? "leave " : "enter ") + names[&transform]);
  }
  void operator()(boost::shared_ptr<Data::Geometry::Light>) override { calls.push_back("light"); }
  void operator()(boost::shared_ptr<Rendering::Camera>) override { calls.push_back("camera"); }
  void operator()(const boost::shared_ptr<Data::Geometry::Mesh>& mesh) override {
    calls.push_back("mesh " + std::to_string(mesh->vertices.size()));
  }

  std::map<const Rendering::Scenegraph::Moveable*, std::string> names;
  std::vector<std::string> calls;
};

}  // namespace SceneTest
