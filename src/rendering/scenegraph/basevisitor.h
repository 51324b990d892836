#pragma once
// The walk over a scene graph, written once; passes derive from it and override hooks.

#include <boost/shared_ptr.hpp>
#include <boost/variant/static_visitor.hpp>

#include "rendering/scenegraph/node.h"

namespace Rendering::Scenegraph {

// Start a pass with boost::apply_visitor(visitor, root). Every node is entered (its
// transform hook, then its state hook, with leave false), then its content or children are
// visited, then it is left through the same two hooks in the same order (leave true).
// The walk (the last five operations) is not meant to be overridden. A derived visitor that
// overrides some operators should say `using BaseVisitor::operator();` (and likewise for
// visit) so that boost::apply_visitor on it still finds the node-handle overloads.
// Visitors live on the stack as their own class, so the destructor is not virtual.
class BaseVisitor : public boost::static_visitor<void> {
 public:
  BaseVisitor() = default;

  // Hooks: the base versions do nothing.
  virtual void visit(StateChanging& state, bool leave);
  virtual void visit(Moveable& transform, bool leave);
  virtual void operator()(boost::shared_ptr<Data::Geometry::Light> light);
  virtual void operator()(boost::shared_ptr<Rendering::Camera> camera);
  virtual void operator()(const boost::shared_ptr<Data::Geometry::Mesh>& mesh);

  // The walk. An empty handle is skipped.
  virtual void visit(LeafNode& leaf);
  virtual void operator()(const boost::shared_ptr<LeafNode>& leaf);
  virtual void visit(GroupNode& group);
  virtual void operator()(const boost::shared_ptr<GroupNode>& group);
  virtual void visit(Node& node, bool leave);
};

}  // namespace Rendering::Scenegraph
