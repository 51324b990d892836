#include "system/inputmanager.h"

#include <GL/glut.h>

#include <cstddef>
#include <utility>

namespace System {

static_assert(InputManager::KEY_F1 == GLUT_KEY_F1, "GLUT key code");
static_assert(InputManager::KEY_F2 == GLUT_KEY_F2, "GLUT key code");
static_assert(InputManager::KEY_F3 == GLUT_KEY_F3, "GLUT key code");
static_assert(InputManager::KEY_LEFT == GLUT_KEY_LEFT, "GLUT key code");
static_assert(InputManager::KEY_RIGHT == GLUT_KEY_RIGHT, "GLUT key code");
static_assert(InputManager::KEY_UP == GLUT_KEY_UP, "GLUT key code");
static_assert(InputManager::KEY_DOWN == GLUT_KEY_DOWN, "GLUT key code");

InputManager* InputManager::instance = nullptr;

namespace {

// Runs the actions bound to key, if any. Only the actions present when the
// event arrived run: one bound meanwhile waits for the next event. Indexing
// keeps the walk valid while an action appends to the same sequence, and each
// action runs as a copy, so it may even rebind its own key.
template <typename Table, typename Key>
void dispatch(const Table& table, Key key, int x, int y) {
  const typename Table::const_iterator found = table.find(key);
  if (found == table.end()) {
    return;
  }
  const typename Table::mapped_type& actions = found->second;
  const std::size_t count = actions.size();
  for (std::size_t i = 0; i < count; ++i) {
    const typename Table::mapped_type::value_type action = actions[i];
    if (action) {
      action(key, x, y);
    }
  }
}

}  // namespace

InputManager::InputManager() { registerCallbacks(); }

InputManager* InputManager::getInstance() {
  if (!instance) {
    instance = new InputManager();
  }
  return instance;
}

void InputManager::registerCallbacks() {
  glutIgnoreKeyRepeat(1);
  glutKeyboardFunc(keyboardCallback);
  glutKeyboardUpFunc(keyboardUpCallback);
  glutSpecialFunc(specialCallback);
  glutSpecialUpFunc(specialUpCallback);
}

void InputManager::addKeyBinding(unsigned char key, KeyAction action, bool down) {
  KeyTable& table = down ? keyDownBindings : keyUpBindings;
  table[key].push_back(std::move(action));
}

void InputManager::addSpecialKeyBinding(int key, SpecialKeyAction action, bool down) {
  SpecialKeyTable& table = down ? specialDownBindings : specialUpBindings;
  table[key].push_back(std::move(action));
}

void InputManager::keyboardCallback(unsigned char key, int x, int y) {
  if (instance) {
    dispatch(instance->keyDownBindings, key, x, y);
  }
}

void InputManager::keyboardUpCallback(unsigned char key, int x, int y) {
  if (instance) {
    dispatch(instance->keyUpBindings, key, x, y);
  }
}

void InputManager::specialCallback(int key, int x, int y) {
  if (instance) {
    dispatch(instance->specialDownBindings, key, x, y);
  }
}

void InputManager::specialUpCallback(int key, int x, int y) {
  if (instance) {
    dispatch(instance->specialUpBindings, key, x, y);
  }
}

}  // namespace System
