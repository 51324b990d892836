#include "support/glwindow.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <link.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// Last: Xlib's macros (None, Bool, Status) break other headers.
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace TestSupport {

namespace {

// Mesa keeps one on-disk shader cache for every GL process of the user. With it, whether a
// test compiles its shaders or loads what a test running beside it has just stored depends
// on timing, and under the leak checker the second path now and then aborts at exit. Set
// before main, so before any GL context, death-test children included.
[[maybe_unused]] const bool ownShaders = setenv("MESA_SHADER_CACHE_DISABLE", "true", 1) == 0;

}  // namespace

void openGlutWindow(const char* title, int width, int height) {
  static bool open = false;
  if (open) return;
  open = true;
  static char name[] = "gltest";
  static char* argv[] = {name, nullptr};
  int argc = 1;
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(width, height);
  glutCreateWindow(title);
  glutDisplayFunc([] {});
  waitForWindow();
  keepGlDriverLoaded();
}

void waitForWindow() {
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable window = glXGetCurrentDrawable();
  XWindowAttributes attributes = {};
  for (int i = 0; i < 1000; ++i) {
    XSync(display, False);
    glutMainLoopEvent();
    XGetWindowAttributes(display, window, &attributes);
    if (attributes.map_state == IsViewable) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  // The events of the mapping were queued before the reply that reported it.
  glutMainLoopEvent();
}

void keepGlDriverLoaded() {
  std::vector<std::string> libraries;
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* names) {
        const std::string name = info->dlpi_name;
        if (name.find("_dri.so") != std::string::npos ||
            name.find("libGLX_mesa") != std::string::npos) {
          static_cast<std::vector<std::string>*>(names)->push_back(name);
        }
        return 0;
      },
      &libraries);
  for (const std::string& name : libraries) {
    dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
}

std::ostream& operator<<(std::ostream& out, const Rgb& pixel) {
  return out << "(" << pixel.r << ", " << pixel.g << ", " << pixel.b << ")";
}

// Mesa's software driver cannot read its front buffer back, but keeps the back buffer as
// it was swapped. Unlike the screen, that buffer is the window's own even where the windows
// of other test programs cover it.
Rgb pixelAt(int x, int y) {
  unsigned char rgb[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return Rgb{rgb[0], rgb[1], rgb[2]};
}

testing::AssertionResult near(const Rgb& pixel, const Rgb& expected, int tolerance) {
  if (std::abs(pixel.r - expected.r) <= tolerance && std::abs(pixel.g - expected.g) <= tolerance &&
      std::abs(pixel.b - expected.b) <= tolerance) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "pixel " << pixel << ", expected " << expected;
}

}  // namespace TestSupport
