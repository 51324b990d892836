#include "system/loader/ressourcemanager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "loader/loadertest.h"

namespace {

using Data::Geometry::Mesh;
using loadertest::CapturedOutput;
using loadertest::ScratchDir;

System::Loader::RessourceManager& manager() {
  return *System::Loader::RessourceManager::getInstance();
}

boost::shared_ptr<Mesh> loadQuietly(const std::string& path) {
  CapturedOutput quiet;
  return manager().loadMesh(path);
}

// A directory opens as a stream on Linux and claims an absurd length.
TEST(ReadFile, GivesTheTextUpToItsFirstZeroByteOrOneLineWhenItCannot) {
  ScratchDir dir;
  CapturedOutput output;
  EXPECT_EQ("a {\r\n\tb;\n}\n\n", manager().readFile(dir.write("a", "a {\r\n\tb;\n}\n\n")));
  EXPECT_EQ("abc", manager().readFile(dir.write("b", std::string("abc\0def", 7))));
  EXPECT_EQ("", manager().readFile(dir.path("absent")));
  EXPECT_EQ("", manager().readFile(dir.path("")));
  EXPECT_EQ("ERROR: could not open file " + dir.path("absent") + "\nERROR: could not open file " +
                dir.path("") + "\n",
            output.out.str());
}

// What drawing relies on: optional sequences empty or one per vertex, one material slot per face
// (per three vertices without faces), and no face naming a vertex the mesh lacks.
void expectConsistent(const Mesh& mesh) {
  const std::size_t n = mesh.vertices.size(), faces = mesh.triangles.size() + mesh.quads.size();
  EXPECT_TRUE(mesh.normals.empty() || mesh.normals.size() == n);
  EXPECT_TRUE(mesh.texCoords.empty() || mesh.texCoords.size() == n);
  EXPECT_EQ(faces > 0 ? faces : n / 3, mesh.materials.size());
  for (const auto& t : mesh.triangles) EXPECT_LT(std::max({t.a, t.b, t.c}), n);
  for (const auto& q : mesh.quads) EXPECT_LT(std::max({q.a, q.b, q.c, q.d}), n);
}

// Each vertex with its normal and texture coordinate where the mesh keeps them, then each face
// with its material's name, or without faces each material slot.
std::string describe(const Mesh& mesh) {
  expectConsistent(mesh);
  loadertest::CallLog log;
  for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
    std::ostringstream vertex;
    vertex << mesh.vertices[k].x << " " << mesh.vertices[k].y;
    if (!mesh.normals.empty()) vertex << " n " << mesh.normals[k].x << " " << mesh.normals[k].y;
    if (!mesh.texCoords.empty()) vertex << " t " << mesh.texCoords[k].u;
    log.add("v", vertex.str());
  }
  for (const auto& t : mesh.triangles) log.add("tri", t.a, t.b, t.c);
  for (const auto& q : mesh.quads) log.add("quad", q.a, q.b, q.c, q.d);
  for (const auto& material : mesh.materials) log.add("m", material->name);
  return log.text;
}

// Material names are unique across the test program, whose material table outlives every load.
TEST(LoadMesh, FillsTheSlotsInCallbackOrder) {
  const struct {
    std::string obj, mesh;
  } meshes[] = {
      // Normals and texture coordinates stay with their vertices when some have none.
      {"v 1 0 0\nv 2 0 0\nvn 1 0 0\nvn 0 1 0\nvt 0.25 0.5\nvt 0.75 1\nf 1/1/1 2/1/1 2/1/1\n"
       "f 1// 2// 2//\nf 1/2/2 2/2/2 2/2/2\n",
       "v 1 0 n 1 0 t 0.25, v 2 0 n 1 0 t 0.25, v 1 0 n 0 0 t 0, v 2 0 n 0 0 t 0, v 1 0 n 0 1 t "
       "0.75, v 2 0 n 0 1 t 0.75, tri 0 1 1, tri 2 3 3, tri 4 5 5, m second, m second, m second"},
      // Faces before any usemtl take the library's last material; quads follow all triangles.
      {"v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2// 3// 1//\nusemtl first\nf 1// 2// 3//\n",
       "v 0 0, v 1 0, v 1 1, tri 0 1 2, quad 0 1 2 0, m first, m second"},
      // Face lines of two or five face vertices make no face: one material slot per 3 vertices.
      {"v 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\nv 6 0 0\nusemtl first\n"
       "f 1// 2// 3// 4// 5//\nusemtl second\nf 5// 6//\nf 7// 1//\n",
       "v 0 0, v 1 0, v 2 0, v 3 0, v 4 0, v 5 0, v 6 0, m first, m second"}};
  ScratchDir dir;
  dir.write("two.mtl", "newmtl first\nnewmtl second\n");
  for (const auto& file : meshes)
    EXPECT_EQ(file.mesh, describe(*loadQuietly(dir.write("m.obj", "mtllib two.mtl\n" + file.obj))));
  // The sequences are sized from the loader's counts; anything beyond them is dropped.
  const boost::shared_ptr<Mesh> mesh = loadQuietly(dir.write("m.obj", "mtllib two.mtl\n" + meshes[1].obj));
  manager().addVertex(9, 9, 9);
  manager().addNormal(9, 9, 9);
  manager().addTexCoord(9, 9);
  manager().addTriangle(0, 0, 0);
  manager().addQuad(0, 0, 0, 0);
  EXPECT_EQ("v 0 0, v 1 0, v 1 1, tri 0 1 2, quad 0 1 2 0, m first, m second", describe(*mesh));
}

