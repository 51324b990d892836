// Shader programs: the table, builds and their messages, the lock and the uniforms.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "kernelwindow.h"
#include "rendering/glheaders.h"
#include "rendering/kernel.h"

namespace {

using Rendering::Kernel;
using Shader = Data::Geometry::Shader;
using ShaderPtr = boost::shared_ptr<Shader>;

// Fixture programs, named so that "shaders/" + name reaches the test folder.
const std::string red = "../tests/rendering/shaders/red";
const std::string green = "../tests/rendering/shaders/green";

const char* goodVertex = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";
const char* goodFragment = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";
const char* brokenSource = "#version 120\nvoid main() { this is not GLSL }\n";

GLuint currentProgram() {
  GLint program = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  return static_cast<GLuint>(program);
}

class KernelShadersTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = TestSupport::openWindow();
    TestSupport::resetKernel();
    saved = kernel->currentShader;
  }
  void TearDown() override {
    kernel->shaderLocked = false;
    kernel->currentShader = saved;
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  Kernel* kernel = nullptr;
  ShaderPtr saved;
};

TEST_F(KernelShadersTest, FirstUseOfANameReadsAndBuildsItOnce) {
  ShaderPtr first = boost::make_shared<Shader>(red);
  testing::internal::CaptureStdout();
  kernel->loadShader(first);
  ShaderPtr second = boost::make_shared<Shader>(red);
  const ShaderPtr passed = second;
  const ShaderPtr returned = kernel->loadShader(second);
  const std::string out = testing::internal::GetCapturedStdout();

  EXPECT_EQ(out.find("load new shader " + red), out.rfind("load new shader"));
  EXPECT_NE(out.find("load new shader " + red + "\n"), std::string::npos) << out;
  EXPECT_TRUE(first->loaded);
  EXPECT_TRUE(glIsProgram(first->program));
  EXPECT_NE(first->vertexSource.find("viewMatrix"), std::string::npos);
  EXPECT_EQ(second, first) << "the caller's handle is turned to the table's record";
  EXPECT_EQ(returned, first);
  EXPECT_FALSE(passed->loaded);
  EXPECT_EQ(kernel->shaders.at(red), first);
}

TEST_F(KernelShadersTest, LockKeepsTheCurrentProgramButStillBindsIt) {
  kernel->useShader(boost::make_shared<Shader>(red));
  const ShaderPtr current = kernel->currentShader;
  EXPECT_EQ(currentProgram(), current->program);
  kernel->shaderLocked = true;
  glUseProgram(0);
  kernel->useShader(boost::make_shared<Shader>(green));
  EXPECT_EQ(kernel->currentShader, current);
  EXPECT_EQ(currentProgram(), current->program);
}

TEST_F(KernelShadersTest, VertexFailureWritesVertexWithoutALineEndAndStops) {
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const GLuint result = kernel->buildProgram(brokenSource, brokenSource);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, Kernel::buildFailed);
  EXPECT_EQ(err.find("fragment "), std::string::npos) << "the fragment text is not compiled";
  ASSERT_GE(err.size(), 7u);
  EXPECT_EQ(err.substr(err.size() - 7), "vertex ") << err;
  EXPECT_EQ(out.find("shader infolog: \n"), 0u) << out;
}

TEST_F(KernelShadersTest, LinkFailureWritesOnlyTheProgramLog) {
  const char* noMain = "#version 120\nvoid helper() {}\n";
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const GLuint result = kernel->buildProgram(noMain, goodFragment);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, Kernel::buildFailed);
  EXPECT_EQ(err, "");
  EXPECT_EQ(out.find("programshader infolog: \n"), 0u) << out;
}

TEST_F(KernelShadersTest, AMissingSourceFileStaysInTheTableUnloaded) {
  ShaderPtr missing = boost::make_shared<Shader>("../tests/rendering/shaders/missing");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  kernel->useShader(missing);
  testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("ERROR: could not open file shaders/../tests/rendering/shaders/missing.vert"),
            std::string::npos)
      << out;
  EXPECT_EQ(kernel->shaders.count(missing->name), 1u);
  EXPECT_EQ(missing->loaded, missing->program != Kernel::buildFailed);
}

TEST_F(KernelShadersTest, UniformsCarryTheKernelsMatricesAndTheShadowUnit) {
  kernel->useShader(boost::make_shared<Shader>("texLightSM"));
  const GLuint program = kernel->currentShader->program;
  kernel->modelMatrix = TestSupport::translation(1, 2, 3);
  testing::internal::CaptureStderr();
  kernel->setUniforms();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "its lack of viewMatrix is no error";

  GLfloat model[16];
  glGetUniformfv(program, glGetUniformLocation(program, "modelMatrix"), model);
  EXPECT_FLOAT_EQ(model[12], 1);
  EXPECT_FLOAT_EQ(model[14], 3);
  GLint unit = 0;
  glGetUniformiv(program, glGetUniformLocation(program, "shadowMap"), &unit);
  EXPECT_EQ(unit, 1);

  kernel->useShader(boost::make_shared<Shader>(red));
  kernel->viewMatrix = TestSupport::translation(0, 0, -4);
  kernel->setUniforms();
  GLfloat view[16];
  const GLuint redProgram = kernel->currentShader->program;
  glGetUniformfv(redProgram, glGetUniformLocation(redProgram, "viewMatrix"), view);
  EXPECT_FLOAT_EQ(view[14], -4);
}

TEST_F(KernelShadersTest, ABuiltRecordWhoseRebuildFailedReportsEachUniform) {
  auto broken = boost::make_shared<Shader>("rebuildFailed");
  broken->loaded = true;
  broken->program = Kernel::buildFailed;
  kernel->currentShader = broken;
  testing::internal::CaptureStderr();
  kernel->setUniforms();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("shader rebuildFailed: getting uniform viewMatirx: invalid value\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("shader rebuildFailed: getting uniform modelMatirx: invalid value\n"),
            std::string::npos);
  EXPECT_NE(err.find("shader rebuildFailed: getting uniform shadowMap: invalid value\n"),
            std::string::npos);
}

TEST_F(KernelShadersTest, AFailedProgramLeavesTheFixedPipelineInUse) {
  auto failed = boost::make_shared<Shader>("failed");
  failed->program = Kernel::buildFailed;
  kernel->shaders["failed"] = failed;
  kernel->useShader(failed);
  EXPECT_EQ(currentProgram(), 0u);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
}

TEST_F(KernelShadersTest, RecompileRebuildsEveryProgramAndKeepsLoaded) {
  auto late = boost::make_shared<Shader>("lateFix");
  late->vertexSource = brokenSource;
  late->fragmentSource = goodFragment;
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  kernel->shaders["lateFix"] = late;
  late->program = Kernel::buildFailed;
  late->vertexSource = goodVertex;  // fixed in memory since
  kernel->useShader(boost::make_shared<Shader>(red));
  const GLuint before = kernel->shaders.at(red)->program;
  kernel->recompileShaders();
  const std::string out = testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();

  EXPECT_NE(out.find("recompile shaders\n"), std::string::npos);
  EXPECT_NE(late->program, Kernel::buildFailed);
  EXPECT_FALSE(late->loaded);
  EXPECT_TRUE(kernel->shaders.at(red)->loaded);
  EXPECT_NE(kernel->shaders.at(red)->program, before);
  EXPECT_TRUE(glIsProgram(kernel->shaders.at(red)->program));

  // A record that is not loaded binds its new program but is sent no uniforms.
  kernel->currentShader = late;
  kernel->useShader(late);
  EXPECT_EQ(currentProgram(), late->program);
}

}  // namespace
