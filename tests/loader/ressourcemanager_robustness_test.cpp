// Meshes and textures from files that are missing, empty, garbage or cut short: every load ends
// with a log line at most, never a crash, and every mesh keeps its sequences consistent.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "loader/loadertest.h"
#include "system/loader/ressourcemanager.h"

namespace {

using loadertest::CapturedOutput;
using loadertest::ScratchDir;
using System::Loader::RessourceManager;

RessourceManager& manager() { return *RessourceManager::getInstance(); }

// What drawing relies on: optional sequences empty or one per vertex, one material slot per face
// (per three vertices without faces), and no face naming a vertex the mesh lacks.
void expectConsistentMesh(const std::string& path) {
  CapturedOutput output;
  const boost::shared_ptr<Data::Geometry::Mesh> mesh = manager().loadMesh(path);
  SCOPED_TRACE(path + "\n" + output.printed() + output.errors());
  const std::size_t vertices = mesh->vertices.size();
  EXPECT_TRUE(mesh->normals.empty() || mesh->normals.size() == vertices);
  EXPECT_TRUE(mesh->texCoords.empty() || mesh->texCoords.size() == vertices);
  const std::size_t faces = mesh->triangles.size() + mesh->quads.size();
  EXPECT_EQ(faces > 0 ? faces : vertices / 3, mesh->materials.size());
  for (const auto& t : mesh->triangles) {
    ASSERT_TRUE(t.a < vertices && t.b < vertices && t.c < vertices);
  }
  for (const auto& q : mesh->quads) {
    ASSERT_TRUE(q.a < vertices && q.b < vertices && q.c < vertices && q.d < vertices);
  }
}

// A failed texture is cached like any other: the second request is silent.
void expectEmptyTexture(const std::string& path) {
  CapturedOutput output;
  const boost::shared_ptr<Data::Geometry::Texture> texture = manager().loadTexture(path);
  EXPECT_EQ(0, texture->width + texture->height) << path;
  EXPECT_TRUE(texture->data) << "an array of no bytes, not a missing one";
  const std::string errors = loadertest::withoutPrefixes(output.errors());
  const std::string failed = "couldn't load texture: " + path + "\n";
  EXPECT_TRUE(errors == failed || errors == " couldn't find out filetype...\n" + failed) << errors;
  const std::string firstLoad = output.printed() + output.errors();
  EXPECT_EQ(texture, manager().loadTexture(path));
  EXPECT_EQ(firstLoad, output.printed() + output.errors());
}

std::string noise(std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// A directory opens as a stream on Linux and fails only when read; a mtllib line without a name
// names the OBJ file's own directory. A file cut anywhere may end inside a face or a material.
TEST(RobustMesh, MissingEmptyGarbageAndCutFilesLoadAsConsistentMeshes) {
  ScratchDir dir;
  std::mt19937 random(7);
  std::vector<std::string> paths = {dir.path("absent.obj"), dir.write("empty.obj", ""),
                                    dir.path(""),
                                    dir.write("nameless.obj", "mtllib \nv 0 0 0\nf 1// 1// 1//\n")};
  for (int i = 0; i < 20; ++i) paths.push_back(dir.write(std::to_string(i), noise(random, 3000)));
  for (const std::string& path : paths) expectConsistentMesh(path);
  dir.write("noise.png", noise(random, 3000));
  const std::string mtl = "newmtl a\nKd 1 0 0\nmap_Kd noise.png\nnewmtl b\nNs 5\n";
  const std::string obj =
      "mtllib cut.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvn 0 0 1\n"
      "usemtl b\nf 1/1/1 2/1/1 3/1/1\nf 3//1 2//1 1//1 1//1\nf 1/1/ 3/1/ 2/1/\n";
  for (std::size_t cut = 0; cut < obj.size(); cut += 5) {
    dir.write("cut.mtl", mtl.substr(0, cut));
    expectConsistentMesh(dir.write("cut.obj", obj.substr(0, cut)));
  }
}

TEST(RobustTexture, MissingEmptyAndGarbageFilesGiveEmptyTextures) {
  ScratchDir dir;
  std::mt19937 random(99);
  const std::string garbage = noise(random, 5000);
  for (const std::string& path :
       {dir.path("absent.jpg"), dir.write("empty.png", ""), dir.write("noise.png", garbage),
        dir.write("noise.bmp", "BM" + garbage), dir.write("noise.dat", garbage), dir.path("")}) {
    expectEmptyTexture(path);
  }
}

}  // namespace
