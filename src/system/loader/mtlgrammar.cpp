#include "system/loader/mtlgrammar.h"

#include <string>

#include "system/loader/realparser.h"
#include "system/loader/wavefrontloader.h"

namespace System {
namespace Loader {

namespace {

namespace sc = boost::spirit::classic;
typedef WavefrontLoader::color Record;

struct StoreFloat {
  float* target;
  void operator()(float value) const { *target = value; }
};

// Sets a colour of the current material from the three numbers of its line.
struct SetColor {
  WavefrontLoader* loader;
  float (Record::*colour)[4];
  const float* rgb;
  void operator()(const char*, const char*) const {
    loader->setColor(loader->currentMaterial.*colour, rgb[0], rgb[1], rgb[2]);
  }
};

struct NewMaterial {
  WavefrontLoader* loader;
  void operator()(const char* first, const char* last) const {
    loader->onNewMaterial(std::string(first, last));
  }
};

struct DiffuseMap {
  WavefrontLoader* loader;
  void operator()(const char* first, const char* last) const {
    loader->onDiffuseMap(std::string(first, last));
  }
};

}  // namespace

MtlGrammar::MtlGrammar(WavefrontLoader& loader) {
  using sc::anychar_p;
  using sc::ch_p;
  using sc::digit_p;
  using sc::eps_p;
  using sc::lexeme_d;
  using sc::str_p;
  WavefrontLoader* const l = &loader;
  Record& record = loader.currentMaterial;
  const RealParser real;
  const auto rgb = real[StoreFloat{&this->rgb[0]}] >> real[StoreFloat{&this->rgb[1]}] >>
                   real[StoreFloat{&this->rgb[2]}];
  grammar = (ch_p('#') >> lexeme_d[*anychar_p]) |
            (str_p("newmtl") >> lexeme_d[(*anychar_p)[NewMaterial{l}]]) |
            (str_p("Ka") >> rgb)[SetColor{l, &Record::ambient, this->rgb}] |
            (str_p("Kd") >> rgb)[SetColor{l, &Record::diffuse, this->rgb}] |
            (str_p("map_Kd") >> lexeme_d[(*anychar_p)[DiffuseMap{l}]]) |
            (str_p("Ks") >> rgb)[SetColor{l, &Record::specular, this->rgb}] |
            (ch_p('d') >> real[StoreFloat{&record.alpha}]) |
            (str_p("Ns") >> real[StoreFloat{&record.shininess}]) | (str_p("Ni") >> real) |
            (str_p("illum") >> digit_p) | eps_p;
}

}  // namespace Loader
}  // namespace System
