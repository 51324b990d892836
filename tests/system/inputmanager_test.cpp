#include "system/inputmanager.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

// Last: Xlib's macros (None, Bool, Status) break gtest's own headers.
#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using System::InputManager;

// What an action saw: the name it was bound under and the event's key and position.
struct Seen {
  std::string action;
  int key, x, y;
  bool operator==(const Seen& o) const {
    return action == o.action && key == o.key && x == o.x && y == o.y;
  }
};
std::ostream& operator<<(std::ostream& out, const Seen& s) {
  return out << s.action << "(" << s.key << "," << s.x << "," << s.y << ")";
}

std::vector<Seen> seen;

// Works as both an ordinary and a special key action.
auto record(const std::string& name) {
  return [name](auto key, int x, int y) { seen.push_back({name, static_cast<int>(key), x, y}); };
}

// The GL vendor library unloads the driver before the leak check at exit, so the
// driver's own allocations would be reported without a module to suppress them by.
void keepGlDriverLoaded() {
  std::vector<std::string> driver;
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* names) {
        const std::string name = info->dlpi_name;
        if (name.find("_dri.so") != std::string::npos ||
            name.find("libGLX_mesa") != std::string::npos) {
          static_cast<std::vector<std::string>*>(names)->push_back(name);
        }
        return 0;
      },
      &driver);
  for (const std::string& name : driver)
    dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

// One small GLUT window for the whole program; the manager registers on it.
class GlutWindow : public ::testing::Environment {
 public:
  void SetUp() override {
    int argc = 1;
    char name[] = "inputmanager_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
    glutInitWindowSize(64, 64);
    glutCreateWindow("input");
    glutDisplayFunc([] {});
    keepGlDriverLoaded();
  }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new GlutWindow);

class InputManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { seen.clear(); }
  InputManager* input = InputManager::getInstance();
};

TEST_F(InputManagerTest, GetInstanceAlwaysReturnsTheSameObject) {
  EXPECT_NE(input, nullptr);
  EXPECT_EQ(InputManager::getInstance(), input);
}

TEST_F(InputManagerTest, ActionsRunInTheOrderBoundWithTheEventsKeyAndPosition) {
  input->addKeyBinding('1', record("first"), true);
  input->addKeyBinding('1', record("second"), true);
  input->addKeyBinding('1', record("first"), true);

  InputManager::keyboardCallback('1', 3, 4);
  EXPECT_EQ(seen,
            (std::vector<Seen>{{"first", '1', 3, 4}, {"second", '1', 3, 4}, {"first", '1', 3, 4}}));
}

TEST_F(InputManagerTest, FourTablesNeverTriggerEachOther) {
  // 102 is both 'f' and the right arrow.
  input->addKeyBinding(102, record("key down"), true);
  input->addKeyBinding(102, record("key up"), false);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT, record("special down"), true);
  input->addSpecialKeyBinding(InputManager::KEY_RIGHT, record("special up"), false);

  const struct {
    void (*fire)();
    const char* expected;
  } rows[] = {
      {[] { InputManager::keyboardCallback(102, 1, 2); }, "key down"},
      {[] { InputManager::keyboardUpCallback(102, 1, 2); }, "key up"},
      {[] { InputManager::specialCallback(102, 1, 2); }, "special down"},
      {[] { InputManager::specialUpCallback(102, 1, 2); }, "special up"},
  };
  for (const auto& row : rows) {
    seen.clear();
    row.fire();
    EXPECT_EQ(seen, (std::vector<Seen>{{row.expected, 102, 1, 2}}));
  }
}

TEST_F(InputManagerTest, UnboundKeysCallNothing) {
  input->addKeyBinding('u', record("bound"), true);
  InputManager::keyboardCallback('v', 0, 0);
  InputManager::keyboardUpCallback('u', 0, 0);
  InputManager::specialCallback(InputManager::KEY_F3, 0, 0);
  InputManager::specialUpCallback(InputManager::KEY_F3, 0, 0);
  EXPECT_TRUE(seen.empty());
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
  EXPECT_EQ(seen, (std::vector<Seen>{{"adder", InputManager::KEY_F2, 0, 0}}));

  seen.clear();
  InputManager::specialCallback(InputManager::KEY_F2, 0, 0);
  ASSERT_EQ(seen.size(), 21u);
  EXPECT_EQ(seen.front().action, "adder");
  EXPECT_EQ(seen.back().action, "added");
}

// Counts its own calls: each event works on a fresh copy of the bound action.
struct Counter {
  int calls = 0;
  void operator()(unsigned char key, int, int) { seen.push_back({"counter", key, ++calls, 0}); }
};

TEST_F(InputManagerTest, EveryEventStartsFromTheActionAsBound) {
  input->addKeyBinding('c', Counter(), false);
  InputManager::keyboardUpCallback('c', 0, 0);
  InputManager::keyboardUpCallback('c', 0, 0);
  EXPECT_EQ(seen, (std::vector<Seen>{{"counter", 'c', 1, 0}, {"counter", 'c', 1, 0}}));
}

