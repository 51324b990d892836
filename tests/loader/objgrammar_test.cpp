#include "system/loader/objgrammar.h"

#include <gtest/gtest.h>

#include <string>

#include "loader/loadertest.h"
#include "system/loader/wavefrontloader.h"

namespace {

using loadertest::CallLog;
using System::Loader::WavefrontLoader;

struct Row {
  std::string line;
  std::string fired;  // "f" is a face vertex; numbers print with six significant digits
  bool whole;
};

const Row rows[] = {
    {"v 1 2 3 4", "v 1 2 3", false},
    {"v 1 2", "", false},
    {"v 1e2 -.5 3.", "v 100 -0.5 3", true},
    {"v +1 -2 +.5e+1", "v 1 -2 5", true},
    {"v 2.5e+1 1E-2 .5", "v 25 0.01 0.5", true},
    {"v 1 2 3e", "v 1 2 3", false},
    {"v 3.4028235e38 -0 7.e-", "v 3.40282e+38 -0 7", false},
    {"v 123456789012345678901234567890 0.000000000000000000000000000000000000001 1e39",
     "v 1.23457e+29 1e-39 inf", true},
    {"v -1e400 1e-400 1e999999999999", "v -inf 0 inf", true},
    {"v 1 2 3 # after", "v 1 2 3", false},
    {"v 1, 2, 3", "", false},
    {"V 1 2 3", "", false},
    {"v1 2 3", "v 1 2 3", true},
    {" \t v 1 2 3 \r", "v 1 2 3", true},
    {"v . 1 2", "", false},
    {"v +.e1 1 2", "", false},
    {"v inf 1 2", "", false},
    {"vt 0.5 0.25 0", "vt 0.5 0.25", false},
    {"vt 1", "", false},
    {"vn 0 1 0", "vn 0 1 0", true},
    {"vn 1 2", "", false},
    {"f 1/1/1 2/2/2 3/3/3", "f 1 1 1, f 2 2 2, f 3 3 3, triangle", true},
    {"f 1//1 2//2 3//3 4//4", "f 1 -1 1, f 2 -1 2, f 3 -1 3, f 4 -1 4, quad", true},
    {"f 1/1/ 2/2/ 3/3/", "f 1 1 -1, f 2 2 -1, f 3 3 -1, triangle", true},
    {"f 1/1/1 2//2 3/3/3", "f 1 1 1, f 2 -1 2, f 3 3 3, triangle", true},
    {"f 1 / 1 / 1 2/2/2 3/3/3", "f 1 1 1, f 2 2 2, f 3 3 3, triangle", true},
    {"f /1/ /2/ /3/", "f -1 1 -1, f -1 2 -1, f -1 3 -1, triangle", true},
    {"f 1 2 3", "", false},
    {"f 1/2 3/4 5/6", "", false},
    {"f 1/1/1 2/2/2", "f 1 1 1, f 2 2 2", false},
    {"f 1/1/1 2/2/2 3/3/3 4/4/4 5/5/5", "f 1 1 1, f 2 2 2, f 3 3 3, f 4 4 4", false},
    {"f 1/1/1 2/2/2 3/3/3 # note", "f 1 1 1, f 2 2 2, f 3 3 3", false},
    {"f -1/-1/-1 -2/-2/-2 -3/-3/-3", "f -1 -1 -1, f -2 -2 -2, f -3 -3 -3, triangle", true},
    {"f 2147483647/1/1 1/1/1 1/1/1", "f 2147483647 1 1, f 1 1 1, f 1 1 1, triangle", true},
    {"f 2147483648/1/1 1/1/1 1/1/1", "", false},
    {"f -2147483648/+1/1 1/1/1 1/1/1", "f -2147483648 1 1, f 1 1 1, f 1 1 1, triangle", true},
    {"f 1/-2147483649/1 1/1/1 1/1/1", "", false},
    {"usemtl   ", "usemtl []", true},
    {"usemtl  wood ", "usemtl [wood ]", true},
    {"usemtl red  stone  ", "usemtl [red  stone  ]", true},
    {"mtllib  lib one.mtl", "mtllib [lib one.mtl]", true},
    {"# any text", "", true},
    {"g group", "", true},
    {"s off", "", true},
    {"o v 1 2 3", "", true},
    {"", "", false},
    {"   ", "", false},
    {"vp 1 2", "", false},
    {"F 1/1/1 2/2/2 3/3/3", "", false},
};

TEST(ObjGrammar, EachLineFiresItsActionsInOrder) {
  loadertest::CapturedOutput quiet;
  for (const Row& row : rows) {
    WavefrontLoader loader("mesh.obj");
    CallLog log;
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
    const bool whole = loader.parseObjLine(row.line.c_str(), false);
    EXPECT_EQ(row.fired, log.text) << "line: \"" << row.line << "\"";
    EXPECT_EQ(row.whole, whole) << "line: \"" << row.line << "\"";
  }
}

}  // namespace
