#include "system/loader/wavefrontloader.h"

#include <gtest/gtest.h>

#include <string>

#include "loader/loadertest.h"

namespace {

using loadertest::CapturedOutput;
using loadertest::ScratchDir;
using loadertest::withoutPrefixes;
using System::Loader::WavefrontLoader;

// Runs a whole load as the mesh builder does and logs every callback.
struct Load {
  explicit Load(const std::string& path) : loader(path) {
    loader.prepare();
    loader.vertexCallback = [this](float x, float y, float z) { log.add("vertex", x, y, z); };
    loader.normalCallback = [this](float x, float y, float z) { log.add("normal", x, y, z); };
    loader.texCoordCallback = [this](float u, float v) { log.add("texCoord", u, v); };
    loader.triangleCallback = [this](int a, int b, int c) { log.add("triangle", a, b, c); };
    loader.quadCallback = [this](int a, int b, int c, int d) { log.add("quad", a, b, c, d); };
    loader.materialCallback = [this](std::string name, WavefrontLoader::color) {
      log.add("material", name);
    };
    loader.useMaterialCallback = [this](std::string name) { log.add("usemtl", name); };
    loader.textureCallback = [this](std::string path) { log.add("texture", path); };
    loader.emitPass();
  }

  WavefrontLoader loader;
  loadertest::CallLog log;
};

struct Case {
  std::string obj;
  std::string calls;
  std::string error = "";  // the one error line expected, up to the file's path
};

const std::string longName(5000, 'n');

const Case cases[] = {
    // New face vertices come out just before the face that first names them.
    {"v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nvt 0.5 0.5\nvn 0 0 1\n"
     "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 4/1/1\n",
     "vertex 1 0 0, normal 0 0 1, texCoord 0.5 0.5, vertex 2 0 0, normal 0 0 1, "
     "texCoord 0.5 0.5, vertex 3 0 0, normal 0 0 1, texCoord 0.5 0.5, triangle 0 1 2, "
     "vertex 4 0 0, normal 0 0 1, texCoord 0.5 0.5, triangle 0 2 3"},
    // Indices reach forward; a negative one is absent: no normal or texture coordinate callback,
    // and a position at the origin so that vertex k stays face vertex k.
    {"f 1//1 1//2 2/1/ -1/-1/-1\nv 5 6 7\nv 8 9 10\nvn 0 1 0\nvn 1 0 0\nvt 0.25 0.75\n",
     "vertex 5 6 7, normal 0 1 0, vertex 5 6 7, normal 1 0 0, vertex 8 9 10, texCoord 0.25 0.75, "
     "vertex 0 0 0, quad 0 1 2 3"},
    // A face line that makes no face still numbers its face vertices.
    {"v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2//\nf 3// 1// 2//\nf 1// 2// 3// 1// 2//\n",
     "vertex 0 0 0, vertex 1 0 0, vertex 1 1 0, triangle 2 0 1"},
    // Lines of any length reach the grammar whole.
    {"# " + std::string(300, 'c') + "\nv 1 2 3" + std::string(100000, ' ') + "\nusemtl " +
         longName + "\nv 4 5 6\nv 7 8 9\nf 1// 2// 3//\n",
     "usemtl " + longName + ", vertex 1 2 3, vertex 4 5 6, vertex 7 8 9, triangle 0 1 2"},
    // One error line per load for indices that name no line; the mesh stays whole.
    {"v 1 1 1\nv 2 2 2\nvn 0 0 1\nf 0// 1//1 7//9\nf 1//1 1//0 2//1\n",
     "vertex 0 0 0, vertex 1 1 1, normal 0 0 1, vertex 0 0 0, normal 0 0 0, triangle 0 1 2, "
     "vertex 1 1 1, normal 0 0 0, vertex 2 2 2, normal 0 0 1, triangle 1 3 4",
     "ERROR: face index 0 names none of the 2 v lines of file "},
};

TEST(WavefrontLoader, EmitPassDeliversFaceVerticesThenTheirFaceInFileOrder) {
  ScratchDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.write("mesh.obj", c.obj);
    CapturedOutput output;
    const Load load(path);
    EXPECT_EQ(c.calls, load.log.text);
    EXPECT_EQ(c.error.empty() ? "" : c.error + path + "\n", withoutPrefixes(output.errors()));
  }
}

// The emit pass starts from the record the fill pass left, so "wood" gets steel's texture there.
TEST(WavefrontLoader, LibrariesAreReadInEveryPassAndDeliveredInTheEmitPassOnly) {
  ScratchDir dir;
  dir.write("lib.mtl", "newmtl wood\nnewmtl steel\nmap_Kd steel.png\n");
  CapturedOutput output;
  const Load load(
      dir.write("scene.obj", "mtllib lib.mtl\nmtllib gone.mtl\nusemtl steel\nmtllib lib.mtl\n"));
  const std::string library = "material wood, texture " + dir.path("steel.png") +
                              ", material steel, texture " + dir.path("steel.png");
  EXPECT_EQ(library + ", usemtl steel, " + library, load.log.text);
  const std::string missing = "ERROR: could not open file " + dir.path("gone.mtl") + "\n";
  EXPECT_EQ(missing + missing + missing, withoutPrefixes(output.errors()));
}

}  // namespace
