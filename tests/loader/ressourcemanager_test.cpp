#include "system/loader/ressourcemanager.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "loader/loadertest.h"
#include "system/loader/regularfile.h"

namespace {

using Data::Geometry::Mesh;

// Output stays captured for the whole test; a check looks for its own lines.
struct RessourceManagerTest : testing::Test {
  System::Loader::RessourceManager& manager = *System::Loader::RessourceManager::getInstance();
  loadertest::ScratchDir dir;
  loadertest::CapturedOutput output;
};

// What drawing relies on: optional sequences empty or one per vertex, one material slot per face
// (per three vertices without faces), and no face naming a vertex the mesh lacks.
void expectConsistent(const Mesh& mesh) {
  const std::size_t n = mesh.vertices.size(), faces = mesh.triangles.size() + mesh.quads.size();
  EXPECT_TRUE(mesh.normals.empty() || mesh.normals.size() == n);
  EXPECT_TRUE(mesh.texCoords.empty() || mesh.texCoords.size() == n);
  EXPECT_EQ(faces > 0 ? faces : n / 3, mesh.materials.size());
  for (const auto& t : mesh.triangles) EXPECT_LT(std::max({t.a, t.b, t.c}), n);
  for (const auto& q : mesh.quads) EXPECT_LT(std::max({q.a, q.b, q.c, q.d}), n);
}

std::string describe(const Mesh& mesh) {
  expectConsistent(mesh);
  loadertest::CallLog log;
  for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
    log.add("v", mesh.vertices[k].x);
    if (!mesh.normals.empty()) log.add("n", mesh.normals[k].x, mesh.normals[k].y);
    if (!mesh.texCoords.empty()) log.add("t", mesh.texCoords[k].u);
  }
  for (const auto& t : mesh.triangles) log.add("tri", t.a, t.b, t.c);
  for (const auto& q : mesh.quads) log.add("quad", q.a, q.b, q.c, q.d);
  for (const auto& material : mesh.materials) log.add("m", material ? material->name : "(none)");
  return log.text;
}

std::string lineNumbersHidden(const std::string& text) {
  return std::regex_replace(text, std::regex("\\.cpp,[0-9]+: "), ".cpp,N: ");
}

// Only regular files are read, links followed: a directory, a FIFO (whose open would block) or a
// device that never ends is reported as a file that cannot be opened, once by readFile and once per
// pass by loadMesh, which then gives an empty mesh.
TEST_F(RessourceManagerTest, ReadFileGivesTheTextUpToItsFirstZeroByteOrOneLineWhenItCannot) {
  EXPECT_EQ("a {\r\n\tb;\n}\n\n", manager.readFile(dir.write("a", "a {\r\n\tb;\n}\n\n")));
  EXPECT_EQ("abc", manager.readFile(dir.write("b", std::string("abc\0def", 7))));
  EXPECT_EQ("", manager.readFile(dir.write("c", "")));
  EXPECT_EQ("", output.out.str());
  ASSERT_EQ(0, ::mkfifo(dir.path("fifo").c_str(), 0600));
  loadertest::fs::create_symlink("/dev/zero", dir.path("zero"));
  const std::string error = "ERROR: could not open file ";
  loadertest::fs::create_symlink(dir.path("b"), dir.path("link"));
  EXPECT_EQ("abc", manager.readFile(dir.path("link")));
  for (const std::string& path : {dir.path("absent"), dir.path(""), dir.path("fifo"),
                                  dir.path("zero"), std::string("/dev/zero")}) {
    // Checked first: reading a FIFO taken for a file would block the test instead of failing it.
    ASSERT_FALSE(System::Loader::isRegularFile(path)) << path;
    output.out.str("");
    output.err.str("");
    EXPECT_EQ("", manager.readFile(path));
    EXPECT_EQ(error + path + "\n", output.out.str());
    output.out.str("");
    EXPECT_EQ("", describe(*manager.loadMesh(path)));
    EXPECT_EQ(error + path + "\n" + error + path + "\n" + error + path + "\n",
              loadertest::unprefixed(output.err.str()));
    EXPECT_EQ("wavefrontloader.cpp,N: loading mesh from file " + path +
                  "\nnumOf: ve0 no0 te0 fv0 tr0 qu0\n"
                  "mesh loaded: Mesh: trI0 quI0 ver0 col0 mat0\n"
                  "counts: vc0 nc0 txc0 trc0 qc0\n",
              lineNumbersHidden(output.out.str()));
  }
}

