#include "system/inputmanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/glwindow.h"

namespace {

using System::InputManager;

// Each action run, as "name(key,x,y)".
std::vector<std::string> seen;

// Serves as an ordinary and as a special key action.
auto record(const std::string& name) {
  return [name](auto key, int x, int y) {
    seen.push_back(name + "(" + std::to_string(int(key)) + "," + std::to_string(x) + "," +
                   std::to_string(y) + ")");
  };
}

// The manager registers its callbacks on GLUT's current window, so one must exist.
class InputManagerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { TestSupport::openGlutWindow("inputmanager_test"); }
  void SetUp() override { seen.clear(); }
  InputManager* input = InputManager::getInstance();
};

TEST_F(InputManagerTest, ActionsRunInTheOrderBoundWithTheEventsKeyAndPosition) {
  EXPECT_EQ(input, InputManager::getInstance());
  input->addKeyBinding('1', record("first"), true);
  input->addKeyBinding('1', record("second"), true);
  input->addKeyBinding('1', record("first"), true);
  InputManager::keyboardCallback('1', 3, 4);
  EXPECT_EQ((std::vector<std::string>{"first(49,3,4)", "second(49,3,4)", "first(49,3,4)"}), seen);
}

TEST_F(InputManagerTest, FourTablesNeverTriggerEachOther) {
  // 102 is both 'f' and the right arrow.
  input->addKeyBinding(102, record("key down"), true);
  input->addKeyBinding(102, record("key up"), false);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT, record("special down"), true);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT, record("special up"), false);
  const struct {
    void (*fire)(int key);
    const char* expected;
  } rows[] = {
      {[](int key) { InputManager::keyboardCallback(key, 1, 2); }, "key down(102,1,2)"},
      {[](int key) { InputManager::keyboardUpCallback(key, 1, 2); }, "key up(102,1,2)"},
      {[](int key) { InputManager::specialCallback(key, 1, 2); }, "special down(102,1,2)"},
      {[](int key) { InputManager::specialUpCallback(key, 1, 2); }, "special up(102,1,2)"},
  };
  for (const auto& row : rows) {
    seen.clear();
    row.fire(102);
    EXPECT_EQ(std::vector<std::string>{row.expected}, seen);
    seen.clear();
    row.fire(InputManager::KEY_F3);  // bound in no table
    EXPECT_TRUE(seen.empty());
  }
}

TEST_F(InputManagerTest, BindingAddedDuringDispatchRunsFromTheNextEvent) {
  // Enough appends to move the sequence in memory under the walk.
  input->addSpecialKeyBinding(
      InputManager::KEY_F2,
      [this](int key, int x, int y) {
        record("adder")(key, x, y);
        for (int i = 0; i < 20; ++i) {
          input->addSpecialKeyBinding(InputManager::KEY_F2, record("added"), true);
          input->addSpecialKeyBinding(1000 + i, record("other key"), true);
        }
      },
      true);
  InputManager::specialCallback(InputManager::KEY_F2, 0, 0);
  EXPECT_EQ(std::vector<std::string>{"adder(2,0,0)"}, seen);
  seen.clear();
  InputManager::specialCallback(InputManager::KEY_F2, 0, 0);
  ASSERT_EQ(21u, seen.size());
  EXPECT_EQ("added(2,0,0)", seen.back());
}

TEST_F(InputManagerTest, EmptyActionIsSkipped) {
  input->addKeyBinding('e', InputManager::KeyAction(), false);
  input->addKeyBinding('e', record("after"), false);
  InputManager::keyboardUpCallback('e', 0, 0);
  EXPECT_EQ(std::vector<std::string>{"after(101,0,0)"}, seen);
}

}  // namespace
