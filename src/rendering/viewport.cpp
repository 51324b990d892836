#include "rendering/viewport.h"

#include <boost/make_shared.hpp>
#include <cmath>
#include <limits>

namespace Rendering {

namespace {

// size × fraction in double precision, truncated toward zero. Fractions are not validated,
// so a product outside the range of int is held at its bound rather than converted with
// undefined behaviour.
int pixelsOf(int size, float fraction) {
  const double pixels = static_cast<double>(size) * static_cast<double>(fraction);
  if (std::isnan(pixels)) return 0;
  if (pixels >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (pixels <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(pixels);
}

}  // namespace

Viewport::Viewport() : Viewport(0.0f, 0.0f, 1.0f, 1.0f) {}

Viewport::Viewport(float x, float y, float w, float h)
    : clearColor(1.0f, 1.0f, 1.0f, 1.0f),
      camera(boost::make_shared<Camera>()),
      relX(x),
      relY(y),
      relW(w),
      relH(h) {}

Viewport& Viewport::setRelative(float x, float y, float w, float h) {
  relX = x;
  relY = y;
  relW = w;
  relH = h;
  if (windowWidth != 0 && windowHeight != 0) computePixels();
  return *this;
}

Viewport& Viewport::resize(int width, int height) {
  windowWidth = width;
  windowHeight = height;
  computePixels();
  return *this;
}

void Viewport::computePixels() {
  pixelX = pixelsOf(windowWidth, relX);
  pixelY = pixelsOf(windowHeight, relY);
  pixelWidth = pixelsOf(windowWidth, relW);
  pixelHeight = pixelsOf(windowHeight, relH);
  // Not guarded: a rectangle of no height gives an infinite ratio (NaN with no width either),
  // and the projection made from it draws nothing into a rectangle that has no pixels anyway.
  aspect = static_cast<float>(static_cast<double>(pixelWidth) / static_cast<double>(pixelHeight));
}

int Viewport::getPixelX() const { return pixelX; }

int Viewport::getPixelY() const { return pixelY; }

int Viewport::getPixelWidth() const { return pixelWidth; }

int Viewport::getPixelHeight() const { return pixelHeight; }

float Viewport::getAspect() const { return aspect; }

std::ostream& operator<<(std::ostream& out, const Viewport& viewport) {
  return out << "viewport " << viewport.getPixelX() << "/" << viewport.getPixelY() << " "
             << viewport.getPixelWidth() << "/" << viewport.getPixelHeight() << " "
             << viewport.getAspect();
}

}  // namespace Rendering
