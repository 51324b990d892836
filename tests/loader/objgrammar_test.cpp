#include "system/loader/objgrammar.h"

#include <gtest/gtest.h>

#include <string>

#include "loader/loadertest.h"
#include "system/loader/wavefrontloader.h"

namespace {

using System::Loader::WavefrontLoader;

const struct {
  std::string line;
  std::string fired;  // "f" is a face vertex; numbers print with six significant digits
  bool whole;
} rows[] = {
    {"v 1 2 3 4", "v 1 2 3", false},
    {"v 1e2 -.5 +.5e+1", "v 100 -0.5 5", true},
    {"v 1 2 3e", "v 1 2 3", false},
    {"v 123456789012345678901234567890 0.000000000000000000000000000000000000001 1e39",
     "v 1.23457e+29 1e-39 inf", true},
    {"v -1e400 1e-400 1e999999999999", "v -inf 0 inf", true},
    {"v1 2 3", "v 1 2 3", true},
    {" \t v 1 2 3 \r", "v 1 2 3", true},
    {"v +.e1 1 2", "", false},
    {"vt 0.5 0.25 0", "vt 0.5 0.25", false},
    {"vn 0 1 0", "vn 0 1 0", true},
    {"f 1/1/1 2/2/2 3/3/3", "f 1 1 1, f 2 2 2, f 3 3 3, triangle", true},
    {"f 1//1 2//2 3//3 4//4", "f 1 -1 1, f 2 -1 2, f 3 -1 3, f 4 -1 4, quad", true},
    {"f 1/1/ 2/2/ 3/3/", "f 1 1 -1, f 2 2 -1, f 3 3 -1, triangle", true},
    {"f 1 / 1 / 1 2/2/2 3/3/3", "f 1 1 1, f 2 2 2, f 3 3 3, triangle", true},
    {"f 1 2 3", "", false},
    {"f 1/1/1 2/2/2", "f 1 1 1, f 2 2 2", false},
    {"f 1/1/1 2/2/2 3/3/3 4/4/4 5/5/5", "f 1 1 1, f 2 2 2, f 3 3 3, f 4 4 4", false},
    {"f -1/-1/-1 -2/-2/-2 -3/-3/-3", "f -1 -1 -1, f -2 -2 -2, f -3 -3 -3, triangle", true},
    {"f 2147483648/1/1 1/1/1 1/1/1", "", false},
    {"usemtl red  stone  ", "usemtl [red  stone  ]", true},
    {"mtllib  lib one.mtl", "mtllib [lib one.mtl]", true},
    {"o v 1 2 3", "", true},
};

TEST(ObjGrammar, EachLineFiresItsActionsInOrder) {
  loadertest::CapturedOutput quiet;
  for (const auto& row : rows) {
    WavefrontLoader loader("mesh.obj");
    loadertest::CallLog log;
    loader.vertexAction = [&log](float x, float y, float z) { log.add("v", x, y, z); };
    loader.normalAction = [&log](float x, float y, float z) { log.add("vn", x, y, z); };
    loader.texCoordAction = [&log](float u, float v) { log.add("vt", u, v); };
    loader.faceVertexAction = [&log](int v, int vt, int vn) { log.add("f", v, vt, vn); };
    loader.triangleEndAction = [&log] { log.add("triangle"); };
    loader.quadEndAction = [&log] { log.add("quad"); };
    loader.useMaterialAction = [&log](std::string name) { log.add("usemtl", "[" + name + "]"); };
    loader.parseFileFunction = [&log](std::string name, WavefrontLoader::LineParser) {
      log.add("mtllib", "[" + name + "]");
    };
    EXPECT_EQ(row.whole, loader.parseObjLine(row.line.c_str(), false)) << row.line;
    EXPECT_EQ(row.fired, log.text) << row.line;
  }
}

}  // namespace
