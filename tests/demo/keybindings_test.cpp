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

const float quarterTurn = 3.14f / 2;
const float monkeyStep = 3.14f / 10;

// The bindings are made once, on the scene's transforms; each test starts from the
// matrices the scene gives them.
class KeyBindingsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    TestSupport::openGlutWindow("keybindings_test");  // the input manager's callbacks need it
    setupScene();
    setupKeyBindings();
  }

  void SetUp() override { reset(); }
  static void reset() {
    monkeyTransform->setMatrix(rotationX(quarterTurn));
    orbitTransform->setMatrix(translation(0, 0, 7));
    gameModeToggles = 0;
  }
};

TEST_F(KeyBindingsTest, EachTurningKeyTurnsItsTransformOneStepOnPress) {
  // Arrows turn the orbit about the root's axes (on the left); letters turn the monkey
  // about its own (on the right).
  const struct {
    int key;
    bool special;
    Matrix (*rotation)(float);
    float angle;
  } cases[] = {{InputManager::KEY_LEFT, true, rotationY, -0.2f},
               {InputManager::KEY_RIGHT, true, rotationY, 0.2f},
               {InputManager::KEY_UP, true, rotationX, -0.2f},
               {InputManager::KEY_DOWN, true, rotationX, 0.2f},
               {'a', false, rotationZ, -monkeyStep},
               {'d', false, rotationZ, monkeyStep},
               {'w', false, rotationY, -monkeyStep},
               {'s', false, rotationY, monkeyStep}};
  for (const auto& c : cases) {
    reset();
    if (c.special) {
      InputManager::specialCallback(c.key, 5, 6);
      EXPECT_TRUE(near(c.rotation(c.angle) * translation(0, 0, 7), orbitTransform->getMatrix()))
          << "key " << c.key;
      EXPECT_TRUE(near(rotationX(quarterTurn), monkeyTransform->getMatrix()));
    } else {
      InputManager::keyboardCallback(static_cast<unsigned char>(c.key), 5, 6);
      EXPECT_TRUE(near(rotationX(quarterTurn) * c.rotation(c.angle), monkeyTransform->getMatrix()))
          << "key " << char(c.key);
      EXPECT_TRUE(near(translation(0, 0, 7), orbitTransform->getMatrix()));
    }
  }
}

TEST_F(KeyBindingsTest, SameCodeAsALetterAndAsASpecialKeyActsApart) {
  InputManager::keyboardCallback('d', 0, 0);  // code 100, as the left arrow
  EXPECT_TRUE(near(translation(0, 0, 7), orbitTransform->getMatrix()));
  InputManager::specialCallback(InputManager::KEY_RIGHT, 0, 0);  // code 102, as 'f'
  EXPECT_EQ(0, gameModeToggles);
  InputManager::specialUpCallback(InputManager::KEY_LEFT, 0, 0);  // and no turn on release
  InputManager::keyboardUpCallback('a', 0, 0);
  EXPECT_TRUE(near(rotationX(quarterTurn) * rotationZ(monkeyStep), monkeyTransform->getMatrix()));
}

}  // namespace
