// One flat colour, so the picture tells which program drew it.
#version 120

void main() {
  gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0);
}
