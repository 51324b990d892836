#include "system/loader/ressourcemanager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>
#include <utility>

#include "loader/loadertest.h"

namespace System {
namespace Loader {

// Keeps the manager's material table and current material, empties the table, and puts both back:
// the table lives as long as the process, and a test that left names in it would change what
// later tests print.
class MaterialTableSnapshot {
 public:
  explicit MaterialTableSnapshot(RessourceManager& manager)
      : manager(manager), materials(manager.materials), current(manager.currentMaterial) {
    manager.materials.clear();
  }
  ~MaterialTableSnapshot() {
    manager.materials = materials;
    manager.currentMaterial = current;
  }

 private:
  RessourceManager& manager;
  const decltype(RessourceManager::materials) materials;
  const boost::shared_ptr<Data::Geometry::Material> current;
};

}  // namespace Loader
}  // namespace System

namespace {

// While set, the process can make no pipe, as at its descriptor limit. The decoding sandbox's pipe
// is made through the C library and fails; the sanitizers' own pipes are system calls of theirs
// and still work, where a lowered descriptor limit would fail them too.
bool pipesFail = false;

}  // namespace

extern "C" int pipe2(int ends[2], int flags) noexcept {
  if (pipesFail) {
    errno = EMFILE;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_pipe2, ends, flags));
}

namespace {

using Data::Geometry::Mesh;
using loadertest::pixelsOf;
namespace fs = loadertest::fs;

// Output stays captured for the whole test; a check looks for its own lines. Each test starts
// with an empty material table and leaves the table as it found it.
struct RessourceManagerTest : testing::Test {
  System::Loader::RessourceManager& manager = *System::Loader::RessourceManager::getInstance();
  System::Loader::MaterialTableSnapshot table{manager};
  loadertest::ScratchDir dir;
  loadertest::CapturedOutput output;
};

// The lines of the text that start with the prefix.
std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  }
  return lines;
}

// Each vertex with its normal and texture coordinate if the mesh has them, the faces, then the
// material of each face (of each three vertices in a mesh without faces).
std::string describe(const Mesh& mesh) {
  loadertest::CallLog log;
  for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
    log.add("v", mesh.vertices[k].x);
    if (!mesh.normals.empty()) log.add("n", mesh.normals.at(k).x, mesh.normals.at(k).y);
    if (!mesh.texCoords.empty()) log.add("t", mesh.texCoords.at(k).u);
  }
  for (const auto& t : mesh.triangles) log.add("tri", t.a, t.b, t.c);
  for (const auto& q : mesh.quads) log.add("quad", q.a, q.b, q.c, q.d);
  for (const auto& material : mesh.materials) log.add("m", material ? material->name : "(none)");
  return log.text;
}

// Only regular files are read, links followed: a directory, a FIFO (whose open would block) or an
// endless device cannot be opened, for readFile once, for loadMesh once per pass (an empty mesh).
// Nor can a text longer than 64 MiB: a sparse file of 1 TB is refused without being read.
TEST_F(RessourceManagerTest, ReadFileGivesTheTextUpToItsFirstZeroByteOrOneLineWhenItCannot) {
  EXPECT_EQ("a {\r\n\tb;\n}\n\n", manager.readFile(dir.write("a", "a {\r\n\tb;\n}\n\n")));
  EXPECT_EQ("abc", manager.readFile(dir.write("b", std::string("abc\0def", 7))));
  EXPECT_EQ("", manager.readFile(dir.write("c", "")));
  loadertest::fs::create_symlink(dir.path("b"), dir.path("link"));
  EXPECT_EQ("abc", manager.readFile(dir.path("link")));
  const std::string limit = dir.write("limit", "abc"), over = dir.write("over", "abc");
  const std::string huge = dir.write("huge", "abc");
  ASSERT_EQ(0, ::truncate(limit.c_str(), 64 << 20) | ::truncate(over.c_str(), (64 << 20) + 1) |
                   ::truncate(huge.c_str(), 1LL << 40));
  EXPECT_EQ("abc", manager.readFile(limit));
  EXPECT_EQ("", output.out.str());
  EXPECT_EQ("", manager.readFile(over));
  EXPECT_EQ("", manager.readFile(huge));
  EXPECT_EQ("ERROR: could not open file " + over + "\nERROR: could not open file " + huge + "\n",
            output.out.str());
  ASSERT_EQ(0, ::mkfifo(dir.path("fifo").c_str(), 0600));
  loadertest::fs::create_symlink("/dev/zero", dir.path("zero"));
  const std::vector<std::string> refused = {dir.path("absent"), dir.path(""), dir.path("fifo"),
                                            dir.path("zero"), "/dev/zero"};
  // The text is held once, with no room beyond it, also when it stops at a zero byte.
  const std::string big(10 << 20, 't');
  const std::string whole = manager.readFile(dir.write("big", big));
  EXPECT_TRUE(whole == big);
  EXPECT_GE(whole.size() + 4096, whole.capacity());
  const std::string cut = manager.readFile(dir.write("cut", std::string("abc\0", 4) + big));
  EXPECT_EQ("abc", cut);
  EXPECT_GE(4099u, cut.capacity());
  ASSERT_TRUE(loadertest::refusedWithoutBlocking(refused));
  for (const std::string& path : refused) {
    loadertest::CapturedOutput output;
    const std::string error = "ERROR: could not open file " + path + "\n";
    EXPECT_EQ("", manager.readFile(path));
    EXPECT_EQ("", describe(*manager.loadMesh(path)));
    const std::string passError = "wavefrontloader.cpp: " + error;
    EXPECT_EQ(passError + passError + passError, loadertest::unnumbered(output.err.str()));
    EXPECT_EQ(error + "wavefrontloader.cpp: loading mesh from file " + path +
                  "\nnumOf: ve0 no0 te0 fv0 tr0 qu0\nmesh loaded: Mesh: trI0 quI0 ver0 col0 mat0\n"
                  "counts: vc0 nc0 txc0 trc0 qc0\n",
              loadertest::unnumbered(output.out.str()));
  }
}

