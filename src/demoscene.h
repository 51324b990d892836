#pragma once
// The demonstration's scene: its graph, viewports and animation, and the transforms that
// the key actions and the animation turn.

#include <boost/shared_ptr.hpp>
#include <cstdint>

#include "rendering/scenegraph/moveable.h"

// Empty until setupScene fills them; each then co-owns the transform of one node.
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> monkeyTransform;
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> orbitTransform;
// The same transform as orbitTransform: the arrow keys and the animation share it.
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> orbitSpinTransform;
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> lightTransform;
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> signGroupTransform;
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> signTransform1;
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> signTransform2;
extern boost::shared_ptr<Rendering::Scenegraph::Moveable> signTransform3;

// Loads the three meshes, builds the graph both viewports show and queues the animation.
// Needs the kernel's window and default shader, and comes before the key bindings.
void setupScene();

// One step of the animation; the interval is not used, and the task always repeats.
int animate(std::uint32_t interval);
