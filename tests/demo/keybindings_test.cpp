#include "keybindings.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST(KeyBindingsTest, EachTurningKeyTurnsOnlyItsTransformOneStep) {
  TestSupport::openGlutWindow("keybindings_test");
  setupScene();
  setupKeyBindings();
  const Matrix monkey = rotationX(3.14f / 2), orbit = translation(0, 0, 7);
  const float step = 3.14f / 10;
  // Arrows turn the orbit about the root's axes, letters the monkey about its own; the
  // arrows' codes are those of 'd' to 'g'.
  const std::tuple<int, bool, Matrix> cases[] = {{InputManager::KEY_LEFT, true, rotationY(-0.2f)},
                                                 {InputManager::KEY_RIGHT, true, rotationY(0.2f)},
                                                 {InputManager::KEY_UP, true, rotationX(-0.2f)},
                                                 {InputManager::KEY_DOWN, true, rotationX(0.2f)},
                                                 {'a', false, rotationZ(-step)},
                                                 {'d', false, rotationZ(step)},
                                                 {'w', false, rotationY(-step)},
                                                 {'s', false, rotationY(step)}};
  for (const auto& [key, special, turn] : cases) {
    monkeyTransform->setMatrix(monkey);
    orbitTransform->setMatrix(orbit);
    special ? InputManager::specialCallback(key, 5, 6) : InputManager::keyboardCallback(key, 5, 6);
    EXPECT_TRUE(near(special ? turn * orbit : orbit, orbitTransform->getMatrix())) << key;
    EXPECT_TRUE(near(special ? monkey : monkey * turn, monkeyTransform->getMatrix())) << key;
  }
  EXPECT_EQ(0, gameModeToggles);
}

}  // namespace
