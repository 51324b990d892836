#include "system/loader/wavefrontloader.h"

#include <algorithm>
#include <boost/bind/bind.hpp>
#include <iostream>

#include "system/loader/linereader.h"
#include "system/loader/linescanner.h"
#include "system/loader/materialscript.h"
#include "system/loader/mtlgrammar.h"
#include "system/loader/objgrammar.h"
#include "system/loader/regularfile.h"
#include "system/log.h"

using namespace boost::placeholders;

namespace System {
namespace Loader {

namespace {

typedef void (*NullName)(std::string);
typedef void (*NullVector2)(std::string, float, float);
typedef void (*NullVector3)(std::string, float, float, float);
typedef void (*NullInts3)(std::string, int, int, int);
typedef void (*NullInts4)(std::string, int, int, int, int);

// A line whose keyword starts with "f": the grammar tries it as a face and nothing else.
bool isFaceLine(const char* line) {
  while (BlankSkipper::isBlank(*line)) {
    ++line;
  }
  return *line == 'f';
}

}  // namespace

void nullCallback(std::string) {}
void nullCallback(std::string, float, float) {}
void nullCallback(std::string, float, float, float) {}
void nullCallback(std::string, int, int, int) {}
void nullCallback(std::string, int, int, int, int) {}

void increment(int& counter) { ++counter; }

bool countUpTo(std::int32_t& counter, std::int32_t limit) {
  if (counter >= limit) {
    return false;
  }
  ++counter;
  return true;
}

void appendVektor(std::vector<WavefrontLoader::Vektor>& list, const float& x, const float& y,
                  const float& z) {
  list.emplace_back(x, y, z);
}

void appendCoord(std::vector<WavefrontLoader::Coord>& list, const float& u, const float& v) {
  list.emplace_back(u, v);
}

std::size_t hash_value(const WavefrontLoader::FaceVertex& vertex) {
  return WavefrontLoader::FaceVertexHash()(vertex);
}

// Shininess starts at 0, the material's own default, so that a material read before any "Ns"
// line gets a defined value.
WavefrontLoader::color::color()
    : diffuse{0.0f, 0.0f, 0.0f, 1.0f},
      ambient{0.0f, 0.0f, 0.0f, 1.0f},
      specular{0.0f, 0.0f, 0.0f, 1.0f},
      alpha(1.0f),
      shininess(0.0f) {}

WavefrontLoader::WavefrontLoader(std::string path)
    : numVertices(0),
      numNormals(0),
      numTexCoords(0),
      numFaceVertices(0),
      numQuads(0),
      numTriangles(0),
      uniqueVertices(50),
      objGrammar(new ObjGrammar(*this)),
      mtlGrammar(new MtlGrammar(*this)) {
  resetCallbacks();
  resetActions();
  std::cout << LOG_PREFIX << "loading mesh from file " << path << std::endl;
  fileName = fileNameOf(path);
  directory = path.substr(0, path.size() - fileName.size());
  parseFileFunction = boost::bind(&WavefrontLoader::readLibrary, this, _1, _2);
}

WavefrontLoader::~WavefrontLoader() = default;

void WavefrontLoader::prepare() {
  countPass();
  fillPass();
}

int WavefrontLoader::vertexCount() const { return static_cast<int>(uniqueVertices.size()); }
int WavefrontLoader::triangleCount() const { return numTriangles; }
int WavefrontLoader::quadCount() const { return numQuads; }
bool WavefrontLoader::hasNormals() const { return numNormals > 0; }
bool WavefrontLoader::hasTexCoords() const { return numTexCoords > 0; }

// Labels stay within the short-string buffer: the emit pass calls some of these per line.
void WavefrontLoader::resetCallbacks() {
  vertexCallback = boost::bind(NullVector3(nullCallback), std::string("vertex"), _1, _2, _3);
  normalCallback = boost::bind(NullVector3(nullCallback), std::string("normal"), _1, _2, _3);
  texCoordCallback = boost::bind(NullVector2(nullCallback), std::string("texCoord"), _1, _2);
  triangleCallback = boost::bind(NullInts3(nullCallback), std::string("triangle"), _1, _2, _3);
  quadCallback = boost::bind(NullInts4(nullCallback), std::string("quad"), _1, _2, _3, _4);
  materialCallback = boost::bind(NullName(nullCallback), _1);
  useMaterialCallback = boost::bind(NullName(nullCallback), _1);
  textureCallback = boost::bind(NullName(nullCallback), _1);
}

void WavefrontLoader::resetActions() {
  vertexAction = boost::bind(NullVector3(nullCallback), std::string("vertexAction"), _1, _2, _3);
  normalAction = boost::bind(NullVector3(nullCallback), std::string("normalAction"), _1, _2, _3);
  texCoordAction = boost::bind(NullVector2(nullCallback), std::string("texCoordAction"), _1, _2);
  faceVertexAction = boost::bind(NullInts3(nullCallback), std::string("faceVertex"), _1, _2, _3);
  quadEndAction = boost::bind(NullName(nullCallback), std::string("quadEndAction"));
  triangleEndAction = boost::bind(NullName(nullCallback), std::string("triangleEnd"));
  materialAction = boost::bind(NullName(nullCallback), _1);
  useMaterialAction = boost::bind(NullName(nullCallback), _1);
  textureAction = boost::bind(NullName(nullCallback), _1);
}

void WavefrontLoader::countPass() {
  numVertices = numNormals = numTexCoords = numFaceVertices = numQuads = numTriangles = 0;
  tooMany = nullptr;
  brokenOff = false;
  lineNumber = faceLinesWithoutFace = firstFaceLineWithoutFace = 0;
  resetActions();
  startLibraryBudget();
  const auto count = [this](std::int32_t& counter, const char* kind) {
    return boost::bind(&WavefrontLoader::countElement, this, boost::ref(counter), kind);
  };
  vertexAction = count(numVertices, "positions");
  normalAction = count(numNormals, "normals");
  texCoordAction = count(numTexCoords, "texture coordinates");
  faceVertexAction = count(numFaceVertices, "face vertices");
  quadEndAction = count(numQuads, "quads");
  triangleEndAction = count(numTriangles, "triangles");
  brokenOff = parseFile(fileName, boost::bind(&WavefrontLoader::countObjLine, this, _1, _2)) ==
              FileRead::BrokenOff;
  reportCountProblems();
  if (tooMany != nullptr || brokenOff) {
    numVertices = numNormals = numTexCoords = numFaceVertices = numQuads = numTriangles = 0;
  }
  std::cout << "numOf: ve" << numVertices << " no" << numNormals << " te" << numTexCoords << " fv"
            << numFaceVertices << " tr" << numTriangles << " qu" << numQuads << std::endl;
}

void WavefrontLoader::fillPass() {
  if (tooMany != nullptr || brokenOff) {
    return;
  }
  positions.reserve(static_cast<std::size_t>(numVertices));
  normals.reserve(static_cast<std::size_t>(numNormals));
  texCoords.reserve(static_cast<std::size_t>(numTexCoords));
  resetActions();
  startLibraryBudget();
  vertexAction = boost::bind(appendVektor, boost::ref(positions), _1, _2, _3);
  normalAction = boost::bind(appendVektor, boost::ref(normals), _1, _2, _3);
  texCoordAction = boost::bind(appendCoord, boost::ref(texCoords), _1, _2);
  faceVertexAction = boost::bind(&WavefrontLoader::registerFaceVertex, this, _1, _2, _3);
  parseFile(fileName, boost::bind(&WavefrontLoader::parseObjLine, this, _1, _2));
}

void WavefrontLoader::emitPass() {
  const int distinctVertices = vertexCount();
  uniqueVertices.clear();
  faceIndices.clear();
  resetActions();
  startLibraryBudget();
  faceVertexAction = boost::bind(&WavefrontLoader::onFaceVertex, this, _1, _2, _3);
  quadEndAction = boost::bind(&WavefrontLoader::onFaceEnd, this);
  triangleEndAction = boost::bind(&WavefrontLoader::onFaceEnd, this);
  materialAction = materialCallback;
  useMaterialAction = useMaterialCallback;
  textureAction = textureCallback;
  emitted = Emitted();
  emitted.vertexLimit = distinctVertices;
  if (tooMany != nullptr || brokenOff) {
    return;
  }
  parseFile(fileName, boost::bind(&WavefrontLoader::parseObjLine, this, _1, _2));
}

WavefrontLoader::FileRead WavefrontLoader::parseFile(std::string name, LineParser lineParser) {
  const std::string path = directory + name;
  RegularFile file(path);
  if (!file.isOpen()) {
    std::cerr << LOG_PREFIX << "ERROR: could not open file " << path << std::endl;
    lineParser(nullptr, true);
    return FileRead::NotOpened;
  }
  const FileRead read = readLines(file, path, lineParser);
  lineParser(nullptr, true);
  return read;
}

WavefrontLoader::FileRead WavefrontLoader::readLines(RegularFile& file, const std::string& path,
                                                     const LineParser& lineParser) {
  LineReader reader([&file](char* into, std::size_t size) { return file.read(into, size); });
  while (const char* line = reader.next()) {
    lineParser(line, false);
  }
  if (reader.stop() == LineReader::Stop::ReadFailed) {
    std::cerr << LOG_PREFIX << "ERROR: could not open file " << path << std::endl;
  } else if (reader.stop() == LineReader::Stop::LineTooLong) {
    std::cerr << LOG_PREFIX << "ERROR: could not read file " << path << ": line "
              << reader.lines() + 1 << " is longer than " << maxLineBytes << " bytes" << std::endl;
  }
  return reader.stop() == LineReader::Stop::End ? FileRead::Whole : FileRead::BrokenOff;
}

void WavefrontLoader::readLibrary(std::string name, LineParser lineParser) {
  const std::shared_ptr<const MaterialScript> script = libraryScript(name, lineParser);
  if (script && mayDeliver(*script)) {
    for (const MaterialStep& step : script->steps()) {
      apply(step);
    }
  }
}

// A library broken off part-way delivers the materials completed before the break, and not the one
// it broke off in; its line was written once, when it was read.
std::shared_ptr<const MaterialScript> WavefrontLoader::libraryScript(const std::string& name,
                                                                     const LineParser& lineParser) {
  const auto named = librariesByName.find(name);
  if (named != librariesByName.end()) {
    return named->second;
  }
  const std::string path = directory + name;
  RegularFile file(path);
  if (!file.isOpen()) {
    std::cerr << LOG_PREFIX << "ERROR: could not open file " << path << std::endl;
    return nullptr;
  }
  const FileIdentity& identity = file.identity();
  std::shared_ptr<const MaterialScript>& same = librariesByFile[{identity.device, identity.inode}];
  if (!same) {
    std::shared_ptr<MaterialScript> script = std::make_shared<MaterialScript>();
    recording = script.get();
    if (readLines(file, path, lineParser) != FileRead::Whole) {
      script->cut();
    }
    lineParser(nullptr, true);
    recording = nullptr;
    same = script;
  }
  return librariesByName[name] = same;
}

void WavefrontLoader::startLibraryBudget() {
  namedInPass.clear();
  repeatsLeft = repeatLimit;
  repeatsCut = false;
}

bool WavefrontLoader::mayDeliver(const MaterialScript& script) {
  if (namedInPass.insert(&script).second) {
    return true;
  }
  const std::int64_t records = static_cast<std::int64_t>(script.steps().size());
  if (!repeatsCut && records <= repeatsLeft) {
    repeatsLeft -= records;
    return true;
  }
  repeatsCut = true;
  if (!repeatsCutReported) {
    repeatsCutReported = true;
    std::cerr << LOG_PREFIX << "ERROR: more than " << repeatLimit
              << " material records delivered again by the mtllib lines of file " << directory
              << fileName << "; from line " << lineNumber
              << " on, a library named again delivers nothing" << std::endl;
  }
  return false;
}

bool WavefrontLoader::parseObjLine(const char* line, bool finish) {
  if (finish) {
    return true;
  }
  // A face line that ends without a face leaves its numbers behind; no later face may take them.
  faceIndices.clear();
  emitted.faceBroken = false;
  return objGrammar->parse(line);
}

bool WavefrontLoader::parseMtlLine(const char* line, bool finish) {
  if (finish) {
    onNewMaterial(std::string());
    return true;
  }
  return mtlGrammar->parse(line);
}

void WavefrontLoader::countElement(std::int32_t& counter, const char* kind) {
  if (!countUpTo(counter, countLimit) && tooMany == nullptr) {
    tooMany = kind;
  }
}

bool WavefrontLoader::countObjLine(const char* line, bool finish) {
  if (finish) {
    return parseObjLine(line, finish);
  }
  ++lineNumber;
  const std::int64_t faces = std::int64_t(numTriangles) + numQuads;
  const bool whole = parseObjLine(line, finish);
  if (std::int64_t(numTriangles) + numQuads == faces && isFaceLine(line)) {
    if (faceLinesWithoutFace++ == 0) {
      firstFaceLineWithoutFace = lineNumber;
    }
  }
  return whole;
}

// One line per kind of problem and file, whatever the number of lines that have it.
void WavefrontLoader::reportCountProblems() const {
  const std::string path = directory + fileName;
  if (brokenOff) {
    return;
  }
  if (tooMany != nullptr) {
    std::cerr << LOG_PREFIX << "ERROR: more than " << countLimit << " " << tooMany << " in file "
              << path << "; it loads as an empty mesh" << std::endl;
  } else if (faceLinesWithoutFace > 0) {
    std::cerr << LOG_PREFIX << "ERROR: face lines that make no face in file " << path << ": "
              << faceLinesWithoutFace << ", the first is line " << firstFaceLineWithoutFace
              << std::endl;
  }
}

void WavefrontLoader::registerFaceVertex(int v, int vt, int vn) {
  // Only a file that grew since the count pass can get here with more.
  if (uniqueVertices.size() >= static_cast<std::size_t>(countLimit)) {
    return;
  }
  const FaceVertex record = {static_cast<std::int32_t>(uniqueVertices.size()), v, vt, vn};
  uniqueVertices.insert(record);
}

void WavefrontLoader::onNegativeIndex(int index) {
  if (!negativeIndexReported) {
    negativeIndexReported = true;
    std::cerr << LOG_PREFIX << "ERROR: face index " << index
              << " is negative and read as absent in file " << directory << fileName << std::endl;
  }
}

void WavefrontLoader::onFaceVertex(int v, int vt, int vn) {
  const FaceVertex record = {static_cast<std::int32_t>(uniqueVertices.size()), v, vt, vn};
  const std::pair<const FaceVertex*, bool> inserted = uniqueVertices.insert(record);
  const int number = inserted.first->index;
  if (number >= emitted.vertexLimit) {
    // Only when the file changed since the fill pass: such a vertex has no slot to go to.
    emitted.faceBroken = true;
    return;
  }
  if (inserted.second) {
    emitVertex(v, vt, vn);
  }
  faceIndices.push_back(number);
}

void WavefrontLoader::onFaceEnd() {
  const bool broken = emitted.faceBroken;
  emitted.faceBroken = false;
  if (broken || faceIndices.size() < 3) {
    faceIndices.clear();
    return;
  }
  if (faceIndices.size() == 3) {
    if (emitted.triangles < numTriangles) {
      ++emitted.triangles;
      triangleCallback(faceIndices[0], faceIndices[1], faceIndices[2]);
    }
  } else if (emitted.quads < numQuads) {
    ++emitted.quads;
    quadCallback(faceIndices[0], faceIndices[1], faceIndices[2], faceIndices[3]);
  }
  faceIndices.clear();
}

void WavefrontLoader::setColor(float* rgba, float r, float g, float b) {
  const MaterialStep::Kind kind = rgba == currentMaterial.ambient   ? MaterialStep::Ambient
                                  : rgba == currentMaterial.diffuse ? MaterialStep::Diffuse
                                                                    : MaterialStep::Specular;
  takeStep({kind, {r, g, b}, std::string()});
}

void WavefrontLoader::setNumber(float* field, float value) {
  const MaterialStep::Kind kind =
      field == &currentMaterial.alpha ? MaterialStep::Alpha : MaterialStep::Shininess;
  takeStep({kind, {value, 0.0f, 0.0f}, std::string()});
}

void WavefrontLoader::onDiffuseMap(std::string name) {
  takeStep({MaterialStep::Texture, {0.0f, 0.0f, 0.0f}, directory + name});
}

void WavefrontLoader::onNewMaterial(std::string name) {
  takeStep({MaterialStep::NewMaterial, {0.0f, 0.0f, 0.0f}, std::move(name)});
}

void WavefrontLoader::takeStep(MaterialStep step) {
  if (recording != nullptr) {
    recording->add(std::move(step));
  } else {
    apply(step);
  }
}

void WavefrontLoader::apply(const MaterialStep& step) {
  color& record = currentMaterial;
  float* const colours[] = {record.ambient, record.diffuse, record.specular};
  switch (step.kind) {
    case MaterialStep::Ambient:
    case MaterialStep::Diffuse:
    case MaterialStep::Specular:
      std::copy(step.values, step.values + 3, colours[step.kind]);
      return;
    case MaterialStep::Alpha:
      record.alpha = step.values[0];
      return;
    case MaterialStep::Shininess:
      record.shininess = step.values[0];
      return;
    case MaterialStep::Texture:
      record.texture = step.text;
      return;
    case MaterialStep::NewMaterial:
      break;
  }
  if (!currentMaterial.name.empty()) {
    currentMaterial.ambient[3] = currentMaterial.alpha;
    currentMaterial.diffuse[3] = currentMaterial.alpha;
    currentMaterial.specular[3] = currentMaterial.alpha;
    materialAction(currentMaterial.name, currentMaterial);
    if (!currentMaterial.texture.empty()) {
      textureAction(currentMaterial.texture);
    }
  }
  currentMaterial.name = step.text;
}

// A position that cannot be read is delivered as the origin, so that vertex k stays the position
// of face vertex k; a normal or texture coordinate named by a bad index is delivered as zeros.
void WavefrontLoader::emitVertex(int v, int vt, int vn) {
  static const Vektor zeros(0.0f, 0.0f, 0.0f);
  static const Coord noCoord(0.0f, 0.0f);
  const Vektor& position = entryAt(positions, v, "v", zeros);
  vertexCallback(position.x, position.y, position.z);
  if (vn >= 0) {
    const Vektor& normal = entryAt(normals, vn, "vn", zeros);
    normalCallback(normal.x, normal.y, normal.z);
  }
  if (vt >= 0) {
    const Coord& texCoord = entryAt(texCoords, vt, "vt", noCoord);
    texCoordCallback(texCoord.u, texCoord.v);
  }
}

template <typename T>
const T& WavefrontLoader::entryAt(const std::vector<T>& list, int index, const char* kind,
                                  const T& fallback) {
  if (index > 0 && static_cast<std::size_t>(index) <= list.size()) {
    return list[static_cast<std::size_t>(index - 1)];
  }
  if (index >= 0 && !emitted.badIndexReported) {
    emitted.badIndexReported = true;
    std::cerr << LOG_PREFIX << "ERROR: face index " << index << " names none of the " << list.size()
              << " " << kind << " lines of file " << directory << fileName << std::endl;
  }
  return fallback;
}

}  // namespace Loader
}  // namespace System
