#include "keybindings.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <boost/make_shared.hpp>
#include <string>
#include <vector>

#include "demoscene.h"
#include "system/inputmanager.h"

// The program's own actions, counted here instead: the bindings are what is under test.
static int gameModeToggles = 0;
static int fpsPrints = 0;
void toggleGameMode() { ++gameModeToggles; }
void printFps() { ++fpsPrints; }

namespace {

using Rendering::Scenegraph::Moveable;
using System::InputManager;
using Matrix = Data::Geometry::TMatrix4<float>;

const float quarterTurn = 3.14f / 2;
const float monkeyStep = 3.14f / 10;

Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }
Matrix rotationX(float a) { return Matrix().setRotationX(a); }
Matrix rotationY(float a) { return Matrix().setRotationY(a); }
Matrix rotationZ(float a) { return Matrix().setRotationZ(a); }

void expectMatrixNear(const Matrix& actual, const Matrix& expected) {
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(actual[0][i], expected[0][i], 1e-5) << "element " << i;
  }
}

void press(unsigned char key) {
  InputManager::keyboardCallback(key, 0, 0);
  InputManager::keyboardUpCallback(key, 0, 0);
}

void pressSpecial(int key) {
  InputManager::specialCallback(key, 0, 0);
  InputManager::specialUpCallback(key, 0, 0);
}

// The GL vendor library unloads the driver before the leak check at exit, which would then
// report the driver's own allocations with no module to suppress them by.
void keepGlDriverLoaded() {
  std::vector<std::string> libraries;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* names) {
        const std::string name = info->dlpi_name;
        if (name.find("_dri.so") != std::string::npos ||
            name.find("libGLX_mesa") != std::string::npos) {
          static_cast<std::vector<std::string>*>(names)->push_back(name);
        }
        return 0;
      },
      &libraries);
  for (const std::string& name : libraries)
    dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

// The input manager needs a GLUT window; the bindings are made once, on transforms that
// stand in for the scene's, as setupScene leaves them.
class KeyBindingsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    int argc = 1;
    char name[] = "keybindings_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutCreateWindow("keybindings_test");
    keepGlDriverLoaded();
    for (auto* handle : {&monkeyTransform, &orbitTransform, &lightTransform, &signGroupTransform,
                         &signTransform1, &signTransform2, &signTransform3}) {
      *handle = boost::make_shared<Moveable>();
    }
    orbitSpinTransform = orbitTransform;
    setupKeyBindings();
  }
};

const testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new KeyBindingsEnvironment);

class KeyBindingsTest : public testing::Test {
 protected:
  void SetUp() override {
    monkeyTransform->setMatrix(rotationX(quarterTurn));
    orbitTransform->setMatrix(translation(0, 0, 7));
    gameModeToggles = 0;
    fpsPrints = 0;
  }
};

struct TurnCase {
  int key;
  bool special;
  Matrix (*rotation)(float);
  float angle;
};

// Arrows turn the orbit about the root's axes (on the left); letters turn the monkey
// about its own (on the right).
const TurnCase turnCases[] = {
    {InputManager::KEY_LEFT, true, rotationY, -0.2f},
    {InputManager::KEY_RIGHT, true, rotationY, 0.2f},
    {InputManager::KEY_UP, true, rotationX, -0.2f},
    {InputManager::KEY_DOWN, true, rotationX, 0.2f},
    {'a', false, rotationZ, -monkeyStep},
    {'d', false, rotationZ, monkeyStep},
    {'w', false, rotationY, -monkeyStep},
    {'s', false, rotationY, monkeyStep},
};

TEST_F(KeyBindingsTest, EachTurningKeyTurnsItsTransformOneStepOnPress) {
  for (const TurnCase& c : turnCases) {
    SetUp();
    SCOPED_TRACE(c.key);
    if (c.special) {
      InputManager::specialCallback(c.key, 5, 6);
      expectMatrixNear(orbitTransform->getMatrix(), c.rotation(c.angle) * translation(0, 0, 7));
      expectMatrixNear(monkeyTransform->getMatrix(), rotationX(quarterTurn));
    } else {
      InputManager::keyboardCallback(static_cast<unsigned char>(c.key), 5, 6);
      expectMatrixNear(monkeyTransform->getMatrix(), rotationX(quarterTurn) * c.rotation(c.angle));
      expectMatrixNear(orbitTransform->getMatrix(), translation(0, 0, 7));
    }
  }
}

