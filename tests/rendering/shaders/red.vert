// Places vertices only through the kernel's uniforms, so a wrong view or model matrix
// moves what is drawn.
#version 120

uniform mat4 viewMatrix;
uniform mat4 modelMatrix;

void main() {
  gl_Position = gl_ProjectionMatrix * viewMatrix * modelMatrix * gl_Vertex;
}
