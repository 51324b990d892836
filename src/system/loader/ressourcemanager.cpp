#include "system/loader/ressourcemanager.h"

#include <FreeImage.h>

#include <boost/bind/bind.hpp>
#include <cstddef>
#include <iostream>

#include "system/loader/regularfile.h"
#include "system/loader/sandboxedimage.h"
#include "system/log.h"

namespace System {
namespace Loader {

using Data::Geometry::Material;
using Data::Geometry::Mesh;
using Data::Geometry::Texture;

RessourceManager* RessourceManager::instance = nullptr;

namespace {

void setFrom(Data::Geometry::Color& colour, const float* rgba) {
  colour.set(rgba[0], rgba[1], rgba[2], rgba[3]);
}

// Appends the file's text up to its first zero byte; false when reading fails or the text passes
// maxTextFileBytes, whatever the length the file gave when opened. The length it gave, and one byte
// more to see its end, is read into a string of that size, so the text is held once; only a text
// that turns out longer or shorter is moved into a string of its own size.
bool readText(RegularFile& file, std::string& text) {
  const std::size_t block = std::size_t(1) << 16;
  const std::size_t expected = static_cast<std::size_t>(file.size()) + 1;
  for (;;) {
    const std::size_t had = text.size();
    if (had > maxTextFileBytes) {
      return false;
    }
    const std::size_t want = had < expected ? expected - had : block;
    text.resize(had + want);
    const std::ptrdiff_t got = file.read(&text[had], want);
    text.resize(had + static_cast<std::size_t>(got < 0 ? 0 : got));
    const std::size_t zero = text.find('\0', had);
    if (zero != std::string::npos) {
      text.resize(zero);
    }
    if (got <= 0 || zero != std::string::npos) {
      if (text.size() + 1 != expected) {
        text.shrink_to_fit();
      }
      return got >= 0;
    }
  }
}

}  // namespace

RessourceManager* RessourceManager::getInstance() {
  if (instance == nullptr) {
    instance = new RessourceManager();
  }
  return instance;
}

RessourceManager::RessourceManager() : materials(50), textures(50) { FreeImage_Initialise(FALSE); }

RessourceManager::~RessourceManager() {
  FreeImage_DeInitialise();
  textures.clear();
  materials.clear();
  currentMaterial.reset();
  currentMesh.reset();
}

std::string RessourceManager::readFile(std::string fileName) {
  RegularFile file(fileName);
  std::string text;
  if (file.isOpen() && file.size() <= maxTextFileBytes) {
    if (readText(file, text)) {
      return text;
    }
  }
  std::cout << "ERROR: could not open file " << fileName << std::endl;
  return std::string();
}

boost::shared_ptr<Texture> RessourceManager::loadTexture(std::string fileName) {
  const auto cached = textures.find(fileName);
  if (cached != textures.end()) {
    return cached->second;
  }
  boost::shared_ptr<Texture> texture(new Texture());
  texture->name = fileName;
  std::cout << LOG_PREFIX << "load image from file " << fileName << std::endl;

  const ImageLoad loaded = decodeOnce(fileName, *texture);
  if (loaded == ImageLoad::UnknownType) {
    std::cerr << LOG_PREFIX << " couldn't find out filetype..." << std::endl;
  }
  if (loaded != ImageLoad::Loaded) {
    std::cerr << LOG_PREFIX << "couldn't load texture: " << fileName << std::endl;
  }
  textures[fileName] = texture;
  return texture;
}

namespace {

// A texture that failed is 0 x 0, with an array of no bytes.
ImageLoad decode(const std::string& fileName, Texture& texture) {
  const ImageLoad loaded = loadImageFile(fileName, texture);
  if (loaded != ImageLoad::Loaded) {
    texture.width = 0;
    texture.height = 0;
    texture.data.reset(new unsigned char[0]);
  }
  return loaded;
}

}  // namespace

// A file decodes once, whatever the spellings of its path: a slow hostile file costs one
// timeout, a large image one copy. The name's type counts, as it decides for files of no known
// signature; a file changed while it was decoded is not remembered, nor is a decoding that could
// not run.
ImageLoad RessourceManager::decodeOnce(const std::string& fileName, Texture& texture) {
  const std::optional<FileIdentity> identity = identityOf(fileName);
  if (!identity) {
    return decode(fileName, texture);
  }
  const DecodedFileKey key(*identity, FreeImage_GetFIFFromFilename(fileName.c_str()));
  const auto known = decodedFiles.find(key);
  if (known != decodedFiles.end()) {
    texture.width = known->second.width;
    texture.height = known->second.height;
    texture.data = known->second.data;
    return known->second.outcome;
  }
  const ImageLoad loaded = decode(fileName, texture);
  if (loaded != ImageLoad::NotRun && identityOf(fileName) == identity) {
    decodedFiles.emplace(key, Decoded{loaded, texture.width, texture.height, texture.data});
  }
  return loaded;
}

boost::shared_ptr<Mesh> RessourceManager::loadMesh(std::string fileName) {
  // The previous mesh is not needed while the new file is parsed.
  currentMesh.reset();
  WavefrontLoader loader(fileName);
  loader.prepare();

  vc = nc = txc = trc = qc = 0;
  badFaces = 0;
  listingLeft = listingBudget;
  currentMesh.reset(new Mesh());
  currentMesh->resize(loader.vertexCount(), loader.triangleCount(), loader.quadCount());
  bindCallbacks(loader);
  loader.emitPass();

  reportRejectedCallbacks(fileName);
  std::cout << "mesh loaded: " << *currentMesh << std::endl;
  std::cout << "counts: vc" << vc << " nc" << nc << " txc" << txc << " trc" << trc << " qc" << qc
            << std::endl;
  return currentMesh;
}

// Normals and texture coordinates get slots, and their callbacks, only when the file has some.
void RessourceManager::bindCallbacks(WavefrontLoader& loader) {
  using namespace boost::placeholders;
  if (loader.hasNormals()) {
    currentMesh->enableNormals();
    loader.normalCallback = boost::bind(&RessourceManager::addNormal, this, _1, _2, _3);
  }
  if (loader.hasTexCoords()) {
    currentMesh->enableTexCoords();
    loader.texCoordCallback = boost::bind(&RessourceManager::addTexCoord, this, _1, _2);
  }
  loader.vertexCallback = boost::bind(&RessourceManager::addVertex, this, _1, _2, _3);
  loader.quadCallback = boost::bind(&RessourceManager::addQuad, this, _1, _2, _3, _4);
  loader.triangleCallback = boost::bind(&RessourceManager::addTriangle, this, _1, _2, _3);
  loader.useMaterialCallback = boost::bind(&RessourceManager::setMaterial, this, _1);
  loader.materialCallback = boost::bind(&RessourceManager::addMaterial, this, _1, _2);
  loader.textureCallback = boost::bind(&RessourceManager::setTexture, this, _1);
}

// The loader promises no more callbacks than it counted and no face naming a vertex it did not
// deliver; should it break that promise, the mesh stays within its sequences and the log says so.
void RessourceManager::reportRejectedCallbacks(const std::string& fileName) const {
  const Mesh& mesh = *currentMesh;
  const bool dropped =
      std::size_t(vc) > mesh.vertices.size() || std::size_t(nc) > mesh.normals.size() ||
      std::size_t(txc) > mesh.texCoords.size() || std::size_t(trc) > mesh.triangles.size() ||
      std::size_t(qc) > mesh.quads.size();
  if (dropped) {
    std::cerr << LOG_PREFIX << "more elements than counted in " << fileName
              << "; the extra ones were dropped" << std::endl;
  }
  if (badFaces > 0) {
    std::cerr << LOG_PREFIX << badFaces << " faces of " << fileName
              << " named a vertex the mesh does not have; they were left degenerate" << std::endl;
  }
}

bool RessourceManager::vertexInRange(int index) const {
  return index >= 0 && std::size_t(index) < currentMesh->vertices.size();
}

void RessourceManager::addVertex(float x, float y, float z) {
  Mesh& mesh = *currentMesh;
  if (std::size_t(vc) < mesh.vertices.size()) {
    mesh.vertices[vc].set(x, y, z);
    // A mesh without faces draws every three vertices as a triangle.
    const std::size_t face = std::size_t(vc) / 3;
    if (mesh.triangles.empty() && mesh.quads.empty() && face < mesh.materials.size()) {
      mesh.materials[face] = currentMaterial;
    }
  }
  ++vc;
}

// The loader hands over a vertex's normal and texture coordinate right after
// its position, so they go to the vertex just added: they stay with their
// vertex even when other face vertices of the file have none.
void RessourceManager::addNormal(float x, float y, float z) {
  Mesh& mesh = *currentMesh;
  const std::size_t slot = std::size_t(vc) - 1;
  if (vc > 0 && slot < mesh.normals.size()) {
    mesh.normals[slot].set(x, y, z);
  }
  ++nc;
}

void RessourceManager::addTexCoord(float u, float v) {
  Mesh& mesh = *currentMesh;
  const std::size_t slot = std::size_t(vc) - 1;
  if (vc > 0 && slot < mesh.texCoords.size()) {
    mesh.texCoords[slot].set(u, v);
  }
  ++txc;
}

void RessourceManager::addTriangle(int a, int b, int c) {
  Mesh& mesh = *currentMesh;
  if (std::size_t(trc) < mesh.triangles.size() && std::size_t(trc) < mesh.materials.size()) {
    if (vertexInRange(a) && vertexInRange(b) && vertexInRange(c)) {
      mesh.triangles[trc].set(a, b, c);
    } else {
      ++badFaces;
    }
    mesh.materials[trc] = currentMaterial;
  }
  ++trc;
}

// Quad materials follow all triangle slots, whatever the order of the lines.
void RessourceManager::addQuad(int a, int b, int c, int d) {
  Mesh& mesh = *currentMesh;
  const std::size_t face = mesh.triangles.size() + std::size_t(qc);
  if (std::size_t(qc) < mesh.quads.size() && face < mesh.materials.size()) {
    if (vertexInRange(a) && vertexInRange(b) && vertexInRange(c) && vertexInRange(d)) {
      mesh.quads[qc].set(a, b, c, d);
    } else {
      ++badFaces;
    }
    mesh.materials[face] = currentMaterial;
  }
  ++qc;
}

void RessourceManager::addMaterial(std::string name, WavefrontLoader::color record) {
  boost::shared_ptr<Material> material(new Material());
  material->name = name;
  setFrom(material->ambient, record.ambient);
  setFrom(material->diffuse, record.diffuse);
  setFrom(material->specular, record.specular);
  material->shininess = record.shininess;
  materials[name] = material;
  currentMaterial = material;
}

void RessourceManager::setMaterial(std::string name) {
  const auto found = materials.find(name);
  if (found != materials.end()) {
    currentMaterial = found->second;
    return;
  }
  // Each line may list the whole table; within one load the lists stop after a mebibyte, so a file
  // naming missing materials again and again prints in proportion to its own size. A line of an
  // empty table leaves nothing out: it is printed whole, and the note waits for a name left out.
  std::string line = "setM failed " + name + " " + std::to_string(materials.size());
  const std::size_t unlisted = line.size();
  for (auto entry = materials.begin(); entry != materials.end() && line.size() < listingLeft;
       ++entry) {
    line += " -" + entry->first;
  }
  if (line.size() < listingLeft) {
    listingLeft -= line.size();
  } else if (!materials.empty()) {
    if (listingLeft > 0) {
      std::cout << "setM failed lines leave out the material names for the rest of this load"
                << std::endl;
    }
    listingLeft = 0;
    line.resize(unlisted);
  }
  std::cout << line << std::endl;
}

void RessourceManager::setTexture(std::string path) {
  const boost::shared_ptr<Texture> texture = loadTexture(path);
  if (currentMaterial) {
    currentMaterial->texture = texture;
  }
}

}  // namespace Loader
}  // namespace System