TEST_F(InputManagerTest, EmptyActionIsSkipped) {
  input->addKeyBinding('e', InputManager::KeyAction(), true);
  input->addKeyBinding('e', record("after"), true);
  InputManager::keyboardCallback('e', 0, 0);
  EXPECT_EQ(seen, (std::vector<Seen>{{"after", 'e', 0, 0}}));
}

// Events from the X server, through GLUT, to the bindings.
class InputManagerWindowTest : public InputManagerTest {
 protected:
  Display* display = glXGetCurrentDisplay();
  Window window = glXGetCurrentDrawable();

  // Delivers a key event to the current window as the server would.
  void send(int type, KeySym symbol, int x = 0, int y = 0) {
    XEvent event = {};
    XKeyEvent& key = event.xkey;
    key.type = type;
    key.display = display;
    key.window = window;
    key.root = DefaultRootWindow(display);
    key.time = CurrentTime;
    key.x = x;
    key.y = y;
    key.keycode = XKeysymToKeycode(display, symbol);
    key.same_screen = True;
    XSendEvent(display, window, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
    XSync(display, False);
    glutMainLoopEvent();
  }

  // Lets GLUT handle events until an action of that name ran (or a second passed).
  void pumpUntil(const std::string& action) {
    for (int i = 0; i < 200; ++i) {
      XSync(display, False);
      glutMainLoopEvent();
      if (!seen.empty() && seen.back().action == action) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  // Presses or releases a key through the server's input queue, as a keyboard does.
  void fake(KeySym symbol, bool press) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), press, CurrentTime);
  }
};

TEST_F(InputManagerWindowTest, KeyEventsOfTheWindowReachTheirBindings) {
  input->addKeyBinding('a', record("a down"), true);
  input->addKeyBinding('a', record("a up"), false);
  input->addSpecialKeyBinding(InputManager::KEY_F1, record("F1 down"), true);
  input->addSpecialKeyBinding(InputManager::KEY_LEFT, record("left up"), false);

  send(KeyPress, XK_a, 5, 6);
  send(KeyRelease, XK_a, 7, 8);
  send(KeyPress, XK_F1, 9, 10);
  send(KeyRelease, XK_F1, 9, 10);
  send(KeyPress, XK_Left, 11, 12);
  send(KeyRelease, XK_Left, 13, 14);

  EXPECT_EQ(seen, (std::vector<Seen>{{"a down", 'a', 5, 6},
                                     {"a up", 'a', 7, 8},
                                     {"F1 down", InputManager::KEY_F1, 9, 10},
                                     {"left up", InputManager::KEY_LEFT, 13, 14}}));
}

TEST_F(InputManagerWindowTest, NewWindowGetsTheCallbacksOnlyWhenRegisteredAgain) {
  input->addKeyBinding('n', record("n down"), true);
  const int first = glutGetWindow();
  const int second = glutCreateWindow("second");
  glutDisplayFunc([] {});
  window = glXGetCurrentDrawable();

  send(KeyPress, XK_n);
  EXPECT_TRUE(seen.empty());
  glutSetWindow(second);  // handling events may have made another window current
  input->registerCallbacks();
  send(KeyPress, XK_n);
  EXPECT_EQ(seen, (std::vector<Seen>{{"n down", 'n', 0, 0}}));

  glutDestroyWindow(second);
  glutSetWindow(first);
}

TEST_F(InputManagerWindowTest, HeldKeyGivesOnePressAndOneRelease) {
  input->addKeyBinding('h', record("h down"), true);
  input->addKeyBinding('h', record("h up"), false);
  input->addKeyBinding('z', record("z down"), true);
  XWindowAttributes attributes = {};
  for (int i = 0; i < 200; ++i) {
    XGetWindowAttributes(display, window, &attributes);
    if (attributes.map_state == IsViewable) break;
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(attributes.map_state, IsViewable);
  // Holding the keyboard keeps other clients of the display from taking the keys.
  int grab = AlreadyGrabbed;
  for (int i = 0; i < 200 && grab != GrabSuccess; ++i) {
    grab = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (grab != GrabSuccess) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(grab, GrabSuccess);

  fake(XK_h, true);
  pumpUntil("h down");
  // While a key is held, the server's repeat sends a release and a press.
  send(KeyRelease, XK_h);
  send(KeyPress, XK_h);
  fake(XK_h, false);
  fake(XK_z, true);  // queued behind the release: once seen, the release was handled
  fake(XK_z, false);
  pumpUntil("z down");
  XUngrabKeyboard(display, CurrentTime);

  std::vector<std::string> actions;
  for (const Seen& event : seen) actions.push_back(event.action);
  EXPECT_EQ(actions, (std::vector<std::string>{"h down", "h up", "z down"}));
}

}  // namespace
