#pragma once
// The real GLUT window of a GL test program, opened once per program, and its pixels read
// back.

#include <gtest/gtest.h>

#include <ostream>

namespace TestSupport {

// Starts GLUT and opens the program's one window (RGBA, double buffered, with depth), then
// waits until it is on screen and keeps the GL driver loaded. Later calls do nothing.
void openGlutWindow(const char* title, int width = 64, int height = 64);

// Handles GLUT's queued events until the current window is on screen, and the events its
// mapping sent (reshape, expose). GLUT timers due meanwhile run too.
void waitForWindow();

// The GL library unloads its driver before the leak check at exit, which would then report
// the driver's allocations with no module left to suppress them by; this keeps it loaded.
// Call it once a GL context exists.
void keepGlDriverLoaded();

struct Rgb {
  int r, g, b;
};
std::ostream& operator<<(std::ostream& out, const Rgb& pixel);

// A pixel of the last frame swapped, in GL window coordinates (origin bottom left).
Rgb pixelAt(int x, int y);

// Every channel within tolerance; on failure says what the pixel was.
testing::AssertionResult near(const Rgb& pixel, const Rgb& expected, int tolerance = 8);

}  // namespace TestSupport
