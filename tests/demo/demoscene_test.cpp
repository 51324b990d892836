#include "demoscene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rendering/camera.h"
#include "rendering/kernel.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/statechanging.h"
#include "rendering/viewport.h"

namespace {

using Data::Geometry::Mesh;
using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::LeafNode;
using Rendering::Scenegraph::Moveable;
using Rendering::Scenegraph::NodeHandle;
using Matrix = Data::Geometry::TMatrix4<float>;
using GroupPtr = boost::shared_ptr<GroupNode>;
using LeafPtr = boost::shared_ptr<LeafNode>;

const float quarterTurn = 3.14f / 2;

Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }
Matrix rotationX(float a) { return Matrix().setRotationX(a); }
Matrix rotationY(float a) { return Matrix().setRotationY(a); }
Matrix rotationZ(float a) { return Matrix().setRotationZ(a); }

void expectMatrixNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(actual[0][i], expected[0][i], tolerance) << "element " << i;
  }
}

GroupPtr groupAt(const std::vector<NodeHandle>& children, size_t i) {
  const GroupPtr* group = i < children.size() ? boost::get<GroupPtr>(&children[i]) : nullptr;
  return group ? *group : GroupPtr();
}

LeafPtr leafAt(const std::vector<NodeHandle>& children, size_t i) {
  const LeafPtr* leaf = i < children.size() ? boost::get<LeafPtr>(&children[i]) : nullptr;
  return leaf ? *leaf : LeafPtr();
}

template <typename T>
boost::shared_ptr<T> contentOf(const LeafPtr& leaf) {
  const boost::shared_ptr<T>* content = boost::get<boost::shared_ptr<T>>(&leaf->content);
  return content ? *content : boost::shared_ptr<T>();
}

// The scene is built once per process, as the program does; each test reads it and puts
// back whatever transforms it turned.
class DemoSceneTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::internal::CaptureStdout();
    setupScene();
    setUpLog = new std::string(testing::internal::GetCapturedStdout());
  }

  void SetUp() override {
    kernel = Rendering::Kernel::instance();
    ASSERT_EQ(kernel->viewports.size(), 2u);
    const GroupPtr* rootHandle = boost::get<GroupPtr>(&kernel->viewports[0]->camera->scene);
    ASSERT_TRUE(rootHandle);
    root = *rootHandle;
    ASSERT_EQ(root->children.size(), 5u);
    centre = groupAt(root->children, 3);
    orbit = groupAt(root->children, 4);
    ASSERT_TRUE(centre && orbit);
    ASSERT_EQ(centre->children.size(), 2u);
    signs = groupAt(centre->children, 1);
    ASSERT_TRUE(signs);
    ASSERT_EQ(signs->children.size(), 3u);
    ASSERT_EQ(orbit->children.size(), 2u);
    for (const auto& handle : {monkeyTransform, orbitTransform, signGroupTransform, signTransform1,
                               signTransform2, signTransform3}) {
      ASSERT_TRUE(handle);
      saved.push_back(handle->getMatrix());
    }
  }

  void TearDown() override {
    const boost::shared_ptr<Moveable> handles[] = {monkeyTransform,    orbitTransform,
                                                   signGroupTransform, signTransform1,
                                                   signTransform2,     signTransform3};
    for (size_t i = 0; i < saved.size(); ++i) handles[i]->setMatrix(saved[i]);
  }

  LeafPtr signLeaf(size_t i) { return leafAt(signs->children, i); }

  static std::string* setUpLog;
  Rendering::Kernel* kernel = nullptr;
  GroupPtr root, centre, signs, orbit;
  std::vector<Matrix> saved;
};

std::string* DemoSceneTest::setUpLog = nullptr;

