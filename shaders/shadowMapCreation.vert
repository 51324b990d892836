// The shadow pass: the scene seen from the light, nothing but its depth.
#version 120

void main() {
  gl_Position = ftransform();
}
