// The frame: the shadow pass, then each viewport's set-up and scene, then the swap.

#include <iostream>

#include "rendering/glheaders.h"
#include "rendering/kernel.h"
#include "rendering/prerendersgvisitor.h"
#include "rendering/rendersgvisitor.h"
#include "rendering/shadowmapsgvisitor.h"
#include "rendering/viewport.h"
#include "system/log.h"
#include "system/monotonicclock.h"

namespace Rendering {

namespace {

const std::uint32_t frameCounterLimit = 60000;
const std::size_t glStackLevels = 32;

// Maps the cube from -1 to 1 onto the cube from 0 to 1.
const Data::Geometry::TMatrix4<float> bias(0.5f, 0, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0, 0.5f, 0.5f, 0,
                                           0, 0, 1);

}  // namespace

void glMultMatrix(const float* m) { glMultMatrixf(m); }

void Kernel::display() {
  if (!viewports.empty() && viewports.front()->camera) {
    renderShadowMap(viewports.front()->camera->scene);
  }
  glEnable(GL_SCISSOR_TEST);
  for (const auto& viewport : viewports) {
    if (!viewport->camera) continue;
    renderViewport(viewport);
    renderScene(viewport);
  }
  glDisable(GL_SCISSOR_TEST);
  if (doubleBuffered) {
    glutSwapBuffers();
  } else {
    glFlush();
  }
  if (frames > frameCounterLimit) {
    frames = 1;
    lastFpsTime = System::monotonicNow();
  } else {
    ++frames;
  }
}

void Kernel::renderShadowMap(Scenegraph::NodeHandle root) {
  glDisable(GL_TEXTURE_2D);
  ShadowMapSGVisitor finder(this);
  boost::apply_visitor(finder, root);
  // Without framebuffer objects there is nothing to draw into, and without a light
  // nothing casts a shadow.
  if (!framebufferObjects || !finder.light) {
    skipShadowPass();
    return;
  }
  if (!shadowMapFB.initialised) initShadowMapFB(shadowMapSize);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowMapFB.framebuffer);
  useShader(shadowMapShader);
  shaderLocked = true;

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glViewport(0, 0, shadowMapSize, shadowMapSize);
  gluPerspective(45.0, 1.0, 1.0, 1000.0);
  Matrix projection;
  glGetFloatv(GL_PROJECTION_MATRIX, projection[0]);

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  matrixStack.clear();
  modelMatrix = Matrix::identity();
  const Matrix lightView = finder.lightMatrix.inverse();
  setViewMatrix(lightView);

  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_FRONT);
  glShadeModel(GL_FLAT);
  RenderSGVisitor renderer(this);
  boost::apply_visitor(renderer, root);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

  glActiveTexture(GL_TEXTURE1);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMultMatrix((bias * projection * lightView)[0]);
  glCullFace(GL_BACK);
  glShadeModel(GL_SMOOTH);
  shaderLocked = false;
}

// A zero shadow texture matrix sends every point to w = 0, which the shaders read as
// "no shadow information": everything is lit.
void Kernel::skipShadowPass() {
  static const float zero[16] = {};
  glActiveTexture(GL_TEXTURE1);
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(zero);
  glCullFace(GL_BACK);
  glShadeModel(GL_SMOOTH);
}

void Kernel::renderViewport(boost::shared_ptr<Viewport> viewport) {
  const Camera& camera = *viewport->camera;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glViewport(viewport->getPixelX(), viewport->getPixelY(), viewport->getPixelWidth(),
             viewport->getPixelHeight());
  glScissor(viewport->getPixelX(), viewport->getPixelY(), viewport->getPixelWidth(),
            viewport->getPixelHeight());
  gluPerspective(camera.fov, static_cast<double>(viewport->getAspect()), camera.zNear, camera.zFar);
  const Data::Geometry::Color& clear = viewport->clearColor;
  glClearColor(clear.r, clear.g, clear.b, clear.a);
  glClear(GL_COLOR_BUFFER_BIT);

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  matrixStack.clear();
  modelMatrix = Matrix::identity();
  PreRenderSGVisitor finder(this, viewport);
  Scenegraph::NodeHandle scene = camera.scene;
  boost::apply_visitor(finder, scene);
  setViewMatrix(finder.cameraMatrix.inverse());
  pushMatrix(finder.lightMatrix);
  setupLight(finder.light);
  popMatrix();
}

void Kernel::renderScene(boost::shared_ptr<Viewport> viewport) {
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_CULL_FACE);
  RenderSGVisitor renderer(this);
  Scenegraph::NodeHandle scene = viewport->camera->scene;
  boost::apply_visitor(renderer, scene);
}

void Kernel::setViewMatrix(const Matrix& m) {
  viewMatrix = m;
  glMultMatrix(m[0]);
}

// GL promises 32 levels of modelview stack, the pass's own matrix being the first; deeper
// graphs load the product instead of pushing, so GL keeps matching the kernel's matrices.
void Kernel::pushMatrix(const Matrix& m) {
  matrixStack.push_back(modelMatrix);
  modelMatrix = modelMatrix * m;
  if (matrixStack.size() < glStackLevels) {
    glPushMatrix();
    glMultMatrix(m[0]);
  } else {
    glLoadMatrixf((viewMatrix * modelMatrix)[0]);
  }
}

void Kernel::popMatrix() {
  if (matrixStack.empty()) {
    std::cerr << LOG_PREFIX << "popMatrix without a matching pushMatrix" << std::endl;
    return;
  }
  const bool pushedOnGl = matrixStack.size() < glStackLevels;
  modelMatrix = matrixStack.back();
  matrixStack.pop_back();
  if (pushedOnGl) {
    glPopMatrix();
  } else {
    glLoadMatrixf((viewMatrix * modelMatrix)[0]);
  }
}

}  // namespace Rendering
