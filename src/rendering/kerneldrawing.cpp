// Meshes from client arrays, run by run of faces sharing a material; materials, textures
// and the light as fixed-function state, which the shaders read.

#include <algorithm>
#include <iostream>

#include "rendering/gltype.h"
#include "rendering/kernel.h"

namespace Rendering {

namespace {

// A per-vertex sequence shorter than the vertices would let GL read past its end, so
// such a sequence is left out like an empty one.
template <typename T>
bool perVertex(const std::vector<T>& sequence, std::size_t vertices) {
  return !sequence.empty() && sequence.size() >= vertices;
}

// GL rejects a shininess outside 0 to 128 and keeps the previous one.
float glShininess(float shininess) { return std::min(std::max(shininess, 0.0f), 128.0f); }

}  // namespace

void Kernel::drawMesh(MeshPtr mesh) {
  setUniforms();
  drawMeshArrays(mesh);
}

void Kernel::drawMeshArrays(MeshPtr mesh) {
  if (!mesh || mesh->vertices.empty()) return;
  const Data::Geometry::Mesh& m = *mesh;
  const std::size_t vertices = m.vertices.size();
  const bool normals = perVertex(m.normals, vertices);
  const bool texCoords = perVertex(m.texCoords, vertices);
  const bool colors = perVertex(m.colors, vertices);

  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, glType<decltype(m.vertices[0].x)>::value, 0, m.vertices.data());
  if (normals) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(glType<decltype(m.normals[0].x)>::value, 0, m.normals.data());
  }
  if (texCoords) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, m.texCoords.data());
  }
  const bool indexed = !m.triangles.empty() || !m.quads.empty();
  const int faces = static_cast<int>(indexed ? m.triangles.size() + m.quads.size() : vertices / 3);
  if (colors) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, m.colors.data());
    drawFaces(mesh, indexed, 0, faces);
    glDisableClientState(GL_COLOR_ARRAY);
  } else {
    drawMaterialRuns(mesh, indexed, faces);
  }
  glColor4f(1, 1, 1, 0);
  if (normals) glDisableClientState(GL_NORMAL_ARRAY);
  if (texCoords) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

// Consecutive faces whose handles point to one Material object are drawn together, after
// that material is applied. Faces without a material entry are not drawn.
void Kernel::drawMaterialRuns(const MeshPtr& mesh, bool indexed, int faces) {
  const auto& materials = mesh->materials;
  const int count = std::min(faces, static_cast<int>(materials.size()));
  int first = 0;
  while (first < count) {
    int last = first + 1;
    while (last < count && materials[last] == materials[first]) ++last;
    applyMaterial(materials[first]);
    drawFaces(mesh, indexed, first, last);
    first = last;
  }
}

void Kernel::drawFaces(MeshPtr mesh, bool indexed, int first, int last) {
  if (!indexed) {
    glDrawArrays(GL_TRIANGLES, 3 * first, 3 * (last - first));
    return;
  }
  const int triangles = static_cast<int>(mesh->triangles.size());
  if (first < triangles) {
    const int start = 3 * first;
    const int end = 3 * std::min(last, triangles);
    const GLuint* indices = &mesh->triangles.data()->a;
    glDrawElements(GL_TRIANGLES, end - start, GL_UNSIGNED_INT, indices + start);
  }
  if (last > triangles) {
    const int start = 4 * std::max(first - triangles, 0);
    const int end = 4 * (last - triangles);
    const GLuint* indices = &mesh->quads.data()->a;
    glDrawElements(GL_QUADS, end - start, GL_UNSIGNED_INT, indices + start);
  }
}

// An empty handle (faces read before any material) keeps the state of earlier drawing.
void Kernel::applyMaterial(boost::shared_ptr<Data::Geometry::Material> material) {
  if (!material) return;
  if (material->texture) bindTexture(material->texture);
  const Data::Geometry::Material& m = *material;
  glColor4f(m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a);
  glMaterialfv(GL_FRONT, GL_AMBIENT, &m.ambient.r);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, &m.diffuse.r);
  glMaterialfv(GL_FRONT, GL_SPECULAR, &m.specular.r);
  glMaterialfv(GL_FRONT, GL_EMISSION, &m.emission.r);
  glMaterialf(GL_FRONT, GL_SHININESS, glShininess(m.shininess));
}

void Kernel::bindTexture(boost::shared_ptr<Data::Geometry::Texture> texture) {
  glEnable(GL_TEXTURE_2D);
  glActiveTexture(GL_TEXTURE0);
  if (currentShader) glUniform1i(glGetUniformLocation(currentShader->program, "tex"), 0);
  if (!texture) return;
  if (texture->uploaded) {
    glBindTexture(GL_TEXTURE_2D, texture->glName);
    return;
  }
  uploadTexture(*texture);
  uploadedTextures.push_back(texture);
  std::cout << "texture gl loaded " << glGetError() << " " << texture->width << "/"
            << texture->height << std::endl;
}

void Kernel::uploadTexture(Data::Geometry::Texture& texture) {
  std::cout << "loading texture: " << texture.name << std::endl;
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  // The rows are not padded; GL expects 4-byte rows unless told otherwise.
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  const bool unpadded = (texture.width * 3) % alignment != 0;
  if (unpadded) glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, texture.width, texture.height, 0, GL_BGR, GL_UNSIGNED_BYTE,
               texture.data.get());
  if (unpadded) glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // A texture without an image (a file that failed to load leaves 0 x 0, and the GL refuses
  // one too large) would sample black: its faces take the white texel of untextured
  // materials instead and show their colours. The query leaves the upload's error pending.
  GLint storedWidth = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &storedWidth);
  if (storedWidth == 0) {
    glDeleteTextures(1, &name);
    name = 0;
    glBindTexture(GL_TEXTURE_2D, name);
  }
  texture.glName = name;
  texture.uploaded = true;
}

// An empty handle means a scene without a light: lighting goes off, and light 0 is
// given the position (0, 0, 0, 0), which names no place or direction and tells the
// shaders to draw unlit.
void Kernel::setupLight(boost::shared_ptr<Data::Geometry::Light> light) {
  static const GLfloat origin[4] = {0, 0, 0, 1};
  static const GLfloat none[4] = {0, 0, 0, 0};
  const GLenum number = GL_LIGHT0 + static_cast<GLenum>(lights.size());
  if (!light) {
    glDisable(GL_LIGHTING);
    glLightfv(number, GL_POSITION, none);
    glLightfv(number, GL_AMBIENT, none);
    glLightfv(number, GL_DIFFUSE, none);
    glLightfv(number, GL_SPECULAR, none);
    return;
  }
  if (lights.empty()) glEnable(GL_LIGHTING);
  glLightfv(number, GL_POSITION, origin);
  glLightfv(number, GL_AMBIENT, &light->ambient.r);
  glLightfv(number, GL_DIFFUSE, &light->diffuse.r);
  glLightfv(number, GL_SPECULAR, &light->specular.r);
}

}  // namespace Rendering