TEST_F(DemoSceneTest, AddsARedInsetAfterTheWholeWindowViewport) {
  Rendering::Viewport& whole = *kernel->viewports[0];
  Rendering::Viewport& inset = *kernel->viewports[1];
  whole.resize(640, 480);
  inset.resize(640, 480);
  EXPECT_EQ(whole.getPixelWidth(), 640);
  EXPECT_EQ(whole.getPixelHeight(), 480);
  EXPECT_EQ(inset.getPixelX(), 447);
  EXPECT_EQ(inset.getPixelY(), 335);
  EXPECT_EQ(inset.getPixelWidth(), 160);
  EXPECT_EQ(inset.getPixelHeight(), 120);
  EXPECT_EQ(whole.clearColor.r, 1);
  EXPECT_EQ(whole.clearColor.g, 1);
  EXPECT_EQ(inset.clearColor.r, 1);
  EXPECT_EQ(inset.clearColor.g, 0);
  EXPECT_EQ(inset.clearColor.b, 0);
  EXPECT_EQ(inset.clearColor.a, 1);
  EXPECT_NE(whole.camera, inset.camera);
}

TEST_F(DemoSceneTest, BothCamerasShowOneRootDrawnWithTheShadowProgram) {
  const GroupPtr* insetRoot = boost::get<GroupPtr>(&kernel->viewports[1]->camera->scene);
  ASSERT_TRUE(insetRoot);
  EXPECT_EQ(*insetRoot, root);
  ASSERT_TRUE(root->state);
  EXPECT_EQ(root->state->shader->name, "texLightSM");
  EXPECT_FALSE(root->transform);
}

TEST_F(DemoSceneTest, GraphHoldsItsNodesInBuildingOrder) {
  const LeafPtr dome = leafAt(root->children, 0);
  const LeafPtr light = leafAt(root->children, 1);
  const LeafPtr camera0 = leafAt(root->children, 2);
  ASSERT_TRUE(dome && light && camera0);
  EXPECT_TRUE(contentOf<Mesh>(dome));
  EXPECT_TRUE(contentOf<Data::Geometry::Light>(light));
  EXPECT_EQ(contentOf<Rendering::Camera>(camera0), kernel->viewports[0]->camera);

  const LeafPtr monkey = leafAt(centre->children, 0);
  ASSERT_TRUE(monkey);
  EXPECT_TRUE(contentOf<Mesh>(monkey));
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(signLeaf(i));
    EXPECT_TRUE(contentOf<Mesh>(signLeaf(i)));
  }

  const LeafPtr orbitMonkey = leafAt(orbit->children, 0);
  const LeafPtr camera1 = leafAt(orbit->children, 1);
  ASSERT_TRUE(orbitMonkey && camera1);
  EXPECT_EQ(contentOf<Rendering::Camera>(camera1), kernel->viewports[1]->camera);
}

TEST_F(DemoSceneTest, EachMeshIsLoadedOnceAndShared) {
  const auto dome = contentOf<Mesh>(leafAt(root->children, 0));
  const auto monkey = contentOf<Mesh>(leafAt(centre->children, 0));
  const auto sign = contentOf<Mesh>(signLeaf(0));
  EXPECT_EQ(contentOf<Mesh>(leafAt(orbit->children, 0)), monkey);
  EXPECT_EQ(contentOf<Mesh>(signLeaf(1)), sign);
  EXPECT_EQ(contentOf<Mesh>(signLeaf(2)), sign);
  EXPECT_NE(dome, monkey);
  EXPECT_NE(monkey, sign);
  EXPECT_NE(dome, sign);
}

TEST_F(DemoSceneTest, MeshesLoadInOrderBeforeTheAnimationIsQueued) {
  const std::string& log = *setUpLog;
  const size_t dome = log.find("mtl/thunderdome.obj");
  const size_t monkey = log.find("mtl/monkey.obj");
  const size_t sign = log.find("mtl/sign.obj");
  const size_t animation = log.find("ARGH 50 50");
  ASSERT_NE(dome, std::string::npos) << log;
  ASSERT_NE(animation, std::string::npos) << log;
  EXPECT_LT(dome, monkey);
  EXPECT_LT(monkey, sign);
  EXPECT_LT(sign, animation);
  EXPECT_EQ(log.find("ARGH", animation + 1), std::string::npos) << "one task only";
  EXPECT_EQ(log.find("mtl/monkey.obj", log.find("counts:", monkey)), std::string::npos)
      << "the monkey is loaded once";
}

