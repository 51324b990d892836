#include "system/loader/mtlgrammar.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "loader/loadertest.h"
#include "system/loader/wavefrontloader.h"

namespace {

using System::Loader::WavefrontLoader;
typedef WavefrontLoader::color Record;

std::string rgba(const float* c) {
  std::ostringstream out;
  out << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
  return out.str();
}

// The fields of a record that differ from a new one's: no name, opaque black, shininess 0.
std::string changes(const Record& record) {
  std::ostringstream out;
  if (!record.name.empty()) out << " name[" << record.name << "]";
  if (rgba(record.ambient) != "0,0,0,1") out << " Ka=" << rgba(record.ambient);
  if (rgba(record.diffuse) != "0,0,0,1") out << " Kd=" << rgba(record.diffuse);
  if (rgba(record.specular) != "0,0,0,1") out << " Ks=" << rgba(record.specular);
  if (record.alpha != 1) out << " d=" << record.alpha;
  if (record.shininess != 0) out << " Ns=" << record.shininess;
  if (!record.texture.empty()) out << " map[" << record.texture << "]";
  return out.str().substr(out.str().empty() ? 0 : 1);
}

struct Row {
  std::string line;
  std::string changed;
  bool whole;
};

// Read for the OBJ file mtl/box.obj, so texture paths start with "mtl/".
const Row rows[] = {
    {"# comment", "", true},
    {"", "", true},
    {" \t ", "", true},
    {"newmtl red  stone  ", "name[red  stone  ]", true},
    {"newmtlX", "name[X]", true},
    {"newmtl", "", true},
    {"Ka 0.25 0.5 1", "Ka=0.25,0.5,1,1", true},
    {"  Ka 1 1 1", "Ka=1,1,1,1", true},
    {"ka 1 1 1", "", false},
    {"Kd .5 1. 2e-1", "Kd=0.5,1,0.2,1", true},
    {"Kd1 1 1", "Kd=1,1,1,1", true},
    {"Kd 1 1", "", false},
    {"Kd 1 1 1 1", "Kd=1,1,1,1", false},
    {"Ks 0.5 0.5 0.5", "Ks=0.5,0.5,0.5,1", true},
    {"map_Kd tex/wood.png", "map[mtl/tex/wood.png]", true},
    {"map_Kd -s 2 2 1 wood.png", "map[mtl/-s 2 2 1 wood.png]", true},
    {"map_Kd  my wood.png ", "map[mtl/my wood.png ]", true},
    {"d 0.5", "d=0.5", true},
    {"d", "", false},
    {"Ns 10 20", "Ns=10", false},
    {"Ns", "", false},
    {"Ni 1.5", "", true},
    {"illum 2", "", true},
    {"illum 10", "", false},
    {"Tr 0.5", "", false},
    {"map_Ka tex.png", "", false},
};

TEST(MtlGrammar, EachLineChangesTheRecordAsItsKeywordSays) {
  loadertest::CapturedOutput quiet;
  for (const Row& row : rows) {
    WavefrontLoader loader("mtl/box.obj");
    const bool whole = loader.parseMtlLine(row.line.c_str(), false);
    EXPECT_EQ(row.changed, changes(loader.currentMaterial)) << "line: \"" << row.line << "\"";
    EXPECT_EQ(row.whole, whole) << "line: \"" << row.line << "\"";
  }
}

}  // namespace
