#include "system/inputmanager.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/glwindow.h"

// Last: Xlib's macros (None, Bool, Status) break other headers.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

using System::InputManager;

std::vector<std::string> seen;
int testNumber = 0;

// Bindings outlive their test: an action acts only in the test that bound it.
template <typename Action>
auto ofThisTest(Action action) {
  return [action, bound = testNumber](auto key, int x, int y) mutable {
    if (bound == testNumber) action(key, x, y);
  };
}

// Serves as an ordinary and as a special key action.
auto record(const std::string& name) {
  return ofThisTest([name](auto key, int x, int y) {
    seen.push_back(name + std::to_string(int(key)) + "," + std::to_string(x) + "," +
                   std::to_string(y));
  });
}

// A key event as the X server delivers it to GLUT's current window (sent to that window
// alone, so other programs on the display neither see it nor steal it), then handled.
void sendKey(KeySym symbol, bool press, int x = 7, int y = 9) {
  Display* display = glXGetCurrentDisplay();
  XEvent event = {};
  XKeyEvent& key = event.xkey;
  key.type = press ? KeyPress : KeyRelease;
  key.display = display;
  key.window = glXGetCurrentDrawable();
  key.root = DefaultRootWindow(display);
  key.x = x;
  key.y = y;
  key.same_screen = True;
  key.keycode = XKeysymToKeycode(display, symbol);
  XSendEvent(display, key.window, False, press ? KeyPressMask : KeyReleaseMask, &event);
  XSync(display, False);
  glutMainLoopEvent();
}

class InputManagerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InputManager::keyboardCallback('1', 0, 0);  // before the manager exists
    TestSupport::openGlutWindow("inputmanager_test");
  }
  void SetUp() override { seen.clear(); }
  InputManager* input = InputManager::getInstance();
  const int number = ++testNumber;  // new for each test: ofThisTest's actions tell tests apart
};

TEST_F(InputManagerTest, GlutEventsReachTheirOwnTableInBindingOrder) {
  const auto again = record("again");
  input->addKeyBinding('f', record("down"), true);
  input->addKeyBinding('f', again, true);
  input->addKeyBinding('f', again, true);
  input->addKeyBinding('f', record("up"), false);
  for (int code :
       {InputManager::KEY_F1, InputManager::KEY_F2, InputManager::KEY_F3, InputManager::KEY_LEFT,
        InputManager::KEY_RIGHT, InputManager::KEY_UP, InputManager::KEY_DOWN})
    input->addSpecialKeyBinding(code, record("special"), true);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT, record("special up"), false);
  sendKey(XK_f, true, 3, 4);
  sendKey(XK_f, false, 5, 6);
  sendKey(XK_q, true);
  for (KeySym key : {XK_F1, XK_F2, XK_F3, XK_Left, XK_Up, XK_Right, XK_Down}) sendKey(key, true);
  sendKey(XK_Right, false);
  // 'f' and the right arrow share the code 102 and still never trigger each other.
  EXPECT_EQ((std::vector<std::string>{"down102,3,4", "again102,3,4", "again102,3,4", "up102,5,6",
                                      "special1,7,9", "special2,7,9", "special3,7,9",
                                      "special100,7,9", "special101,7,9", "special102,7,9",
                                      "special103,7,9", "special up102,7,9"}),
            seen);
}

TEST_F(InputManagerTest, NewWindowDispatchesOnlyAfterRegisterCallbacks) {
  EXPECT_EQ(1, glutDeviceGet(GLUT_DEVICE_IGNORE_KEY_REPEAT));
  input->addKeyBinding('n', record("down"), true);
  input->addKeyBinding('n', record("up"), false);
  glutCreateWindow("inputmanager_test again");
  glutDisplayFunc([] {});
  TestSupport::waitForWindow();
  EXPECT_EQ(input, InputManager::getInstance());
  sendKey(XK_n, true);
  sendKey(XK_n, false);
  EXPECT_EQ(std::vector<std::string>{}, seen);
  EXPECT_EQ(0, glutDeviceGet(GLUT_DEVICE_IGNORE_KEY_REPEAT));
  input->registerCallbacks();
  EXPECT_EQ(1, glutDeviceGet(GLUT_DEVICE_IGNORE_KEY_REPEAT));
  sendKey(XK_n, true);
  sendKey(XK_n, false);
  EXPECT_EQ((std::vector<std::string>{"down110,7,9", "up110,7,9"}), seen);
}

TEST_F(InputManagerTest, EachEventRunsFreshCopiesOfTheActionsBoundBeforeIt) {
  const auto bind = [this](auto action) { input->addKeyBinding('e', ofThisTest(action), false); };
  input->addKeyBinding('e', InputManager::KeyAction(), false);  // skipped
  bind([runs = 0](unsigned char, int, int) mutable { seen.push_back(std::to_string(++runs)); });
  // Enough appends to move the sequence in memory under the walk; they act from the next event.
  bind([&bind](unsigned char, int, int) {
    for (int i = 0; i < 20; ++i) bind(record("+"));
  });
  InputManager::keyboardUpCallback('e', 0, 0);
  InputManager::keyboardUpCallback('e', 0, 0);
  std::vector<std::string> expected(22, "+101,0,0");
  expected[0] = expected[1] = "1";
  EXPECT_EQ(expected, seen);
}

}  // namespace