// Material names are unique across the test program, whose material table outlives every load.
// The first load's whole output shows its counts.
TEST_F(RessourceManagerTest, LoadMeshFillsTheSlotsInCallbackOrderAndNoneBeyondTheCounts) {
  const struct {
    std::string obj, mesh;
  } meshes[] = {
      // Normals and texture coordinates stay with their vertices when some have none.
      {"v 1 0 0\nv 2 0 0\nvn 1 0 0\nvn 0 1 0\nvt 0.25 0.5\nvt 0.75 1\nf 1/1/1 2/1/1 2/1/1\n"
       "f 1// 2// 2//\nf 1/2/2 2/2/2 2/2/2\n",
       "v 1, n 1 0, t 0.25, v 2, n 1 0, t 0.25, v 1, n 0 0, t 0, v 2, n 0 0, t 0, v 1, n 0 1, "
       "t 0.75, v 2, n 0 1, t 0.75, tri 0 1 1, tri 2 3 3, tri 4 5 5, m second, m second, m "
       "second"},
      // Faces before any usemtl take the library's last material; quads follow all triangles.
      {"v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1// 2// 3// 1//\nusemtl first\nf 1// 2// 3//\n",
       "v 0, v 1, v 1, tri 0 1 2, quad 0 1 2 0, m first, m second"},
      // Normals without texture coordinates, and the other way round.
      {"v 1 0 0\nvn 0 1 0\nf 1//1 1//1 1//1\n", "v 1, n 0 1, tri 0 0 0, m second"},
      {"v 1 0 0\nvt 0.5 0.5\nf 1/1/ 1/1/ 1/1/\n", "v 1, t 0.5, tri 0 0 0, m second"},
      // Face lines of two or five face vertices make no face: one material slot per 3 vertices.
      {"v 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\nv 6 0 0\nusemtl first\n"
       "f 1// 2// 3// 4// 5//\nusemtl second\nf 5// 6//\nf 7// 1//\n",
       "v 0, v 1, v 2, v 3, v 4, v 5, v 6, m first, m second"}};
  dir.write("two.mtl", "newmtl first\nnewmtl second\n");
  std::vector<std::string> printed;
  for (const auto& file : meshes) {
    output.out.str("");
    EXPECT_EQ(file.mesh,
              describe(*manager.loadMesh(dir.write("m.obj", "mtllib two.mtl\n" + file.obj))));
    printed.push_back(loadertest::unnumbered(output.out.str()));
  }
  EXPECT_EQ(
      "wavefrontloader.cpp: loading mesh from file " + dir.path("m.obj") +
          "\nnumOf: ve2 no2 te2 fv9 tr3 qu0\nmesh loaded: Mesh: trI3 quI0 ver6(nt) col0 mat3\n"
          "counts: vc6 nc4 txc4 trc3 qc0\n",
      printed[0]);
  const boost::shared_ptr<Mesh> mesh = manager.loadMesh(dir.path("m.obj"));
  manager.addVertex(9, 9, 9);
  manager.addNormal(9, 9, 9);
  manager.addTexCoord(9, 9);
  manager.addTriangle(0, 0, 0);
  manager.addQuad(0, 0, 0, 0);
  EXPECT_EQ(meshes[4].mesh, describe(*mesh));
}

