#include "system/loader/ressourcemanager.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "loader/loadertest.h"

namespace {

using Data::Geometry::Mesh;
using loadertest::CapturedOutput;
using loadertest::ScratchDir;
using System::Loader::RessourceManager;
using MeshPtr = boost::shared_ptr<Mesh>;

RessourceManager& manager() { return *RessourceManager::getInstance(); }

MeshPtr loadQuietly(const std::string& path) {
  CapturedOutput quiet;
  return manager().loadMesh(path);
}

TEST(ReadFile, GivesTheTextUpToItsFirstZeroByteOrOneLineWhenItCannot) {
  ScratchDir dir;
  const std::string text = "void main() {\r\n\tgl_Position = vec4(1);\n}\n\n";
  CapturedOutput output;
  EXPECT_EQ(text, manager().readFile(dir.write("a", text)));
  EXPECT_EQ("abc", manager().readFile(dir.write("b", std::string("abc\0def", 7))));
  EXPECT_EQ("", manager().readFile(dir.write("c", std::string("\0abc", 4))));
  EXPECT_EQ("", manager().readFile(dir.write("d", "")));
  EXPECT_EQ("", output.printed() + output.errors());
  // A directory opens as a stream on Linux and claims an absurd length.
  EXPECT_EQ("", manager().readFile(dir.path("absent")));
  EXPECT_EQ("", manager().readFile(dir.path("")));
  EXPECT_EQ("ERROR: could not open file " + dir.path("absent") + "\nERROR: could not open file " +
                dir.path("") + "\n",
            output.printed());
}

// The mesh as text: each vertex, with "n" and its normal and "t" and its texture coordinate where
// the mesh keeps them; then each face with the name of its material, or without faces each
// material slot.
std::string describe(const Mesh& mesh) {
  loadertest::CallLog log;
  for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
    std::ostringstream vertex;
    vertex << mesh.vertices[k].x << " " << mesh.vertices[k].y << " " << mesh.vertices[k].z;
    if (!mesh.normals.empty()) vertex << " n " << mesh.normals[k].x << " " << mesh.normals[k].y;
    if (!mesh.texCoords.empty()) vertex << " t " << mesh.texCoords[k].u;
    log.add("v", vertex.str());
  }
  const auto material = [&mesh](std::size_t slot) { return mesh.materials[slot]->name; };
  for (std::size_t k = 0; k < mesh.triangles.size(); ++k) {
    const auto& t = mesh.triangles[k];
    log.add("tri", t.a, t.b, t.c, material(k));
  }
  for (std::size_t k = 0; k < mesh.quads.size(); ++k) {
    const auto& q = mesh.quads[k];
    log.add("quad", q.a, q.b, q.c, q.d, material(mesh.triangles.size() + k));
  }
  if (mesh.triangles.empty() && mesh.quads.empty()) {
    for (std::size_t k = 0; k < mesh.materials.size(); ++k) log.add("slot", material(k));
  }
  return log.text;
}

// Material names are unique across the test program, whose material table outlives every load.
const struct {
  std::string obj;
  std::string mesh;
} meshes[] = {
    // Normals and texture coordinates stay with their vertices when some have none.
    {"mtllib two.mtl\nv 1 0 0\nv 2 0 0\nvn 1 0 0\nvn 0 1 0\nvt 0.25 0.5\nvt 0.75 1\n"
     "f 1/1/1 2/1/1 2/1/1\nf 1// 2// 2//\nf 1/2/2 2/2/2 2/2/2\n",
     "v 1 0 0 n 1 0 t 0.25, v 2 0 0 n 1 0 t 0.25, v 1 0 0 n 0 0 t 0, v 2 0 0 n 0 0 t 0, "
     "v 1 0 0 n 0 1 t 0.75, v 2 0 0 n 0 1 t 0.75, tri 0 1 1 second, tri 2 3 3 second, tri 4 5 5 "
     "second"},
    // Faces before any usemtl take the library's last material; quads follow all triangles.
    {"mtllib two.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2// 3// 1//\nusemtl first\n"
     "f 1// 2// 3//\nf 3// 2// 1//\n",
     "v 0 0 0, v 1 0 0, v 1 1 0, tri 0 1 2 first, tri 2 1 0 first, quad 0 1 2 0 second"},
    // Face lines of two or five face vertices make no face: the vertices are drawn three at a
    // time, one material slot for each three.
    {"mtllib two.mtl\nv 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\nv 6 0 0\n"
     "usemtl first\nf 1// 2// 3// 4// 5//\nusemtl second\nf 5// 6//\nf 7// 1//\n",
     "v 0 0 0, v 1 0 0, v 2 0 0, v 3 0 0, v 4 0 0, v 5 0 0, v 6 0 0, slot first, slot second"},
    {"v 0 0 0\nv 1 0 0\nf 1// 2//\n", "v 0 0 0, v 1 0 0"},
};

TEST(LoadMesh, FillsTheSlotsInCallbackOrder) {
  ScratchDir dir;
  dir.write("two.mtl", "newmtl first\nnewmtl second\n");
  for (const auto& file : meshes) {
    EXPECT_EQ(file.mesh, describe(*loadQuietly(dir.write("mesh.obj", file.obj)))) << file.obj;
  }
}