TEST_F(DemoSceneTest, NodesCarryTheirSetUpTransforms) {
  EXPECT_FALSE(leafAt(root->children, 0)->transform);
  EXPECT_FALSE(centre->transform);
  EXPECT_FALSE(leafAt(orbit->children, 1)->transform);

  expectMatrixNear(leafAt(root->children, 1)->transform->getMatrix(), translation(0, 0, 10));
  // The camera is moved back and down first, then tilted about the root's X axis.
  expectMatrixNear(leafAt(root->children, 2)->transform->getMatrix(),
                   rotationX(0.1f) * translation(0, -0.5f, 0) * translation(0, 0, 7));
  expectMatrixNear(leafAt(centre->children, 0)->transform->getMatrix(), rotationX(quarterTurn));
  expectMatrixNear(signs->transform->getMatrix(), Matrix::identity());
  expectMatrixNear(signLeaf(0)->transform->getMatrix(),
                   translation(0, 2, 0) * rotationX(quarterTurn));
  expectMatrixNear(signLeaf(1)->transform->getMatrix(),
                   translation(-1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(-quarterTurn));
  expectMatrixNear(signLeaf(2)->transform->getMatrix(),
                   translation(1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(quarterTurn));
  expectMatrixNear(orbit->transform->getMatrix(), translation(0, 0, 7));
  expectMatrixNear(leafAt(orbit->children, 0)->transform->getMatrix(),
                   rotationY(3.14f) * rotationX(quarterTurn));
}

TEST_F(DemoSceneTest, GlobalHandlesShareTheNodesTransforms) {
  EXPECT_EQ(monkeyTransform, leafAt(centre->children, 0)->transform);
  EXPECT_EQ(orbitTransform, orbit->transform);
  EXPECT_EQ(orbitSpinTransform, orbitTransform);
  EXPECT_EQ(lightTransform, leafAt(root->children, 1)->transform);
  EXPECT_EQ(signGroupTransform, signs->transform);
  EXPECT_EQ(signTransform1, signLeaf(0)->transform);
  EXPECT_EQ(signTransform2, signLeaf(1)->transform);
  EXPECT_EQ(signTransform3, signLeaf(2)->transform);
}

TEST_F(DemoSceneTest, AnimateTurnsFiveTransformsOneStepEach) {
  const Matrix orbitBefore = orbitTransform->getMatrix();
  const Matrix sign1Before = signTransform1->getMatrix();
  const Matrix sign2Before = signTransform2->getMatrix();
  const Matrix sign3Before = signTransform3->getMatrix();
  const Matrix monkeyBefore = monkeyTransform->getMatrix();

  EXPECT_EQ(animate(50), 1);

  expectMatrixNear(orbitTransform->getMatrix(), rotationY(0.05f) * orbitBefore);
  expectMatrixNear(signGroupTransform->getMatrix(), rotationZ(0.1f));
  expectMatrixNear(signTransform1->getMatrix(), sign1Before * rotationX(0.05f));
  expectMatrixNear(signTransform2->getMatrix(), sign2Before * rotationY(0.1f));
  expectMatrixNear(signTransform3->getMatrix(), sign3Before * rotationZ(0.05f));
  expectMatrixNear(monkeyTransform->getMatrix(), monkeyBefore);
  expectMatrixNear(lightTransform->getMatrix(), translation(0, 0, 10));
}

TEST_F(DemoSceneTest, SignGroupTurnsATenthOfARadianPerStep) {
  for (int n = 0; n < 40; ++n) animate(50);
  expectMatrixNear(signGroupTransform->getMatrix(), rotationZ(4.0f), 1e-4f);
}

}  // namespace
