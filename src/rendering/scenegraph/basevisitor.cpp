#include "rendering/scenegraph/basevisitor.h"

#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"

namespace Rendering::Scenegraph {

void BaseVisitor::visit(StateChanging&, bool) {}

void BaseVisitor::visit(Moveable&, bool) {}

void BaseVisitor::operator()(boost::shared_ptr<Data::Geometry::Light>) {}

void BaseVisitor::operator()(boost::shared_ptr<Rendering::Camera>) {}

void BaseVisitor::operator()(const boost::shared_ptr<Data::Geometry::Mesh>&) {}

void BaseVisitor::visit(LeafNode& leaf) {
  visit(static_cast<Node&>(leaf), false);
  boost::apply_visitor(*this, leaf.content);
  visit(static_cast<Node&>(leaf), true);
}

void BaseVisitor::operator()(const boost::shared_ptr<LeafNode>& leaf) {
  if (leaf) visit(*leaf);
}

void BaseVisitor::visit(GroupNode& group) {
  visit(static_cast<Node&>(group), false);
  group.visitChildren(*this);
  visit(static_cast<Node&>(group), true);
}

void BaseVisitor::operator()(const boost::shared_ptr<GroupNode>& group) {
  if (group) visit(*group);
}

// Leaving repeats the entering order (transform, then state) rather than mirroring it.
// The handles are copied so a hook may drop the node's own without freeing what it is given.
void BaseVisitor::visit(Node& node, bool leave) {
  if (const boost::shared_ptr<Moveable> transform = node.transform) visit(*transform, leave);
  if (const boost::shared_ptr<StateChanging> state = node.state) visit(*state, leave);
}

}  // namespace Rendering::Scenegraph
