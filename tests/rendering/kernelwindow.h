#pragma once
// The kernel's window in a rendering test program, opened once, and what the tests draw.

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "rendering/kernel.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/viewport.h"
#include "support/glwindow.h"

namespace TestSupport {

using Matrix = Data::Geometry::TMatrix4<float>;
using MaterialPtr = boost::shared_ptr<Data::Geometry::Material>;
using MeshPtr = boost::shared_ptr<Data::Geometry::Mesh>;
using GroupPtr = boost::shared_ptr<Rendering::Scenegraph::GroupNode>;
using LeafPtr = boost::shared_ptr<Rendering::Scenegraph::LeafNode>;

// The kernel after init, its 640 x 480 window on screen; the first call opens it.
Rendering::Kernel* openKernelWindow();
// A new window (or game mode), on screen, with the viewports sized to it.
void newWindow(bool gameMode = false);

// From here a square of side 2 at z = 0 just fills the height of the 45 degree view: the
// square from -1 to 1 covers the middle 480 x 480 pixels.
extern const float fillDistance;
// The pixel showing point (x, y) of the plane z = 0 seen from fillDistance.
Rgb pixelOfPlane(float x, float y);

// What f writes on standard output, or on standard error, while it runs.
template <typename F>
std::string stdoutOf(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}
template <typename F>
std::string stderrOf(F f) {
  testing::internal::CaptureStderr();
  f();
  return testing::internal::GetCapturedStderr();
}
int occurrences(const std::string& text, const std::string& word);
Matrix translation(float x, float y, float z);
// The GL matrix (GL_TEXTURE_MATRIX, ...) as the kernel's matrix type.
Matrix glMatrix(GLenum which);
testing::AssertionResult nearMatrix(const Matrix& actual, const Matrix& expected);

MaterialPtr makeMaterial(float r, float g, float b);
// A square of side 2 x half in the plane z, facing +z, texture coordinates 0 to 1.
MeshPtr makeSquare(float half, float z, MaterialPtr material);
// Texels given as rows from the bottom up, stored as the loader stores them (BGR, unpadded).
boost::shared_ptr<Data::Geometry::Texture> makeTexture(const std::string& name, int width,
                                                       int height, const std::vector<Rgb>& texels);
// Puts in the kernel's table a program of one flat colour that places vertices only through
// the kernel's uniforms, so that a wrong view or model matrix moves what it draws.
void addFlatProgram(const std::string& name, const Rgb& colour);

// A scene drawn with the program and shown in every viewport, holding the first viewport's
// camera placed by the matrix.
GroupPtr makeScene(const std::string& program, const Matrix& camera);
LeafPtr addLight(const GroupPtr& scene, const Matrix& place);
// A grey floor (half size 3, z = 0) lit from (0, 0, 8), drawn with "texLightSM", optionally
// with a box at (0, 0, 3) between them; the camera sees the floor's centre in the middle of
// the window, past the box.
GroupPtr makeShadowScene(bool withBox);

// Each test starts from one default viewport, identity matrices, the lock off and no GL
// error, with a "texLight" scene seen from fillDistance.
class KernelTest : public testing::Test {
 protected:
  void SetUp() override;

  Rendering::Kernel* kernel = nullptr;
  GroupPtr scene;
};

}  // namespace TestSupport
