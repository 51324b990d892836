#include "rendering/scenegraph/leafnode.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "rendering/camera.h"

namespace {

using Rendering::Scenegraph::LeafNode;

// The visitors dispatch on the alternative's position, so each constructor must pick its own.
TEST(LeafNodeTest, EachKindOfContentTakesItsOwnAlternative) {
  auto mesh = boost::make_shared<Data::Geometry::Mesh>();
  auto camera = boost::make_shared<Rendering::Camera>();
  auto light = boost::make_shared<Data::Geometry::Light>();
  EXPECT_EQ(LeafNode(mesh).content.which(), 0);
  EXPECT_EQ(LeafNode(camera).content.which(), 1);
  EXPECT_EQ(LeafNode(light).content.which(), 2);
}

TEST(LeafNodeTest, ContentIsTheGivenObjectNotACopy) {
  auto light = boost::make_shared<Data::Geometry::Light>();
  LeafNode leaf(light);
  EXPECT_EQ(boost::get<boost::shared_ptr<Data::Geometry::Light>>(leaf.content), light);
  EXPECT_FALSE(leaf.transform);
  EXPECT_FALSE(leaf.state);
}

}  // namespace