// Material names are unique across the test program, whose material table outlives every load.
TEST_F(RessourceManagerTest, LoadMeshFillsTheSlotsInCallbackOrderAndNoneBeyondTheCounts) {
  const struct {
    std::string obj, mesh;
  } meshes[] = {
      // Normals and texture coordinates stay with their vertices when some have none.
      {"v 1 0 0\nv 2 0 0\nvn 1 0 0\nvn 0 1 0\nvt 0.25 0.5\nvt 0.75 1\nf 1/1/1 2/1/1 2/1/1\n"
       "f 1// 2// 2//\nf 1/2/2 2/2/2 2/2/2\n",
       "v 1, n 1 0, t 0.25, v 2, n 1 0, t 0.25, v 1, n 0 0, t 0, v 2, n 0 0, t 0, v 1, n 0 1, "
       "t 0.75, v 2, n 0 1, t 0.75, tri 0 1 1, tri 2 3 3, tri 4 5 5, m second, m second, m second"},
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
  for (const auto& file : meshes)
    EXPECT_EQ(file.mesh,
              describe(*manager.loadMesh(dir.write("m.obj", "mtllib two.mtl\n" + file.obj))));
  const boost::shared_ptr<Mesh> mesh = manager.loadMesh(dir.path("m.obj"));
  manager.addVertex(9, 9, 9);
  manager.addNormal(9, 9, 9);
  manager.addTexCoord(9, 9);
  manager.addTriangle(0, 0, 0);
  manager.addQuad(0, 0, 0, 0);
  EXPECT_EQ(meshes[4].mesh, describe(*mesh));
}

// Six quads of 24 distinct face vertices, each face with a normal of its own; then two triangles
// without normals and texture coordinates. Each load's whole output, its first line prefixed.
TEST_F(RessourceManagerTest, LoadMeshCubeOfTwentyFourFaceVerticesPrintsItsCounts) {
  const std::string cube = dir.write(
      "cube.obj",
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\nvt 0 0\n"
      "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\nf 1/1/1 4/1/1 3/1/1 2/1/1\n"
      "f 5/1/2 6/1/2 7/1/2 8/1/2\nf 1/1/3 2/1/3 6/1/3 5/1/3\nf 4/1/4 8/1/4 7/1/4 3/1/4\n"
      "f 1/1/5 5/1/5 8/1/5 4/1/5\nf 2/1/6 3/1/6 7/1/6 6/1/6\n");
  const std::string pair =
      dir.write("pair.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1// 2// 3//\nf 1// 3// 4//\n");
  manager.loadMesh(cube);
  manager.loadMesh(pair);
  EXPECT_EQ("wavefrontloader.cpp,N: loading mesh from file " + cube +
                "\nnumOf: ve8 no6 te1 fv24 tr0 qu6\n"
                "mesh loaded: Mesh: trI0 quI6 ver24(nt) col0 mat6\n"
                "counts: vc24 nc24 txc24 trc0 qc6\n"
                "wavefrontloader.cpp,N: loading mesh from file " +
                pair +
                "\nnumOf: ve4 no0 te0 fv6 tr2 qu0\n"
                "mesh loaded: Mesh: trI2 quI0 ver4 col0 mat2\n"
                "counts: vc4 nc0 txc0 trc2 qc0\n",
            lineNumbersHidden(output.out.str()));
}

std::string describe(const Data::Geometry::Material& m) {
  loadertest::CallLog log;
  log.add(m.name);
  log.add("Ka", m.ambient.r, m.ambient.g, m.ambient.b, m.ambient.a);
  log.add("Kd", m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a);
  log.add("Ks", m.specular.r, m.specular.g, m.specular.b, m.specular.a);
  log.add("Ke", m.emission.r, m.emission.g, m.emission.b, m.emission.a);
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
  // The table's other entries depend on the tests run before in this process.
  std::smatch failed;
  const std::string printed = output.out.str();
  ASSERT_TRUE(std::regex_search(printed, failed,
                                std::regex("\nsetM failed unknown ([0-9]+)((?: -[^ \n]+)*)\n")));
  const std::string entries = failed[2].str() + " ";
  EXPECT_EQ(failed[1].str(), std::to_string(std::count(entries.begin(), entries.end(), '-')));
  EXPECT_NE(std::string::npos, entries.find(" -twin "));
  EXPECT_NE(std::string::npos, entries.find(" -ash "));
  EXPECT_EQ(twin.texture, mesh->materials[2]->texture);
  EXPECT_EQ(twin.texture, manager.loadTexture(dir.path("wood.ppm")));
  EXPECT_EQ(printed.find("load image from file "), printed.rfind("load image from file "));
  const boost::shared_ptr<Mesh> again = manager.loadMesh(obj);
  EXPECT_NE(mesh, again);
  EXPECT_NE(mesh->materials[0], again->materials[0]);
  EXPECT_EQ(describe(twin), describe(*again->materials[0]));
}

// A directory opens as a stream and fails only when read; a mtllib line without a name names the
// OBJ file's own directory.
TEST_F(RessourceManagerTest,
       MissingEmptyGarbageAndBrokenFilesLoadAsConsistentMeshesAndEmptyTextures) {
  std::string noise(3000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * i * 7919 >> 3);
  for (const std::string& path :
       {dir.path("absent.obj"), dir.path(""), dir.write("empty.obj", ""),
        dir.write("noise.obj", noise),
        dir.write("nameless.obj", "mtllib \nv 0 0 0\nf 1// 1// 1//\n"),
        dir.write("bad.obj", "v 0 0 0\nvn 0 0 1\nf 0//1 1//1 9//3\nf 1/1/1 2/2/2 1/1/1 -1//1\n")})
    expectConsistent(*manager.loadMesh(path));
  for (const std::string& path :
       {dir.path("absent.jpg"), dir.write("empty.png", ""), dir.write("noise.jpg", noise),
        dir.write("cut.ppm", "P6\n2 2\n255\n\x10\x20"), dir.path("")}) {
    const boost::shared_ptr<Data::Geometry::Texture> texture = manager.loadTexture(path);
    EXPECT_EQ(0, texture->width + texture->height) << path;
    EXPECT_NE(std::string::npos, output.err.str().find("couldn't load texture: " + path + "\n"));
  }
}

// The lines written, with the line numbers of their prefixes left out.
std::string linesOf(const std::ostringstream& stream) {
  return std::regex_replace(stream.str(), std::regex("(^|\n)ressourcemanager\\.cpp,[0-9]+: "),
                            "$1ressourcemanager.cpp: ");
}

// A 2 x 1 picture and its pixels as the texture holds them: blue, green, red.
const std::string twoPixels("P6\n2 1\n255\n\x10\x20\x30\x40\x50\x60", 17);
const std::string twoPixelsBgr("\x30\x20\x10\x60\x50\x40", 6);

std::string pixelsOf(const Data::Geometry::Texture& texture) {
  return std::to_string(texture.width) + "x" + std::to_string(texture.height) + " " +
         std::string(reinterpret_cast<const char*>(texture.data.get()),
                     std::size_t(texture.width) * 3 * std::size_t(texture.height));
}

// A second request, even of a failed path, is answered from the cache in silence; another form
// of the same path is another entry.
TEST_F(RessourceManagerTest, LoadTextureCachesByThePathAsGivenAndLogsOnlyFirstRequests) {
  const std::string image = dir.write("rgb.ppm", twoPixels);
  const std::string sameImage = dir.root.string() + "//rgb.ppm";
  const std::string missing = dir.path("missing.png"), untyped = dir.path("missing.xyz");
  const auto first = manager.loadTexture(image);
  const auto second = manager.loadTexture(sameImage);
  const auto failed = manager.loadTexture(missing);
  const auto untypedFailed = manager.loadTexture(untyped);
  EXPECT_EQ(first, manager.loadTexture(image));
  EXPECT_EQ(failed, manager.loadTexture(missing));
  EXPECT_EQ(untypedFailed, manager.loadTexture(untyped));
  EXPECT_NE(first, second);
  EXPECT_EQ("2x1 " + twoPixelsBgr, pixelsOf(*first));
  EXPECT_EQ("2x1 " + twoPixelsBgr, pixelsOf(*second));
  EXPECT_EQ("0x0 ", pixelsOf(*failed));
  EXPECT_EQ("0x0 ", pixelsOf(*untypedFailed));
  EXPECT_EQ(
      (std::vector<std::string>{image, sameImage, missing, untyped}),
      (std::vector<std::string>{first->name, second->name, failed->name, untypedFailed->name}));
  const std::string loading = "ressourcemanager.cpp: load image from file ";
  EXPECT_EQ(loading + image + "\n" + loading + sameImage + "\n" + loading + missing + "\n" +
                loading + untyped + "\n",
            linesOf(output.out));
  EXPECT_EQ("ressourcemanager.cpp: couldn't load texture: " + missing +
                "\nressourcemanager.cpp:  couldn't find out filetype...\n"
                "ressourcemanager.cpp: couldn't load texture: " +
                untyped + "\n",
            linesOf(output.err));
}

// Files on which the decoders crash, corrupt their heap, take gigabytes or minutes (found by
// fuzzing; under tests/loader/hostileimages), files cut short, and files that are no files: each
// is one failed load, and the program goes on loading.
TEST_F(RessourceManagerTest, HostileImagesAndNonRegularFilesFailAndTheNextImageStillLoads) {
  const std::string hostile = "tests/loader/hostileimages/";
  ASSERT_EQ(0, ::mkfifo(dir.path("fifo.tga").c_str(), 0600));
  boost::filesystem::create_directory(dir.path("folder.png"));
  const struct {
    std::string path;
    bool typeUnknown;
  } images[] = {
      {hostile + "segfault.tga", false},      // the TGA reader segfaults
      {hostile + "heapoverflow.pbm", false},  // writes past a heap buffer
      {hostile + "gigabytes.sgi", false},     // 3.5 GB and over a minute
      {hostile + "slow.sgi", false},          // 1.5 GB and 16 s
      // 29 bytes announcing 60000 x 60000 pixels, which the reader allocates and clears
      {dir.write("giant.gif", std::string("GIF89a\x60\xea\x60\xea\0\0\0,\0\0\0\0\x60\xea\x60\xea"
                                          "\0\x02\x02\x4c\x01\0;",
                                          29)),
       false},
      {dir.write("cut.tga", std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\x02\0\x01\0\x18\0abcde", 23)),
       false},
      {dir.path("folder.png"), false},
      {dir.path("fifo.tga"), false},
      {"/dev/zero", true},
  };
  // A writer of the FIFO gets through its open only if the loader opens the FIFO to read.
  std::atomic<bool> fifoOpened{false};
  std::thread writer([&] {
    ::close(::open(dir.path("fifo.tga").c_str(), O_WRONLY));
    fifoOpened = true;
  });
  std::string errors;
  for (std::size_t k = 0; k < sizeof images / sizeof *images; ++k) {
    EXPECT_EQ("0x0 ", pixelsOf(*manager.loadTexture(images[k].path))) << images[k].path;
    const std::string next = dir.write("next" + std::to_string(k) + ".ppm", twoPixels);
    EXPECT_EQ("2x1 " + twoPixelsBgr, pixelsOf(*manager.loadTexture(next))) << images[k].path;
    errors += images[k].typeUnknown ? "ressourcemanager.cpp:  couldn't find out filetype...\n" : "";
    errors += "ressourcemanager.cpp: couldn't load texture: " + images[k].path + "\n";
  }
  EXPECT_EQ(errors, linesOf(output.err));
  EXPECT_FALSE(fifoOpened);
  ::close(::open(dir.path("fifo.tga").c_str(), O_RDONLY | O_NONBLOCK));
  writer.join();
}

}  // namespace
