#include "rendering/kernel.h"

#include <boost/make_shared.hpp>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "rendering/glheaders.h"
#include "rendering/viewport.h"
#include "system/log.h"
#include "system/monotonicclock.h"

namespace Rendering {

namespace {

// GLUT wants a display function without a result.
void displayFunc() { displayCallback(); }

bool displayTask(unsigned int) { return displayCallback() != 0; }

// glGetString may give null on a broken context; a stream must not see that.
const char* glText(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

Kernel* Kernel::singleton = nullptr;

Kernel* Kernel::instance() {
  if (!singleton) singleton = new Kernel();
  return singleton;
}

Kernel::Kernel()
    : viewports{boost::make_shared<Viewport>()},
      shaders(50),
      shadowMapShader(boost::make_shared<Data::Geometry::Shader>("shadowMapCreation")),
      viewMatrix(Matrix::identity()),
      modelMatrix(Matrix::identity()) {}

void Kernel::init(int argc, char** argv) {
  std::cout << LOG_PREFIX << "init renderer:" << std::endl;
  int count = argc;
  glutInit(&count, argv);
  createWindow(false);
  const GLenum glew = glewInit();
  if (glew != GLEW_OK) {
    std::cerr << LOG_PREFIX << "Error: " << glewGetErrorString(glew) << std::endl;
  }
  reportCapabilities();
  currentShader.reset(new Data::Geometry::Shader("texLight"));
  useShader(currentShader);
  std::cout << std::endl;
}

void Kernel::reportCapabilities() {
  std::cout << " Using GLEW " << glewGetString(GLEW_VERSION) << std::endl;
  std::cout << " " << glText(GL_RENDERER) << std::endl;
  std::cout << " OpenGL ver: " << glText(GL_VERSION) << std::endl;
  if (GLEW_ARB_vertex_shader && GLEW_ARB_fragment_shader) {
    std::cout << " vertex and fragment shader supported" << std::endl;
  } else {
    std::cerr << LOG_PREFIX << " no shader support!!!!!" << std::endl;
    std::exit(1);
  }
  GLint units = 0;
  GLint size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  std::cout << " Texture Units available: " << units << " ,max size: " << size << std::endl;
  framebufferObjects = GLEW_EXT_framebuffer_object;
  if (framebufferObjects) {
    GLint attachments = 0;
    glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS_EXT, &attachments);
    std::cout << " FBO supported with max color attachments: " << attachments << std::endl;
  } else {
    std::cerr << LOG_PREFIX << " no framebuffer objects supported" << std::endl;
  }
}

void Kernel::createWindow(bool gameMode) {
  // The names belong to the context that is about to go; each texture is uploaded
  // again at its next bind.
  for (const auto& texture : uploadedTextures) texture->uploaded = false;
  uploadedTextures.clear();

  glutInitDisplayMode(GLUT_RGBA | GLUT_DEPTH | (doubleBuffered ? GLUT_DOUBLE : 0));
  if (windowId != 0) {
    glutDestroyWindow(windowId);
    windowId = 0;
  }
  std::ostringstream mode;
  mode << gameModeWidth << "x" << gameModeHeight << ":32";
  glutGameModeString(mode.str().c_str());
  if (gameMode && glutGameModeGet(GLUT_GAME_MODE_POSSIBLE)) {
    glutEnterGameMode();
  } else {
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) glutLeaveGameMode();
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(windowWidth, windowHeight);
    windowId = glutCreateWindow("Vantor- GLUT Tutorial");
  }
  if (doubleBuffered) glEnable(GL_DEPTH_TEST);
  prepareTextureUnits();

  glutDisplayFunc(displayFunc);
  glutReshapeFunc(reshapeCallback);
  // GLUT timers and scheduler tasks outlive windows: starting them again with every
  // window would draw one more frame per period after each switch.
  if (!framePacingStarted) {
    framePacingStarted = true;
    glutTimerFunc(1, timerCallback, 0);
    scheduler.addTask(displayTask, 10, 10);
  }

  recompileShaders();
  if (currentShader) glUseProgram(currentShader->program);
  shadowMapFB.initialised = false;
}

// Materials without a texture sample whatever unit 0 holds; in a fresh context that is
// the default texture, which is made one white texel so they show their own colour.
void Kernel::prepareTextureUnits() {
  static const GLubyte white[3] = {255, 255, 255};
  glBindTexture(GL_TEXTURE_2D, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

void Kernel::setGameMode(bool gameMode) { createWindow(gameMode); }

bool Kernel::isGameModeActive() { return glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0; }

void Kernel::run() {
  lastFpsTime = System::monotonicNow();
  glutMainLoop();
}

float Kernel::getFps() {
  float rate = 0;
  // Less than a millisecond (or no measurement started) gives no meaningful rate.
  if (!lastFpsTime.is_special()) {
    const boost::int64_t elapsed = (System::monotonicNow() - lastFpsTime).total_milliseconds();
    if (elapsed >= 1) {
      const float seconds = elapsed / 1000.0f;
      rate = static_cast<float>(frames) / seconds;
    }
  }
  lastFpsTime = System::monotonicNow();
  frames = 0;
  return rate;
}

void Kernel::reshape(int width, int height) {
  for (const auto& viewport : viewports) viewport->resize(width, height);
}

int displayCallback() {
  Kernel::singleton->display();
  return 1;
}

void reshapeCallback(int width, int height) { Kernel::singleton->reshape(width, height); }

void timerCallback(int) {
  Kernel* kernel = Kernel::singleton;
  if (!kernel) return;
  const unsigned int ms = kernel->scheduler.run();
  glutTimerFunc(ms + 1, timerCallback, 0);
}

}  // namespace Rendering
