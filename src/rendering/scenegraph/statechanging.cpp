#include "rendering/scenegraph/statechanging.h"

#include <boost/make_shared.hpp>
#include <utility>

namespace Rendering::Scenegraph {

StateChanging::StateChanging(std::string name)
    : shader(boost::make_shared<Data::Geometry::Shader>(std::move(name))) {}

}  // namespace Rendering::Scenegraph
