// Shader programs: the table, a missing source and the uniforms.

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using Shader = Data::Geometry::Shader;
using KernelShadersTest = KernelTest;

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

TEST_F(KernelShadersTest, UniformsCarryTheModelMatrixAndTheShadowUnit) {
  kernel->useShader(boost::make_shared<Shader>("texLightSM"));
  const GLuint program = kernel->currentShader->program;
  kernel->modelMatrix = translation(1, 2, 3);
  kernel->setUniforms();
  GLfloat matrix[16];
  glGetUniformfv(program, glGetUniformLocation(program, "modelMatrix"), matrix);
  EXPECT_EQ(matrix[12], 1);
  EXPECT_EQ(matrix[14], 3);
  GLint unit = 0;
  glGetUniformiv(program, glGetUniformLocation(program, "shadowMap"), &unit);
  EXPECT_EQ(unit, 1);
}

}  // namespace
