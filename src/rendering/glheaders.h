#pragma once
// The GL, GLU and GLUT headers of the renderer, in the order GLEW needs: before any other.

// clang-format off
#include <GL/glew.h>
#include <GL/glu.h>
#include <GL/freeglut.h>
// clang-format on
