#include "keybindings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "demoscene.h"
#include "geometry/matrices.h"
#include "support/glwindow.h"
#include "system/inputmanager.h"

// The program's own actions, counted: the bindings are what is under test.
static int gameModeToggles = 0;
static int fpsPrints = 0;
void toggleGameMode() { ++gameModeToggles; }
void printFps() { ++fpsPrints; }

namespace {

using namespace TestMatrices;
using System::InputManager;

// What the keys did: the orbit's and the monkey's matrices, the two actions counted, the text.
struct Effect {
  Matrix orbit, monkey;
  int toggles, fps;
  std::string text;
};

testing::AssertionResult shows(const Effect& expected, const std::string& text) {
  const Effect actual{orbitTransform->getMatrix(), monkeyTransform->getMatrix(), gameModeToggles,
                      fpsPrints, text};
  if (!near(expected.orbit, actual.orbit)) return near(expected.orbit, actual.orbit) << " (orbit)";
  if (!near(expected.monkey, actual.monkey))
    return near(expected.monkey, actual.monkey) << " (monkey)";
  if (expected.toggles != actual.toggles || expected.fps != actual.fps || expected.text != text)
    return testing::AssertionFailure() << actual.toggles << " toggles, " << actual.fps
                                       << " fps prints, printed \"" << text << "\"";
  return testing::AssertionSuccess();
}

void send(int key, bool special, bool down) {
  if (special)
    (down ? InputManager::specialCallback : InputManager::specialUpCallback)(key, 320, 6);
  else
    (down ? InputManager::keyboardCallback : InputManager::keyboardUpCallback)(key, 320, 6);
}

TEST(KeyBindingsTest, EachKeyActsOnItsPressOrOnlyOnItsRelease) {
  // Each death test re-runs this test in a new process, with a window of its own.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TestSupport::openGlutWindow("keybindings_test");
  setupScene();
  setupKeyBindings();
  const Matrix monkey = rotationX(3.14f / 2), orbit = translation(0, 0, 7),
               none = Matrix::identity();
  const float step = 3.14f / 10;
  // Arrows turn the orbit about the root's axes, letters the monkey about its own; the
  // arrows' codes are those of 'd' to 'g'. F1 prints its code and x, nothing between.
  const struct {
    int key;
    bool special, onRelease;
    Matrix orbitTurn, monkeyTurn;
    int toggles, fps;
    const char* text;
  } rows[] = {{InputManager::KEY_LEFT, true, false, rotationY(-0.2f), none, 0, 0, ""},
              {InputManager::KEY_RIGHT, true, false, rotationY(0.2f), none, 0, 0, ""},
              {InputManager::KEY_UP, true, false, rotationX(-0.2f), none, 0, 0, ""},
              {InputManager::KEY_DOWN, true, false, rotationX(0.2f), none, 0, 0, ""},
              {'a', false, false, none, rotationZ(-step), 0, 0, ""},
              {'d', false, false, none, rotationZ(step), 0, 0, ""},
              {'w', false, false, none, rotationY(-step), 0, 0, ""},
              {'s', false, false, none, rotationY(step), 0, 0, ""},
              {'f', false, false, none, none, 1, 0, ""},
              {'t', false, true, none, none, 0, 1, ""},
              {InputManager::KEY_F1, true, false, none, none, 0, 0, "1320"},
              {'A', false, false, none, none, 0, 0, ""},
              {'D', false, false, none, none, 0, 0, ""},
              {'W', false, false, none, none, 0, 0, ""},
              {'S', false, false, none, none, 0, 0, ""},
              {'F', false, false, none, none, 0, 0, ""},
              {'T', false, false, none, none, 0, 0, ""}};
  for (const auto& row : rows) {
    monkeyTransform->setMatrix(monkey);
    orbitTransform->setMatrix(orbit);
    gameModeToggles = fpsPrints = 0;
    const Effect before{orbit, monkey, 0, 0, ""};
    const Effect after{row.orbitTurn * orbit, monkey * row.monkeyTurn, row.toggles, row.fps,
                       row.text};
    std::string text;
    for (bool down : {true, false}) {
      testing::internal::CaptureStdout();
      send(row.key, row.special, down);
      text += testing::internal::GetCapturedStdout();
      EXPECT_TRUE(shows(down && row.onRelease ? before : after, text))
          << row.key << (down ? " pressed" : " released");
    }
  }
  // Esc ends the program with status 0 on its press, not on its release.
  EXPECT_EXIT((send(27, false, false), std::exit(3)), testing::ExitedWithCode(3), "");
  EXPECT_EXIT(send(27, false, true), testing::ExitedWithCode(0), "");
}

}  // namespace
