#pragma once
// The process-wide loader of whole files, cached textures, materials by name and meshes.

#include <boost/shared_ptr.hpp>
#include <boost/unordered_map.hpp>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "data/geometry/material.h"
#include "data/geometry/mesh.h"
#include "data/geometry/texture.h"
#include "system/loader/fileidentity.h"
#include "system/loader/keyedhash.h"
#include "system/loader/sandboxedimage.h"
#include "system/loader/wavefrontloader.h"

namespace System {
namespace Loader {

// The longest text readFile takes. Shader sources are some kilobytes; the bound keeps a huge or
// endless file from taking all memory.
constexpr std::uint64_t maxTextFileBytes = std::uint64_t(64) << 20;

// Created on first use and never destroyed. Loads run one at a time on the
// main thread: the mesh-building members below belong to the load in progress.
class RessourceManager {
 public:
  static RessourceManager* getInstance();

  // The text of the file up to its first zero byte; empty, with a line on
  // standard output, when it cannot be read or is longer than maxTextFileBytes.
  std::string readFile(std::string fileName);

  // Cached by the path exactly as given; a file that cannot be decoded gives
  // a 0 x 0 texture, which is cached too. Paths naming the same file get
  // textures of their own that share one decoding of it.
  boost::shared_ptr<Data::Geometry::Texture> loadTexture(std::string fileName);

  // A new mesh for the OBJ file, its MTL libraries and their textures.
  boost::shared_ptr<Data::Geometry::Mesh> loadMesh(std::string fileName);

  // Receivers of the loader's emit pass, valid only inside loadMesh.
  void addVertex(float x, float y, float z);
  void addNormal(float x, float y, float z);
  void addTexCoord(float u, float v);
  void addTriangle(int a, int b, int c);
  void addQuad(int a, int b, int c, int d);
  void addMaterial(std::string name, WavefrontLoader::color record);
  void setMaterial(std::string name);
  void setTexture(std::string path);

 private:
  RessourceManager();
  ~RessourceManager();
  RessourceManager(const RessourceManager&) = delete;
  RessourceManager& operator=(const RessourceManager&) = delete;

  ImageLoad decodeOnce(const std::string& fileName, Data::Geometry::Texture& texture);
  void bindCallbacks(WavefrontLoader& loader);
  void reportRejectedCallbacks(const std::string& fileName) const;
  bool vertexInRange(int index) const;

  // Slot counters of the load in progress; they keep their final values after it.
  std::int32_t vc = 0;
  std::int32_t nc = 0;
  std::int32_t txc = 0;
  std::int32_t trc = 0;
  std::int32_t qc = 0;
  boost::shared_ptr<Data::Geometry::Mesh> currentMesh;
  boost::shared_ptr<Data::Geometry::Material> currentMaterial;
  // Keyed: a file names the materials and textures, and could otherwise aim them at one bucket.
  boost::unordered_map<std::string, boost::shared_ptr<Data::Geometry::Material>, KeyedStringHash>
      materials;
  boost::unordered_map<std::string, boost::shared_ptr<Data::Geometry::Texture>, KeyedStringHash>
      textures;

  // What decoding gave for each file, with the type its path's extension names.
  struct Decoded {
    ImageLoad outcome;
    std::int32_t width, height;
    boost::shared_array<unsigned char> data;
  };
  using DecodedFileKey = std::pair<FileIdentity, int>;
  boost::unordered_map<DecodedFileKey, Decoded> decodedFiles;

  // Faces of the current load that named a vertex slot the mesh does not have.
  std::int32_t badFaces = 0;

  // Bytes that the current load's "setM failed " lines may still print while they list the
  // material table; 0 once a line has left its list out, which the rest of the load does too.
  static constexpr std::size_t listingBudget = std::size_t(1) << 20;
  std::size_t listingLeft = listingBudget;

  static RessourceManager* instance;

  // Lets tests put the process-wide material table back as they found it.
  friend class MaterialTableSnapshot;
};

}  // namespace Loader
}  // namespace System
