#include "rendering/camera.h"

#include <gtest/gtest.h>

#include "rendering/scenegraph/groupnode.h"

namespace {

using GroupPtr = boost::shared_ptr<Rendering::Scenegraph::GroupNode>;

TEST(CameraTest, StartsWithTheDefaultPerspective) {
  Rendering::Camera camera;
  EXPECT_EQ(camera.fov, 45.0);
  EXPECT_EQ(camera.zNear, 1.0);
  EXPECT_EQ(camera.zFar, 1000.0);
  EXPECT_TRUE(camera.meshes.empty());
}

TEST(CameraTest, ShowsAnEmptyGroupOfItsOwn) {
  Rendering::Camera a, b;
  const GroupPtr* sceneA = boost::get<GroupPtr>(&a.scene);
  const GroupPtr* sceneB = boost::get<GroupPtr>(&b.scene);
  ASSERT_TRUE(sceneA && *sceneA);
  ASSERT_TRUE(sceneB && *sceneB);
  EXPECT_TRUE((*sceneA)->children.empty());
  EXPECT_NE(*sceneA, *sceneB);
}

}  // namespace
