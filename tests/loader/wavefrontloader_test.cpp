#include "system/loader/wavefrontloader.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "loader/loadertest.h"

namespace {

using System::Loader::WavefrontLoader;

// Runs a whole load as the mesh builder does and lists every callback.
std::string emitted(const std::string& path) {
  WavefrontLoader loader(path);
  loadertest::CallLog log;
  loader.prepare();
  loader.vertexCallback = [&log](float x, float y, float z) { log.add("v", x, y, z); };
  loader.normalCallback = [&log](float x, float y, float z) { log.add("n", x, y, z); };
  loader.texCoordCallback = [&log](float u, float v) { log.add("t", u, v); };
  loader.triangleCallback = [&log](int a, int b, int c) { log.add("tri", a, b, c); };
  loader.quadCallback = [&log](int a, int b, int c, int d) { log.add("quad", a, b, c, d); };
  loader.materialCallback = [&log](std::string n, WavefrontLoader::color) { log.add("m", n); };
  loader.useMaterialCallback = [&log](std::string name) { log.add("use", name); };
  loader.textureCallback = [&log](std::string p) { log.add("map", p.substr(p.rfind('/') + 1)); };
  loader.emitPass();
  return log.text;
}

const std::string longName(5000, 'n');
const std::string library = "m wood, map steel.png, m steel, map steel.png";

const struct {
  std::string obj, calls;
  std::string error = "";  // the one error line expected, up to the file's path
} cases[] = {
    // New face vertices come out just before the face that first names them.
    {"v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nvt 0.5 0.5\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n"
     "f 1/1/1 3/1/1 4/1/1\n",
     "v 1 0 0, n 0 0 1, t 0.5 0.5, v 2 0 0, n 0 0 1, t 0.5 0.5, v 3 0 0, n 0 0 1, t 0.5 0.5, "
     "tri 0 1 2, v 4 0 0, n 0 0 1, t 0.5 0.5, tri 0 2 3"},
    // Indices reach forward; a negative one is absent, a missing position the origin.
    {"f 1//1 1//2 2/1/ -1/-1/-1\nv 5 6 7\nv 8 9 10\nvn 0 1 0\nvn 1 0 0\nvt 0.25 0.75\n",
     "v 5 6 7, n 0 1 0, v 5 6 7, n 1 0 0, v 8 9 10, t 0.25 0.75, v 0 0 0, quad 0 1 2 3"},
    // A face line that makes no face still numbers its face vertices.
    {"v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2//\nf 3// 1// 2//\n",
     "v 0 0 0, v 1 0 0, v 1 1 0, tri 2 0 1"},
    {"# " + std::string(300, 'c') + "\nv 1 2 3" + std::string(100000, ' ') + "\nusemtl " +
         longName + "\nv 4 5 6\nv 7 8 9\nf 1// 2// 3//\n",
     "use " + longName + ", v 1 2 3, v 4 5 6, v 7 8 9, tri 0 1 2"},
    {"v 1 1 1\nv 2 2 2\nvn 0 0 1\nf 0// 1//1 7//9\nf 1//1 1//0 2//1\n",
     "v 0 0 0, v 1 1 1, n 0 0 1, v 0 0 0, n 0 0 0, tri 0 1 2, v 1 1 1, n 0 0 0, v 2 2 2, n 0 0 1, "
     "tri 1 3 4",
     "ERROR: face index 0 names none of the 2 v lines of file "},
    // Libraries are read in every pass: the emit pass starts from the record the fill pass left,
    // so "wood" gets steel's texture there.
    {"mtllib lib.mtl\nusemtl steel\nmtllib lib.mtl\n", library + ", use steel, " + library},
};

TEST(WavefrontLoader, EmitPassDeliversFaceVerticesThenTheirFaceInFileOrder) {
  loadertest::ScratchDir dir;
  dir.write("lib.mtl", "newmtl wood\nnewmtl steel\nmap_Kd steel.png\n");
  for (const auto& c : cases) {
    const std::string path = dir.write("mesh.obj", c.obj);
    loadertest::CapturedOutput output;
    EXPECT_EQ(c.calls, emitted(path));
    // Without the "file.cpp,LINE: " prefix, whose line number changes with the code.
    EXPECT_EQ(c.error.empty() ? "" : c.error + path + "\n",
              std::regex_replace(output.err.str(), std::regex("^[^ ]*\\.cpp,[0-9]+: "), ""));
  }
}

}  // namespace
