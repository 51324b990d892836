#pragma once
// The two attachments every scene-graph node may carry, and the graph's link types.

#include <boost/shared_ptr.hpp>
#include <boost/variant.hpp>

#include "data/geometry/light.h"
#include "data/geometry/mesh.h"

namespace Rendering {
class Camera;
}

namespace Rendering::Scenegraph {

class GroupNode;
class LeafNode;
class Moveable;
class StateChanging;

// A child of a group, or the root of a camera's scene: a group or a single leaf.
using NodeHandle = boost::variant<boost::shared_ptr<GroupNode>, boost::shared_ptr<LeafNode>>;

// What a leaf carries; the order of the alternatives is the order the visitors dispatch on.
using LeafContent =
    boost::variant<boost::shared_ptr<Data::Geometry::Mesh>, boost::shared_ptr<Rendering::Camera>,
                   boost::shared_ptr<Data::Geometry::Light>>;

// Nodes are always owned through handles to their own class, so no virtual destructor.
class Node {
 public:
  // Local transform; empty means the node adds no matrix work.
  boost::shared_ptr<Moveable> transform;
  // Shader for the node and its subtree; empty keeps the one in force above.
  boost::shared_ptr<StateChanging> state;
};

}  // namespace Rendering::Scenegraph