std::string describe(const Data::Geometry::Material& m) {
  loadertest::CallLog log;
  log.add(m.name);
  const std::pair<const char*, Data::Geometry::Color> colours[] = {
      {"Ka", m.ambient}, {"Kd", m.diffuse}, {"Ks", m.specular}, {"Ke", m.emission}};
  for (const auto& [key, c] : colours) log.add(key, c.r, c.g, c.b, c.a);
  log.add("Ns", m.shininess);
  return log.text;
}

// A later material of the same name replaces the earlier one, starting from its values; an unknown
// name keeps the current material and lists the table; two materials naming one image share one
// decoded texture; loading a file again makes a new mesh with new materials.
TEST_F(RessourceManagerTest, LoadMeshMaterialsByNameAndTexturesFromTheCache) {
  dir.write("wood.ppm", std::string("P6\n1 1\n255\n\x10\x20\x30", 14));
  dir.write("lib.mtl",
            "newmtl twin\nKs 0.7 0.8 0.9\nKd 1 0 0\nnewmtl twin\nKa 0.1 0.2 0.3\nKd 0 0.5 0\n"
            "d 0.25\nNs 12\nmap_Kd wood.ppm\nnewmtl ash\nmap_Kd wood.ppm\n");
  const std::string obj = dir.write("m.obj",
                                    "mtllib lib.mtl\nv 0 0 0\nusemtl twin\nf 1// 1// 1//\n"
                                    "usemtl unknown\nf 1// 1// 1//\nusemtl ash\nf 1// 1// 1//\n");
  const boost::shared_ptr<Mesh> mesh = manager.loadMesh(obj);
  const Data::Geometry::Material& twin = *mesh->materials[0];
  EXPECT_EQ("twin, Ka 0.1 0.2 0.3 0.25, Kd 0 0.5 0 0.25, Ks 0.7 0.8 0.9 0.25, Ke 0 0 0 1, Ns 12",
            describe(twin));
  EXPECT_EQ(mesh->materials[0], mesh->materials[1]);
  EXPECT_EQ("ash", mesh->materials[2]->name);
  EXPECT_EQ(twin.texture, mesh->materials[2]->texture);
  EXPECT_EQ(twin.texture, manager.loadTexture(dir.path("wood.ppm")));
  // The table lists in the order it iterates.
  const std::string printed = output.out.str();
  const std::vector<std::string> failed = linesStartingWith(printed, "setM failed");
  ASSERT_EQ(1u, failed.size());
  EXPECT_TRUE(failed[0] == "setM failed unknown 2 -twin -ash" ||
              failed[0] == "setM failed unknown 2 -ash -twin")
      << failed[0];
  EXPECT_EQ(printed.find("load image from file "), printed.rfind("load image from file "));
  const boost::shared_ptr<Mesh> again = manager.loadMesh(obj);
  EXPECT_NE(mesh->materials[0], again->materials[0]);
  EXPECT_EQ(describe(twin), describe(*again->materials[0]));
}

// Missing materials against a table whose listing takes half a MiB: the first line of a load lists
// it, the rest of the load leaves it out, and the next load lists it again.
TEST_F(RessourceManagerTest, MissingMaterialLinesListTheTableWithinAMebibytePerLoad) {
  std::set<std::string> names;
  std::string library;
  for (int k = 0; k < 2600; ++k) {
    names.insert(std::string(196, 'x') + std::to_string(1000 + k));
    library += "newmtl " + *names.rbegin() + "\n";
  }
  dir.write("big.mtl", library);
  const std::string obj =
      dir.write("m.obj", "mtllib big.mtl\nusemtl gone\nusemtl lost\nusemtl gone\n");
  std::vector<std::string> lines;
  for (int load = 0; load < 2; ++load) {
    output.out.str("");
    manager.loadMesh(obj);
    for (const std::string& line : linesStartingWith(output.out.str(), "setM failed")) {
      lines.push_back(line);
    }
  }
  ASSERT_EQ(8u, lines.size());
  std::istringstream listed(lines[0].substr(std::strlen("setM failed gone ")));
  std::size_t count = 0;
  listed >> count;
  const std::string table = std::to_string(count);
  const std::vector<std::string> rest = {
      "setM failed lines leave out the material names for the rest of this load",
      "setM failed lost " + table, "setM failed gone " + table};
  EXPECT_EQ(rest, std::vector<std::string>(lines.begin() + 1, lines.begin() + 4));
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            std::vector<std::string>(lines.begin() + 4, lines.end()));
  std::set<std::string> entries;
  for (std::string entry; listed >> entry;) entries.insert(entry.substr(1));
  EXPECT_EQ(2600u, count);
  EXPECT_TRUE(names == entries);
}

