// Writes the window depth, 0 to 1, spread over the four 8-bit channels so that they keep
// about 24 bits of it; texLightSM unpacks it. A channel holds k / 255, so the base is 255.
#version 120

vec4 packDepth(float depth) {
  vec4 enc = fract(depth * vec4(1.0, 255.0, 65025.0, 16581375.0));
  return enc - enc.yzww * vec4(1.0 / 255.0, 1.0 / 255.0, 1.0 / 255.0, 0.0);
}

void main() {
  // Depth 1 would wrap round to 0, the nearest value.
  gl_FragColor = packDepth(min(gl_FragCoord.z, 0.99999));
}
