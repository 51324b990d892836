#include "keybindings.h"

#include <boost/bind/bind.hpp>
#include <cstdlib>
#include <iostream>

#include "demoscene.h"
#include "rendering/scenegraph/moveable.h"
#include "system/inputmanager.h"

using Rendering::Scenegraph::Moveable;
using System::InputManager;

namespace {

void quit() { std::exit(0); }

// Key code and x run together with no line end; flushed so the press shows at once.
void printKeyAndX(int key, int x, int) { std::cout << key << x << std::flush; }

}  // namespace

void setupKeyBindings() {
  InputManager* input = InputManager::getInstance();
  // The arrow steps are kept as doubles and narrowed when the rotation runs.
  const double orbitStep = 0.2;
  const float monkeyStep = 3.14f / 10;

  input->addKeyBinding(27, boost::bind(&quit), true);
  input->addSpecialKeyBinding(InputManager::KEY_F1, &printKeyAndX, true);
  input->addKeyBinding('f', boost::bind(&toggleGameMode), true);
  input->addKeyBinding('t', boost::bind(&printFps), false);
  input->addSpecialKeyBinding(InputManager::KEY_LEFT,
                              boost::bind(&Moveable::rotateY, orbitTransform, -orbitStep, false),
                              true);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT,
                              boost::bind(&Moveable::rotateY, orbitTransform, orbitStep, false),
                              true);
  input->addSpecialKeyBinding(InputManager::KEY_UP,
                              boost::bind(&Moveable::rotateX, orbitTransform, -orbitStep, false),
                              true);
  input->addSpecialKeyBinding(InputManager::KEY_DOWN,
                              boost::bind(&Moveable::rotateX, orbitTransform, orbitStep, false),
                              true);
  input->addKeyBinding('a', boost::bind(&Moveable::rotateZ, monkeyTransform, -monkeyStep, true),
                       true);
  input->addKeyBinding('d', boost::bind(&Moveable::rotateZ, monkeyTransform, monkeyStep, true),
                       true);
  input->addKeyBinding('w', boost::bind(&Moveable::rotateY, monkeyTransform, -monkeyStep, true),
                       true);
  input->addKeyBinding('s', boost::bind(&Moveable::rotateY, monkeyTransform, monkeyStep, true),
                       true);
}
