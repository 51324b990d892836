#include "system/loader/wavefrontloader.h"

#include <gtest/gtest.h>

#include <boost/bind/bind.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "loader/ressourcetestfiles.h"

namespace {

using namespace boost::placeholders;
using ressourcetest::CapturedOutput;
using ressourcetest::ScratchDir;
using ressourcetest::withoutPrefixes;
using System::Loader::WavefrontLoader;

// Runs a whole load as the mesh builder does and keeps every callback as one line of text.
class Load {
 public:
  explicit Load(const std::string& path) : loader(path) {
    loader.prepare();
    loader.vertexCallback = boost::bind(&Load::numbers, this, "vertex", _1, _2, _3);
    loader.normalCallback = boost::bind(&Load::numbers, this, "normal", _1, _2, _3);
    loader.texCoordCallback = boost::bind(&Load::numbers, this, "texCoord", _1, _2, 0.0f);
    loader.triangleCallback = boost::bind(&Load::face, this, "triangle", _1, _2, _3, -1);
    loader.quadCallback = boost::bind(&Load::face, this, "quad", _1, _2, _3, _4);
    loader.materialCallback = boost::bind(&Load::material, this, _1, _2);
    loader.useMaterialCallback = boost::bind(&Load::name, this, "usemtl", _1);
    loader.textureCallback = boost::bind(&Load::name, this, "texture", _1);
    loader.emitPass();
  }

  WavefrontLoader loader;
  std::vector<std::string> calls;
  int vertices = 0;

