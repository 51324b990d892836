// As texLight, with the diffuse and specular light scaled by how much of the
// neighbourhood in the shadow map sees the light: soft edges from 3 x 3 samples.
#version 120

uniform sampler2D tex;
uniform sampler2D shadowMap;

varying vec3 eyePosition;
varying vec3 eyeNormal;
varying vec4 shadowCoord;

const float texelSize = 1.0 / 512.0;
// In window depth; keeps lit surfaces from shadowing themselves.
const float bias = 0.0008;

float unpackDepth(vec4 enc) {
  return dot(enc, vec4(1.0, 1.0 / 255.0, 1.0 / 65025.0, 1.0 / 16581375.0));
}

// 1 where the light reaches, 0 where something nearer to it blocks it. Points outside
// the light's view, and a w of 0 (no shadow pass), are lit.
float visibility() {
  if (shadowCoord.w <= 0.0) return 1.0;
  vec3 p = shadowCoord.xyz / shadowCoord.w;
  if (any(lessThan(p, vec3(0.0))) || any(greaterThan(p, vec3(1.0)))) return 1.0;
  float lit = 0.0;
  for (int x = -1; x <= 1; ++x) {
    for (int y = -1; y <= 1; ++y) {
      float nearest = unpackDepth(texture2D(shadowMap, p.xy + vec2(x, y) * texelSize));
      lit += p.z - bias <= nearest ? 1.0 : 0.0;
    }
  }
  return lit / 9.0;
}

void main() {
  vec4 texel = texture2D(tex, gl_TexCoord[0].st);
  vec4 light = gl_LightSource[0].position;
  if (light == vec4(0.0)) {
    gl_FragColor = texel * gl_Color;
    return;
  }
  vec3 n = normalize(eyeNormal);
  vec3 toLight = normalize(light.w == 0.0 ? light.xyz : light.xyz - eyePosition);
  float diffuse = max(dot(n, toLight), 0.0);
  float specular = 0.0;
  if (diffuse > 0.0) {
    vec3 halfway = normalize(toLight + normalize(-eyePosition));
    specular = pow(max(dot(n, halfway), 1e-4), gl_FrontMaterial.shininess);
  }
  float seen = visibility();
  vec4 ambient = gl_FrontMaterial.ambient * (gl_LightSource[0].ambient + gl_LightModel.ambient);
  vec4 colour = texel * (gl_FrontMaterial.emission + ambient +
                         gl_Color * gl_LightSource[0].diffuse * (diffuse * seen)) +
                gl_FrontMaterial.specular * gl_LightSource[0].specular * (specular * seen);
  gl_FragColor = vec4(colour.rgb, texel.a * gl_Color.a);
}
