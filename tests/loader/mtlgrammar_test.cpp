#include "system/loader/mtlgrammar.h"

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
typedef WavefrontLoader::color Record;

std::string rgba(const float* c) {
  std::ostringstream out;
  out << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
  return out.str();
}

// The fields of a record that differ from a new record's.
std::string changes(const Record& record) {
  const Record fresh;
  std::ostringstream out;
  if (record.name != fresh.name) out << "name[" << record.name << "] ";
  if (rgba(record.ambient) != rgba(fresh.ambient)) out << "Ka=" << rgba(record.ambient) << " ";
  if (rgba(record.diffuse) != rgba(fresh.diffuse)) out << "Kd=" << rgba(record.diffuse) << " ";
  if (rgba(record.specular) != rgba(fresh.specular)) out << "Ks=" << rgba(record.specular) << " ";
  if (record.alpha != fresh.alpha) out << "d=" << record.alpha << " ";
  if (record.shininess != fresh.shininess) out << "Ns=" << record.shininess << " ";
  if (record.texture != fresh.texture) out << "map[" << record.texture << "] ";
  return out.str();
}

struct Row {
  std::string line;
  std::string changed;
  bool whole;
};

// Read for the OBJ file mtl/box.obj, so texture paths start with "mtl/".
const std::vector<Row> rows = {
    {"# comment", "", true},
    {"", "", true},
    {" \t ", "", true},
    {"newmtl red  stone  ", "name[red  stone  ] ", true},
    {"newmtlX", "name[X] ", true},
    {"newmtl", "", true},
    {"Ka 0.25 0.5 1", "Ka=0.25,0.5,1,1 ", true},
    {"  Ka 1 1 1", "Ka=1,1,1,1 ", true},
    {"ka 1 1 1", "", false},
    {"Kd .5 1. 2e-1", "Kd=0.5,1,0.2,1 ", true},
    {"Kd1 1 1", "Kd=1,1,1,1 ", true},
    {"Kd 1 1", "", false},
    {"Kd 1 1 1 1", "Kd=1,1,1,1 ", false},
    {"Ks 0.5 0.5 0.5", "Ks=0.5,0.5,0.5,1 ", true},
    {"map_Kd tex/wood.png", "map[mtl/tex/wood.png] ", true},
    {"map_Kd -s 2 2 1 wood.png", "map[mtl/-s 2 2 1 wood.png] ", true},
    {"map_Kd  my wood.png ", "map[mtl/my wood.png ] ", true},
    {"d 0.5", "d=0.5 ", true},
    {"d", "", false},
    {"Ns 10 20", "Ns=10 ", false},
    {"Ns", "", false},
    {"Ni 1.5", "", true},
    {"illum 2", "", true},
    {"illum 10", "", false},
    {"Tr 0.5", "", false},
    {"map_Ka tex.png", "", false},
};

TEST(MtlGrammar, EachLineChangesTheRecordAsItsKeywordSays) {
  ressourcetest::CapturedOutput quiet;
  for (const Row& row : rows) {
    WavefrontLoader loader("mtl/box.obj");
    const bool whole = loader.parseMtlLine(row.line.c_str(), false);
    EXPECT_EQ(row.changed, changes(loader.currentMaterial)) << "line: \"" << row.line << "\"";
    EXPECT_EQ(row.whole, whole) << "line: \"" << row.line << "\"";
  }
}

// Records each delivered material and texture in order.
class Deliveries {
 public:
  explicit Deliveries(WavefrontLoader& loader) {
    loader.materialAction = boost::bind(&Deliveries::material, this, _1, _2);
    loader.textureAction = boost::bind(&Deliveries::texture, this, _1);
  }
  std::vector<std::string> seen;
  std::vector<Record> records;

 private:
  void material(const std::string& name, const Record& record) {
    seen.push_back("material " + name);
    records.push_back(record);
  }
  void texture(const std::string& path) { seen.push_back("texture " + path); }
};

void feed(WavefrontLoader& loader, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) loader.parseMtlLine(line.c_str(), false);
  loader.parseMtlLine(nullptr, true);
}

TEST(MtlGrammar, MaterialIsDeliveredAtTheNextNewmtlOrTheEndWithAlphaInEveryColour) {
  ressourcetest::CapturedOutput quiet;
  WavefrontLoader loader("box.obj");
  Deliveries got(loader);
  loader.parseMtlLine("newmtl a", false);
  loader.parseMtlLine("Kd 1 0 0", false);
  loader.parseMtlLine("d 0.5", false);
  EXPECT_TRUE(got.seen.empty());
  loader.parseMtlLine("newmtl b", false);
  loader.parseMtlLine("Kd 0 1 0", false);
  ASSERT_EQ(std::vector<std::string>{"material a"}, got.seen);
  EXPECT_TRUE(loader.parseMtlLine(nullptr, true));
  ASSERT_EQ(2u, got.records.size());
  EXPECT_EQ("1,0,0,0.5", rgba(got.records[0].diffuse));
  EXPECT_EQ("0,0,0,0.5", rgba(got.records[0].ambient));
  EXPECT_EQ("0,0,0,0.5", rgba(got.records[0].specular));
  EXPECT_EQ("b", got.records[1].name);
  EXPECT_EQ("0,1,0,0.5", rgba(got.records[1].diffuse));
  EXPECT_EQ("", loader.currentMaterial.name);
}

TEST(MtlGrammar, ValuesAndTexturePathCarryOverToTheNextMaterial) {
  ressourcetest::CapturedOutput quiet;
  WavefrontLoader loader("mtl/box.obj");
  Deliveries got(loader);
  feed(loader, {"Ns 7", "newmtl a", "map_Kd a.png", "newmtl b", "Ks 1 1 1"});
  const std::vector<std::string> expected = {"material a", "texture mtl/a.png", "material b",
                                             "texture mtl/a.png"};
  EXPECT_EQ(expected, got.seen);
  EXPECT_EQ(7.0f, got.records[1].shininess);
  EXPECT_EQ("1,1,1,1", rgba(got.records[1].specular));
}

TEST(MtlGrammar, ShininessIsZeroBeforeAnyNsLine) {
  ressourcetest::CapturedOutput quiet;
  WavefrontLoader loader("box.obj");
  Deliveries got(loader);
  feed(loader, {"newmtl plain"});
  ASSERT_EQ(1u, got.records.size());
  EXPECT_EQ(0.0f, got.records[0].shininess);
}

TEST(MtlGrammar, EmptyLibraryDeliversNothingAndEndCallClosesTheOpenMaterial) {
  ressourcetest::CapturedOutput quiet;
  WavefrontLoader loader("box.obj");
  Deliveries got(loader);
  feed(loader, {});
  EXPECT_TRUE(got.seen.empty());
  feed(loader, {"newmtl same", "newmtl same"});
  EXPECT_EQ((std::vector<std::string>{"material same", "material same"}), got.seen);
}

}  // namespace
