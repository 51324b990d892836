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

// Under AddressSanitizer (GCC 12's runtime) the leak check at exit now and then aborted a GL
// test: the runtime sizes a dynamic TLS block from a header glibc stopped writing long ago,
// and for a block that happens to start 16 bytes into a page, as the GL driver's sometimes
// does, it reads the allocator's own header instead and later scans wild memory. Leaving
// __tls_get_addr alone keeps such blocks plain heap blocks, reached from the thread's TLS
// vector. Options given in ASAN_OPTIONS still come on top.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

// A virtual X server under load now and then turns a connection away for a moment (the
// queue is full or the connection is reset), and GLUT ends the program when its one attempt
// fails. Every connection a test program opens, GLUT's included, is tried again a while.
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
