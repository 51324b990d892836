#include "system/loader/ressourcemanager.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "loader/ressourcetestfiles.h"
#include "loader/testpictures.h"

namespace {

using Data::Geometry::Material;
using Data::Geometry::Mesh;
using Data::Geometry::Texture;
using ressourcetest::CapturedOutput;
using ressourcetest::ScratchDir;
using ressourcetest::withoutPrefixes;
using System::Loader::RessourceManager;
using TexturePtr = boost::shared_ptr<Texture>;
using MeshPtr = boost::shared_ptr<Mesh>;

RessourceManager& manager() { return *RessourceManager::getInstance(); }

// The manager and its material table live for the whole test program, so
// every test names its materials after itself.
std::string unique(const std::string& name) {
  return name + "_" + testing::UnitTest::GetInstance()->current_test_info()->name();
}

MeshPtr loadQuietly(const std::string& path) {
  CapturedOutput output;
  return manager().loadMesh(path);
}

// ---- whole files

TEST(ReadFile, ReturnsTheTextUnchanged) {
  ScratchDir dir;
  const std::string text = "void main() {\r\n\tgl_Position = vec4(1);\n}\n\n";
  EXPECT_EQ(manager().readFile(dir.write("shader.vert", text)), text);
}

TEST(ReadFile, StopsAtTheFirstZeroByte) {
  ScratchDir dir;
  EXPECT_EQ(manager().readFile(dir.write("zero.txt", std::string("abc\0def", 7))), "abc");
  EXPECT_EQ(manager().readFile(dir.write("lead.txt", std::string("\0abc", 4))), "");
}

TEST(ReadFile, MissingFileGivesEmptyTextAndOneLine) {
  ScratchDir dir;
  CapturedOutput output;
  EXPECT_EQ(manager().readFile(dir.path("absent.frag")), "");
  EXPECT_EQ(output.printed(), "ERROR: could not open file " + dir.path("absent.frag") + "\n");
  EXPECT_EQ(output.errors(), "");
}

TEST(ReadFile, EmptyFileGivesEmptyTextSilently) {
  ScratchDir dir;
  CapturedOutput output;
  EXPECT_EQ(manager().readFile(dir.write("empty.vert", "")), "");
  EXPECT_EQ(output.printed(), "");
}

// A directory opens as a stream on Linux and claims an absurd length.
TEST(ReadFile, DirectoryIsReportedNotRead) {
  ScratchDir dir;
  CapturedOutput output;
  EXPECT_EQ(manager().readFile(dir.path("")), "");
  EXPECT_EQ(output.printed(), "ERROR: could not open file " + dir.path("") + "\n");
}

// ---- textures

TEST(LoadTexture, SamePathGivesTheCachedTextureSilently) {
  ScratchDir dir;
  const std::string path = testpictures::savePicture(dir, "odd.bmp", FIF_BMP, 24, 5, 3);
  CapturedOutput first;
  const TexturePtr texture = manager().loadTexture(path);
  EXPECT_EQ(withoutPrefixes(first.printed()), "load image from file " + path + "\n");
  EXPECT_EQ(first.errors(), "");
  EXPECT_EQ(texture->name, path);
  testpictures::expectPixels(*texture, 24, 5, 3);

  CapturedOutput second;
  EXPECT_EQ(manager().loadTexture(path), texture);
  EXPECT_EQ(second.printed(), "");
  EXPECT_EQ(second.errors(), "");
}

void expectFailedTexture(const TexturePtr& texture) {
  EXPECT_EQ(texture->width, 0);
  EXPECT_EQ(texture->height, 0);
  EXPECT_TRUE(texture->data) << "an array of no bytes, not a missing one";
}

TEST(LoadTexture, MissingFileOfKnownKindGivesAnEmptyTextureOnce) {
  ScratchDir dir;
  const std::string path = dir.path("absent.png");
  TexturePtr texture;
  {
    CapturedOutput output;
    texture = manager().loadTexture(path);
    EXPECT_EQ(withoutPrefixes(output.printed()), "load image from file " + path + "\n");
    EXPECT_EQ(withoutPrefixes(output.errors()), "couldn't load texture: " + path + "\n");
  }
  expectFailedTexture(texture);
  CapturedOutput again;
  EXPECT_EQ(manager().loadTexture(path), texture);
  EXPECT_EQ(again.printed() + again.errors(), "");
}

TEST(LoadTexture, FileOfUnknownKindSaysSoFirst) {
  ScratchDir dir;
  const std::string path = dir.path("absent.nothing");
  CapturedOutput output;
  expectFailedTexture(manager().loadTexture(path));
  EXPECT_EQ(withoutPrefixes(output.errors()),
            " couldn't find out filetype...\ncouldn't load texture: " + path + "\n");
}

// ---- meshes

// Eight corners, fourteen texture coordinates, six normals and six quads whose
// 24 face vertices are all distinct (each face has its own normal).
std::string cubeObj(const std::string& mtllib, const std::string& material) {
  std::string obj = "# cube\nmtllib " + mtllib + "\n";
  for (int i = 0; i < 8; ++i) {
    obj += "v " + std::to_string(i & 1) + " " + std::to_string(i >> 1 & 1) + " " +
           std::to_string(i >> 2 & 1) + "\n";
  }
  for (int i = 0; i < 14; ++i) obj += "vt " + std::to_string(i) + " 0.5\n";
  obj += "vn -1 0 0\nvn 1 0 0\nvn 0 -1 0\nvn 0 1 0\nvn 0 0 -1\nvn 0 0 1\n";
  obj += "usemtl " + material + "\ng cube\ns off\n";
  const int faces[6][4] = {{1, 3, 7, 5}, {2, 4, 8, 6}, {1, 5, 6, 2},
                           {3, 4, 8, 7}, {1, 2, 4, 3}, {5, 7, 8, 6}};
  for (int f = 0; f < 6; ++f) {
    obj += "f";
    for (int k = 0; k < 4; ++k) {
      obj += " " + std::to_string(faces[f][k]) + "/" + std::to_string((f * 4 + k) % 14 + 1) + "/" +
             std::to_string(f + 1);
    }
    obj += "\n";
  }
  return obj;
}

TEST(LoadMesh, CubeOfTwentyFourFaceVerticesPrintsItsCounts) {
  ScratchDir dir;
  const std::string stone = unique("stone");
  dir.write("cube.mtl", "newmtl " + stone + "\nKd 0.5 0.5 0.5\n");
  const std::string path = dir.write("cube.obj", cubeObj("cube.mtl", stone));
  CapturedOutput output;
  const MeshPtr mesh = manager().loadMesh(path);
  const std::string printed = output.printed();
  EXPECT_NE(printed.find("\nmesh loaded: Mesh: trI0 quI6 ver24(nt) col0 mat6\n"
                         "counts: vc24 nc24 txc24 trc0 qc6\n"),
            std::string::npos)
      << printed;
  ASSERT_EQ(mesh->quads.size(), 6u);
  EXPECT_EQ(mesh->quads[5].a, 20u);
  EXPECT_EQ(mesh->quads[5].d, 23u);
  // Face vertex 21 is corner 7 of the sixth face, with that face's normal.
  EXPECT_EQ(mesh->vertices[21].x, 0);
  EXPECT_EQ(mesh->vertices[21].y, 1);
  EXPECT_EQ(mesh->vertices[21].z, 1);
  EXPECT_EQ(mesh->normals[21].z, 1);
  EXPECT_EQ(mesh->texCoords[21].u, (5 * 4 + 1) % 14);
  for (const auto& material : mesh->materials) EXPECT_EQ(material->name, stone);
}

TEST(LoadMesh, MeshWithoutNormalsOrTexCoordsKeepsNone) {
  ScratchDir dir;
  const std::string path = dir.write("flat.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1// 2// 3//\n");
  CapturedOutput output;
  const MeshPtr mesh = manager().loadMesh(path);
  EXPECT_NE(output.printed().find("mesh loaded: Mesh: trI1 quI0 ver3 col0 mat1\n"
                                  "counts: vc3 nc0 txc0 trc1 qc0\n"),
            std::string::npos);
  EXPECT_TRUE(mesh->normals.empty());
  EXPECT_TRUE(mesh->texCoords.empty());
}

// The middle triangle has neither normals nor texture coordinates: the last
// triangle's must still land on its own vertices, not shift onto the middle's.
TEST(LoadMesh, NormalsAndTexCoordsStayWithTheirVertices) {
  ScratchDir dir;
  std::string obj;
  for (int i = 1; i <= 9; ++i) obj += "v " + std::to_string(i) + " 0 0\n";
  obj += "vn 1 0 0\nvn 0 1 0\nvt 0.25 0.5\nvt 0.75 1\n";
  obj += "f 1/1/1 2/1/1 3/1/1\nf 4// 5// 6//\nf 7/2/2 8/2/2 9/2/2\n";
  CapturedOutput output;
  const MeshPtr mesh = manager().loadMesh(dir.write("patchy.obj", obj));
  EXPECT_NE(output.printed().find("counts: vc9 nc6 txc6 trc3 qc0\n"), std::string::npos);
  ASSERT_EQ(mesh->normals.size(), 9u);
  ASSERT_EQ(mesh->texCoords.size(), 9u);
  EXPECT_EQ(mesh->normals[2].x, 1);
  EXPECT_EQ(mesh->texCoords[2].u, 0.25f);
  for (int k = 3; k < 6; ++k) {
    EXPECT_EQ(mesh->normals[k].y, 0) << k;
    EXPECT_EQ(mesh->texCoords[k].u, 0) << k;
  }
  for (int k = 6; k < 9; ++k) {
    EXPECT_EQ(mesh->vertices[k].x, k + 1) << k;
    EXPECT_EQ(mesh->normals[k].y, 1) << k;
    EXPECT_EQ(mesh->texCoords[k].u, 0.75f) << k;
  }
}

TEST(LoadMesh, QuadMaterialsFollowAllTriangleSlots) {
  ScratchDir dir;
  const std::string first = unique("first"), second = unique("second");
  dir.write("two.mtl", "newmtl " + first + "\nnewmtl " + second + "\n");
  const std::string path =
      dir.write("mixed.obj", "mtllib two.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nusemtl " + first +
                                 "\nf 1// 2// 3// 4//\nusemtl " + second +
                                 "\nf 1// 2// 3//\nf 1// 3// 4//\n");
  const MeshPtr mesh = loadQuietly(path);
  ASSERT_EQ(mesh->materials.size(), 3u);
  EXPECT_EQ(mesh->materials[0]->name, second);
  EXPECT_EQ(mesh->materials[1]->name, second);
  EXPECT_EQ(mesh->materials[2]->name, first);
}

TEST(LoadMesh, FacesBeforeAnyUsemtlTakeTheLibrarysLastMaterial) {
  ScratchDir dir;
  const std::string last = unique("last");
  dir.write("lib.mtl", "newmtl " + unique("early") + "\nnewmtl " + last + "\n");
  const std::string path = dir.write("early.obj", "mtllib lib.mtl\nv 0 0 0\nf 1// 1// 1//\n");
  EXPECT_EQ(loadQuietly(path)->materials[0]->name, last);
}

TEST(LoadMesh, MaterialRecordBecomesTheFacesMaterial) {
  ScratchDir dir;
  const std::string glass = unique("glass");
  dir.write("glass.mtl", "newmtl " + glass +
                             "\nKa 0.1 0.2 0.3\nKd 0.4 0.5 0.6\nKs 0.7 0.8 0.9\nd 0.25\nNs 12\n");
  const std::string path =
      dir.write("pane.obj", "mtllib glass.mtl\nv 0 0 0\nusemtl " + glass + "\nf 1// 1// 1//\n");
  const boost::shared_ptr<Material> material = loadQuietly(path)->materials[0];
  ASSERT_TRUE(material);
  EXPECT_EQ(material->name, glass);
  EXPECT_FLOAT_EQ(material->ambient.b, 0.3f);
  EXPECT_FLOAT_EQ(material->diffuse.g, 0.5f);
  EXPECT_FLOAT_EQ(material->specular.r, 0.7f);
  EXPECT_FLOAT_EQ(material->ambient.a, 0.25f);
  EXPECT_FLOAT_EQ(material->diffuse.a, 0.25f);
  EXPECT_FLOAT_EQ(material->specular.a, 0.25f);
  EXPECT_FLOAT_EQ(material->shininess, 12);
  EXPECT_EQ(material->emission.r, 0);
  EXPECT_EQ(material->emission.a, 1);
  EXPECT_FALSE(material->texture);
}

TEST(LoadMesh, LaterMaterialOfTheSameNameReplacesTheEarlier) {
  ScratchDir dir;
  const std::string twin = unique("twin");
  dir.write("twins.mtl", "newmtl " + twin + "\nKd 1 0 0\nnewmtl " + twin + "\nKd 0 1 0\n");
  const std::string path =
      dir.write("twins.obj", "mtllib twins.mtl\nv 0 0 0\nusemtl " + twin + "\nf 1// 1// 1//\n");
  const MeshPtr first = loadQuietly(path);
  EXPECT_FLOAT_EQ(first->materials[0]->diffuse.g, 1);
  EXPECT_FLOAT_EQ(first->materials[0]->diffuse.r, 0);

  const MeshPtr second = loadQuietly(path);
  EXPECT_NE(first, second);
  EXPECT_NE(first->materials[0], second->materials[0]) << "each load makes its own materials";
  EXPECT_FLOAT_EQ(first->materials[0]->diffuse.g, 1) << "earlier faces keep their material";
}

TEST(LoadMesh, UnknownUsemtlIsReportedAndKeepsTheCurrentMaterial) {
  ScratchDir dir;
  const std::string known = unique("known");
  const std::string unknown = unique("unknown");
  dir.write("known.mtl", "newmtl " + known + "\n");
  const std::string path = dir.write(
      "unknown.obj", "mtllib known.mtl\nv 0 0 0\nusemtl " + unknown + "\nf 1// 1// 1//\n");
  CapturedOutput output;
  const MeshPtr mesh = manager().loadMesh(path);
  EXPECT_EQ(mesh->materials[0]->name, known);
  std::smatch line;
  const std::string printed = output.printed();
  ASSERT_TRUE(std::regex_search(
      printed, line, std::regex("setM failed " + unknown + " ([0-9]+)((?: -[^ \n]+)*)\n")))
      << printed;
  const std::string listed = line[2];
  std::size_t entries = 0;
  for (std::size_t at = listed.find(" -"); at != std::string::npos; at = listed.find(" -", at + 1))
    ++entries;
  EXPECT_EQ(std::to_string(entries), line[1].str());
  EXPECT_NE(listed.find(" -" + known), std::string::npos);
}

TEST(LoadMesh, DiffuseMapsComeFromTheTextureCache) {
  ScratchDir dir;
  testpictures::savePicture(dir, "wood.bmp", FIF_BMP, 24, 3, 3);
  const std::string oak = unique("oak"), ash = unique("ash");
  dir.write("wood.mtl",
            "newmtl " + oak + "\nmap_Kd wood.bmp\nnewmtl " + ash + "\nmap_Kd wood.bmp\n");
  const std::string path =
      dir.write("table.obj", "mtllib wood.mtl\nv 0 0 0\nusemtl " + oak +
                                 "\nf 1// 1// 1//\nusemtl " + ash + "\nf 1// 1// 1//\n");
  const MeshPtr mesh = loadQuietly(path);
  ASSERT_TRUE(mesh->materials[0]->texture);
  EXPECT_EQ(mesh->materials[0]->texture, mesh->materials[1]->texture);
  CapturedOutput output;
  EXPECT_EQ(manager().loadTexture(dir.path("wood.bmp")), mesh->materials[0]->texture);
  testpictures::expectPixels(*mesh->materials[0]->texture, 24, 3, 3);
}

// Face lines of two or five face vertices make no face, so the mesh draws
// its vertices three at a time, one material per three: the second three
// vertices arrive after the usemtl line.
TEST(LoadMesh, MeshWithoutFacesGetsOneMaterialPerThreeVertices) {
  ScratchDir dir;
  const std::string before = unique("before"), after = unique("after");
  dir.write("two.mtl", "newmtl " + before + "\nnewmtl " + after + "\n");
  const std::string path = dir.write(
      "loose.obj",
      "mtllib two.mtl\nv 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\n"
      "v 6 0 0\nusemtl " +
          before + "\nf 1// 2// 3// 4// 5//\nusemtl " + after + "\nf 5// 6//\nf 7// 1//\n");
  CapturedOutput output;
  const MeshPtr mesh = manager().loadMesh(path);
  EXPECT_NE(output.printed().find("mesh loaded: Mesh: trI0 quI0 ver7 col0 mat2\n"
                                  "counts: vc7 nc0 txc0 trc0 qc0\n"),
            std::string::npos)
      << output.printed();
  ASSERT_EQ(mesh->materials.size(), 2u);
  EXPECT_EQ(mesh->materials[0]->name, before);
  EXPECT_EQ(mesh->materials[1]->name, after);
  EXPECT_EQ(mesh->vertices[4].x, 4);
  EXPECT_EQ(mesh->vertices[6].x, 6);
}

TEST(LoadMesh, TwoLooseVerticesHaveNoMaterialSlotToWrite) {
  ScratchDir dir;
  const std::string path = dir.write("pair.obj", "v 0 0 0\nv 1 0 0\nf 1// 2//\n");
  const MeshPtr mesh = loadQuietly(path);
  EXPECT_EQ(mesh->vertices.size(), 2u);
  EXPECT_TRUE(mesh->materials.empty());
}

// The sequences are sized from the loader's counts; anything beyond them is
// dropped instead of written past the end.
TEST(LoadMesh, CallbacksBeyondTheCountsWriteNothing) {
  ScratchDir dir;
  const std::string path = dir.write("tri.obj", "v 1 2 3\nvt 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n");
  const MeshPtr mesh = loadQuietly(path);
  manager().addVertex(9, 9, 9);
  manager().addNormal(9, 9, 9);
  manager().addTexCoord(9, 9);
  manager().addTriangle(0, 0, 0);
  manager().addQuad(0, 0, 0, 0);
  EXPECT_EQ(mesh->vertices.size(), 1u);
  EXPECT_EQ(mesh->vertices[0].x, 1);
  EXPECT_EQ(mesh->normals.size(), 1u);
  EXPECT_EQ(mesh->normals[0].x, 0);
  EXPECT_EQ(mesh->texCoords.size(), 1u);
  EXPECT_EQ(mesh->triangles.size(), 1u);
  EXPECT_TRUE(mesh->quads.empty());
  EXPECT_EQ(mesh->materials.size(), 1u);
}

}  // namespace
