// Meshes, materials, textures and the light, drawn for real and read back.

#include <functional>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using KernelDrawingTest = KernelTest;

const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, black{0, 0, 0};

using Floats = std::vector<GLfloat>;

// The values get(name, v) gives for each name: one for the shininess, four for the others.
template <typename Get>
Floats glFloats(Get get, std::initializer_list<GLenum> names) {
  Floats all;
  for (GLenum name : names) {
    GLfloat v[4];
    get(name, v);
    all.insert(all.end(), v, v + (name == GL_SHININESS ? 1 : 4));
  }
  return all;
}
Floats currentColour() { return glFloats(glGetFloatv, {GL_CURRENT_COLOR}); }

// The lower left corner of cell k of a 4 x 2 grid over the square from -1 to 1, bottom row first.
float cellX(int k) { return -1 + 0.5f * (k % 4); }
float cellY(int k) { return -1.0f + k / 4; }

using Mesh = Data::Geometry::Mesh;

// Face k in cell k: the triangles, then the quads. Without either, faces come from runs of
// three vertices, and one more vertex makes none.
MeshPtr grid(int triangles, int quads, std::vector<MaterialPtr> materials) {
  auto mesh = boost::make_shared<Mesh>();
  const bool indexed = quads > 0;
  mesh->resize(3 * triangles + 4 * quads + (indexed ? 0 : 1), indexed ? triangles : 0, quads);
  mesh->enableNormals();
  mesh->enableTexCoords();
  unsigned v = 0;
  for (int k = 0; k < triangles + quads; ++k) {
    const float x = cellX(k), y = cellY(k);
    const unsigned first = v;
    mesh->vertices[v++].set(x + 0.05f, y + 0.05f, 0);
    mesh->vertices[v++].set(x + 0.45f, y + 0.05f, 0);
    if (k >= triangles) mesh->vertices[v++].set(x + 0.45f, y + 0.95f, 0);
    mesh->vertices[v++].set(k < triangles ? x + 0.25f : x + 0.05f, y + 0.95f, 0);
    if (k < triangles && indexed) mesh->triangles[k].set(first, first + 1, first + 2);
    if (k >= triangles) mesh->quads[k - triangles].set(first, first + 1, first + 2, first + 3);
  }
  for (auto& normal : mesh->normals) normal.set(0, 0, 1);
  mesh->materials = materials;
  return mesh;
}

const MaterialPtr R = makeMaterial(1, 0, 0), G = makeMaterial(0, 1, 0), B = makeMaterial(0, 0, 1);

// Each cell shows its colour in the middle, and in its upper left corner when a quad covers it.
const struct {
  const char* what;
  int triangles, quads;
  GLuint drawn;  // faces the frame draws
  std::vector<MaterialPtr> materials;
  std::vector<Rgb> colours;
  void (*change)(Mesh&) = nullptr;
} layouts[] = {
    // clang-format off
    {"faces without a material keep the state the run before left", 0, 2, 2, {R, {}}, {red, red}},
    {"a mesh without material entries draws nothing", 0, 2, 0, {}, {black, black}},
    {"normals short of the vertices are left out, faces beyond the materials not drawn",
     0, 2, 1, {R}, {red, black}, [](Mesh& m) { m.normals.resize(1); }},
    {"5 triangles and 3 quads: the run of faces 3 to 6 crosses into the quads",
     5, 3, 8, {R, R, B, G, G, G, G, R}, {red, red, blue, green, green, green, green, red}},
    {"without indices every three vertices make a face", 2, 0, 2, {G, B}, {green, blue, black}},
    {"the nearer of two overlapping faces shows though drawn first", 0, 2, 2, {R, B}, {red},
     [](Mesh& m) {
       for (int v = 4; v < 8; ++v)
         m.vertices[v].set(m.vertices[v - 4].x, m.vertices[v - 4].y, -0.5f);
     }},
    {"vertex colours stand for the materials", 1, 2, 3, {R, R, R}, {green, green, blue},
     [](Mesh& m) {
       m.enableColors();
       for (std::size_t v = 0; v < m.colors.size(); ++v) m.colors[v].set(0, v < 7, v >= 7, 1);
     }},
    // clang-format on
};

