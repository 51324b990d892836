#pragma once
// A rectangle of the window, given as fractions of it, with the camera drawn into it.

#include <boost/shared_ptr.hpp>
#include <ostream>

#include "data/geometry/color.h"
#include "rendering/camera.h"

namespace Rendering {

class Viewport {
 public:
  // The whole window.
  Viewport();
  // Left and bottom edge, width and height as fractions of the window; the bottom edge is
  // measured from the bottom of the window, as GL window coordinates are.
  Viewport(float x, float y, float w, float h);

  // Stores the fractions; once the window size is known, the pixel rectangle follows at once.
  Viewport& setRelative(float x, float y, float w, float h);
  // Works the pixel rectangle out for a window of this size.
  Viewport& resize(int width, int height);

  int getPixelX() const;
  int getPixelY() const;
  int getPixelWidth() const;
  int getPixelHeight() const;
  // pixelWidth / pixelHeight; 1 until the first resize, infinite or NaN at no height.
  float getAspect() const;

  Data::Geometry::Color clearColor;
  boost::shared_ptr<Camera> camera;

 private:
  void computePixels();

  float relX;
  float relY;
  float relW;
  float relH;
  float aspect = 1.0f;
  // 0 until the first resize: the window size is not known yet.
  int windowWidth = 0;
  int windowHeight = 0;
  int pixelX = 0;
  int pixelY = 0;
  int pixelWidth = 0;
  int pixelHeight = 0;
};

// "viewport X/Y W/H ASPECT", without a line end.
std::ostream& operator<<(std::ostream& out, const Viewport& viewport);

}  // namespace Rendering
