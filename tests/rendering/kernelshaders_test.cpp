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
  kernel->shaders.erase("texLightSM");
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

  const GLuint texLightSM = first->program;
  kernel->shaderLocked = true;
  glUseProgram(0);
  kernel->modelMatrix = translation(1, 2, 3);
  kernel->useShader(boost::make_shared<Shader>("texLight"));
  EXPECT_EQ(kernel->currentShader, first);
  EXPECT_EQ(static_cast<GLuint>(glInt(GL_CURRENT_PROGRAM)), texLightSM);
  GLfloat sent[16];
  glGetUniformfv(texLightSM, glGetUniformLocation(texLightSM, "modelMatrix"), sent);
  EXPECT_TRUE(sameMatrix(sent, translation(1, 2, 3), 0));
  kernel->currentShader.reset();  // without a current shader the lock takes the argument
  kernel->useShader(first);
  EXPECT_EQ(kernel->currentShader, first);
}

// A program that lost its build (or declares the names with other types) gets one line per
// uniform; setting one that works sends the matrices as stored and unit 1.
TEST_F(KernelShadersTest, UniformsCarryTheMatricesAndTheShadowUnitOrSayWhyNot) {
  const auto made = [this](const char* name, const char* declarations, const char* position) {
    auto shader = boost::make_shared<Shader>(name);
    shader->program = kernel->buildProgram(
        (std::string(declarations) + "void main() { gl_Position = " + position + "; }").c_str(),
        fragmentOk);
    shader->loaded = true;
    return shader;
  };
  const auto uniforms = [this](const ShaderPtr& shader) {
    kernel->currentShader = shader;
    glUseProgram(shader->program == Rendering::Kernel::buildFailed ? 0 : shader->program);
    return outputOf([this] { kernel->setUniforms(); }).second;
  };
  auto all = made("all", "uniform mat4 viewMatrix, modelMatrix;\nuniform sampler2D shadowMap;\n",
                  "viewMatrix * modelMatrix * texture2D(shadowMap, vec2(0.0))");
  kernel->modelMatrix = translation(1, 2, 3) * Matrix().setRotationZ(0.5f);
  kernel->viewMatrix = Matrix().setRotationX(0.25f) * translation(-4, 5, -6);
  EXPECT_EQ(uniforms(all), "");
  GLfloat sent[2][16];
  GLint unit = 0;
  glGetUniformfv(all->program, glGetUniformLocation(all->program, "viewMatrix"), sent[0]);
  glGetUniformfv(all->program, glGetUniformLocation(all->program, "modelMatrix"), sent[1]);
  glGetUniformiv(all->program, glGetUniformLocation(all->program, "shadowMap"), &unit);
  EXPECT_TRUE(sameMatrix(sent[0], kernel->viewMatrix, 0));
  EXPECT_TRUE(sameMatrix(sent[1], kernel->modelMatrix, 0));
  EXPECT_EQ(unit, 1);

  auto lost = boost::make_shared<Shader>("lost");
  lost->program = Rendering::Kernel::buildFailed;
  lost->loaded = true;
  std::string setting, getting;
  for (const char* name : {"viewMatrix", "modelMatrix", "shadowMap"}) {
    setting += std::string("kernelshaders.cpp: shader wrongTypes: setting uniform ") + name +
               " generates GL_INVALID_OPERATION\n";
  }
  for (const char* name : {"viewMatirx", "modelMatirx", "shadowMap"}) {
    getting += std::string("kernelshaders.cpp: shader lost: getting uniform ") + name +
               ": invalid value\n";
  }
  EXPECT_EQ(uniforms(made("wrongTypes",
                          "uniform float viewMatrix, shadowMap;\nuniform vec4 modelMatrix;\n",
                          "ftransform() * viewMatrix + modelMatrix * shadowMap")),
            setting);
  EXPECT_EQ(uniforms(lost), getting);
  while (glGetError() != GL_NO_ERROR) continue;
}

}  // namespace
