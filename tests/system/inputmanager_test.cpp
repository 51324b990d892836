#include "system/inputmanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/glwindow.h"

namespace {

using System::InputManager;

std::vector<std::string> seen;

// Serves as an ordinary and as a special key action.
auto record(const std::string& name) {
  return [name](auto key, int x, int y) {
    seen.push_back(name + std::to_string(int(key)) + "," + std::to_string(x) + "," +
                   std::to_string(y));
  };
}

class InputManagerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InputManager::keyboardCallback('1', 0, 0);  // before the manager exists
    TestSupport::openGlutWindow("inputmanager_test");
  }
  void SetUp() override { seen.clear(); }
  InputManager* input = InputManager::getInstance();
};

TEST_F(InputManagerTest, ActionsRunInBindingOrderAndTheFourTablesStayApart) {
  // 102 is both 'f' and the right arrow.
  input->addKeyBinding(102, record("down"), true);
  input->addKeyBinding(102, record("again"), true);
  input->addKeyBinding(102, record("up"), false);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT, record("special"), true);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT, record("special up"), false);
  InputManager::keyboardCallback(102, 3, 4);
  InputManager::keyboardUpCallback(102, 3, 4);
  InputManager::specialCallback(102, 1, 2);
  InputManager::specialUpCallback(102, 1, 2);
  InputManager::specialCallback(InputManager::KEY_F3, 1, 2);
  EXPECT_EQ((std::vector<std::string>{"down102,3,4", "again102,3,4", "up102,3,4", "special102,1,2",
                                      "special up102,1,2"}),
            seen);
}

TEST_F(InputManagerTest, BindingAddedDuringDispatchRunsFromTheNextEvent) {
  // Enough appends to move the sequence in memory under the walk.
  auto adder = [this](int, int, int) {
    for (int i = 0; i < 20; ++i)
      input->addSpecialKeyBinding(InputManager::KEY_F2, record("+"), true);
  };
  input->addSpecialKeyBinding(InputManager::KEY_F2, adder, true);
  InputManager::specialCallback(InputManager::KEY_F2, 0, 0);
  EXPECT_TRUE(seen.empty());
  InputManager::specialCallback(InputManager::KEY_F2, 0, 0);
  EXPECT_EQ(20u, seen.size());
}

TEST_F(InputManagerTest, EmptyActionIsSkipped) {
  input->addKeyBinding('e', InputManager::KeyAction(), false);
  input->addKeyBinding('e', record("after"), false);
  InputManager::keyboardUpCallback('e', 0, 0);
  EXPECT_EQ(std::vector<std::string>{"after101,0,0"}, seen);
}

}  // namespace
