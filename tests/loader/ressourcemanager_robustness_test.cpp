// Meshes and textures from files that are missing, empty, garbage or cut
// short: every load ends with a log line at most, never a crash, and every
// mesh keeps its sequences consistent.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "loader/ressourcetestfiles.h"
#include "loader/testpictures.h"
#include "system/loader/ressourcemanager.h"

namespace {

using Data::Geometry::Mesh;
using ressourcetest::CapturedOutput;
using ressourcetest::ScratchDir;
using ressourcetest::withoutPrefixes;
using System::Loader::RessourceManager;

RessourceManager& manager() { return *RessourceManager::getInstance(); }

// What drawing relies on: optional sequences empty or one per vertex, one
// material per face, and no face naming a vertex the mesh lacks.
void expectConsistent(const Mesh& mesh, const std::string& what) {
  const std::size_t vertices = mesh.vertices.size();
  EXPECT_TRUE(mesh.normals.empty() || mesh.normals.size() == vertices) << what;
  EXPECT_TRUE(mesh.texCoords.empty() || mesh.texCoords.size() == vertices) << what;
  EXPECT_TRUE(mesh.colors.empty()) << what;
  const std::size_t faces = mesh.triangles.size() + mesh.quads.size();
  EXPECT_EQ(mesh.materials.size(), faces > 0 ? faces : vertices / 3) << what;
  for (const auto& t : mesh.triangles) {
    ASSERT_TRUE(t.a < vertices && t.b < vertices && t.c < vertices) << what;
  }
  for (const auto& q : mesh.quads) {
    ASSERT_TRUE(q.a < vertices && q.b < vertices && q.c < vertices && q.d < vertices) << what;
  }
}

boost::shared_ptr<Mesh> loadConsistent(const std::string& path, CapturedOutput& output) {
  const boost::shared_ptr<Mesh> mesh = manager().loadMesh(path);
  EXPECT_TRUE(mesh) << path;
  if (mesh) expectConsistent(*mesh, path + "\n" + output.printed() + output.errors());
  return mesh;
}

const char* const emptyMeshLines =
    "mesh loaded: Mesh: trI0 quI0 ver0 col0 mat0\ncounts: vc0 nc0 txc0 trc0 qc0\n";

TEST(RobustMesh, MissingAndEmptyFilesGiveEmptyMeshes) {
  ScratchDir dir;
  for (const std::string& path : {dir.path("absent.obj"), dir.write("empty.obj", "")}) {
    CapturedOutput output;
    loadConsistent(path, output);
    EXPECT_NE(output.printed().find(emptyMeshLines), std::string::npos) << path;
  }
}

// A directory opens as a stream on Linux and fails only when read; a mtllib
// line without a name names the OBJ file's own directory.
TEST(RobustMesh, DirectoriesNamedAsFilesAreSkipped) {
  ScratchDir dir;
  {
    CapturedOutput output;
    loadConsistent(dir.path(""), output);
    EXPECT_NE(output.printed().find(emptyMeshLines), std::string::npos);
  }
  CapturedOutput output;
  const std::string path = dir.write("nameless.obj", "mtllib \nv 0 0 0\nf 1// 1// 1//\n");
  EXPECT_EQ(loadConsistent(path, output)->triangles.size(), 1u);
}

TEST(RobustMesh, FaceIndicesOutsideTheFileAreReportedOnce) {
  ScratchDir dir;
  const std::string path = dir.write("bad.obj",
                                     "v 1 1 1\nv 2 2 2\nvn 0 0 1\n"
                                     "f 1//1 2//1 3//1\nf 0//1 1//7 2//1 99//1\n");
  CapturedOutput output;
  const boost::shared_ptr<Mesh> mesh = loadConsistent(path, output);
  EXPECT_EQ(mesh->triangles.size(), 1u);
  EXPECT_EQ(mesh->quads.size(), 1u);
  EXPECT_EQ(mesh->vertices[2].x, 0) << "a position that cannot be read is the origin";
  const std::string errors = withoutPrefixes(output.errors());
  EXPECT_NE(errors.find(path), std::string::npos) << errors;
  EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line per load: " << errors;
}

// Garbage bytes, then garbage made of the files' own words so that the
// grammars get far: every load must end consistent.
TEST(RobustMesh, BinaryGarbageLoadsAsWhateverItHolds) {
  ScratchDir dir;
  std::mt19937 random(20240601);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(std::uniform_int_distribution<int>(0, 3000)(random), '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    const std::string path = dir.write("noise.obj", bytes);
    CapturedOutput output;
    loadConsistent(path, output);
  }
}

std::string wordSalad(std::mt19937& random) {
  static const std::vector<std::string> words = {"v ",          "vt ",
                                                 "vn ",         "f ",
                                                 "usemtl ",     "mtllib salad.mtl",
                                                 "newmtl ",     "map_Kd ",
                                                 "Kd ",         "Ka ",
                                                 "Ks ",         "d ",
                                                 "Ns ",         "1",
                                                 "2",           "3",
                                                 "4",           "-1",
                                                 "0",           "7",
                                                 "99999999999", "/",
                                                 "//",          " ",
                                                 "\t",          "\n",
                                                 "\r\n",        ".5",
                                                 "e9",          "#",
                                                 "salad.mtl",   "pic.bmp",
                                                 "cut.png",     "salad.obj",
                                                 "giant.bmp",   "leaf",
                                                 "stone",       std::string(1, '\0'),
                                                 "g ",          "s 1",
                                                 "o ",          std::string(300, 'x'),
                                                 "1/1/1 ",      "2/2/2 ",
                                                 "3//3 ",       "-2/-2/-2 ",
                                                 "4/4/ "};
  std::string text;
  const int count = std::uniform_int_distribution<int>(0, 400)(random);
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  for (int i = 0; i < count; ++i) text += words[pick(random)];
  return text;
}

TEST(RobustMesh, WordSaladLoadsConsistently) {
  ScratchDir dir;
  testpictures::savePicture(dir, "pic.bmp", FIF_BMP, 24, 3, 3);
  const std::string whole =
      testpictures::contentsOf(testpictures::savePicture(dir, "whole.png", FIF_PNG, 24, 9, 9));
  dir.write("cut.png", whole.substr(0, whole.size() / 2));
  dir.write("giant.bmp", testpictures::giantBitmapHeader());
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    dir.write("salad.mtl", wordSalad(random));
    const std::string path = dir.write("salad.obj", "mtllib salad.mtl\n" + wordSalad(random));
    CapturedOutput output;
    loadConsistent(path, output);
  }
}

