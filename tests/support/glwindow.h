#pragma once
// The one real GLUT window of a GL test program, and its pixels read back.

#include <gtest/gtest.h>

#include <ostream>

namespace TestSupport {

// Opens the window (RGBA, double buffered, with depth) once, on screen, the driver kept.
void openGlutWindow(const char* title, int width = 64, int height = 64);
// Handles GLUT's events until the current window is on screen, then those of its mapping.
void waitForWindow();
// Keeps the GL driver loaded for the leak check at exit, whose suppressions name it.
void keepGlDriverLoaded();

struct Rgb {
  int r, g, b;
};
inline std::ostream& operator<<(std::ostream& out, const Rgb& p) {
  return out << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}
// A pixel of the last frame swapped, in GL window coordinates (origin bottom left).
Rgb pixelAt(int x, int y);
testing::AssertionResult near(const Rgb& pixel, const Rgb& expected, int tolerance = 8);

}  // namespace TestSupport