// A line of an empty table lists nothing and leaves nothing out, however long it is: no note, and
// the next line lists the table.
TEST_F(RessourceManagerTest, AMissingMaterialLineOfAnEmptyTableLeavesNoNameOut) {
  dir.write("one.mtl", "newmtl only\n");
  const std::string name(1 << 20, 'n');
  manager.loadMesh(dir.write("m.obj", "usemtl " + name + "\nmtllib one.mtl\nusemtl gone\n"));
  const std::vector<std::string> expected = {"setM failed " + name + " 0",
                                             "setM failed gone 1 -only"};
  EXPECT_TRUE(expected == linesStartingWith(output.out.str(), "setM failed"));
}

// A scratch folder goes when its program ends, also when the program is killed: the program run
// here is this one, for this test alone, which makes a folder, reports it and kills itself.
TEST(ScratchDir, GoesWithItsProgramAlsoWhenTheProgramIsKilled) {
  if (const char* report = std::getenv("LOADERTEST_KILLED_REPORT")) {
    const loadertest::ScratchDir dir;
    const std::string path = dir.root.string();
    if (::write(std::atoi(report), path.data(), path.size()) == ssize_t(path.size())) {
      ::raise(SIGKILL);
    }
    ::_exit(1);
  }
  int ends[2];
  ASSERT_EQ(0, ::pipe(ends));
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ends[0]);
    ::setenv("LOADERTEST_KILLED_REPORT", std::to_string(ends[1]).c_str(), 1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execl("/proc/self/exe", "ressourcemanager_test", "--gtest_filter=ScratchDir.*", nullptr);
    ::_exit(127);
  }
  ::close(ends[1]);
  // The end of the pipe comes once the program and what it left running have ended.
  std::string path;
  char block[4096];
  for (ssize_t got; (got = ::read(ends[0], block, sizeof block)) > 0;) {
    path.append(block, std::size_t(got));
  }
  ::close(ends[0]);
  int status = 0;
  ASSERT_EQ(child, ::waitpid(child, &status, 0));
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  ASSERT_NE("", path);
  EXPECT_FALSE(fs::exists(path)) << path;
  fs::remove_all(path);
}

// A 2 x 1 picture, and the texture made from it: its pixels blue, green, red.
const std::string twoPixels("P6\n2 1\n255\n\x10\x20\x30\x40\x50\x60", 17);
const std::string twoPixelsLoaded = "2x1 " + std::string("\x30\x20\x10\x60\x50\x40", 6);

const std::string loadingLine = "ressourcemanager.cpp: load image from file ";
const std::string typeUnknownLine = "ressourcemanager.cpp:  couldn't find out filetype...\n";
const std::string failedLine = "ressourcemanager.cpp: couldn't load texture: ";