TEST_F(KernelDrawingTest, MeshLayoutsDrawTheirFacesInTheirColours) {
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.what);
    scene = makeScene("texLight", translation(0, 0, fillDistance));
    MeshPtr mesh = grid(layout.triangles, layout.quads, layout.materials);
    if (layout.change) layout.change(*mesh);
    scene->add(mesh);
    // Counted, since faces drawn from indices outside the mesh need not show in any pixel.
    GLuint query = 0, primitives = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    kernel->display();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &primitives);
    glDeleteQueries(1, &query);
    EXPECT_EQ(primitives, layout.drawn);
    for (int k = 0; k < static_cast<int>(layout.colours.size()); ++k) {
      const Rgb corner = k < layout.triangles ? black : layout.colours[k];
      EXPECT_TRUE(near(pixelOfPlane(cellX(k) + 0.25f, cellY(k) + 0.4f), layout.colours[k])) << k;
      EXPECT_TRUE(near(pixelOfPlane(cellX(k) + 0.1f, cellY(k) + 0.85f), corner)) << k;
    }
    for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY})
      EXPECT_FALSE(glIsEnabled(array)) << array;
    EXPECT_EQ(currentColour(), (Floats{1, 1, 1, 0}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

MaterialPtr textured(const char* name, int width, int height, std::vector<unsigned char> bgr) {
  auto material = makeMaterial(1, 1, 1);
  boost::shared_array<unsigned char> data(new unsigned char[bgr.size()]);
  std::copy(bgr.begin(), bgr.end(), data.get());
  material->texture.reset(new Data::Geometry::Texture{name, width, height, data});
  return material;
}

// Three texels wide: rows of 9 bytes, which GL's default 4-byte row alignment reads skewed.
// A second texture beside it makes each frame bind the first one again.
TEST_F(KernelDrawingTest, TextureShowsItsColoursUploadedOncePerContextAndAgainAfterANewWindow) {
  const Rgb texels[] = {red, green, blue, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
  std::vector<unsigned char> bgr;
  for (const Rgb& t : texels) bgr.insert(bgr.end(), {uint8_t(t.b), uint8_t(t.g), uint8_t(t.r)});
  const MaterialPtr material = textured("texels", 3, 2, bgr);
  scene->add(makeSquare(1, material));
  const MaterialPtr yellow = textured("yellow", 1, 1, {0, 255, 255});
  addAt(scene, makeSquare(0.1f, yellow), translation(1.2f, 0.5f, 0));
  addAt(scene, makeSquare(0.1f, makeMaterial(1, 1, 1)), translation(1.2f, -0.5f, 0));  // no texture
  for (bool again : {false, true}) {
    const auto frames = [&] {
      if (again) newWindow();  // whose display task may draw meanwhile
      kernel->display();
      kernel->display();
    };
    const std::string out = outputOf(frames).first;
    EXPECT_EQ(occurrences(out, "loading texture: texels\ntexture gl loaded 0 3/2\n"), 1) << out;
    EXPECT_EQ(occurrences(out, "loading texture: yellow\ntexture gl loaded 0 1/1\n"), 1) << out;
    for (int i = 0; i < 6; ++i) {
      EXPECT_TRUE(near(pixelOfPlane(-1 + (2 * (i % 3) + 1) / 3.0f, -0.5f + i / 3), texels[i], 12));
    }
    EXPECT_TRUE(near(pixelOfPlane(1.2f, 0.5f), {255, 255, 0}));
    EXPECT_TRUE(near(pixelOfPlane(1.2f, -0.5f), {255, 255, 0}));  // the texture bound before
    EXPECT_EQ(kernel->uploadedTextures,
              decltype(kernel->uploadedTextures)({material->texture, yellow->texture}));
  }
  GLint filters[2] = {};
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[0]);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[1]);
  EXPECT_EQ(uniform("tex", 1), std::vector<float>{0});
  EXPECT_EQ((std::vector<GLint>{glInt(GL_UNPACK_ALIGNMENT), glInt(GL_ACTIVE_TEXTURE),
                                glInt(GL_TEXTURE_BINDING_2D), glIsEnabled(GL_TEXTURE_2D),
                                filters[0], filters[1]}),
            (std::vector<GLint>{4, GL_TEXTURE0, GLint(yellow->texture->glName), 1, GL_LINEAR,
                                GL_LINEAR}));

  // The upload line gives the GL's answer: here, a width beyond the largest it takes.
  const int width = glInt(GL_MAX_TEXTURE_SIZE) + 1;
  const auto oversized = textured("oversized", width, 1, std::vector<unsigned char>(3 * width));
  EXPECT_EQ(outputOf([&] { kernel->bindTexture(oversized->texture); }).first,
            "loading texture: oversized\ntexture gl loaded 1281 " + std::to_string(width) + "/1\n");
}

// The GL holds no image of a texture whose file failed to load (0 x 0) or that is wider than it
// takes. Drawn after a textured face, so that its texture is not what they show, such faces show
// the material's colour (unlit here) in every frame, and the upload lines stay.
TEST_F(KernelDrawingTest, FacesOfATextureWithoutAnImageShowTheMaterialColour) {
  const int wide = glInt(GL_MAX_TEXTURE_SIZE) + 1;
  const struct {
    const char* name;
    int width;
    std::string loaded;
  } failed[] = {{"missing.png", 0, "texture gl loaded 0 0/0\n"},
                {"oversized", wide, "texture gl loaded 1281 " + std::to_string(wide) + "/1\n"}};
  for (const auto& f : failed) {
    SCOPED_TRACE(f.name);
    scene = makeScene("texLight", translation(0, 0, fillDistance));
    addAt(scene, makeSquare(0.3f, textured("yellow", 1, 1, {0, 255, 255})),
          translation(-0.6f, 0, 0));
    const MaterialPtr material =
        textured(f.name, f.width, f.width ? 1 : 0, std::vector<unsigned char>(3 * f.width, 0));
    material->diffuse.set(0.2f, 0.6f, 1, 1);
    addAt(scene, makeSquare(0.3f, material), translation(0.6f, 0, 0));
    const std::string out = outputOf([this] {
                              kernel->display();
                              kernel->display();
                            }).first;
    EXPECT_EQ(occurrences(out, std::string("loading texture: ") + f.name + "\n" + f.loaded), 1)
        << out;
    EXPECT_TRUE(near(pixelOfPlane(0.6f, 0), {51, 153, 255}, 3));
    EXPECT_TRUE(near(pixelOfPlane(-0.6f, 0), {255, 255, 0}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

// Values that floats hold exactly; only the front face gets them, the shininess clamped to 128.
TEST_F(KernelDrawingTest, MaterialAndLightBecomeTheFrontMaterialTheColourAndLight0) {
  auto front = makeMaterial(0.5f, 0.25f, 0.75f);
  front->ambient.set(0.125f, 0.25f, 0.375f, 0.5f);
  front->specular.set(0.625f, 0.75f, 0.875f, 1);
  front->emission.set(0.0625f, 0.125f, 0.1875f, 0.25f);
  front->shininess = 500;
  const auto material = [](GLenum face) {
    return [face](GLenum name, GLfloat* v) { glGetMaterialfv(face, name, v); };
  };
  const Floats back = glFloats(material(GL_BACK), {GL_DIFFUSE});
  kernel->applyMaterial(front);
  EXPECT_EQ(glFloats(material(GL_BACK), {GL_DIFFUSE}), back);
  EXPECT_EQ(currentColour(), (Floats{0.5f, 0.25f, 0.75f, 1}));
  EXPECT_EQ(glFloats(material(GL_FRONT),
                     {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION, GL_SHININESS}),
            (Floats{0.125f, 0.25f, 0.375f, 0.5f, 0.5f, 0.25f, 0.75f, 1, 0.625f, 0.75f, 0.875f, 1,
                    0.0625f, 0.125f, 0.1875f, 0.25f, 128}));

  auto light = boost::make_shared<Data::Geometry::Light>();
  light->ambient.set(0.125f, 0.25f, 0.375f, 1);
  light->diffuse.set(0.5f, 0.625f, 0.75f, 1);
  light->specular.set(0.25f, 0.5f, 0.75f, 1);
  glDisable(GL_LIGHTING);
  kernel->setupLight(light);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_EQ(glFloats([](GLenum name, GLfloat* v) { glGetLightfv(GL_LIGHT0, name, v); },
                     {GL_POSITION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}),
            (Floats{0, 0, 0, 1, 0.125f, 0.25f, 0.375f, 1, 0.5f, 0.625f, 0.75f, 1, 0.25f, 0.5f,
                    0.75f, 1}));

  // A mesh without vertices leaves the colour and the client arrays, yet sends the uniforms.
  kernel->useShader(boost::make_shared<Data::Geometry::Shader>("texLightSM"));
  kernel->modelMatrix = translation(1, 2, 3);
  glEnableClientState(GL_NORMAL_ARRAY);
  kernel->drawMesh(boost::make_shared<Mesh>());
  EXPECT_EQ(uniform("modelMatrix"), floats(kernel->modelMatrix));
  EXPECT_EQ(currentColour(), (Floats{0.5f, 0.25f, 0.75f, 1}));
  EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY) && !glIsEnabled(GL_VERTEX_ARRAY));
  glDisableClientState(GL_NORMAL_ARRAY);
}

}  // namespace
