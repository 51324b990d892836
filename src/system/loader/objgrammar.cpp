#include "system/loader/objgrammar.h"

#include <boost/bind/bind.hpp>
#include <string>

#include "system/loader/facevertexparser.h"
#include "system/loader/realparser.h"
#include "system/loader/wavefrontloader.h"

namespace System {
namespace Loader {

namespace {

namespace sc = boost::spirit::classic;
typedef ObjGrammar::Numbers Numbers;

struct StoreFloat {
  float* target;
  void operator()(float value) const { *target = value; }
};

struct FireVector3 {
  WavefrontLoader* loader;
  WavefrontLoader::Vector3Callback WavefrontLoader::*action;
  const Numbers* numbers;
  void operator()(const char*, const char*) const {
    (loader->*action)(numbers->x, numbers->y, numbers->z);
  }
};

struct FireTexCoord {
  WavefrontLoader* loader;
  const Numbers* numbers;
  void operator()(const char*, const char*) const {
    loader->texCoordAction(numbers->x, numbers->y);
  }
};

struct FireFaceVertex {
  WavefrontLoader* loader;
  void operator()(const FaceVertexIndices& indices) const {
    loader->faceVertexAction(indices.v, indices.vt, indices.vn);
  }
};

struct FireFaceEnd {
  WavefrontLoader* loader;
  WavefrontLoader::FaceEndAction WavefrontLoader::*action;
  void operator()(const char*, const char*) const { (loader->*action)(); }
};

struct FireUseMaterial {
  WavefrontLoader* loader;
  void operator()(const char* first, const char* last) const {
    loader->useMaterialAction(std::string(first, last));
  }
};

struct ReadLibrary {
  WavefrontLoader* loader;
  void operator()(const char* first, const char* last) const {
    using namespace boost::placeholders;
    loader->parseFileFunction(std::string(first, last),
                              boost::bind(&WavefrontLoader::parseMtlLine, loader, _1, _2));
  }
};

}  // namespace

ObjGrammar::ObjGrammar(WavefrontLoader& loader) {
  using sc::anychar_p;
  using sc::ch_p;
  using sc::end_p;
  using sc::lexeme_d;
  using sc::str_p;
  WavefrontLoader* const l = &loader;
  Numbers* const n = &numbers;
  const RealParser real;
  const auto x = real[StoreFloat{&n->x}];
  const auto y = real[StoreFloat{&n->y}];
  const auto z = real[StoreFloat{&n->z}];
  const auto faceVertex = FaceVertexParser()[FireFaceVertex{l}];
  const auto rest = lexeme_d[*anychar_p];
  grammar = (ch_p('#') >> rest) |
            (str_p("vn") >> x >> y >> z)[FireVector3{l, &WavefrontLoader::normalAction, n}] |
            (str_p("vt") >> x >> y)[FireTexCoord{l, n}] |
            (ch_p('v') >> x >> y >> z)[FireVector3{l, &WavefrontLoader::vertexAction, n}] |
            (ch_p('f') >> faceVertex >> faceVertex >> faceVertex >>
             ((faceVertex >> end_p)[FireFaceEnd{l, &WavefrontLoader::quadEndAction}] |
              end_p[FireFaceEnd{l, &WavefrontLoader::triangleEndAction}])) |
            (str_p("usemtl") >> lexeme_d[(*anychar_p)[FireUseMaterial{l}]]) |
            (str_p("mtllib") >> lexeme_d[(*anychar_p)[ReadLibrary{l}]]) |
            ((ch_p('g') | 's' | 'o') >> rest);
}

}  // namespace Loader
}  // namespace System
