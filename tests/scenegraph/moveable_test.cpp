#include "rendering/scenegraph/moveable.h"

#include <gtest/gtest.h>

#include <cmath>

#include "matrixexpect.h"

namespace {

using Rendering::Scenegraph::Moveable;
using SceneTest::apply;
using SceneTest::expectNear;
using SceneTest::expectPoint;
using SceneTest::Matrix;

const float halfPi = static_cast<float>(M_PI / 2);

TEST(MoveableTest, StartsAsTheIdentity) {
  expectNear(Moveable().getMatrix(), Matrix::identity(), 0);
}

TEST(MoveableTest, FlagTrueActsFirstFlagFalseActsLast) {
  Moveable after, before;
  after.translatePlusX(1, false).rotateZ(halfPi, false);
  before.translatePlusX(1, false).rotateZ(halfPi, true);
  expectPoint(apply(after.getMatrix(), {1, 0, 0}), {0, 2, 0});
  expectPoint(apply(before.getMatrix(), {1, 0, 0}), {1, 1, 0});
}

// Orbit about the parent's axis against a spin about the node's own.
TEST(MoveableTest, WorkedExampleOfTheFlag) {
  Moveable orbit, spin;
  orbit.translatePlusZ(7, false).rotateY(halfPi, false);
  spin.translatePlusZ(7, false).rotateY(halfPi, true);
  expectPoint(apply(orbit.getMatrix(), {0, 0, 0}), {7, 0, 0});
  expectPoint(apply(spin.getMatrix(), {0, 0, 0}), {0, 0, 7});
  expectPoint(apply(spin.getMatrix(), {1, 0, 0}), {0, 0, 6});
}

TEST(MoveableTest, BothFlagsAgreeOnTheIdentity) {
  Moveable a, b;
  a.rotateX(0.3f, true);
  b.rotateX(0.3f, false);
  expectNear(a.getMatrix(), b.getMatrix(), 0);
}

TEST(MoveableTest, MinusTranslationsNegateTheAmount) {
  struct Row {
    Moveable& (Moveable::*step)(float, bool);
    float amount;
    SceneTest::Point origin;
  };
  const Row rows[] = {
      {&Moveable::translatePlusX, 2, {2, 0, 0}},
      {&Moveable::translateMinusX, 2, {-2, 0, 0}},
      {&Moveable::translatePlusY, 2, {0, 2, 0}},
      {&Moveable::translateMinusY, 0.5f, {0, -0.5f, 0}},
      {&Moveable::translateMinusY, -0.5f, {0, 0.5f, 0}},
      {&Moveable::translatePlusZ, 2, {0, 0, 2}},
      {&Moveable::translateMinusZ, 2, {0, 0, -2}},
  };
  for (const Row& row : rows) {
    Moveable m;
    (m.*row.step)(row.amount, false);
    expectPoint(apply(m.getMatrix(), {0, 0, 0}), row.origin);
  }
}

TEST(MoveableTest, PlusThenMinusRestoresATranslation) {
  for (bool flag : {false, true}) {
    Moveable m;
    m.setMatrix(SceneTest::translation(1, 2, 3));
    m.translatePlusX(0.75f, flag).translateMinusX(0.75f, flag);
    expectNear(m.getMatrix(), SceneTest::translation(1, 2, 3));
  }
}

TEST(MoveableTest, ChainedCallsActOnTheSameObjectInOrder) {
  Moveable chained, separate;
  Moveable& last = chained.rotateX(0.2f, true).translatePlusY(3, false).rotateZ(1, true);
  separate.rotateX(0.2f, true);
  separate.translatePlusY(3, false);
  separate.rotateZ(1, true);
  EXPECT_EQ(&last, &chained);
  expectNear(chained.getMatrix(), separate.getMatrix(), 0);
}

TEST(MoveableTest, TurnsAreTheRotations) {
  Moveable turned, rotated;
  turned.translatePlusX(1, false).turnX(0.4f, true).turnY(0.5f, false).turnZ(0.6f, true);
  rotated.translatePlusX(1, false).rotateX(0.4f, true).rotateY(0.5f, false).rotateZ(0.6f, true);
  expectNear(turned.getMatrix(), rotated.getMatrix(), 0);
}

TEST(MoveableTest, ApplyTransformMayTakeItsOwnMatrix) {
  Moveable m;
  m.setMatrix(SceneTest::translation(1, 0, 0)).rotateZ(halfPi, false);
  const Matrix square = m.getMatrix() * m.getMatrix();
  m.applyTransform(m.getMatrix(), true);
  expectNear(m.getMatrix(), square);
}

TEST(MoveableTest, LookAtAlongMinusZIsATranslation) {
  Moveable m;
  m.rotateY(1, false).lookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
  expectNear(m.getMatrix(), SceneTest::translation(0, 0, -5));
}

TEST(MoveableTest, LookAtPutsTheEyeAtTheOriginFacingMinusZ) {
  Moveable m;
  m.lookAt(2, 1, 0, 5, 1, 0, 0, 1, 0);
  expectPoint(apply(m.getMatrix(), {2, 1, 0}), {0, 0, 0});
  expectPoint(apply(m.getMatrix(), {5, 1, 0}), {0, 0, -3});
  expectPoint(apply(m.getMatrix(), {2, 2, 0}), {0, 1, 0});
  expectPoint(apply(m.getMatrix(), {2, 1, 1}), {1, 0, 0});
}

TEST(MoveableTest, LookAtWithoutADirectionKeepsTheMatrix) {
  Moveable m;
  m.translatePlusX(4, false);
  m.lookAt(1, 1, 1, 1, 1, 1, 0, 1, 0);
  m.lookAt(0, 0, 5, 0, 0, 0, 0, 0, 0);
  expectNear(m.getMatrix(), SceneTest::translation(4, 0, 0), 0);
}

}  // namespace
