#include "system/loader/mtlgrammar.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "loader/loadertest.h"
#include "system/loader/wavefrontloader.h"

namespace {

// The fields of a record that differ from a new one's: no name, opaque black, shininess 0.
std::string changes(const System::Loader::WavefrontLoader::color& record) {
  std::ostringstream out;
  if (!record.name.empty()) out << " name[" << record.name << "]";
  const std::pair<const char*, const float*> colours[] = {
      {"Ka", record.ambient}, {"Kd", record.diffuse}, {"Ks", record.specular}};
  for (const auto& [key, c] : colours)
    if (c[0] != 0 || c[1] != 0 || c[2] != 0 || c[3] != 1)
      out << ' ' << key << '=' << c[0] << ',' << c[1] << ',' << c[2] << ',' << c[3];
  if (record.alpha != 1) out << " d=" << record.alpha;
  if (record.shininess != 0) out << " Ns=" << record.shininess;
  if (!record.texture.empty()) out << " map[" << record.texture << "]";
  return out.str().empty() ? "" : out.str().substr(1);
}

// Read for the OBJ file mtl/box.obj, so texture paths start with "mtl/".
const struct {
  std::string line;
  std::string changed;
  bool whole;
} rows[] = {
    {"# comment", "", true},
    {"newmtl red  stone  ", "name[red  stone  ]", true},
    {"newmtlX", "name[X]", true},
    {"Ka 0.25 0.5 1", "Ka=0.25,0.5,1,1", true},
    {"Kd .5 1. 2e-1", "Kd=0.5,1,0.2,1", true},
    {"Kd 1 1 1 1", "Kd=1,1,1,1", false},
    {"Ks 0.5 0.5 0.5", "Ks=0.5,0.5,0.5,1", true},
    {"map_Kd -s 2 2 1 wood.png", "map[mtl/-s 2 2 1 wood.png]", true},
    {"map_Kd  my wood.png ", "map[mtl/my wood.png ]", true},
    {"d 0.5", "d=0.5", true},
    {"Ns 10 20", "Ns=10", false},
    {"illum 10", "", false},
};

TEST(MtlGrammar, EachLineChangesTheRecordAsItsKeywordSays) {
  loadertest::CapturedOutput quiet;
  for (const auto& row : rows) {
    System::Loader::WavefrontLoader loader("mtl/box.obj");
    EXPECT_EQ(row.whole, loader.parseMtlLine(row.line.c_str(), false)) << row.line;
    EXPECT_EQ(row.changed, changes(loader.currentMaterial)) << row.line;
  }
}

}  // namespace
