// Textured, per-pixel lit: hands the eye-space position and normal to the fragments.
#version 120

varying vec3 eyePosition;
varying vec3 eyeNormal;

void main() {
  vec4 eye = gl_ModelViewMatrix * gl_Vertex;
  eyePosition = eye.xyz / eye.w;
  eyeNormal = gl_NormalMatrix * gl_Normal;
  gl_TexCoord[0] = gl_TextureMatrix[0] * gl_MultiTexCoord0;
  gl_FrontColor = gl_Color;
  gl_Position = ftransform();
}
