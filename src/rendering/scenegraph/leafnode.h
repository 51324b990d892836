#pragma once
// A scene-graph node carrying exactly one mesh, camera or light.

#include "rendering/scenegraph/node.h"

namespace Rendering::Scenegraph {

class LeafNode : public Node {
 public:
  explicit LeafNode(boost::shared_ptr<Data::Geometry::Mesh> mesh);
  explicit LeafNode(boost::shared_ptr<Rendering::Camera> camera);
  explicit LeafNode(boost::shared_ptr<Data::Geometry::Light> light);

  // Set once by the constructor.
  LeafContent content;
};

}  // namespace Rendering::Scenegraph