// Eight corners, fourteen texture coordinates, six normals, six quads of 24 distinct face vertices.
TEST(LoadMesh, CubeOfTwentyFourFaceVerticesPrintsItsCounts) {
  ScratchDir dir;
  CapturedOutput output;
  manager().loadMesh(dir.write(
      "cube.obj",
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\nvt 0 0\nvt 1 0\n"
      "vt 1 1\nvt 0 1\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.5\n"
      "vt 0.25 0.25\nvn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\ng cube\ns off\n"
      "f 1/1/1 4/2/1 3/3/1 2/4/1\nf 5/5/2 6/6/2 7/7/2 8/8/2\nf 1/9/3 2/10/3 6/11/3 5/12/3\n"
      "f 4/1/4 8/2/4 7/3/4 3/4/4\nf 1/13/5 5/14/5 8/1/5 4/2/5\nf 2/5/6 3/6/6 7/7/6 6/8/6\n"));
  EXPECT_NE(std::string::npos,
            output.out.str().find("\nnumOf: ve8 no6 te14 fv24 tr0 qu6\n"
                                  "mesh loaded: Mesh: trI0 quI6 ver24(nt) col0 mat6\n"
                                  "counts: vc24 nc24 txc24 trc0 qc6\n"))
      << output.out.str();
}

// A later material of the same name replaces the earlier one, starting from its values; an unknown
// name keeps the current material; two materials naming one image share one decoded texture.
TEST(LoadMesh, MaterialsByNameAndTexturesFromTheCache) {
  ScratchDir dir;
  dir.write("wood.ppm", std::string("P6\n1 1\n255\n\x10\x20\x30", 14));
  dir.write("lib.mtl",
            "newmtl twin\nKs 0.7 0.8 0.9\nKd 1 0 0\nnewmtl twin\nKd 0 0.5 0\nNs 12\n"
            "map_Kd wood.ppm\nnewmtl ash\nmap_Kd wood.ppm\n");
  CapturedOutput output;
  const boost::shared_ptr<Mesh> mesh = manager().loadMesh(
      dir.write("m.obj",
                "mtllib lib.mtl\nv 0 0 0\nusemtl twin\nf 1// 1// 1//\nusemtl unknown\n"
                "f 1// 1// 1//\nusemtl ash\nf 1// 1// 1//\n"));
  const Data::Geometry::Material& twin = *mesh->materials[0];
  EXPECT_EQ("twin", twin.name);
  EXPECT_EQ(0.7f, twin.specular.r);
  EXPECT_EQ(0.5f, twin.diffuse.g);
  EXPECT_EQ(12, twin.shininess);
  EXPECT_EQ(mesh->materials[0], mesh->materials[1]);
  const std::string printed = output.out.str();
  EXPECT_NE(std::string::npos, printed.find("\nsetM failed unknown "));
  EXPECT_NE(std::string::npos, printed.find(" -twin"));
  EXPECT_EQ(1, twin.texture->width);
  EXPECT_EQ(twin.texture, mesh->materials[2]->texture);
  EXPECT_EQ(twin.texture, manager().loadTexture(dir.path("wood.ppm")));
  EXPECT_EQ(printed.find("load image from file "), printed.rfind("load image from file "));
  EXPECT_EQ(printed, output.out.str());
  EXPECT_NE(mesh->materials[0], loadQuietly(dir.path("m.obj"))->materials[0]);
}

// A directory opens as a stream and fails only when read; a mtllib line without a name names the
// OBJ file's own directory; a file cut anywhere may end inside a face or a material.
TEST(RobustLoading, MissingEmptyGarbageAndCutFilesGiveConsistentMeshesAndEmptyTextures) {
  ScratchDir dir;
  std::mt19937 random(7);
  std::string noise(3000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  dir.write("noise.png", noise);
  const std::string mtl = "newmtl a\nKd 1 0 0\nmap_Kd noise.png\nnewmtl b\nNs 5\n";
  const std::string obj =
      "mtllib cut.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvn 0 0 1\nusemtl b\n"
      "f 1/1/1 2/1/1 3/1/1\nf 3//1 2//1 1//1 1//1\nf 1/1/ 3/1/ 2/1/\n";
  for (std::size_t cut = 0; cut < obj.size(); cut += 5) {
    dir.write("cut.mtl", mtl.substr(0, cut));
    expectConsistent(*loadQuietly(dir.write("cut.obj", obj.substr(0, cut))));
  }
  for (const std::string& path :
       {dir.path("absent.obj"), dir.path(""), dir.write("noise.obj", noise),
        dir.write("nameless.obj", "mtllib \nv 0 0 0\nf 1// 1// 1//\n")})
    expectConsistent(*loadQuietly(path));
  for (const std::string& path : {dir.path("absent.jpg"), dir.write("empty.png", ""),
                                  dir.write("noise.jpg", noise), dir.write("noise.bmp", "BM" + noise),
                                  dir.write("cut.ppm", "P6\n2 2\n255\n\x10\x20"), dir.path("")}) {
    CapturedOutput output;
    const boost::shared_ptr<Data::Geometry::Texture> texture = manager().loadTexture(path);
    EXPECT_EQ(0, texture->width + texture->height) << path;
    EXPECT_TRUE(texture->data);
    EXPECT_NE(std::string::npos, output.err.str().find("couldn't load texture: " + path + "\n"));
  }
}

}  // namespace