// ---- textures

void expectRefusedTexture(const std::string& path, const std::string& what) {
  CapturedOutput output;
  const boost::shared_ptr<Data::Geometry::Texture> texture = manager().loadTexture(path);
  EXPECT_EQ(texture->width, 0) << what;
  EXPECT_EQ(texture->height, 0) << what;
  const std::string errors = withoutPrefixes(output.errors());
  EXPECT_NE(errors.find("couldn't load texture: " + path + "\n"), std::string::npos)
      << what << ": " << errors;
}

TEST(RobustTexture, MissingEmptyGarbageAndDirectoryGiveEmptyTextures) {
  ScratchDir dir;
  std::mt19937 random(99);
  std::string noise(5000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  expectRefusedTexture(dir.path("absent.jpg"), "missing");
  expectRefusedTexture(dir.write("empty.png", ""), "empty");
  expectRefusedTexture(dir.write("noise.png", noise), "garbage named png");
  expectRefusedTexture(dir.write("noise.bmp", "BM" + noise), "garbage with a bitmap signature");
  expectRefusedTexture(dir.write("noise.dat", noise), "garbage of no known kind");
  expectRefusedTexture(dir.path(""), "directory");
  expectRefusedTexture(dir.write("giant.bmp", testpictures::giantBitmapHeader()), "gigapixels");
}

TEST(RobustTexture, CutShortPicturesOfEveryKindGiveEmptyTextures) {
  ScratchDir dir;
  const struct {
    FREE_IMAGE_FORMAT format;
    const char* extension;
  } kinds[] = {{FIF_BMP, "bmp"},   {FIF_PNG, "png"},  {FIF_JPEG, "jpg"},
               {FIF_TARGA, "tga"}, {FIF_TIFF, "tif"}, {FIF_PPM, "ppm"}};
  for (const auto& kind : kinds) {
    const std::string name = std::string("whole.") + kind.extension;
    const std::string whole =
        testpictures::contentsOf(testpictures::savePicture(dir, name, kind.format, 24, 40, 30));
    for (double kept : {0.95, 0.6, 0.2, 0.01}) {
      const std::string cut = std::to_string(int(kept * 100)) + "." + kind.extension;
      expectRefusedTexture(dir.write(cut, whole.substr(0, std::size_t(whole.size() * kept))), cut);
    }
  }
}

}  // namespace
