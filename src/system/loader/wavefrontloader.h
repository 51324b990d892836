#pragma once
// Reads one Wavefront OBJ file and its MTL libraries and hands them out as callbacks.

#include <boost/function.hpp>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "system/loader/flathashset.h"
#include "system/loader/keyedhash.h"

namespace System {
namespace Loader {

// The most lines of one kind, or face vertices, a file may have: counts and the numbers of face
// vertices are signed 32-bit.
constexpr std::int32_t maxElementCount = 2147483647;

// The material records that the mtllib lines of one pass may deliver again, from libraries that
// earlier lines of the pass named; what a library delivers the first time it is named is not
// counted, as the library itself is part of the input.
constexpr std::int64_t maxRepeatedMaterialRecords = 1000000;

// Adds one to counter unless it has reached limit; false, the counter unchanged, when it has.
bool countUpTo(std::int32_t& counter, std::int32_t limit);

class ObjGrammar;
class MtlGrammar;
class MaterialScript;
class RegularFile;
struct MaterialStep;

class WavefrontLoader {
 public:
  // A position (`v` line) or a normal (`vn` line).
  struct Vektor {
    Vektor(float x, float y, float z) : x(x), y(y), z(z) {}
    float x;
    float y;
    float z;
  };

  // A texture coordinate (`vt` line).
  struct Coord {
    Coord(float u, float v) : u(u), v(v) {}
    float u;
    float v;
  };

  // One distinct (v, vt, vn) triple of the face lines; indices count from 1, -1 when absent.
  struct FaceVertex {
    std::int32_t index;
    std::int32_t v;
    std::int32_t vt;
    std::int32_t vn;
    bool operator==(const FaceVertex& other) const {
      return v == other.v && vt == other.vt && vn == other.vn;
    }
  };

  // Hashes v, vt and vn, the fields that make two records equal, each as its 32-bit pattern, with
  // the process's key, so that no file can aim its triples at one part of the set's table. Inline,
  // as the set hashes every face vertex of two passes.
  struct FaceVertexHash {
    std::size_t operator()(const FaceVertex& vertex) const {
      const std::uint64_t v = std::uint32_t(vertex.v), vt = std::uint32_t(vertex.vt);
      return keyedHash(v | vt << 32, std::uint32_t(vertex.vn));
    }
  };

  // The material an MTL library is building; its values carry over to the next material.
  class color {
   public:
    color();
    std::string name;
    float diffuse[4];
    float ambient[4];
    float specular[4];
    float alpha;
    float shininess;
    std::string texture;
  };

  typedef boost::function<void(float, float, float)> Vector3Callback;
  typedef boost::function<void(float, float)> Vector2Callback;
  typedef boost::function<void(int, int, int)> TriangleCallback;
  typedef boost::function<void(int, int, int, int)> QuadCallback;
  typedef boost::function<void(std::string, color)> MaterialCallback;
  typedef boost::function<void(std::string)> NameCallback;
  typedef boost::function<void()> FaceEndAction;
  typedef boost::function<bool(const char*, bool)> LineParser;
  typedef boost::function<void(std::string, LineParser)> ParseFileFunction;
  typedef FlatHashSet<FaceVertex, FaceVertexHash> FaceVertexSet;
  // How far a file was read: to its end, not at all, or broken off by a read error or a line
  // longer than maxLineBytes (its line is written then).
  enum class FileRead { Whole, NotOpened, BrokenOff };

  explicit WavefrontLoader(std::string path);
  ~WavefrontLoader();
  WavefrontLoader(const WavefrontLoader&) = delete;
  WavefrontLoader& operator=(const WavefrontLoader&) = delete;

  // Count pass, then fill pass.
  void prepare();

  // Valid after prepare().
  int vertexCount() const;
  int triangleCount() const;
  int quadCount() const;
  bool hasNormals() const;
  bool hasTexCoords() const;

  // Delivers vertices, faces and materials through the callbacks, in file order.
  void emitPass();

  // The passes' own steps, public for the grammars and for tests.
  void countPass();
  void fillPass();
  void resetCallbacks();
  void resetActions();
  FileRead parseFile(std::string name, LineParser lineParser);
  // Reads the library once per load, whatever the number of lines naming it, and replays what it
  // does to the material at every line; what is delivered is as if it were read each time.
  void readLibrary(std::string name, LineParser lineParser);
  bool parseObjLine(const char* line, bool finish);
  bool parseMtlLine(const char* line, bool finish);
  void registerFaceVertex(int v, int vt, int vn);
  // A face vertex with an index written negative, which is read as absent.
  void onNegativeIndex(int index);
  void onFaceVertex(int v, int vt, int vn);
  void onFaceEnd();
  void setColor(float* rgba, float r, float g, float b);
  void setNumber(float* field, float value);
  void onDiffuseMap(std::string name);
  void onNewMaterial(std::string name);

  // The receiver's callbacks, bound before emitPass(); they run in the emit pass only.
  Vector3Callback vertexCallback;
  Vector3Callback normalCallback;
  Vector2Callback texCoordCallback;
  TriangleCallback triangleCallback;
  QuadCallback quadCallback;
  MaterialCallback materialCallback;
  NameCallback useMaterialCallback;
  NameCallback textureCallback;

