#include "support/glwindow.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <link.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

// Last: Xlib's macros (None, Bool, Status) break other headers.
#include <GL/glx.h>
#include <X11/Xlib.h>

// GCC 12's leak check misreads the GL driver's dynamic TLS blocks unless left to glibc.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

// A busy X server may refuse a connection for a moment, which GLUT takes as fatal: retry.
extern "C" Display* XOpenDisplay(const char* name) {
  using Open = Display* (*)(const char*);
  static const auto open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "XOpenDisplay"));
  for (int attempt = 0;; ++attempt) {
    Display* display = open(name);
    if (display || attempt == 500) return display;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

namespace TestSupport {

void openGlutWindow(const char* title, int width, int height) {
  static bool open = false;
  if (std::exchange(open, true)) return;
  static char* argv[] = {const_cast<char*>("gltest"), nullptr};
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
  XWindowAttributes attributes = {};
  for (int i = 0; i < 1000 && attributes.map_state != IsViewable; ++i) {
    XSync(glXGetCurrentDisplay(), False);
    glutMainLoopEvent();
    XGetWindowAttributes(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &attributes);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  glutMainLoopEvent();  // the events of the mapping came before the reply that reported it
}

void keepGlDriverLoaded() {
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* names) {
        if (std::strstr(info->dlpi_name, "_dri.so") ||
            std::strstr(info->dlpi_name, "libGLX_mesa")) {
          static_cast<std::vector<std::string>*>(names)->push_back(info->dlpi_name);
        }
        return 0;
      },
      &names);
  for (const std::string& name : names)
    dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

// The back buffer as swapped, the window's own where others cover it: llvmpipe can't read the
// front.
Rgb pixelAt(int x, int y) {
  unsigned char rgb[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return Rgb{rgb[0], rgb[1], rgb[2]};
}

testing::AssertionResult near(const Rgb& pixel, const Rgb& expected, int tolerance) {
  const int off = std::max({std::abs(pixel.r - expected.r), std::abs(pixel.g - expected.g),
                            std::abs(pixel.b - expected.b)});
  return (off <= tolerance ? testing::AssertionSuccess() : testing::AssertionFailure())
         << "pixel " << pixel << ", expected " << expected;
}

}  // namespace TestSupport