TEST_F(KeyBindingsTest, ReleasingATurningKeyTurnsNothing) {
  InputManager::specialUpCallback(InputManager::KEY_LEFT, 0, 0);
  InputManager::keyboardUpCallback('a', 0, 0);
  expectMatrixNear(orbitTransform->getMatrix(), translation(0, 0, 7));
  expectMatrixNear(monkeyTransform->getMatrix(), rotationX(quarterTurn));
}

TEST_F(KeyBindingsTest, LeftThenRightRestoresTheOrbitAcrossAnimationSteps) {
  pressSpecial(InputManager::KEY_LEFT);
  animate(50);
  pressSpecial(InputManager::KEY_RIGHT);
  expectMatrixNear(orbitTransform->getMatrix(), rotationY(0.05f) * translation(0, 0, 7));
}

TEST_F(KeyBindingsTest, AThenDRestoresTheMonkey) {
  press('a');
  press('d');
  expectMatrixNear(monkeyTransform->getMatrix(), rotationX(quarterTurn));
}

TEST_F(KeyBindingsTest, SameCodeInOrdinaryAndSpecialTablesActsApart) {
  press('d');  // code 100, as the left arrow
  expectMatrixNear(orbitTransform->getMatrix(), translation(0, 0, 7));
  pressSpecial(InputManager::KEY_RIGHT);  // code 102, as 'f'
  EXPECT_EQ(gameModeToggles, 0);
  press('f');
  EXPECT_EQ(gameModeToggles, 1);
}

TEST_F(KeyBindingsTest, GameModeTogglesOnPressOnly) {
  InputManager::keyboardCallback('f', 0, 0);
  EXPECT_EQ(gameModeToggles, 1);
  InputManager::keyboardUpCallback('f', 0, 0);
  EXPECT_EQ(gameModeToggles, 1);
}

TEST_F(KeyBindingsTest, FrameRateIsPrintedOnReleaseOnly) {
  InputManager::keyboardCallback('t', 0, 0);
  EXPECT_EQ(fpsPrints, 0);
  InputManager::keyboardUpCallback('t', 0, 0);
  EXPECT_EQ(fpsPrints, 1);
}

TEST_F(KeyBindingsTest, UpperCaseLettersDoNothing) {
  for (unsigned char key : std::string("ADWSFT")) press(key);
  expectMatrixNear(monkeyTransform->getMatrix(), rotationX(quarterTurn));
  EXPECT_EQ(gameModeToggles, 0);
  EXPECT_EQ(fpsPrints, 0);
}

TEST_F(KeyBindingsTest, F1WritesKeyCodeAndXRunTogetherWithoutLineEnd) {
  testing::internal::CaptureStdout();
  InputManager::specialCallback(InputManager::KEY_F1, 320, 17);
  InputManager::specialUpCallback(InputManager::KEY_F1, 320, 17);
  InputManager::specialCallback(InputManager::KEY_F1, 7, 17);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "132017");
}

TEST_F(KeyBindingsTest, BindingsKeepTheTransformsTheyWereMadeWith) {
  const boost::shared_ptr<Moveable> bound = monkeyTransform;
  monkeyTransform = boost::make_shared<Moveable>();
  press('a');
  expectMatrixNear(monkeyTransform->getMatrix(), Matrix::identity());
  expectMatrixNear(bound->getMatrix(), rotationX(quarterTurn) * rotationZ(-monkeyStep));
  monkeyTransform = bound;
}

TEST_F(KeyBindingsTest, EscapeEndsTheProgramWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(InputManager::keyboardCallback(27, 0, 0), testing::ExitedWithCode(0), "");
}

}  // namespace
