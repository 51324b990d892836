#pragma once
// The demonstration's keys: what each one does, and the two actions of the program's own.

// Binds the twelve keys with the input manager. Comes after setupScene, whose transforms
// the bindings keep, and after the window exists, which the input manager's callbacks need.
void setupKeyBindings();

// Switches between the window and game mode; defined beside main.
void toggleGameMode();
// Writes the frame rate since the last reading; defined beside main.
void printFps();
