#pragma once
// The renderer: the window and its GL context, the shader programs, the frame and the
// drawing of meshes, materials, textures and the light.

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/unordered_map.hpp>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "data/geometry/light.h"
#include "data/geometry/material.h"
#include "data/geometry/matrix4.h"
#include "data/geometry/mesh.h"
#include "data/geometry/shader.h"
#include "data/geometry/texture.h"
#include "rendering/glheaders.h"
#include "rendering/scenegraph/node.h"
#include "rendering/shadowmapfb.h"
#include "system/scheduler.h"

namespace Rendering {

class Viewport;

// One per process, reached through instance(); use it as instance(), init(), the
// application's own set-up, then run(). Every GL call needs the window made by init().
class Kernel {
 public:
  using Matrix = Data::Geometry::TMatrix4<float>;
  using MeshPtr = boost::shared_ptr<Data::Geometry::Mesh>;
  using ShaderPtr = boost::shared_ptr<Data::Geometry::Shader>;

  // What a failed shader or program build returns, and what a failed record's program holds.
  static constexpr GLuint buildFailed = 0xFFFFFFFFu;

  static Kernel* instance();
  // Null until the first instance(); the GLUT callbacks read it directly.
  static Kernel* singleton;

  // Start-up and window.
  // GLUT, the first window, GLEW, the capability report on standard output and the
  // default program "texLight". Without vertex and fragment shaders the process exits
  // with status 1.
  void init(int argc, char** argv);
  // A new window (or GLUT game mode when asked for and possible) with a new GL context.
  void createWindow(bool gameMode);
  void setGameMode(bool gameMode);
  bool isGameModeActive();
  // Starts the frame-rate clock and enters GLUT's main loop; does not return.
  void run();
  // Frames per second since the last reading (or run), and starts a new measurement.
  float getFps();
  // Resizes every viewport to the window; makes no GL call.
  void reshape(int width, int height);

  // The frame.
  void display();
  void renderShadowMap(Scenegraph::NodeHandle root);
  void renderViewport(boost::shared_ptr<Viewport> viewport);
  void renderScene(boost::shared_ptr<Viewport> viewport);
  // The GL modelview and the uniforms "viewMatrix" and "modelMatrix" move together.
  void setViewMatrix(const Matrix& m);
  void pushMatrix(const Matrix& m);
  void popMatrix();

  // Shader programs.
  void printInfoLog(GLuint object, bool isShader);
  GLuint compileShader(const char* source, GLenum type);
  GLuint buildProgram(const char* vertexSource, const char* fragmentSource);
  // Makes sure the table holds a program of the handle's name; a name already there
  // turns the caller's handle into the table's record.
  ShaderPtr loadShader(ShaderPtr& shader);
  // Makes the shader current unless the shadow pass holds the lock, loading it first if
  // needed, binds its program and sends the uniforms.
  void useShader(ShaderPtr shader);
  void setUniforms();
  // Rebuilds every program of the table in the current GL context from its kept sources.
  void recompileShaders();

  // Drawing.
  void drawMesh(MeshPtr mesh);
  void drawMeshArrays(MeshPtr mesh);
  // Faces first to last - 1, numbered triangles first, then quads.
  void drawFaces(MeshPtr mesh, bool indexed, int first, int last);
  void applyMaterial(boost::shared_ptr<Data::Geometry::Material> material);
  // Binds on texture unit 0, uploading the pixels at the first bind in a GL context.
  void bindTexture(boost::shared_ptr<Data::Geometry::Texture> texture);
  // The light at the origin of the current modelview; an empty handle means no light.
  void setupLight(boost::shared_ptr<Data::Geometry::Light> light);

  // Makes the shadow-map framebuffer of size x size and binds its texture on unit 1.
  void initShadowMapFB(int size);

  std::vector<boost::shared_ptr<Viewport>> viewports;
  System::Scheduler scheduler;
  bool doubleBuffered = true;
  // 0 while there is no window of the kernel's own, game mode included.
  int windowId = 0;
  int windowWidth = 640;
  int windowHeight = 480;
  int gameModeWidth = 800;
  int gameModeHeight = 600;
  std::uint32_t frames = 0;
  boost::posix_time::ptime lastFpsTime;
  ShaderPtr currentShader;
  // While true (the shadow pass), useShader keeps the current program.
  bool shaderLocked = false;
  boost::unordered_map<std::string, ShaderPtr> shaders;
  // The shadow pass's program, named once rather than in every frame.
  ShaderPtr shadowMapShader;
  // Every texture uploaded to the current GL context.
  std::vector<boost::shared_ptr<Data::Geometry::Texture>> uploadedTextures;
  std::vector<boost::shared_ptr<Data::Geometry::Light>> lights;
  std::vector<Matrix> matrixStack;
  Matrix viewMatrix;
  Matrix modelMatrix;
  int shadowMapSize = 512;
  ShadowMapFB shadowMapFB;
  // Found by init; without framebuffer objects the frame draws no shadows.
  bool framebufferObjects = false;
  // The GLUT timer chain and the display task outlive windows, so only the first window
  // starts them.
  bool framePacingStarted = false;

 private:
  Kernel();
  Kernel(const Kernel&) = delete;
  Kernel& operator=(const Kernel&) = delete;

  void reportCapabilities();
  void prepareTextureUnits();
  void skipShadowPass();
  void drawMaterialRuns(const MeshPtr& mesh, bool indexed, int faceCount);
  void uploadTexture(Data::Geometry::Texture& texture);

  // The uniform messages written since the programs were last built: every draw sends the
  // uniforms again, so each distinct line is written once per build.
  std::set<std::string> uniformMessagesWritten;
};

// glMultMatrixf of the 16 floats of a matrix in storage order.
void glMultMatrix(const float* m);

// Called by GLUT; they reach the kernel through Kernel::singleton.
int displayCallback();  // also the display task's callback; always 1
void reshapeCallback(int width, int height);
void timerCallback(int value);

}  // namespace Rendering
