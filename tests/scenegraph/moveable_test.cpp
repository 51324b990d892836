#include "rendering/scenegraph/moveable.h"

#include <cmath>

#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;
const float halfPi = static_cast<float>(M_PI / 2);

TEST(MoveableTest, FlagFalseOrbitsAboutTheParentFlagTrueSpinsInPlace) {
  Moveable orbit, spin, a, b;
  expectNear(orbit.getMatrix(), Matrix::identity(), 0);
  orbit.translatePlusZ(7, false).rotateY(halfPi, false);
  spin.translatePlusZ(7, false).rotateY(halfPi, true);
  expectNear(originOf(orbit.getMatrix()), move(7, 0, 0));
  expectNear(originOf(spin.getMatrix()), move(0, 0, 7));
  expectNear(spin.getMatrix(), move(0, 0, 7) * Matrix().setRotationY(halfPi));
  // On the identity the flag makes no difference.
  expectNear(a.rotateX(0.3f, true).getMatrix(), b.rotateX(0.3f, false).getMatrix(), 0);
}

TEST(MoveableTest, EveryStepChainsOnTheSameObject) {
  Moveable chained, separate;
  Moveable& last = chained.turnX(0.4f, true).translateMinusY(0.5f, false).turnZ(0.6f, true);
  separate.rotateX(0.4f, true);
  separate.translateMinusY(0.5f, false);
  separate.rotateZ(0.6f, true);
  EXPECT_EQ(&last, &chained);
  expectNear(chained.getMatrix(), separate.getMatrix(), 0);
}

TEST(MoveableTest, MinusStepsNegateTheAmount) {
  Moveable m;
  m.translatePlusX(1, false).translateMinusX(3, false).translateMinusY(-0.5f, true);
  m.translatePlusY(1, false).translatePlusZ(4, true).translateMinusZ(1, true);
  expectNear(m.getMatrix(), move(-2, 1.5f, 3));
}

TEST(MoveableTest, LookAtPutsTheEyeAtTheOriginFacingMinusZ) {
  Moveable m;
  m.rotateY(1, false).lookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
  expectNear(m.getMatrix(), move(0, 0, -5));
  // Looking along +X with +Y up: the target ends on -Z, +Z of the world on the right.
  m.lookAt(2, 1, 0, 5, 1, 0, 0, 1, 0);
  expectNear(originOf(m.getMatrix() * move(5, 1, 0)), move(0, 0, -3));
  expectNear(originOf(m.getMatrix() * move(2, 1, 1)), move(1, 0, 0));
}

TEST(MoveableTest, LookAtWithoutADirectionKeepsTheMatrix) {
  Moveable m;
  m.translatePlusX(4, false).lookAt(1, 1, 1, 1, 1, 1, 0, 1, 0).lookAt(0, 0, 5, 0, 0, 0, 0, 0, 0);
  expectNear(m.getMatrix(), move(4, 0, 0), 0);
}

}  // namespace
