#pragma once
// Helpers of the scene-graph tests: matrices and graph building.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "rendering/camera.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"

namespace SceneTest {

using namespace Rendering::Scenegraph;
using Matrix = Data::Geometry::TMatrix4<float>;
using GroupPtr = boost::shared_ptr<GroupNode>;

inline void expectNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[0][i], expected[0][i], tolerance) << "at " << i;
}

inline Matrix move(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }
inline Matrix turn(float a) { return Matrix().setRotationZ(a); }

inline boost::shared_ptr<Moveable> moveable(const Matrix& m) {
  auto t = boost::make_shared<Moveable>();
  t->setMatrix(m);
  return t;
}

inline GroupPtr newGroup() { return boost::make_shared<GroupNode>(); }

// A mesh told apart from others by its number of vertices.
inline boost::shared_ptr<Data::Geometry::Mesh> meshOf(unsigned vertices) {
  auto mesh = boost::make_shared<Data::Geometry::Mesh>();
  mesh->vertices.resize(vertices);
  return mesh;
}

}  // namespace SceneTest
