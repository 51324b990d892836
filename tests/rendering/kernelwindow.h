#pragma once
// The kernel's window in a rendering test program, opened once per program, and the
// meshes and scenes the tests draw.

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "data/geometry/light.h"
#include "data/geometry/material.h"
#include "data/geometry/mesh.h"
#include "data/geometry/texture.h"
#include "rendering/kernel.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"
#include "rendering/viewport.h"
#include "support/glwindow.h"

namespace TestSupport {

// The kernel after init, with a 640 x 480 window on screen; the first call opens it.
Rendering::Kernel* openWindow();
// What init wrote on standard output while the window was opened.
const std::string& initOutput();

// Handles the window events GLUT has queued (map, reshape), then sizes the viewports to
// the window. GLUT timers due meanwhile run too.
void pumpEvents();

// Back to what a test expects: one default viewport sized to the window, the matrices
// at identity, the lock off and no pending GL error.
void resetKernel();

std::string describe(const Rgb& pixel);

// A square of side 2 x half in the plane z, facing +z, texture coordinates 0 to 1, drawn
// as two triangles sharing one material.
boost::shared_ptr<Data::Geometry::Mesh> makeSquare(
    float half, float z, boost::shared_ptr<Data::Geometry::Material> material);
boost::shared_ptr<Data::Geometry::Material> makeMaterial(float r, float g, float b);
// width x height pixels given as RGB rows from the bottom up, stored as the texture
// keeps them (BGR, unpadded rows).
boost::shared_ptr<Data::Geometry::Texture> makeTexture(const std::string& name, int width,
                                                       int height, const std::vector<Rgb>& pixels);

// A scene root drawn with the given program, holding a camera leaf for the first
// viewport placed by the matrix.
struct Scene {
  boost::shared_ptr<Rendering::Scenegraph::GroupNode> root;
  boost::shared_ptr<Rendering::Scenegraph::LeafNode> cameraLeaf;
};
Scene makeScene(const std::string& program, const Data::Geometry::TMatrix4<float>& cameraMatrix);
// Shows the scene in every viewport of the kernel.
void showInAllViewports(const Scene& scene);
// A leaf for the light, placed by the matrix.
boost::shared_ptr<Rendering::Scenegraph::LeafNode> addLight(
    const Scene& scene, const Data::Geometry::TMatrix4<float>& m);

// A floor (square of half size 3 at z = 0, of the given material) lit from (0, 0, 8),
// optionally with a box of half size 0.5 at (0, 0, 3) between them, drawn with
// "texLightSM". The camera looks at the floor's centre, the middle of the window, from
// the side, past the box.
Scene makeShadowScene(bool withBox, boost::shared_ptr<Data::Geometry::Material> floor);

Data::Geometry::TMatrix4<float> translation(float x, float y, float z);

// The GL modelview (or other) matrix as the kernel's matrix type.
Data::Geometry::TMatrix4<float> glMatrix(GLenum which);
bool nearMatrix(const Data::Geometry::TMatrix4<float>& a, const Data::Geometry::TMatrix4<float>& b,
                float tolerance = 1e-4f);

}  // namespace TestSupport
