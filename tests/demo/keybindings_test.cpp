#include "keybindings.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include "demoscene.h"
#include "geometry/matrices.h"
#include "support/glwindow.h"
#include "system/inputmanager.h"

// The program's own actions leave a mark in the output: the bindings are what is under test.
void toggleGameMode() { std::cout << "<toggle>"; }
void printFps() { std::cout << "<fps>"; }

namespace {

using namespace TestMatrices;
using System::InputManager;

void send(int key, bool special, bool down) {
  if (special)
    (down ? InputManager::specialCallback : InputManager::specialUpCallback)(key, 320, 6);
  else
    (down ? InputManager::keyboardCallback : InputManager::keyboardUpCallback)(key, 320, 6);
}

TEST(KeyBindingsTest, EachKeyActsOnItsPressOrOnlyOnItsRelease) {
  static int runs = 0;  // the input manager keeps the bindings of every setupKeyBindings
  ASSERT_EQ(1, ++runs) << "refused: a second run in one process meets the first run's bindings";
  TestSupport::openGlutWindow("keybindings_test");
  setupScene();
  setupKeyBindings();
  const Matrix monkey = rotationX(3.14f / 2), orbit = translation(0, 0, 7),
               none = Matrix::identity();
  // Key, special, acts on release, turn of the orbit and of the monkey, output. Arrows turn
  // the orbit about the root's axes, letters the monkey about its own; the arrows' codes are
  // those of 'd' to 'g'. F1 prints its code and x, nothing between. Esc: the e2e tests'.
  std::vector<std::tuple<int, bool, bool, Matrix, Matrix, std::string>> rows = {
      {InputManager::KEY_LEFT, true, false, rotationY(-0.2f), none, ""},
      {InputManager::KEY_RIGHT, true, false, rotationY(0.2f), none, ""},
      {InputManager::KEY_UP, true, false, rotationX(-0.2f), none, ""},
      {InputManager::KEY_DOWN, true, false, rotationX(0.2f), none, ""},
      {'a', false, false, none, rotationZ(-3.14f / 10), ""},
      {'d', false, false, none, rotationZ(3.14f / 10), ""},
      {'w', false, false, none, rotationY(-3.14f / 10), ""},
      {'s', false, false, none, rotationY(3.14f / 10), ""},
      {'f', false, false, none, none, "<toggle>"},
      {'t', false, true, none, none, "<fps>"},
      {InputManager::KEY_F1, true, false, none, none, "1320"}};
  for (int key : {'A', 'D', 'W', 'S', 'F', 'T'})
    rows.emplace_back(key, false, false, none, none, "");
  for (const auto& [key, special, onRelease, orbitTurn, monkeyTurn, expected] : rows) {
    monkeyTransform->setMatrix(monkey);
    orbitTransform->setMatrix(orbit);
    std::string output;
    for (bool down : {true, false}) {
      SCOPED_TRACE(std::to_string(key) + (down ? " pressed" : " released"));
      testing::internal::CaptureStdout();
      send(key, special, down);
      output += testing::internal::GetCapturedStdout();
      const bool acted = !down || !onRelease;
      EXPECT_TRUE(near(acted ? orbitTurn * orbit : orbit, orbitTransform->getMatrix()));
      EXPECT_TRUE(near(acted ? monkey * monkeyTurn : monkey, monkeyTransform->getMatrix()));
      EXPECT_EQ(acted ? expected : "", output);
    }
  }
}

}  // namespace
