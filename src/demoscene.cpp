#include "demoscene.h"

#include "data/geometry/light.h"
#include "rendering/camera.h"
#include "rendering/kernel.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/statechanging.h"
#include "rendering/viewport.h"
#include "system/loader/ressourcemanager.h"

using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::LeafNode;
using Rendering::Scenegraph::Moveable;
using Rendering::Scenegraph::StateChanging;

boost::shared_ptr<Moveable> monkeyTransform;
boost::shared_ptr<Moveable> orbitTransform;
boost::shared_ptr<Moveable> orbitSpinTransform;
boost::shared_ptr<Moveable> lightTransform;
boost::shared_ptr<Moveable> signGroupTransform;
boost::shared_ptr<Moveable> signTransform1;
boost::shared_ptr<Moveable> signTransform2;
boost::shared_ptr<Moveable> signTransform3;

namespace {

// The meshes lie along the Y axis; this quarter turn about X stands them up. It is the
// single-precision 3.14 halved, not a more exact pi/2.
const float quarterTurn = 3.14f / 2;

// Gives the node a new transform at identity and returns it for the caller to move.
Moveable& newTransform(Rendering::Scenegraph::Node& node) {
  node.transform.reset(new Moveable());
  return *node.transform;
}

boost::shared_ptr<GroupNode> addGroup(GroupNode& parent) {
  return parent.add(boost::shared_ptr<GroupNode>(new GroupNode()));
}

}  // namespace

void setupScene() {
  System::Loader::RessourceManager* ressources = System::Loader::RessourceManager::getInstance();
  Rendering::Kernel* kernel = Rendering::Kernel::instance();

  boost::shared_ptr<Rendering::Viewport> viewport0 = kernel->viewports[0];
  viewport0->setRelative(0, 0, 1, 1);

  boost::shared_ptr<Rendering::Viewport> viewport1(
      new Rendering::Viewport(0.7f, 0.7f, 0.25f, 0.25f));
  kernel->viewports.push_back(viewport1);
  viewport1->clearColor.set(1, 0, 0, 1);

  boost::shared_ptr<GroupNode> root(new GroupNode());
  viewport0->camera->scene = root;
  viewport1->camera->scene = root;
  root->state.reset(new StateChanging("texLightSM"));

  boost::shared_ptr<Data::Geometry::Mesh> thunderdome = ressources->loadMesh("mtl/thunderdome.obj");
  root->add(thunderdome);

  boost::shared_ptr<LeafNode> lightLeaf =
      root->add(boost::shared_ptr<Data::Geometry::Light>(new Data::Geometry::Light()));
  newTransform(*lightLeaf).translatePlusZ(10, false);
  lightTransform = lightLeaf->transform;

  boost::shared_ptr<LeafNode> camera0Leaf = root->add(viewport0->camera);
  newTransform(*camera0Leaf)
      .translatePlusZ(7, false)
      .translateMinusY(0.5f, false)
      .rotateX(0.1f, false);

  boost::shared_ptr<GroupNode> centreGroup = addGroup(*root);

  boost::shared_ptr<Data::Geometry::Mesh> monkey = ressources->loadMesh("mtl/monkey.obj");
  boost::shared_ptr<LeafNode> monkeyLeaf = centreGroup->add(monkey);
  newTransform(*monkeyLeaf).rotateX(quarterTurn, false);
  monkeyTransform = monkeyLeaf->transform;

  boost::shared_ptr<GroupNode> signGroup = addGroup(*centreGroup);
  newTransform(*signGroup);
  signGroupTransform = signGroup->transform;

  boost::shared_ptr<Data::Geometry::Mesh> sign = ressources->loadMesh("mtl/sign.obj");
  boost::shared_ptr<LeafNode> signLeaf1 = signGroup->add(sign);
  newTransform(*signLeaf1).rotateX(quarterTurn, false).translatePlusY(2, false);
  signTransform1 = signLeaf1->transform;

  boost::shared_ptr<LeafNode> signLeaf2 = signGroup->add(sign);
  newTransform(*signLeaf2)
      .rotateX(-quarterTurn, false)
      .translateMinusY(1.4f, false)
      .translateMinusX(1.4f, false);
  signTransform2 = signLeaf2->transform;

  boost::shared_ptr<LeafNode> signLeaf3 = signGroup->add(sign);
  newTransform(*signLeaf3)
      .rotateX(quarterTurn, false)
      .translateMinusY(1.4f, false)
      .translatePlusX(1.4f, false);
  signTransform3 = signLeaf3->transform;

  boost::shared_ptr<GroupNode> orbitGroup = addGroup(*root);
  newTransform(*orbitGroup).translatePlusZ(7, false);
  orbitTransform = orbitGroup->transform;
  orbitSpinTransform = orbitGroup->transform;

  boost::shared_ptr<LeafNode> orbitMonkeyLeaf = orbitGroup->add(monkey);
  newTransform(*orbitMonkeyLeaf).rotateX(quarterTurn, false).rotateY(3.14f, false);

  orbitGroup->add(viewport1->camera);

  kernel->scheduler.addTask(&animate, 50, 50);
}

int animate(std::uint32_t) {
  orbitSpinTransform->rotateY(0.05f, false);
  signGroupTransform->rotateZ(0.1f, false);
  signTransform2->rotateY(0.1f, true);
  signTransform1->rotateX(0.05f, true);
  signTransform3->rotateZ(0.05f, true);
  return 1;
}
