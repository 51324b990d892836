#include "system/loader/wavefrontloader.h"

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <string>

#include "loader/loadertest.h"

namespace {

using System::Loader::WavefrontLoader;

// Runs a whole load as the mesh builder does and lists every callback.
std::string emitted(const std::string& path) {
  WavefrontLoader loader(path);
  loadertest::CallLog log;
  loader.prepare();
  loader.vertexCallback = [&log](float x, float y, float z) { log.add("vertex", x, y, z); };
  loader.normalCallback = [&log](float x, float y, float z) { log.add("normal", x, y, z); };
  loader.texCoordCallback = [&log](float u, float v) { log.add("texCoord", u, v); };
  loader.triangleCallback = [&log](int a, int b, int c) { log.add("triangle", a, b, c); };
  loader.quadCallback = [&log](int a, int b, int c, int d) { log.add("quad", a, b, c, d); };
  loader.materialCallback = [&log](std::string name, WavefrontLoader::color) {
    log.add("material", name);
  };
  loader.useMaterialCallback = [&log](std::string name) { log.add("usemtl", name); };
  loader.textureCallback = [&log](std::string path) {
    log.add("texture", boost::filesystem::path(path).filename().string());
  };
  loader.emitPass();
  return log.text;
}

const std::string longName(5000, 'n');
const std::string library = "material wood, texture steel.png, material steel, texture steel.png";

const struct {
  std::string obj, calls;
  std::string error = "";  // the one error line expected, up to the file's path
} cases[] = {
    // New face vertices come out just before the face that first names them.
    {"v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nvt 0.5 0.5\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n"
     "f 1/1/1 3/1/1 4/1/1\n",
     "vertex 1 0 0, normal 0 0 1, texCoord 0.5 0.5, vertex 2 0 0, normal 0 0 1, texCoord 0.5 0.5, "
     "vertex 3 0 0, normal 0 0 1, texCoord 0.5 0.5, triangle 0 1 2, vertex 4 0 0, normal 0 0 1, "
     "texCoord 0.5 0.5, triangle 0 2 3"},
    // Indices reach forward; a negative one is absent, a missing position the origin.
    {"f 1//1 1//2 2/1/ -1/-1/-1\nv 5 6 7\nv 8 9 10\nvn 0 1 0\nvn 1 0 0\nvt 0.25 0.75\n",
     "vertex 5 6 7, normal 0 1 0, vertex 5 6 7, normal 1 0 0, vertex 8 9 10, texCoord 0.25 0.75, "
     "vertex 0 0 0, quad 0 1 2 3"},
    // A face line that makes no face still numbers its face vertices.
    {"v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2//\nf 3// 1// 2//\n",
     "vertex 0 0 0, vertex 1 0 0, vertex 1 1 0, triangle 2 0 1"},
    {"# " + std::string(300, 'c') + "\nv 1 2 3" + std::string(100000, ' ') + "\nusemtl " +
         longName + "\nv 4 5 6\nv 7 8 9\nf 1// 2// 3//\n",
     "usemtl " + longName + ", vertex 1 2 3, vertex 4 5 6, vertex 7 8 9, triangle 0 1 2"},
    {"v 1 1 1\nv 2 2 2\nvn 0 0 1\nf 0// 1//1 7//9\nf 1//1 1//0 2//1\n",
     "vertex 0 0 0, vertex 1 1 1, normal 0 0 1, vertex 0 0 0, normal 0 0 0, triangle 0 1 2, "
     "vertex 1 1 1, normal 0 0 0, vertex 2 2 2, normal 0 0 1, triangle 1 3 4",
     "ERROR: face index 0 names none of the 2 v lines of file "},
    // Libraries are read in every pass: the emit pass starts from the record the fill pass left,
    // so "wood" gets steel's texture there.
    {"mtllib lib.mtl\nusemtl steel\nmtllib lib.mtl\n", library + ", usemtl steel, " + library},
};

TEST(WavefrontLoader, EmitPassDeliversFaceVerticesThenTheirFaceInFileOrder) {
  loadertest::ScratchDir dir;
  dir.write("lib.mtl", "newmtl wood\nnewmtl steel\nmap_Kd steel.png\n");
  for (const auto& c : cases) {
    const std::string path = dir.write("mesh.obj", c.obj);
    loadertest::CapturedOutput output;
    EXPECT_EQ(c.calls, emitted(path));
    EXPECT_EQ(c.error.empty() ? "" : c.error + path + "\n",
              loadertest::withoutPrefixes(output.err.str()));
  }
}

}  // namespace