// Files that crash a decoder, corrupt its heap or take it gigabytes or minutes (found by fuzzing),
// files cut short, empty, missing or no files: each is one failed load, and the next image loads.
// The cache answers a second request, even of a failed path, in silence; another spelling of the
// path gets a texture and lines of its own, sharing the file's one decoding, failed or not.
TEST_F(RessourceManagerTest, EachPathLoadsOnceAndABadImageFailsAloneWhileTheNextLoads) {
  // Named through links in the scratch folder: no earlier run of the test has cached these paths.
  fs::create_symlink(fs::absolute("tests/loader/hostileimages"), dir.path("hostile"));
  const std::string hostile = dir.path("hostile/");
  fs::create_symlink("/dev/zero", dir.path("zero"));
  ASSERT_EQ(0, ::mkfifo(dir.path("fifo.tga").c_str(), 0600));
  loadertest::fs::create_directory(dir.path("folder.png"));
  const std::string images[] = {
      hostile + "segfault.tga",      // the TGA reader segfaults
      hostile + "heapoverflow.pbm",  // writes past a heap buffer
      hostile + "gigabytes.sgi",     // 3.5 GB and over a minute
      hostile + "slow.sgi",          // 1.5 GB and 16 s
      dir.write("cut.tga", std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\x02\0\x01\0\x18\0abcde", 23)),
      dir.write("empty.png", ""),
      dir.path("missing.png"),
      dir.path("folder.png"),
      dir.path("fifo.tga"),
      dir.write("junk.xyz", "junk"),  // this and the next two are of no type known by their
      dir.path("missing.xyz"),        // bytes or names
      dir.path("zero"),
  };
  // A writer of the FIFO gets through its open only if the loader opens the FIFO to read.
  std::atomic<bool> fifoOpened{false};
  std::thread writer([&] {
    ::close(::open(dir.path("fifo.tga").c_str(), O_WRONLY));
    fifoOpened = true;
  });
  std::string lines, errors;
  for (const std::string& image : images) {
    const std::string next = dir.write("next" + std::to_string(lines.size()) + ".ppm", twoPixels);
    const auto bad = manager.loadTexture(image), good = manager.loadTexture(next);
    EXPECT_EQ(image + " 0x0 ", bad->name + " " + pixelsOf(*bad));
    EXPECT_EQ(next + " " + twoPixelsLoaded, good->name + " " + pixelsOf(*good));
    EXPECT_TRUE(bad == manager.loadTexture(image) && good == manager.loadTexture(next)) << image;
    lines += loadingLine + image + "\n" + loadingLine + next + "\n";
    const bool typeUnknown = image == dir.path("zero") || image.find(".xyz") != image.npos;
    errors += (typeUnknown ? typeUnknownLine : "") + failedLine + image + "\n";
  }
  for (const std::string name : {"next0.ppm", "cut.tga", "junk.xyz"}) {
    const auto first = manager.loadTexture(dir.path(name));
    const std::string root = dir.root.string();
    for (const std::string& spelling : {root + "//" + name, root + "/./" + name}) {
      const auto other = manager.loadTexture(spelling);
      EXPECT_EQ(spelling + " " + pixelsOf(*first), other->name + " " + pixelsOf(*other));
      EXPECT_TRUE(first != other && first->data == other->data) << spelling;
      lines += loadingLine + spelling + "\n";
      errors += (name == "junk.xyz" ? typeUnknownLine : "") +
                (name == "next0.ppm" ? "" : failedLine + spelling + "\n");
    }
  }
  EXPECT_EQ(lines, loadertest::unnumbered(output.out.str()));
  EXPECT_EQ(errors, loadertest::unnumbered(output.err.str()));
  EXPECT_FALSE(fifoOpened);
  ::close(::open(dir.path("fifo.tga").c_str(), O_RDONLY | O_NONBLOCK));
  writer.join();
}

// A file rewritten in place, its size and modification time kept, is decoded again: its change
// time moved. The rewrite is repeated until the clock shows the move, however coarse it is.
TEST_F(RessourceManagerTest, AFileRewrittenInPlaceWithItsTimesSetBackIsDecodedAgain) {
  const std::string path = dir.write("image.ppm", twoPixels);
  struct stat first {};
  ASSERT_EQ(0, ::stat(path.c_str(), &first));
  EXPECT_EQ(twoPixelsLoaded, pixelsOf(*manager.loadTexture(path)));
  const std::string rewritten("P6\n2 1\n255\n\x01\x02\x03\x04\x05\x06", 17);
  struct stat now = first;
  while (now.st_ctim.tv_sec == first.st_ctim.tv_sec &&
         now.st_ctim.tv_nsec == first.st_ctim.tv_nsec) {
    ::usleep(1000);
    std::ofstream(path, std::ios::binary | std::ios::in | std::ios::out) << rewritten;
    const timespec times[2] = {first.st_atim, first.st_mtim};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, path.c_str(), times, 0));
    ASSERT_EQ(0, ::stat(path.c_str(), &now));
  }
  ASSERT_TRUE(now.st_size == first.st_size && now.st_mtim.tv_nsec == first.st_mtim.tv_nsec);
  const auto again = manager.loadTexture(dir.root.string() + "//image.ppm");
  EXPECT_EQ("2x1 " + std::string("\x03\x02\x01\x06\x05\x04", 6), pixelsOf(*again));
}

// When the decoding sandbox cannot start (no pipe, as at the descriptor limit), the load fails
// with its usual lines, and the file is tried again the next time it is asked for under another
// spelling.
TEST_F(RessourceManagerTest, ALoadTheSandboxCouldNotRunIsTriedAgain) {
  const std::string path = dir.write("image.ppm", twoPixels);
  pipesFail = true;
  const auto failed = manager.loadTexture(path);
  pipesFail = false;
  EXPECT_EQ("0x0 ", pixelsOf(*failed));
  const std::string again = dir.root.string() + "//image.ppm";
  EXPECT_EQ(twoPixelsLoaded, pixelsOf(*manager.loadTexture(again)));
  EXPECT_EQ(failedLine + path + "\n", loadertest::unnumbered(output.err.str()));
  EXPECT_EQ(loadingLine + path + "\n" + loadingLine + again + "\n",
            loadertest::unnumbered(output.out.str()));
}

}  // namespace
