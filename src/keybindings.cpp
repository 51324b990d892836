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

typedef Moveable& (Moveable::*Turn)(float, bool);

void quit() { std::exit(0); }

// Key code and x run together with no line end; flushed so the press shows at once.
void printKeyAndX(int key, int x, int) { std::cout << key << x << std::flush; }

}  // namespace

void setupKeyBindings() {
  InputManager* input = InputManager::getInstance();
  input->addKeyBinding(27, boost::bind(&quit), true);
  input->addSpecialKeyBinding(InputManager::KEY_F1, &printKeyAndX, true);
  input->addKeyBinding('f', boost::bind(&toggleGameMode), true);
  input->addKeyBinding('t', boost::bind(&printFps), false);

  // The arrows carry the orbit around the scene's centre, about the root's axes. Their
  // steps are kept as doubles and narrowed when the rotation runs.
  const struct {
    int key;
    Turn turn;
    double step;
  } arrows[] = {{InputManager::KEY_LEFT, &Moveable::rotateY, -0.2},
                {InputManager::KEY_RIGHT, &Moveable::rotateY, 0.2},
                {InputManager::KEY_UP, &Moveable::rotateX, -0.2},
                {InputManager::KEY_DOWN, &Moveable::rotateX, 0.2}};
  for (const auto& arrow : arrows) {
    input->addSpecialKeyBinding(arrow.key,
                                boost::bind(arrow.turn, orbitTransform, arrow.step, false), true);
  }

  // The letters turn the monkey about its own axes.
  const float monkeyStep = 3.14f / 10;
  const struct {
    unsigned char key;
    Turn turn;
    float step;
  } letters[] = {{'a', &Moveable::rotateZ, -monkeyStep},
                 {'d', &Moveable::rotateZ, monkeyStep},
                 {'w', &Moveable::rotateY, -monkeyStep},
                 {'s', &Moveable::rotateY, monkeyStep}};
  for (const auto& letter : letters) {
    input->addKeyBinding(letter.key, boost::bind(letter.turn, monkeyTransform, letter.step, true),
                         true);
  }
}
