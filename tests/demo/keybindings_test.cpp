#include "keybindings.h"

#include <gtest/gtest.h>

#include "demoscene.h"
#include "geometry/matrices.h"
#include "support/glwindow.h"
#include "system/inputmanager.h"

// The program's own actions, stubbed: the bindings are what is under test.
static int gameModeToggles = 0;
void toggleGameMode() { ++gameModeToggles; }
void printFps() {}

namespace {

using namespace TestMatrices;
using System::InputManager;

TEST(KeyBindingsTest, EachTurningKeyTurnsOnlyItsTransformOneStepOnPress) {
  TestSupport::openGlutWindow("keybindings_test");
  setupScene();
  setupKeyBindings();
  const Matrix monkey = rotationX(3.14f / 2), orbit = translation(0, 0, 7);
  const float step = 3.14f / 10;
  // Arrows turn the orbit about the root's axes, letters the monkey about its own; the
  // arrows' codes are those of 'd' to 'g'.
  const struct {
    int key;
    bool special;
    Matrix turn;
  } cases[] = {{InputManager::KEY_LEFT, true, rotationY(-0.2f)},
               {InputManager::KEY_RIGHT, true, rotationY(0.2f)},
               {InputManager::KEY_UP, true, rotationX(-0.2f)},
               {InputManager::KEY_DOWN, true, rotationX(0.2f)},
               {'a', false, rotationZ(-step)},
               {'d', false, rotationZ(step)},
               {'w', false, rotationY(-step)},
               {'s', false, rotationY(step)}};
  for (const auto& c : cases) {
    monkeyTransform->setMatrix(monkey);
    orbitTransform->setMatrix(orbit);
    if (c.special) {
      InputManager::specialCallback(c.key, 5, 6);
      InputManager::specialUpCallback(c.key, 5, 6);
    } else {
      InputManager::keyboardCallback(static_cast<unsigned char>(c.key), 5, 6);
      InputManager::keyboardUpCallback(static_cast<unsigned char>(c.key), 5, 6);
    }
    EXPECT_TRUE(near(c.special ? c.turn * orbit : orbit, orbitTransform->getMatrix())) << c.key;
    EXPECT_TRUE(near(c.special ? monkey : monkey * c.turn, monkeyTransform->getMatrix())) << c.key;
  }
  EXPECT_EQ(0, gameModeToggles);
}

}  // namespace
