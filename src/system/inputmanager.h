#pragma once
// Binds keys to actions and dispatches GLUT's keyboard events to them.

#include <boost/function.hpp>
#include <map>
#include <vector>

namespace System {

class InputManager {
 public:
  // Actions receive the key and the mouse position of the event.
  typedef boost::function<void(unsigned char, int, int)> KeyAction;
  typedef boost::function<void(int, int, int)> SpecialKeyAction;

  // GLUT's special-key codes.
  static constexpr int KEY_F1 = 1;
  static constexpr int KEY_F2 = 2;
  static constexpr int KEY_F3 = 3;
  static constexpr int KEY_LEFT = 100;
  static constexpr int KEY_RIGHT = 102;
  static constexpr int KEY_UP = 101;
  static constexpr int KEY_DOWN = 103;

  // The one instance; the first call registers the keyboard callbacks on
  // GLUT's current window, so it must come after a window exists.
  static InputManager* getInstance();

  // Sets the four keyboard callbacks and ignores key repeat on GLUT's current
  // window; needed again after every new window or game mode.
  void registerCallbacks();

  // Appends an action for an ordinary key's press (down) or release.
  void addKeyBinding(unsigned char key, KeyAction action, bool down);
  // Appends an action for a special key's press (down) or release.
  void addSpecialKeyBinding(int key, SpecialKeyAction action, bool down);

  // GLUT's keyboard callbacks: run the key's actions in the order bound.
  static void keyboardCallback(unsigned char key, int x, int y);
  static void keyboardUpCallback(unsigned char key, int x, int y);
  static void specialCallback(int key, int x, int y);
  static void specialUpCallback(int key, int x, int y);

 private:
  typedef std::map<unsigned char, std::vector<KeyAction>> KeyTable;
  typedef std::map<int, std::vector<SpecialKeyAction>> SpecialKeyTable;

  InputManager();
  InputManager(const InputManager&) = delete;
  InputManager& operator=(const InputManager&) = delete;

  static InputManager* instance;

  KeyTable keyDownBindings;
  KeyTable keyUpBindings;
  SpecialKeyTable specialDownBindings;
  SpecialKeyTable specialUpBindings;
};

}  // namespace System
