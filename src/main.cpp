// The demonstration program: the renderer, its scene, its keys, then GLUT's main loop.

#include <iostream>

#include "demoscene.h"
#include "keybindings.h"
#include "rendering/kernel.h"
#include "system/inputmanager.h"
#include "system/log.h"
#include "system/standardstreams.h"

int main(int argc, char** argv) {
  // Before the display connection or any file can take a closed standard descriptor.
  System::openClosedStandardStreams();
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
