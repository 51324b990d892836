// Shader programs: builds and their messages, the table, the lock and the uniforms.

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using Shader = Data::Geometry::Shader;
using ShaderPtr = Rendering::Kernel::ShaderPtr;
using KernelShadersTest = KernelTest;

const char* const fragmentOk = "void main() { gl_FragColor = vec4(1.0); }";

// Compile failures leave their standard error line open and put the info log on standard
// output; a link failure writes only its info log.
TEST_F(KernelShadersTest, BuildsReportWhatFailedAndGiveTheFailureValue) {
  const char *const vertexOk = "void main() { gl_Position = ftransform(); }",
                    *const broken = "void main() { syntax error }";
  const struct {
    const char *vertex, *fragment, *err;
    std::string out;
    bool built;
  } builds[] = {
      {broken, broken, "kernelshaders.cpp: vertex ", "shader infolog: \n", false},
      {vertexOk, broken, "kernelshaders.cpp: fragment ", "shader infolog: \n", false},
      {"void helper() {}", fragmentOk, "", "programshader infolog: \n", false},
      {vertexOk, fragmentOk, "", "", true},
  };
  for (const auto& b : builds) {
    GLuint program = 0;
    const auto output = outputOf([&] { program = kernel->buildProgram(b.vertex, b.fragment); });
    EXPECT_EQ(output.second, b.err);
    EXPECT_EQ(output.first.substr(0, b.out.size()), b.out);
    EXPECT_EQ(output.first.size() > b.out.size() + 1, !b.built) << output.first;  // a log follows
    EXPECT_EQ(program == Rendering::Kernel::buildFailed, !b.built) << b.err;
    EXPECT_EQ(glIsProgram(program) == GL_TRUE, b.built) << b.err;
  }
}

// The first record of a name is loaded and kept; later ones are turned into it. One whose
// source is missing stays in the table unloaded, and an empty handle is ignored.
TEST_F(KernelShadersTest, ANameIsLoadedOnceAndTheLockKeepsTheCurrentProgramWhileResendingIt) {
  for (const char* name : {"texLightSM", "missing"}) kernel->shaders.erase(name);
  auto first = boost::make_shared<Shader>("texLightSM"),
       missing = boost::make_shared<Shader>("missing");
  const std::string out =
      outputOf([&] {
        for (auto shader : {missing, ShaderPtr(), first, boost::make_shared<Shader>("texLightSM")})
          kernel->useShader(shader);
      }).first;
  EXPECT_EQ(occurrences(out, "kernelshaders.cpp: load new shader texLightSM\n"), 1) << out;
  EXPECT_EQ(occurrences(out, "ERROR: could not open file shaders/missing.vert"), 1) << out;
  EXPECT_EQ(kernel->currentShader, first);
  EXPECT_EQ(kernel->shaders.at("texLightSM"), first);
  EXPECT_EQ(kernel->shaders.at("missing"), missing);
  EXPECT_FALSE(missing->loaded);

  // Locked, another program keeps the current one, selected again with the uniforms sent:
  // the model matrix as stored (turned, so that a transposition shows) and unit 1.
  const GLuint program = first->program;
  kernel->shaderLocked = true;
  glUseProgram(0);
  kernel->modelMatrix = translation(1, 2, 3) * Matrix().setRotationZ(0.5f);
  kernel->useShader(boost::make_shared<Shader>("texLight"));
  EXPECT_EQ(kernel->currentShader, first);
  EXPECT_EQ(static_cast<GLuint>(glInt(GL_CURRENT_PROGRAM)), program);
  EXPECT_EQ(uniform("modelMatrix"), floats(kernel->modelMatrix));
  EXPECT_EQ(uniform("shadowMap", 1), std::vector<float>{1});
  kernel->currentShader.reset();  // without a current shader the lock takes the argument
  kernel->useShader(first);
  EXPECT_EQ(kernel->currentShader, first);
}

// A program that declares the names with other types, or lost its build, gets one line per
// uniform; the "getting" lines keep their old misspelling.
TEST_F(KernelShadersTest, UniformsTheProgramRefusesAreReportedOneLineEach) {
  auto wrongTypes = boost::make_shared<Shader>("wrongTypes"),
       lost = boost::make_shared<Shader>("lost");
  wrongTypes->program = kernel->buildProgram(
      "uniform float viewMatrix, shadowMap;\nuniform vec4 modelMatrix;\n"
      "void main() { gl_Position = ftransform() * viewMatrix + modelMatrix * shadowMap; }",
      fragmentOk);
  lost->program = Rendering::Kernel::buildFailed;
  std::string setting, getting;
  for (const char* name : {"viewMatrix", "modelMatrix", "shadowMap"}) {
    setting += std::string("kernelshaders.cpp: shader wrongTypes: setting uniform ") + name +
               " generates GL_INVALID_OPERATION\n";
  }
  for (const char* name : {"viewMatirx", "modelMatirx", "shadowMap"})
    getting += std::string("kernelshaders.cpp: shader lost: getting uniform ") + name +
               ": invalid value\n";
  for (const auto& shader : {wrongTypes, lost}) {
    shader->loaded = true;
    kernel->currentShader = shader;
    glUseProgram(shader == lost ? 0 : shader->program);
    EXPECT_EQ(outputOf([this] { kernel->setUniforms(); }).second,
              shader == lost ? getting : setting);
  }
  while (glGetError() != GL_NO_ERROR) continue;
}

// Every mesh of every frame sends the uniforms again; a refusal is written once per build of
// the program, so once more after a new window builds them all again.
TEST_F(KernelShadersTest, ARefusedUniformIsWrittenOncePerBuildOverManyFrames) {
  // A name of its own in each run of the test, as the kernel's table loads a name only once.
  static int run = 0;
  const std::string name = "floatShadowMap" + std::to_string(++run);
  auto floatShadowMap = boost::make_shared<Shader>(name);
  floatShadowMap->vertexSource =
      "uniform float shadowMap;\nvoid main() { gl_Position = ftransform() * shadowMap; }";
  floatShadowMap->fragmentSource = fragmentOk;
  floatShadowMap->program = kernel->buildProgram(floatShadowMap->vertexSource.c_str(), fragmentOk);
  floatShadowMap->loaded = true;
  kernel->shaders[name] = floatShadowMap;  // as its first use would load it
  scene = makeScene(name.c_str(), translation(0, 0, fillDistance));
  scene->add(makeSquare(0.5f, makeMaterial(1, 0, 0)));
  scene->add(makeSquare(0.2f, makeMaterial(0, 1, 0)));
  const std::string refused =
      "kernelshaders.cpp: shader " + name +
      ": setting uniform shadowMap generates GL_INVALID_OPERATION\n";
  for (bool again : {false, true}) {
    // The new window also builds what earlier tests left in the table, with their messages.
    const std::string err = outputOf([&] {
                              if (again) newWindow();
                              for (int frame = 0; frame < 5; ++frame) kernel->display();
                            }).second;
    EXPECT_EQ(occurrences(err, refused), 1) << err;
    EXPECT_EQ(occurrences(err, name + ":"), 1) << err;
    if (!again) {
      EXPECT_EQ(err, refused);
    }
  }
  while (glGetError() != GL_NO_ERROR) continue;
}

}  // namespace
