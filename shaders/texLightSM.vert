// As texLight, and the position in the shadow map: the texture matrix of unit 1 maps
// world space (the model matrix applied, without the view) into it.
#version 120

uniform mat4 modelMatrix;

varying vec3 eyePosition;
varying vec3 eyeNormal;
varying vec4 shadowCoord;

void main() {
  vec4 eye = gl_ModelViewMatrix * gl_Vertex;
  eyePosition = eye.xyz / eye.w;
  eyeNormal = gl_NormalMatrix * gl_Normal;
  gl_TexCoord[0] = gl_TextureMatrix[0] * gl_MultiTexCoord0;
  shadowCoord = gl_TextureMatrix[1] * (modelMatrix * gl_Vertex);
  gl_FrontColor = gl_Color;
  gl_Position = ftransform();
}
