// The demonstration program: the renderer, its scene, its keys, then GLUT's main loop.

#include <iostream>

#include "demoscene.h"
#include "keybindings.h"
#include "rendering/kernel.h"
#include "system/inputmanager.h"
#include "system/log.h"

int main(int argc, char** argv) {
  Rendering::Kernel* kernel = Rendering::Kernel::instance();
  kernel->init(argc, argv);
  setupScene();
  setupKeyBindings();
  kernel->run();
  return 0;
}

void toggleGameMode() {
  Rendering::Kernel* kernel = Rendering::Kernel::instance();
  kernel->setGameMode(!kernel->isGameModeActive());
  // The new window or game mode starts without keyboard callbacks.
  System::InputManager::getInstance()->registerCallbacks();
}

void printFps() {
  std::cout << LOG_PREFIX << "fps: " << Rendering::Kernel::instance()->getFps() << std::endl;
}
