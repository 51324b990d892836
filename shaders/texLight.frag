// Textured, per-pixel lit by light 0 and the front material. The current colour (the
// material's diffuse colour, or the vertex colour) is the diffuse reflectance. A light at
// (0, 0, 0, 0) means the scene has none: the texel is drawn in the current colour, unlit.
#version 120

uniform sampler2D tex;

varying vec3 eyePosition;
varying vec3 eyeNormal;

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
  vec4 ambient = gl_FrontMaterial.ambient * (gl_LightSource[0].ambient + gl_LightModel.ambient);
  vec4 colour = texel * (gl_FrontMaterial.emission + ambient +
                         gl_Color * gl_LightSource[0].diffuse * diffuse) +
                gl_FrontMaterial.specular * gl_LightSource[0].specular * specular;
  gl_FragColor = vec4(colour.rgb, texel.a * gl_Color.a);
}
