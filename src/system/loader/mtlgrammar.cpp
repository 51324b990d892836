#include "system/loader/mtlgrammar.h"

#include <boost/spirit/include/classic_assign_actor.hpp>
#include <string>

#include "system/loader/realparser.h"
#include "system/loader/wavefrontloader.h"

namespace System {
namespace Loader {

MtlGrammar::MtlGrammar(WavefrontLoader& loader) {
  using namespace boost::spirit::classic;
  WavefrontLoader* const l = &loader;
  WavefrontLoader::color& record = loader.currentMaterial;
  const float* const n = numbers;
  const RealParser real;
  const auto rgb =
      real[assign_a(numbers[0])] >> real[assign_a(numbers[1])] >> real[assign_a(numbers[2])];
  // The record is a member of the loader: a colour's address holds for the grammar's lifetime.
  const auto setColor = [l, n](float* colour) {
    return [l, n, colour](const char*, const char*) { l->setColor(colour, n[0], n[1], n[2]); };
  };
  const auto newMaterial = [l](const char* first, const char* last) {
    l->onNewMaterial(std::string(first, last));
  };
  const auto diffuseMap = [l](const char* first, const char* last) {
    l->onDiffuseMap(std::string(first, last));
  };
  const auto setNumber = [l](float* field) {
    return [l, field](float value) { l->setNumber(field, value); };
  };
  const auto rest = lexeme_d[*anychar_p];
  grammar = (ch_p('#') >> rest) | (str_p("newmtl") >> rest[newMaterial]) |
            (str_p("Ka") >> rgb)[setColor(record.ambient)] |
            (str_p("Kd") >> rgb)[setColor(record.diffuse)] | (str_p("map_Kd") >> rest[diffuseMap]) |
            (str_p("Ks") >> rgb)[setColor(record.specular)] |
            (ch_p('d') >> real[setNumber(&record.alpha)]) |
            (str_p("Ns") >> real[setNumber(&record.shininess)]) | (str_p("Ni") >> real) |
            (str_p("illum") >> digit_p) | eps_p;
}

}  // namespace Loader
}  // namespace System
