#include "rendering/scenegraph/leafnode.h"

#include <utility>

namespace Rendering::Scenegraph {

LeafNode::LeafNode(boost::shared_ptr<Data::Geometry::Mesh> mesh) : content(std::move(mesh)) {}

LeafNode::LeafNode(boost::shared_ptr<Rendering::Camera> camera) : content(std::move(camera)) {}

LeafNode::LeafNode(boost::shared_ptr<Data::Geometry::Light> light) : content(std::move(light)) {}

}  // namespace Rendering::Scenegraph
