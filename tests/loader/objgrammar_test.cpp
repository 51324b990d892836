#include "system/loader/objgrammar.h"

#include <gtest/gtest.h>

#include <boost/bind/bind.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "loader/ressourcetestfiles.h"
#include "system/loader/wavefrontloader.h"

namespace {

using namespace boost::placeholders;
using System::Loader::WavefrontLoader;

// Writes every action that a line fires into one line of text, in firing order.
class ActionLog {
 public:
  explicit ActionLog(WavefrontLoader& loader) {
    loader.vertexAction = boost::bind(&ActionLog::numbers, this, "v", _1, _2, _3);
    loader.normalAction = boost::bind(&ActionLog::numbers, this, "vn", _1, _2, _3);
    loader.texCoordAction = boost::bind(&ActionLog::numbers, this, "vt", _1, _2, 0.0f);
    loader.faceVertexAction = boost::bind(&ActionLog::faceVertex, this, _1, _2, _3);
    loader.triangleEndAction = boost::bind(&ActionLog::word, this, "triangle");
    loader.quadEndAction = boost::bind(&ActionLog::word, this, "quad");
    loader.useMaterialAction = boost::bind(&ActionLog::name, this, "usemtl", _1);
    loader.parseFileFunction = boost::bind(&ActionLog::name, this, "mtllib", _1);
  }

  std::string text() const { return out.str(); }

 private:
  void numbers(const char* kind, float a, float b, float c) {
    out << kind << "(" << a << "," << b;
    if (std::string(kind) != "vt") out << "," << c;
    out << ") ";
  }
  void faceVertex(int v, int vt, int vn) { out << "f(" << v << "," << vt << "," << vn << ") "; }
  void word(const char* text) { out << text << " "; }
  void name(const char* kind, const std::string& text) { out << kind << "[" << text << "] "; }

  std::ostringstream out;
};

struct Row {
  std::string line;
  std::string fired;
  bool whole;
};

const std::vector<Row> rows = {
    {"v 1 2 3 4", "v(1,2,3) ", false},
    {"v 1 2", "", false},
    {"v 1e2 -.5 3.", "v(100,-0.5,3) ", true},
    {"v +1 -2 +.5e+1", "v(1,-2,5) ", true},
    {"v 1 2 3e", "v(1,2,3) ", false},
    {"v 1 2 3 # after", "v(1,2,3) ", false},
    {"v 1, 2, 3", "", false},
    {"V 1 2 3", "", false},
    {"v1 2 3", "v(1,2,3) ", true},
    {" \t v 1 2 3 \r", "v(1,2,3) ", true},
    {"v . 1 2", "", false},
    {"v inf 1 2", "", false},
    {"vt 0.5 0.25 0", "vt(0.5,0.25) ", false},
    {"vt 1", "", false},
    {"vn 0 1 0", "vn(0,1,0) ", true},
    {"vn 1 2", "", false},
    {"f 1/1/1 2/2/2 3/3/3", "f(1,1,1) f(2,2,2) f(3,3,3) triangle ", true},
    {"f 1//1 2//2 3//3 4//4", "f(1,-1,1) f(2,-1,2) f(3,-1,3) f(4,-1,4) quad ", true},
    {"f 1/1/ 2/2/ 3/3/", "f(1,1,-1) f(2,2,-1) f(3,3,-1) triangle ", true},
    {"f 1/1/1 2//2 3/3/3", "f(1,1,1) f(2,-1,2) f(3,3,3) triangle ", true},
    {"f 1 / 1 / 1 2/2/2 3/3/3", "f(1,1,1) f(2,2,2) f(3,3,3) triangle ", true},
    {"f /1/ /2/ /3/", "f(-1,1,-1) f(-1,2,-1) f(-1,3,-1) triangle ", true},
    {"f 1 2 3", "", false},
    {"f 1/2 3/4 5/6", "", false},
    {"f 1/1/1 2/2/2", "f(1,1,1) f(2,2,2) ", false},
    {"f 1/1/1 2/2/2 3/3/3 4/4/4 5/5/5", "f(1,1,1) f(2,2,2) f(3,3,3) f(4,4,4) ", false},
    {"f 1/1/1 2/2/2 3/3/3 # note", "f(1,1,1) f(2,2,2) f(3,3,3) ", false},
    {"f -1/-1/-1 -2/-2/-2 -3/-3/-3", "f(-1,-1,-1) f(-2,-2,-2) f(-3,-3,-3) triangle ", true},
    {"f 2147483647/1/1 1/1/1 1/1/1", "f(2147483647,1,1) f(1,1,1) f(1,1,1) triangle ", true},
    {"f 2147483648/1/1 1/1/1 1/1/1", "", false},
    {"f -2147483648/+1/1 1/1/1 1/1/1", "f(-2147483648,1,1) f(1,1,1) f(1,1,1) triangle ", true},
    {"f 1/-2147483649/1 1/1/1 1/1/1", "", false},
    {"usemtl   ", "usemtl[] ", true},
    {"usemtl  wood ", "usemtl[wood ] ", true},
    {"usemtl red  stone  ", "usemtl[red  stone  ] ", true},
    {"mtllib  lib one.mtl", "mtllib[lib one.mtl] ", true},
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
  ressourcetest::CapturedOutput quiet;
  for (const Row& row : rows) {
    WavefrontLoader loader("mesh.obj");
    ActionLog log(loader);
    const bool whole = loader.parseObjLine(row.line.c_str(), false);
    EXPECT_EQ(row.fired, log.text()) << "line: \"" << row.line << "\"";
    EXPECT_EQ(row.whole, whole) << "line: \"" << row.line << "\"";
  }
}

TEST(ObjGrammar, EndCallFiresNothing) {
  ressourcetest::CapturedOutput quiet;
  WavefrontLoader loader("mesh.obj");
  ActionLog log(loader);
  EXPECT_TRUE(loader.parseObjLine(nullptr, true));
  EXPECT_EQ("", log.text());
}

TEST(ObjGrammar, ActionsBoundAfterConstructionAreTheOnesFired) {
  ressourcetest::CapturedOutput quiet;
  WavefrontLoader loader("mesh.obj");
  int vertices = 0;
  loader.parseObjLine("v 1 2 3", false);
  loader.vertexAction = boost::bind(System::Loader::increment, boost::ref(vertices));
  loader.parseObjLine("v 1 2 3", false);
  EXPECT_EQ(1, vertices);
}

}  // namespace
