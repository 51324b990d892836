#include "rendering/scenegraph/moveable.h"

#include <cmath>

#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;
const float halfPi = static_cast<float>(M_PI / 2);

// Where m takes the origin.
Matrix originOf(const Matrix& m) { return move(m[3][0], m[3][1], m[3][2]); }

// False orbits about the parent's axes, true spins in place about the node's own.
TEST(MoveableTest, TheFlagChoosesTheFrameOfAStep) {
  Moveable orbit, spin;
  orbit.translatePlusZ(7, false).rotateY(halfPi, false);
  spin.translatePlusZ(7, false).rotateY(halfPi, true);
  expectNear(originOf(orbit.getMatrix()), move(7, 0, 0));
  expectNear(spin.getMatrix(), move(0, 0, 7) * Matrix().setRotationY(halfPi));
}

TEST(MoveableTest, StepsChainOnTheSameObjectAndMinusStepsNegateTheAmount) {
  Moveable m;
  Moveable& last =
      m.translatePlusX(1, false).translateMinusX(3, false).translateMinusY(-0.5f, true);
  m.translatePlusY(1, false).translatePlusZ(4, true).translateMinusZ(1, true);
  EXPECT_EQ(&last, &m);
  expectNear(m.getMatrix(), move(-2, 1.5f, 3));
  Moveable turned, rotated;
  turned.turnX(0.4f, true).turnZ(0.6f, false);
  expectNear(turned.getMatrix(), rotated.rotateX(0.4f, true).rotateZ(0.6f, false).getMatrix(), 0);
}

// Without a direction or an up vector the matrix is kept.
TEST(MoveableTest, LookAtPutsTheEyeAtTheOriginFacingMinusZ) {
  Moveable m;
  m.rotateY(1, false).lookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
  expectNear(m.getMatrix(), move(0, 0, -5));
  m.lookAt(1, 1, 1, 1, 1, 1, 0, 1, 0).lookAt(0, 0, 5, 0, 0, 0, 0, 0, 0);
  expectNear(m.getMatrix(), move(0, 0, -5));
  // Looking along +X with +Y up: the target ends on -Z, +Z of the world on the right.
  m.lookAt(2, 1, 0, 5, 1, 0, 0, 1, 0);
  expectNear(originOf(m.getMatrix() * move(5, 1, 0)), move(0, 0, -3));
  expectNear(originOf(m.getMatrix() * move(2, 1, 1)), move(1, 0, 0));
}

}  // namespace