 private:
  void numbers(const char* kind, float a, float b, float c) {
    std::ostringstream out;
    out << kind << " " << a << " " << b;
    if (std::string(kind) != "texCoord") out << " " << c;
    calls.push_back(out.str());
    if (std::string(kind) == "vertex") ++vertices;
  }
  void face(const char* kind, int a, int b, int c, int d) {
    std::ostringstream out;
    out << kind << " " << a << " " << b << " " << c;
    if (d >= 0) out << " " << d;
    calls.push_back(out.str());
  }
  void material(const std::string& name, const WavefrontLoader::color&) {
    calls.push_back("material " + name);
  }
  void name(const char* kind, const std::string& text) {
    calls.push_back(std::string(kind) + " " + text);
  }
};

std::vector<std::string> only(const std::vector<std::string>& calls, const std::string& kind) {
  std::vector<std::string> kept;
  for (const std::string& call : calls) {
    if (call.compare(0, kind.size(), kind) == 0) kept.push_back(call);
  }
  return kept;
}

// A cube of 8 corners, 14 texture coordinates, 6 normals and 6 quads of 24 distinct triples.
const char* const cube =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0 0\nvt 1 0\n"
    "vt 1 1\nvt 0 1\nvt 0.5 0.5\nvt 0.25 0.25\n"
    "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n"
    "f 1/1/1 4/2/1 3/3/1 2/4/1\nf 5/5/2 6/6/2 7/7/2 8/8/2\nf 1/9/3 2/10/3 6/11/3 5/12/3\n"
    "f 4/1/4 8/2/4 7/3/4 3/4/4\nf 1/13/5 5/14/5 8/1/5 4/2/5\nf 2/5/6 3/6/6 7/7/6 6/8/6\n";

TEST(WavefrontLoader, SplitsThePathAtItsLastSeparatorOfEitherKind) {
  CapturedOutput quiet;
  WavefrontLoader inDirectory("mtl/monkey.obj");
  EXPECT_EQ("mtl/", inDirectory.directory);
  EXPECT_EQ("monkey.obj", inDirectory.fileName);
  WavefrontLoader bare("monkey.obj");
  EXPECT_EQ("", bare.directory);
  EXPECT_EQ("monkey.obj", bare.fileName);
  WavefrontLoader mixed("a\\b/c\\d.obj");
  EXPECT_EQ("a\\b/c\\", mixed.directory);
  EXPECT_EQ("d.obj", mixed.fileName);
  EXPECT_NE(std::string::npos, quiet.printed().find("loading mesh from file mtl/monkey.obj\n"));
}

TEST(WavefrontLoader, CubeCountsItsLinesAndTwentyFourDistinctFaceVertices) {
  ScratchDir dir;
  CapturedOutput captured;
  Load load(dir.write("cube.obj", cube));
  EXPECT_NE(std::string::npos, captured.printed().find("\nnumOf: ve8 no6 te14 fv24 tr0 qu6\n"));
  EXPECT_EQ(24, load.loader.vertexCount());
  EXPECT_EQ(6, load.loader.quadCount());
  EXPECT_EQ(0, load.loader.triangleCount());
  EXPECT_TRUE(load.loader.hasNormals());
  EXPECT_TRUE(load.loader.hasTexCoords());
  EXPECT_EQ(24u, only(load.calls, "normal").size());
  EXPECT_EQ(24u, only(load.calls, "texCoord").size());
  EXPECT_EQ("quad 20 21 22 23", only(load.calls, "quad").back());
}

TEST(WavefrontLoader, EmitPassDeliversNewFaceVerticesBeforeTheirFace) {
  ScratchDir dir;
  CapturedOutput quiet;
  Load load(dir.write("two.obj",
                      "v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nvt 0.5 0.5\nvn 0 0 1\n"
                      "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 4/1/1\n"));
  const std::vector<std::string> expected = {
      "vertex 1 0 0",     "normal 0 0 1", "texCoord 0.5 0.5", "vertex 2 0 0",     "normal 0 0 1",
      "texCoord 0.5 0.5", "vertex 3 0 0", "normal 0 0 1",     "texCoord 0.5 0.5", "triangle 0 1 2",
      "vertex 4 0 0",     "normal 0 0 1", "texCoord 0.5 0.5", "triangle 0 2 3"};
  EXPECT_EQ(expected, load.calls);
  EXPECT_EQ(4, load.loader.vertexCount());
}

// A negative index names nothing: an absent normal or texture coordinate gets no callback, and a
// vertex without a position still gets its slot, at the origin, so vertex k stays face vertex k.
TEST(WavefrontLoader, IndicesReachForwardAndAbsentOnesGetNoCallback) {
  ScratchDir dir;
  CapturedOutput captured;
  Load load(dir.write("ahead.obj",
                      "f 1//1 1//2 2/1/ -1/-1/-1\nv 5 6 7\nv 8 9 10\n"
                      "vn 0 1 0\nvn 1 0 0\nvt 0.25 0.75\n"));
  const std::vector<std::string> expected = {"vertex 5 6 7", "normal 0 1 0",  "vertex 5 6 7",
                                             "normal 1 0 0", "vertex 8 9 10", "texCoord 0.25 0.75",
                                             "vertex 0 0 0", "quad 0 1 2 3"};
  EXPECT_EQ(expected, load.calls);
  EXPECT_EQ("", captured.errors());
}

TEST(WavefrontLoader, QuadsAndTrianglesKeepTheirOwnNumbering) {
  ScratchDir dir;
  CapturedOutput quiet;
  Load load(dir.write("mixed.obj",
                      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                      "f 1// 2// 3// 4//\nf 1// 2// 3//\nf 4// 3// 2// 1//\n"));
  const std::vector<std::string> faces(load.calls.begin() + 4, load.calls.end());
  EXPECT_EQ((std::vector<std::string>{"quad 0 1 2 3", "triangle 0 1 2", "quad 3 2 1 0"}), faces);
  EXPECT_EQ(1, load.loader.triangleCount());
  EXPECT_EQ(2, load.loader.quadCount());
}

TEST(WavefrontLoader, BrokenFaceLineNumbersItsVerticesButDeliversNoFace) {
  ScratchDir dir;
  CapturedOutput quiet;
  Load load(dir.write("broken.obj",
                      "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2//\nf 3// 1// 2//\n"
                      "f 1// 2// 3// 1// 2//\n"));
  const std::vector<std::string> expected = {"vertex 0 0 0", "vertex 1 0 0", "vertex 1 1 0",
                                             "triangle 2 0 1"};
  EXPECT_EQ(expected, load.calls);
  EXPECT_EQ(1, load.loader.triangleCount());
}

TEST(WavefrontLoader, LongLinesNeitherStopTheFileNorLoseTheirText) {
  ScratchDir dir;
  CapturedOutput quiet;
  const std::string longName(5000, 'n');
  Load load(dir.write("long.obj", "# " + std::string(300, 'c') + "\nv 1 2 3" +
                                      std::string(100000, ' ') + "\nusemtl " + longName +
                                      "\nv 4 5 6\nv 7 8 9\nf 1// 2// 3//\n"));
  EXPECT_EQ(3u, load.loader.positions.size());
  EXPECT_EQ((std::vector<std::string>{"usemtl " + longName, "vertex 1 2 3", "vertex 4 5 6",
                                      "vertex 7 8 9", "triangle 0 1 2"}),
            load.calls);
}

TEST(WavefrontLoader, BadIndexIsReportedOnceAndTheMeshStaysConsistent) {
  ScratchDir dir;
  CapturedOutput captured;
  const std::string path =
      dir.write("bad.obj", "v 1 1 1\nv 2 2 2\nvn 0 0 1\nf 0// 1//1 7//9\nf 1//1 1//0 2//1\n");
  Load load(path);
  const std::vector<std::string> expected = {"vertex 0 0 0", "vertex 1 1 1",  "normal 0 0 1",
                                             "vertex 0 0 0", "normal 0 0 0",  "triangle 0 1 2",
                                             "vertex 1 1 1", "normal 0 0 0",  "vertex 2 2 2",
                                             "normal 0 0 1", "triangle 1 3 4"};
  EXPECT_EQ(expected, load.calls);
  EXPECT_EQ(load.loader.vertexCount(), load.vertices);
  const std::string errors = withoutPrefixes(captured.errors());
  EXPECT_EQ("ERROR: face index 0 names none of the 2 v lines of file " + path + "\n", errors);
}

TEST(WavefrontLoader, MissingFileGivesThreeErrorsZeroCountsAndNoCallback) {
  ScratchDir dir;
  CapturedOutput captured;
  Load load(dir.path("absent.obj"));
  const std::string line = "ERROR: could not open file " + dir.path("absent.obj") + "\n";
  EXPECT_EQ(line + line + line, withoutPrefixes(captured.errors()));
  EXPECT_NE(std::string::npos, captured.printed().find("numOf: ve0 no0 te0 fv0 tr0 qu0\n"));
  EXPECT_EQ(0, load.loader.vertexCount());
  EXPECT_TRUE(load.calls.empty());
}

TEST(WavefrontLoader, LibrariesAreReadInEveryPassAndDeliveredInTheEmitPassOnly) {
  ScratchDir dir;
  dir.write("lib.mtl", "newmtl wood\nmap_Kd wood.png\nnewmtl steel\n");
  CapturedOutput captured;
  Load load(
      dir.write("scene.obj", "mtllib lib.mtl\nmtllib gone.mtl\nusemtl steel\nmtllib lib.mtl\n"));
  const std::string wood = dir.path("wood.png");
  const std::vector<std::string> expected = {
      "material wood", "texture " + wood, "material steel", "texture " + wood, "usemtl steel",
      "material wood", "texture " + wood, "material steel", "texture " + wood};
  EXPECT_EQ(expected, load.calls);
  const std::string missing = "ERROR: could not open file " + dir.path("gone.mtl") + "\n";
  EXPECT_EQ(missing + missing + missing, withoutPrefixes(captured.errors()));
}

TEST(WavefrontLoader, TexturePathOfTheLastMapCarriesIntoTheEmitPass) {
  ScratchDir dir;
  dir.write("lib.mtl", "newmtl a\nnewmtl b\nmap_Kd b.png\n");
  CapturedOutput quiet;
  Load load(dir.write("scene.obj", "mtllib lib.mtl\n"));
  const std::string b = dir.path("b.png");
  EXPECT_EQ((std::vector<std::string>{"material a", "texture " + b, "material b", "texture " + b}),
            load.calls);
}

}  // namespace
