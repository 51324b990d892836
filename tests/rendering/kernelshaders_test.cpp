// Shader programs: builds and their messages, the table, the lock and the uniforms.

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using Shader = Data::Geometry::Shader;
using ShaderPtr = Rendering::Kernel::ShaderPtr;
using KernelShadersTest = KernelTest;

const char* const vertexOk = "void main() { gl_Position = ftransform(); }";
const char* const fragmentOk = "void main() { gl_FragColor = vec4(1.0); }";
const char* const broken = "void main() { syntax error }";

// Compile failures leave their standard error line open and put the info log on standard
// output; a link failure writes only its info log.
TEST_F(KernelShadersTest, BuildsReportWhatFailedAndGiveTheFailureValue) {
  const struct {
    const char *vertex, *fragment, *err, *out;
    bool built;
  } builds[] = {
      {broken, broken, "kernelshaders.cpp: vertex ", "shader infolog: \n", false},
      {vertexOk, broken, "kernelshaders.cpp: fragment ", "shader infolog: \n", false},
      {"void helper() {}", fragmentOk, "", "programshader infolog: \n", false},
      {vertexOk, fragmentOk, "", "", true},
  };
  for (const auto& b : builds) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const GLuint program = kernel->buildProgram(b.vertex, b.fragment);
    const std::string err = withoutLineNumbers(testing::internal::GetCapturedStderr());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, b.err);
    EXPECT_EQ(out.substr(0, std::string(b.out).size()), b.out);
    EXPECT_EQ(out.size() > std::string(b.out).size() + 1, !b.built) << out;  // a log follows
    EXPECT_EQ(program == Rendering::Kernel::buildFailed, !b.built) << b.err;
    EXPECT_EQ(glIsProgram(program) == GL_TRUE, b.built) << b.err;
  }
}

TEST_F(KernelShadersTest, AMissingSourceFileStaysInTheTableUnloadedAndAnEmptyHandleIsIgnored) {
  auto missing = boost::make_shared<Shader>("missing");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  kernel->useShader(missing);
  kernel->useShader(boost::shared_ptr<Shader>());
  testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(occurrences(out, "ERROR: could not open file shaders/missing.vert"), 1) << out;
  EXPECT_EQ(kernel->shaders.at("missing"), missing);
  EXPECT_FALSE(missing->loaded);
}

// The first record of a name is loaded and kept; later ones are turned into it.
TEST_F(KernelShadersTest, ANameIsLoadedOnceAndTheLockKeepsTheCurrentProgramWhileResendingIt) {
  kernel->shaders.erase("texLightSM");
  auto first = boost::make_shared<Shader>("texLightSM"),
       second = boost::make_shared<Shader>("texLightSM");
  testing::internal::CaptureStdout();
  kernel->useShader(first);
  kernel->useShader(second);
  EXPECT_EQ(withoutLineNumbers(testing::internal::GetCapturedStdout()),
            "kernelshaders.cpp: load new shader texLightSM\n");
  EXPECT_EQ(kernel->currentShader, first);
  EXPECT_EQ(kernel->shaders.at("texLightSM"), first);
  EXPECT_FALSE(second->loaded);

  GLint program = 0;
  const GLuint texLightSM = first->program;
  kernel->shaderLocked = true;
  glUseProgram(0);
  kernel->modelMatrix = translation(1, 2, 3);
  kernel->useShader(boost::make_shared<Shader>("texLight"));
  EXPECT_EQ(kernel->currentShader, first);
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(static_cast<GLuint>(program), texLightSM);
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
  // Shader records that building does not fill in, made current by hand.
  auto made = [this](const char* name, const char* vertex) {
    auto shader = boost::make_shared<Shader>(name);
    shader->program = kernel->buildProgram(vertex, fragmentOk);
    shader->loaded = true;
    return shader;
  };
  auto all =
      made("all",
           "uniform mat4 viewMatrix;\nuniform mat4 modelMatrix;\nuniform sampler2D shadowMap;\n"
           "void main() {\n"
           "  gl_Position = viewMatrix * modelMatrix * texture2D(shadowMap, vec2(0.0));\n}");
  const Matrix model = translation(1, 2, 3) * Matrix().setRotationZ(0.5f);
  const Matrix view = Matrix().setRotationX(0.25f) * translation(-4, 5, -6);
  kernel->modelMatrix = model;
  kernel->viewMatrix = view;
  kernel->currentShader = all;
  glUseProgram(all->program);
  testing::internal::CaptureStderr();
  kernel->setUniforms();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  GLfloat sent[2][16];
  glGetUniformfv(all->program, glGetUniformLocation(all->program, "viewMatrix"), sent[0]);
  glGetUniformfv(all->program, glGetUniformLocation(all->program, "modelMatrix"), sent[1]);
  EXPECT_TRUE(sameMatrix(sent[0], view, 0));
  EXPECT_TRUE(sameMatrix(sent[1], model, 0));
  GLint unit = 0;
  glGetUniformiv(all->program, glGetUniformLocation(all->program, "shadowMap"), &unit);
  EXPECT_EQ(unit, 1);

  auto wrongTypes =
      made("wrongTypes",
           "uniform float viewMatrix;\nuniform vec4 modelMatrix;\nuniform float shadowMap;\n"
           "void main() { gl_Position = ftransform() * viewMatrix + modelMatrix * shadowMap; }");
  auto lost = boost::make_shared<Shader>("lost");
  lost->program = Rendering::Kernel::buildFailed;
  lost->loaded = true;
  const struct {
    ShaderPtr shader;
    const char* err;
  } failures[] = {
      {wrongTypes,
       "kernelshaders.cpp: shader wrongTypes: setting uniform viewMatrix generates "
       "GL_INVALID_OPERATION\n"
       "kernelshaders.cpp: shader wrongTypes: setting uniform modelMatrix generates "
       "GL_INVALID_OPERATION\n"
       "kernelshaders.cpp: shader wrongTypes: setting uniform shadowMap generates "
       "GL_INVALID_OPERATION\n"},
      {lost,
       "kernelshaders.cpp: shader lost: getting uniform viewMatirx: invalid value\n"
       "kernelshaders.cpp: shader lost: getting uniform modelMatirx: invalid value\n"
       "kernelshaders.cpp: shader lost: getting uniform shadowMap: invalid value\n"},
  };
  for (const auto& f : failures) {
    kernel->currentShader = f.shader;
    glUseProgram(f.shader->program == Rendering::Kernel::buildFailed ? 0 : f.shader->program);
    testing::internal::CaptureStderr();
    kernel->setUniforms();
    EXPECT_EQ(withoutLineNumbers(testing::internal::GetCapturedStderr()), f.err);
  }
  while (glGetError() != GL_NO_ERROR) continue;
}

}  // namespace
