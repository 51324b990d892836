#include "system/loader/wavefrontloader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <boost/unordered_map.hpp>
#include <functional>

#include "loader/loadertest.h"
#include "system/loader/keyedhash.h"

namespace {

using System::Loader::WavefrontLoader;

// A line, what parsing it does, and whether the grammar takes it whole.
struct Row {
  std::string line, effect;
  bool whole;
};

// "f" is a face vertex; numbers print with six significant digits.
const Row objRows[] = {
    {"v 1 2 3 4", "v 1 2 3", false},
    {"v 1 2", "", false},
    {"V 1 2 3", "", false},
    {"v1 2 3", "v 1 2 3", true},
    {"v 1e2 -.5 +.5e+1", "v 100 -0.5 5", true},
    {"v 1 2 3e", "v 1 2 3", false},
    {"v 123456789012345678901234567890 0.000000000000000000000000000000000000001 1e39",
     "v 1.23457e+29 1e-39 inf", true},
    {"v -1e400 1e-400 1e999999999999", "v -inf 0 inf", true},
    {" \t v 1 2 3 \r", "v 1 2 3", true},
    {"v +.e1 1 2", "", false},
    {"vt 0.5 0.25 0", "vt 0.5 0.25", false},
    {"vn 0 1 0", "vn 0 1 0", true},
    {"f 1/1/1 2/2/2 3/3/3", "f 1 1 1, f 2 2 2, f 3 3 3, triangle", true},
    {"f 1//1 2//2 3//3 4//4", "f 1 -1 1, f 2 -1 2, f 3 -1 3, f 4 -1 4, quad", true},
    {"f 1/1/ 2/2/ 3/3/", "f 1 1 -1, f 2 2 -1, f 3 3 -1, triangle", true},
    {"f 1 / 1 / 1 2/2/2 3/3/3", "f 1 1 1, f 2 2 2, f 3 3 3, triangle", true},
    {"f //1 //2 //3", "f -1 -1 1, f -1 -1 2, f -1 -1 3, triangle", true},
    {"f 1/1/1 2/2/2 3/3/3 //", "f 1 1 1, f 2 2 2, f 3 3 3, f -1 -1 -1, quad", true},
    {"f 1/1/ 2/2/2 3/3/3", "f 1 1 -1, f 2 2 2, f 3 3 3, triangle", true},
    {"f 1 2 3", "", false},
    {"f 1/1/1 2/2/2", "f 1 1 1, f 2 2 2", false},
    {"f 1/1/1 2/2/2 3/3/3 4/4/4 5/5/5", "f 1 1 1, f 2 2 2, f 3 3 3, f 4 4 4", false},
    {"f -1/-1/-1 -2/-2/-2 -3/-3/-3", "f -1 -1 -1, f -2 -2 -2, f -3 -3 -3, triangle", true},
    {"f 2147483648/1/1 1/1/1 1/1/1", "", false},
    {"usemtl red  stone  ", "usemtl red  stone  ", true},
    {"mtllib  lib one.mtl", "mtllib lib one.mtl", true},
    {"o v 1 2 3", "", true},
    {"g v 1 2 3", "", true},
    {"s 1", "", true},
    {"# v 1 2 3", "", true},
    {"", "", false},
    {"usemtl  ", "usemtl ", true},
    {"f 1/1/1 2/2/2 3/3/3 # c", "f 1 1 1, f 2 2 2, f 3 3 3", false},
    {"f 1/1/1 2//2 3/3/3", "f 1 1 1, f 2 -1 2, f 3 3 3, triangle", true},
};

TEST(ObjGrammar, EachLineFiresItsActionsInOrder) {
  loadertest::CapturedOutput quiet;
  for (const auto& row : objRows) {
    WavefrontLoader loader("mesh.obj");
    loadertest::CallLog log;
    loader.vertexAction = log.recorder("v");
    loader.normalAction = log.recorder("vn");
    loader.texCoordAction = log.recorder("vt");
    loader.faceVertexAction = log.recorder("f");
    loader.triangleEndAction = log.recorder("triangle");
    loader.quadEndAction = log.recorder("quad");
    loader.useMaterialAction = log.recorder("usemtl");
    loader.parseFileFunction = [&log](std::string name, auto) { log.add("mtllib", name); };
    EXPECT_EQ(row.whole, loader.parseObjLine(row.line.c_str(), false)) << row.line;
    EXPECT_EQ(row.effect, log.text) << row.line;
  }
}

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

// Read for the OBJ file a\b/mtl\box.obj: texture paths start with all up to its last separator.
const Row mtlRows[] = {
    {"# comment", "", true},
    {"newmtl red  stone  ", "name[red  stone  ]", true},
    {"Ka 0.25 0.5 1", "Ka=0.25,0.5,1,1", true},
    {"Kd .5 1. 2e-1", "Kd=0.5,1,0.2,1", true},
    {"Kd 1 1 1 1", "Kd=1,1,1,1", false},
    {"map_Kd -s 2 2 1 wood.png", "map[a\\b/mtl\\-s 2 2 1 wood.png]", true},
    {"map_Kd  my wood.png ", "map[a\\b/mtl\\my wood.png ]", true},
    {"d 0.5", "d=0.5", true},
    {"Ns 10 20", "Ns=10", false},
    {"illum 10", "", false},
    {"illum 2", "", true},
    {"Ni 1.5", "", true},
    {"Tr 0.5", "", false},
    {"Kd 1 1", "", false},
    {"d", "", false},
    {"ka 1 1 1", "", false},
    {" \tKa1 1 1", "Ka=1,1,1,1", true},
    {"newmtlX", "name[X]", true},
    {"Ks 1 2 3", "Ks=1,2,3,1", true},
};

TEST(MtlGrammar, EachLineChangesTheRecordAsItsKeywordSays) {
  loadertest::CapturedOutput quiet;
  for (const auto& row : mtlRows) {
    WavefrontLoader loader("a\\b/mtl\\box.obj");
    EXPECT_EQ(row.whole, loader.parseMtlLine(row.line.c_str(), false)) << row.line;
    EXPECT_EQ(row.effect, changes(loader.currentMaterial)) << row.line;
  }
}

// The counts (vertexCount, triangleCount, quadCount, hasNormals, hasTexCoords), then every call.
std::string emitted(const std::string& path, std::int32_t countLimit, std::int64_t repeatLimit,
                    const std::function<void()>& afterCount) {
  WavefrontLoader loader(path);
  loader.countLimit = countLimit;
  loader.repeatLimit = repeatLimit;
  loadertest::CallLog log;
  loader.countPass();
  afterCount();
  loader.fillPass();
  log.add("count", loader.vertexCount(), loader.triangleCount(), loader.quadCount(),
          loader.hasNormals(), loader.hasTexCoords());
  loader.vertexCallback = log.recorder("v");
  loader.normalCallback = log.recorder("n");
  loader.texCoordCallback = log.recorder("t");
  loader.triangleCallback = log.recorder("tri");
  loader.quadCallback = log.recorder("quad");
  loader.materialCallback = [&log](std::string, WavefrontLoader::color record) {
    record.texture.clear();  // the texture call follows
    log.add("m", changes(record));
  };
  loader.useMaterialCallback = log.recorder("use");
  loader.textureCallback = [&log](std::string p) { log.add("map", p.substr(p.rfind('/') + 1)); };
  loader.emitPass();
  return log.text;
}

// Standard error of a load, "@" standing for the scratch directory.
std::string tooMany(const std::string& kind) {
  return "ERROR: more than 3 " + kind + " in file @mesh.obj; it loads as an empty mesh\n";
}
std::string inEveryPass(const std::string& lines) { return lines + lines + lines; }

const std::string longName(5000, 'n');
const std::string library = "m name[wood], map steel.png, m name[steel], map steel.png";
const std::string gone = "m name[a] Kd=0,0.5,0,1, m name[b] Kd=0,0.5,0,1";

const struct {
  std::string obj, calls, errors = "";
  std::int32_t countLimit = System::Loader::maxElementCount;
  std::string removedAfterCount = "";
  std::int64_t repeatLimit = System::Loader::maxRepeatedMaterialRecords;
  std::string objName = "mesh.obj";
} cases[] = {
    // New face vertices come out just before the face that first names them.
    {"v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nvt 5 6\nvn 7 8 9\nf 1/1/1 2// 3//\nf 1/1/1 3// 4//\n",
     "count 4 2 0 1 1, v 1 0 0, n 7 8 9, t 5 6, v 2 0 0, v 3 0 0, tri 0 1 2, v 4 0 0, tri 0 2 3"},
    // Indices reach forward; a negative one is absent, a missing position the origin. The first
    // negative index of the load gives a line.
    {"f 1//1 1//2 2/1/ -2/-1/-3\nv 5 6 7\nv 8 9 1\nvn 0 1 0\nvn 1 0 0\nvt 2 3\nf 1//1 1//-4 1//1\n",
     "count 5 1 1 1 1, v 5 6 7, n 0 1 0, v 5 6 7, n 1 0 0, v 8 9 1, t 2 3, v 0 0 0, quad 0 1 2 3, "
     "v 5 6 7, tri 0 4 0",
     "ERROR: face index -2 is negative and read as absent in file @mesh.obj\n"},
    // A face line that makes no face still numbers its face vertices.
    {"v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2//\nf 3// 1// 2//\n",
     "count 3 1 0 0 0, v 0 0 0, v 1 0 0, v 1 1 0, tri 2 0 1",
     "ERROR: face lines that make no face in file @mesh.obj: 1, the first is line 4\n"},
    // Face lines the grammar does not take are reported once, with the first one's line.
    {"v 0 0 0\nf 1// 1// 1//\nf 1 2 3\nf 1/2 3/4 5/6\nf 1// 1// 1// 1// 1//\nf 1// 1// 1// #\n"
     "  f\nusemtl x\n",
     "count 1 1 0 0 0, v 0 0 0, tri 0 0 0, use x",
     "ERROR: face lines that make no face in file @mesh.obj: 5, the first is line 3\n"},
    {"# " + std::string(300, 'c') + "\nv 1 2 3" + std::string(100000, ' ') + "\nusemtl " +
         longName + "\nv 4 5 6\nv 7 8 9\nf 1// 2// 3//\n",
     "count 3 1 0 0 0, use " + longName + ", v 1 2 3, v 4 5 6, v 7 8 9, tri 0 1 2"},
    // A bad index gives the origin or zeros, and the first one a line.
    {"v 1 1 1\nv 2 2 2\nvn 0 0 1\nf 0// 1//1 7//9\nf 1//1 1//0 2//1\n",
     "count 5 2 0 1 0, v 0 0 0, v 1 1 1, n 0 0 1, v 0 0 0, n 0 0 0, tri 0 1 2, v 1 1 1, n 0 0 0, "
     "v 2 2 2, n 0 0 1, tri 1 3 4",
     "ERROR: face index 0 names none of the 2 v lines of file @mesh.obj\n"},
    // Libraries are read in every pass: the emit pass starts from the record the fill pass left,
    // so "wood" gets steel's texture there.
    {"mtllib lib.mtl\nusemtl steel\nmtllib lib.mtl\n",
     "count 0 0 0 0 0, " + library + ", use steel, " + library},
    // A library is read once per load: removed after the count pass, it still delivers at every
    // line that names it, by any name. Within a material the last value of a field counts.
    {"mtllib gone.mtl\nusemtl a\nmtllib ./gone.mtl\nmtllib gone.mtl\n",
     "count 0 0 0 0 0, " + gone + ", use a, " + gone + ", " + gone, "", 2147483647, "gone.mtl"},
    // A line longer than 32 MiB: its file is reported and counts as unreadable; a library that
    // cannot be read is reported once. The 1 TB library is sparse: one line without an end.
    {"mtllib huge.mtl\nmtllib huge.mtl\nmtllib lib.mtl\n", "count 0 0 0 0 0, " + library,
     "ERROR: could not read file @huge.mtl: line 2 is longer than 33554432 bytes\n"},
    // A library cut short delivers the materials completed before the cut.
    {"mtllib cut.mtl\n", "count 0 0 0 0 0, m name[a] Kd=1,0,0,1",
     "ERROR: could not read file @cut.mtl: line 6 is longer than 33554432 bytes\n"},
    {"mtllib lib.mtl\nv 1 2 3\n" + std::string((32 << 20) + 1, 'x') + "\nv 4 5 6\n",
     "count 0 0 0 0 0",
     "ERROR: could not read file @mesh.obj: line 3 is longer than 33554432 bytes\n"},
    // The alpha goes into all three colours; no texture path, no texture call.
    {"mtllib a.mtl\n", "count 0 0 0 0 0, m name[a] Ka=0,0,0,0.5 Kd=0,0,0,0.5 Ks=0,0,0,0.5 d=0.5"},
    // Only regular files are read as libraries, links followed; the next library still is.
    {"mtllib \nmtllib fifo\nmtllib zero\nmtllib ../../../../../../../../../../dev/zero\n"
     "mtllib lib.mtl\n",
     "count 0 0 0 0 0, " + library,
     inEveryPass("ERROR: could not open file @\nERROR: could not open file @fifo\n"
                 "ERROR: could not open file @zero\n"
                 "ERROR: could not open file @../../../../../../../../../../dev/zero\n")},
    // More lines of a kind, or face vertices, than a count may hold: an empty mesh, no library.
    {"v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1// 2// 3//\n",
     "count 3 1 0 0 0, v 1 2 3, v 4 5 6, v 7 8 9, tri 0 1 2", "", 3},
    {"mtllib lib.mtl\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\n", "count 0 0 0 0 0",
     tooMany("positions"), 3},
    {"vn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\n", "count 0 0 0 0 0", tooMany("normals"), 3},
    {"vt 0 0\nvt 0 0\nvt 0 0\nvt 0 0\n", "count 0 0 0 0 0", tooMany("texture coordinates"), 3},
    {"v 1 2 3\nf 1// 1// 1// 1//\n", "count 0 0 0 0 0", tooMany("face vertices"), 3},
    // A library delivers whole where a pass first names it; naming libraries again may deliver
    // repeatLimit records (lib.mtl has 4) in each pass, and no more from the first line past it.
    {"mtllib lib.mtl\nmtllib lib.mtl\nmtllib c.mtl\nmtllib lib.mtl\nmtllib c.mtl\n",
     "count 0 0 0 0 0, " + library + ", " + library + ", m name[c], map steel.png",
     "ERROR: more than 4 material records delivered again by the mtllib lines of file "
     "@mesh.obj; from line 4 on, a library named again delivers nothing\n",
     System::Loader::maxElementCount, "", 4},
    // Libraries are looked for beside the OBJ file: its path up to its last slash or backslash.
    {"mtllib lib.mtl\n", "count 0 0 0 0 0, m name[back]", "", System::Loader::maxElementCount, "",
     System::Loader::maxRepeatedMaterialRecords, "x\\mesh.obj"},
};

// 2000 triples that a fixed hash (boost's hash_combine of the indices, spread by 2^64 / phi) puts
// in the first 16 slots of a 4096-slot table, one run of 2000 there, each lie near their own slot.
TEST(WavefrontLoader, FaceVerticesAimedAtOneCornerOfAFixedHashSpreadOut) {
  WavefrontLoader::FaceVertexSet set(50);
  for (std::int32_t v = 1; set.size() < 2000; ++v) {
    std::size_t seed = 0;
    for (const int index : {v, 7, 9}) boost::hash_combine(seed, index);
    if ((std::uint64_t(seed) * 0x9E3779B97F4A7C15ULL) >> 56 == 0) set.insert({0, v, 7, 9});
  }
  EXPECT_GT(128u, set.longestProbe());
}

// Material names and texture paths that Boost's string hash puts in one bucket spread out.
TEST(WavefrontLoader, NamesAimedAtOneBucketOfAFixedHashSpreadOut) {
  boost::unordered_map<std::string, int> fixed;
  boost::unordered_map<std::string, int, System::Loader::KeyedStringHash> keyed;
  fixed.rehash(4096);
  keyed.rehash(4096);
  for (int n = 0; keyed.size() < 1000; ++n) {
    const std::string name = "material" + std::to_string(n);
    if (fixed.bucket(name) == 0) keyed[name] = n;
  }
  ASSERT_EQ(fixed.bucket_count(), keyed.bucket_count());
  std::size_t fullest = 0;
  for (std::size_t b = 0; b < keyed.bucket_count(); ++b)
    fullest = std::max(fullest, keyed.bucket_size(b));
  EXPECT_GT(12u, fullest);
}

TEST(WavefrontLoader, CountsStopAtTheLargestSigned32BitValue) {
  std::int32_t counter = System::Loader::maxElementCount - 1;
  EXPECT_TRUE(System::Loader::countUpTo(counter, System::Loader::maxElementCount));
  EXPECT_FALSE(System::Loader::countUpTo(counter, System::Loader::maxElementCount));
  EXPECT_EQ(2147483647, counter);
}

TEST(WavefrontLoader, EmitPassDeliversFaceVerticesThenTheirFaceInFileOrder) {
  loadertest::ScratchDir dir;
  dir.write("lib.mtl", "newmtl wood\nnewmtl steel\nmap_Kd steel.png\n");
  dir.write("a.mtl", "newmtl a\nd 0.5\n");
  dir.write("gone.mtl", "newmtl a\nKd 1 0 0\nKd 0 0.5 0\nnewmtl\nnewmtl\nnewmtl b\n");
  dir.write("c.mtl", "newmtl c\n");
  dir.write("x\\lib.mtl", "newmtl back\n");
  const std::string cut =
      dir.write("cut.mtl", "newmtl a\nKd 1 0 0\nnewmtl b\nKd 0 0 1\nmap_Kd b.png\n");
  ASSERT_EQ(0, ::truncate(cut.c_str(), 1LL << 40));
  ASSERT_EQ(0, ::truncate(dir.write("huge.mtl", "newmtl big\n").c_str(), 1LL << 40));
  ASSERT_EQ(0, ::mkfifo(dir.path("fifo").c_str(), 0600));
  loadertest::fs::create_symlink("/dev/zero", dir.path("zero"));
  ASSERT_TRUE(loadertest::refusedWithoutBlocking({dir.path("fifo"), dir.path("zero")}));
  for (const auto& c : cases) {
    const std::string path = dir.write(c.objName, c.obj);
    loadertest::CapturedOutput output;
    const auto remove = [&] {
      if (!c.removedAfterCount.empty()) loadertest::fs::remove(dir.path(c.removedAfterCount));
    };
    EXPECT_EQ(c.calls, emitted(path, c.countLimit, c.repeatLimit, remove)) << c.obj.substr(0, 99);
    EXPECT_EQ(std::regex_replace(c.errors, std::regex("@"), dir.path("") + "/"),
              loadertest::unprefixed(output.err.str()))
        << c.obj.substr(0, 99);
  }
}

}  // namespace
