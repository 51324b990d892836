// Shader programs: the table, builds and their messages, and the uniforms.

#include <boost/make_shared.hpp>
#include <regex>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using Rendering::Kernel;
using Shader = Data::Geometry::Shader;
using KernelShadersTest = KernelTest;

TEST_F(KernelShadersTest, FirstUseOfANameReadsAndBuildsItOnce) {
  auto first = boost::make_shared<Shader>("shadowMapCreation");
  auto second = boost::make_shared<Shader>("shadowMapCreation");
  const auto passed = second;
  const std::string out = stdoutOf([&] {
    kernel->loadShader(first);
    EXPECT_EQ(kernel->loadShader(second), first);
  });
  EXPECT_EQ(occurrences(out, "load new shader shadowMapCreation\n"), 1);
  EXPECT_TRUE(first->loaded);
  EXPECT_TRUE(glIsProgram(first->program));
  EXPECT_EQ(second, first) << "the caller's handle is turned to the table's record";
  EXPECT_FALSE(passed->loaded);
}

TEST_F(KernelShadersTest, AFailedBuildSaysWhereOnStandardErrorAndLogsOnStandardOutput) {
  const char* good = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";
  const char* broken = "#version 120\nvoid main() { this is not GLSL }\n";
  const struct {
    const char *vertex, *fragment, *errPattern, *outStart;
  } cases[] = {
      // The fragment shader is not compiled after the vertex shader failed.
      {broken, broken, "[a-z]+\\.cpp,[0-9]+: vertex ", "shader infolog: \n"},
      {"#version 120\nvoid main() { gl_Position = ftransform(); }\n", broken,
       "[a-z]+\\.cpp,[0-9]+: fragment ", "shader infolog: \n"},
      {"#version 120\nvoid helper() {}\n", good, "", "programshader infolog: \n"},
  };
  for (const auto& c : cases) {
    std::string out;
    const std::string err = stderrOf([&] {
      out = stdoutOf(
          [&] { EXPECT_EQ(kernel->buildProgram(c.vertex, c.fragment), Kernel::buildFailed); });
    });
    EXPECT_TRUE(std::regex_match(err, std::regex(c.errPattern))) << err;
    EXPECT_EQ(out.find(c.outStart), 0u) << out;
  }
}

TEST_F(KernelShadersTest, AMissingSourceFileStaysInTheTableUnloaded) {
  auto missing = boost::make_shared<Shader>("missing");
  std::string out;
  stderrOf([&] { out = stdoutOf([&] { kernel->useShader(missing); }); });
  EXPECT_EQ(occurrences(out, "ERROR: could not open file shaders/missing.vert"), 1) << out;
  EXPECT_EQ(kernel->shaders.at("missing"), missing);
  EXPECT_FALSE(missing->loaded);
}

TEST_F(KernelShadersTest, UniformsCarryTheKernelsMatricesAndTheShadowUnit) {
  kernel->useShader(boost::make_shared<Shader>("texLightSM"));
  GLuint program = kernel->currentShader->program;
  kernel->modelMatrix = translation(1, 2, 3);
  EXPECT_EQ(stderrOf([this] { kernel->setUniforms(); }), "") << "a uniform it lacks is no error";
  GLfloat matrix[16];
  glGetUniformfv(program, glGetUniformLocation(program, "modelMatrix"), matrix);
  EXPECT_EQ(matrix[12], 1);
  EXPECT_EQ(matrix[14], 3);
  GLint unit = 0;
  glGetUniformiv(program, glGetUniformLocation(program, "shadowMap"), &unit);
  EXPECT_EQ(unit, 1);

  addFlatProgram("flat", {255, 0, 0});
  kernel->useShader(boost::make_shared<Shader>("flat"));
  program = kernel->currentShader->program;
  kernel->viewMatrix = translation(0, 0, -4);
  kernel->setUniforms();
  glGetUniformfv(program, glGetUniformLocation(program, "viewMatrix"), matrix);
  EXPECT_EQ(matrix[14], -4);
}

TEST_F(KernelShadersTest, AFailedRebuildLeavesTheFixedPipelineAndReportsEachUniform) {
  auto failed = boost::make_shared<Shader>("rebuildFailed");
  failed->loaded = true;
  failed->program = Kernel::buildFailed;
  kernel->shaders[failed->name] = failed;
  const std::string err = stderrOf([&] { kernel->useShader(failed); });
  GLint program = 1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(program, 0);
  for (const std::string uniform : {"viewMatirx", "modelMatirx", "shadowMap"}) {
    const std::string line =
        "shader rebuildFailed: getting uniform " + uniform + ": invalid value\n";
    EXPECT_EQ(occurrences(err, line), 1) << err;
  }
}

}  // namespace