  std::string fileName;
  std::string directory;

  // Line counts of the count pass.
  std::int32_t numVertices;
  std::int32_t numNormals;
  std::int32_t numTexCoords;
  std::int32_t numFaceVertices;
  std::int32_t numQuads;
  std::int32_t numTriangles;

  // What the fill pass keeps; list entry k - 1 is what index k names.
  FaceVertexSet uniqueVertices;
  std::vector<Vektor> positions;
  std::vector<Vektor> normals;
  std::vector<Coord> texCoords;
  // Numbers of the face vertices of the face line being read (emit pass).
  std::vector<int> faceIndices;

  // What the grammars fire; each pass binds its own.
  ParseFileFunction parseFileFunction;
  Vector3Callback vertexAction;
  Vector3Callback normalAction;
  Vector2Callback texCoordAction;
  TriangleCallback faceVertexAction;
  FaceEndAction quadEndAction;
  FaceEndAction triangleEndAction;
  MaterialCallback materialAction;
  NameCallback useMaterialAction;
  NameCallback textureAction;

  color currentMaterial;

  // A file with more lines of one kind, or face vertices, loads as an empty mesh. Tests lower it.
  std::int32_t countLimit = maxElementCount;
  // Past this many records delivered again in a pass, a library named again delivers nothing.
  // Tests lower it.
  std::int64_t repeatLimit = maxRepeatedMaterialRecords;

 private:
  // What the emit pass has delivered, so that it never delivers beyond the counts.
  struct Emitted {
    int vertexLimit = 0;
    int triangles = 0;
    int quads = 0;
    bool faceBroken = false;
    bool badIndexReported = false;
  };

  // Count pass: adds one line of a kind, or notes the first kind that passes countLimit.
  void countElement(std::int32_t& counter, const char* kind);
  // Count pass: parses one OBJ line and notes a face line that made no face.
  bool countObjLine(const char* line, bool finish);
  void reportCountProblems() const;
  void emitVertex(int v, int vt, int vn);
  // The entry that a face index names, or fallback when the index is absent or names no entry.
  template <typename T>
  const T& entryAt(const std::vector<T>& list, int index, const char* kind, const T& fallback);

  FileRead readLines(RegularFile& file, const std::string& path, const LineParser& lineParser);
  // The library's steps; null when it cannot be opened (tried again at its next line, as a
  // missing library is reported at each).
  std::shared_ptr<const MaterialScript> libraryScript(const std::string& name,
                                                      const LineParser& lineParser);
  // A step of the MTL grammar: recorded while a library is read, otherwise done to the material.
  void takeStep(MaterialStep step);
  void apply(const MaterialStep& step);
  // Each pass starts with the whole of repeatLimit and no library named.
  void startLibraryBudget();
  // Whether the script may deliver at this line, paying from the budget when it was named before.
  bool mayDeliver(const MaterialScript& script);

  std::unique_ptr<ObjGrammar> objGrammar;
  std::unique_ptr<MtlGrammar> mtlGrammar;
  Emitted emitted;
  // The kind whose count passed countLimit; null while the file is within it.
  const char* tooMany = nullptr;
  // The count pass could not read the OBJ file through; it loads as an empty mesh.
  bool brokenOff = false;
  // Libraries read in this load, by name and by file (so that other names of a file share it).
  // Ordered maps: the names come from the file, which could aim them at one bucket of a hash.
  std::map<std::string, std::shared_ptr<const MaterialScript>> librariesByName;
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::shared_ptr<const MaterialScript>>
      librariesByFile;
  MaterialScript* recording = nullptr;
  std::set<const MaterialScript*> namedInPass;
  std::int64_t repeatsLeft = 0;
  bool repeatsCut = false;
  // Whether the lines written once per load have been.
  bool repeatsCutReported = false;
  bool negativeIndexReported = false;
  // Lines of the OBJ file read by the count pass, and its face lines that made no face.
  std::int64_t lineNumber = 0;
  std::int64_t faceLinesWithoutFace = 0;
  std::int64_t firstFaceLineWithoutFace = 0;
};

// Do-nothing targets of every callback and action; the string names the slot.
void nullCallback(std::string label);
void nullCallback(std::string label, float a, float b);
void nullCallback(std::string label, float a, float b, float c);
void nullCallback(std::string label, int a, int b, int c);
void nullCallback(std::string label, int a, int b, int c, int d);

// Adds one to the counter. No pass binds it: the count pass has counting actions of its own.
void increment(int& counter);
// What the fill pass binds its actions to.
void appendVektor(std::vector<WavefrontLoader::Vektor>& list, const float& x, const float& y,
                  const float& z);
void appendCoord(std::vector<WavefrontLoader::Coord>& list, const float& u, const float& v);
// The value of WavefrontLoader::FaceVertexHash, for containers that hash through boost::hash.
std::size_t hash_value(const WavefrontLoader::FaceVertex& vertex);

}  // namespace Loader
}  // namespace System
