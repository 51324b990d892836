#include "system/loader/objgrammar.h"

#include <boost/bind/bind.hpp>
#include <boost/spirit/include/classic_assign_actor.hpp>
#include <string>

#include "system/loader/facevertexparser.h"
#include "system/loader/realparser.h"
#include "system/loader/wavefrontloader.h"

namespace System {
namespace Loader {

// The actions call the loader's members at the time they fire, so that each pass can rebind them.
ObjGrammar::ObjGrammar(WavefrontLoader& loader) {
  using namespace boost::spirit::classic;
  using namespace boost::placeholders;
  WavefrontLoader* const l = &loader;
  const float* const n = numbers;
  const RealParser real;
  const auto x = real[assign_a(numbers[0])];
  const auto y = real[assign_a(numbers[1])];
  const auto z = real[assign_a(numbers[2])];
  const auto vertex = [l, n](const char*, const char*) { l->vertexAction(n[0], n[1], n[2]); };
  const auto normal = [l, n](const char*, const char*) { l->normalAction(n[0], n[1], n[2]); };
  const auto texCoord = [l, n](const char*, const char*) { l->texCoordAction(n[0], n[1]); };
  const auto fireFaceVertex = [l](const FaceVertexIndices& indices) {
    if (indices.negative != 0) {
      l->onNegativeIndex(indices.negative);
    }
    l->faceVertexAction(indices.v, indices.vt, indices.vn);
  };
  const auto faceVertex = FaceVertexParser()[fireFaceVertex];
  const auto quadEnd = [l](const char*, const char*) { l->quadEndAction(); };
  const auto triangleEnd = [l](const char*, const char*) { l->triangleEndAction(); };
  const auto useMaterial = [l](const char* first, const char* last) {
    l->useMaterialAction(std::string(first, last));
  };
  const auto readLibrary = [l](const char* first, const char* last) {
    l->parseFileFunction(std::string(first, last),
                         boost::bind(&WavefrontLoader::parseMtlLine, l, _1, _2));
  };
  const auto rest = lexeme_d[*anychar_p];
  grammar = (ch_p('#') >> rest) | (str_p("vn") >> x >> y >> z)[normal] |
            (str_p("vt") >> x >> y)[texCoord] | (ch_p('v') >> x >> y >> z)[vertex] |
            (ch_p('f') >> faceVertex >> faceVertex >> faceVertex >>
             ((faceVertex >> end_p)[quadEnd] | end_p[triangleEnd])) |
            (str_p("usemtl") >> rest[useMaterial]) | (str_p("mtllib") >> rest[readLibrary]) |
            ((ch_p('g') | 's' | 'o') >> rest);
}

}  // namespace Loader
}  // namespace System