// Eight corners, fourteen texture coordinates, six normals and six quads whose 24 face vertices
// are all distinct.
const char* const cube =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0 0\nvt 1 0\n"
    "vt 1 1\nvt 0 1\nvt 0.5 0.5\nvt 0.25 0.25\n"
    "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\ng cube\ns off\n"
    "f 1/1/1 4/2/1 3/3/1 2/4/1\nf 5/5/2 6/6/2 7/7/2 8/8/2\nf 1/9/3 2/10/3 6/11/3 5/12/3\n"
    "f 4/1/4 8/2/4 7/3/4 3/4/4\nf 1/13/5 5/14/5 8/1/5 4/2/5\nf 2/5/6 3/6/6 7/7/6 6/8/6\n";

TEST(LoadMesh, CubeOfTwentyFourFaceVerticesPrintsItsCounts) {
  ScratchDir dir;
  CapturedOutput output;
  manager().loadMesh(dir.write("cube.obj", cube));
  EXPECT_NE(std::string::npos,
            output.printed().find("\nnumOf: ve8 no6 te14 fv24 tr0 qu6\n"
                                  "mesh loaded: Mesh: trI0 quI6 ver24(nt) col0 mat6\n"
                                  "counts: vc24 nc24 txc24 trc0 qc6\n"))
      << output.printed();
}

TEST(LoadMesh, LaterMaterialOfTheSameNameReplacesTheEarlier) {
  ScratchDir dir;
  dir.write("twins.mtl",
            "newmtl twin\nKs 0.7 0.8 0.9\nKd 1 0 0\nnewmtl twin\nKa 0.1 0.2 0.3\n"
            "Kd 0 0.5 0\nd 0.25\nNs 12\n");
  const std::string path =
      dir.write("twins.obj", "mtllib twins.mtl\nv 0 0 0\nusemtl twin\nf 1// 1// 1//\n");
  const MeshPtr first = loadQuietly(path);
  const Data::Geometry::Material& twin = *first->materials[0];
  EXPECT_FLOAT_EQ(0.3f, twin.ambient.b);
  EXPECT_FLOAT_EQ(0.5f, twin.diffuse.g);
  EXPECT_FLOAT_EQ(0.7f, twin.specular.r) << "carried over from the first twin";
  for (const auto& colour : {twin.ambient, twin.diffuse, twin.specular}) EXPECT_EQ(0.25f, colour.a);
  EXPECT_EQ(12, twin.shininess);
  const MeshPtr second = loadQuietly(path);
  EXPECT_NE(first->materials[0], second->materials[0]) << "each load makes its own materials";
  EXPECT_EQ(0.5f, twin.diffuse.g) << "earlier faces keep their material";
}

TEST(LoadMesh, UnknownUsemtlIsReportedAndKeepsTheCurrentMaterial) {
  ScratchDir dir;
  dir.write("known.mtl", "newmtl known\n");
  CapturedOutput output;
  const MeshPtr mesh = manager().loadMesh(
      dir.write("unknown.obj", "mtllib known.mtl\nv 0 0 0\nusemtl unknown\nf 1// 1// 1//\n"));
  EXPECT_EQ("known", mesh->materials[0]->name);
  // The line lists every material the test program has loaded, in the table's own order.
  const std::string printed = output.printed();
  std::smatch line;
  ASSERT_TRUE(std::regex_search(printed, line,
                                std::regex("\nsetM failed unknown ([0-9]+)((?: -[^ \n]+)*)\n")))
      << printed;
  EXPECT_NE(std::string::npos, line[2].str().find(" -known"));
}

// Two materials name the same image: it is decoded once, and asking for it again is silent.
TEST(LoadMesh, DiffuseMapsComeFromTheTextureCache) {
  ScratchDir dir;
  dir.write("wood.ppm", std::string("P6\n1 1\n255\n\x10\x20\x30", 14));
  dir.write("wood.mtl", "newmtl oak\nmap_Kd wood.ppm\nnewmtl ash\nmap_Kd wood.ppm\n");
  CapturedOutput output;
  const MeshPtr mesh = manager().loadMesh(dir.write(
      "table.obj",
      "mtllib wood.mtl\nv 0 0 0\nusemtl oak\nf 1// 1// 1//\nusemtl ash\nf 1// 1// 1//\n"));
  const std::string printed = output.printed();
  EXPECT_NE(std::string::npos, printed.find("load image from file " + dir.path("wood.ppm")));
  EXPECT_EQ(printed.find("load image from file "), printed.rfind("load image from file "));
  EXPECT_EQ(1, mesh->materials[0]->texture->width);
  EXPECT_EQ(mesh->materials[0]->texture, mesh->materials[1]->texture);
  EXPECT_EQ(mesh->materials[0]->texture, manager().loadTexture(dir.path("wood.ppm")));
  EXPECT_EQ(printed, output.printed());
}

// The sequences are sized from the loader's counts; anything beyond them is dropped.
TEST(LoadMesh, CallbacksBeyondTheCountsWriteNothing) {
  ScratchDir dir;
  dir.write("one.mtl", "newmtl one\n");
  const MeshPtr mesh = loadQuietly(
      dir.write("tri.obj", "mtllib one.mtl\nv 1 2 3\nvt 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n"));
  manager().addVertex(9, 9, 9);
  manager().addNormal(9, 9, 9);
  manager().addTexCoord(9, 9);
  manager().addTriangle(0, 0, 0);
  manager().addQuad(0, 0, 0, 0);
  EXPECT_EQ("v 1 2 3 n 0 0 t 0, tri 0 0 0 one", describe(*mesh));
}

}  // namespace
