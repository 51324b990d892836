#pragma once
// A scene-graph node holding an ordered list of children.

#include <vector>

#include "rendering/scenegraph/node.h"

namespace Rendering::Scenegraph {

class BaseVisitor;

class GroupNode : public Node {
 public:
  // In the order added, which is the traversal order.
  std::vector<NodeHandle> children;

  // Appends the group and returns it. An empty handle, or a group that would end up
  // containing itself, is refused with an error line and the graph left as it was.
  boost::shared_ptr<GroupNode> add(boost::shared_ptr<GroupNode> child);
  // Each appends a new leaf holding the handle and returns that leaf.
  boost::shared_ptr<LeafNode> add(const boost::shared_ptr<Data::Geometry::Mesh>& mesh);
  boost::shared_ptr<LeafNode> add(const boost::shared_ptr<Data::Geometry::Light>& light);
  boost::shared_ptr<LeafNode> add(const boost::shared_ptr<Rendering::Camera>& camera);

  // Hands each child in turn to the visitor, each subtree complete before the next.
  void visitChildren(BaseVisitor& visitor);
};

}  // namespace Rendering::Scenegraph
