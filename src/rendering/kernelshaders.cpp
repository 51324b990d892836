// The table of GLSL programs by name, their builds, the current program and its uniforms.

#include <iostream>
#include <vector>

#include "rendering/kernel.h"
#include "system/loader/ressourcemanager.h"
#include "system/log.h"

namespace Rendering {

void Kernel::printInfoLog(GLuint object, bool isShader) {
  GLint length = 1;
  if (isShader) {
    glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
  } else {
    glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
  }
  if (length <= 0) return;
  std::vector<GLchar> buffer(static_cast<std::size_t>(length) + 1, '\0');
  GLsizei written = 0;
  if (isShader) {
    glGetShaderInfoLog(object, length, &written, buffer.data());
  } else {
    glGetProgramInfoLog(object, length, &written, buffer.data());
  }
  std::cout << (isShader ? "shader " : "programshader ") << "infolog: " << std::endl
            << buffer.data() << std::endl;
}

GLuint Kernel::compileShader(const char* source, GLenum type) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint status = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status) return shader;
  // No line end: the info log follows on standard output.
  std::cerr << LOG_PREFIX << (type == GL_VERTEX_SHADER ? "vertex " : "fragment ") << std::flush;
  printInfoLog(shader, true);
  glDeleteShader(shader);
  return buildFailed;
}

GLuint Kernel::buildProgram(const char* vertexSource, const char* fragmentSource) {
  const GLuint vertex = compileShader(vertexSource, GL_VERTEX_SHADER);
  if (vertex == buildFailed) return buildFailed;
  const GLuint fragment = compileShader(fragmentSource, GL_FRAGMENT_SHADER);
  if (fragment == buildFailed) {
    glDeleteShader(vertex);
    return buildFailed;
  }
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  if (status) return program;
  printInfoLog(program, false);
  glDetachShader(program, fragment);
  glDeleteShader(fragment);
  glDetachShader(program, vertex);
  glDeleteShader(vertex);
  glDeleteProgram(program);
  return buildFailed;
}

Kernel::ShaderPtr Kernel::loadShader(ShaderPtr& shader) {
  if (!shader) return shader;
  const auto found = shaders.find(shader->name);
  if (found != shaders.end()) {
    shader = found->second;
    return shader;
  }
  shaders[shader->name] = shader;
  std::cout << LOG_PREFIX << "load new shader " << shader->name << std::endl;
  System::Loader::RessourceManager* resources = System::Loader::RessourceManager::getInstance();
  shader->vertexSource = resources->readFile("shaders/" + shader->name + ".vert");
  shader->fragmentSource = resources->readFile("shaders/" + shader->name + ".frag");
  shader->program = buildProgram(shader->vertexSource.c_str(), shader->fragmentSource.c_str());
  if (shader->program != buildFailed) shader->loaded = true;
  return shader;
}

void Kernel::useShader(ShaderPtr shader) {
  if (shader && (!shaderLocked || !currentShader)) currentShader = shader;
  if (!currentShader) return;
  if (!currentShader->loaded) loadShader(currentShader);
  glUseProgram(0);
  glUseProgram(currentShader->program);
  setUniforms();
}

namespace {

// What setUniforms writes for one uniform; the getting texts keep their old spelling.
struct UniformMessages {
  const char* name;
  const char* gettingInvalidValue;
  const char* gettingInvalidOperation;
  const char* settingInvalidOperation;
  const char* settingInvalidValue;
};

const UniformMessages viewMatrixMessages = {
    "viewMatrix", ": getting uniform viewMatirx: invalid value",
    ": getting uniform viewMatirx: invalid operation",
    ": setting uniform viewMatrix generates GL_INVALID_OPERATION",
    ": setting uniform viewMatrix generates GL_INVALID_VALUE"};
const UniformMessages modelMatrixMessages = {
    "modelMatrix", ": getting uniform modelMatirx: invalid value",
    ": getting uniform modelMatirx: invalid operation",
    ": setting uniform modelMatrix generates GL_INVALID_OPERATION",
    ": setting uniform modelMatrix generates GL_INVALID_VALUE"};
const UniformMessages shadowMapMessages = {
    "shadowMap", ": getting uniform shadowMap: invalid value",
    ": getting uniform shadowMap: invalid operation",
    ": setting uniform shadowMap generates GL_INVALID_OPERATION",
    ": setting uniform shadowMap generates GL_INVALID_VALUE"};

// The location of the uniform, or -1 after writing why when the GL refused the query.
// A program without that uniform gives -1 silently.
GLint locate(const Data::Geometry::Shader& shader, const UniformMessages& messages) {
  const GLint location = glGetUniformLocation(shader.program, messages.name);
  if (location != -1) return location;
  const GLenum error = glGetError();
  if (error == GL_INVALID_VALUE) {
    std::cerr << LOG_PREFIX << "shader " << shader.name << messages.gettingInvalidValue
              << std::endl;
  } else if (error == GL_INVALID_OPERATION) {
    std::cerr << LOG_PREFIX << "shader " << shader.name << messages.gettingInvalidOperation
              << std::endl;
  }
  return -1;
}

void checkSet(const Data::Geometry::Shader& shader, const UniformMessages& messages) {
  const GLenum error = glGetError();
  if (error == GL_INVALID_OPERATION) {
    std::cerr << LOG_PREFIX << "shader " << shader.name << messages.settingInvalidOperation
              << std::endl;
  } else if (error == GL_INVALID_VALUE) {
    std::cerr << LOG_PREFIX << "shader " << shader.name << messages.settingInvalidValue
              << std::endl;
  }
}

}  // namespace

void Kernel::setUniforms() {
  if (!currentShader || !currentShader->loaded) return;
  const Data::Geometry::Shader& shader = *currentShader;
  // Only the errors of the calls below should be judged.
  glGetError();
  GLint location = locate(shader, viewMatrixMessages);
  if (location != -1) {
    glUniformMatrix4fv(location, 1, GL_FALSE, viewMatrix[0]);
    checkSet(shader, viewMatrixMessages);
  }
  location = locate(shader, modelMatrixMessages);
  if (location != -1) {
    glUniformMatrix4fv(location, 1, GL_FALSE, modelMatrix[0]);
    checkSet(shader, modelMatrixMessages);
  }
  location = locate(shader, shadowMapMessages);
  if (location != -1) {
    glUniform1i(location, 1);
    checkSet(shader, shadowMapMessages);
  }
}

void Kernel::recompileShaders() {
  std::cout << LOG_PREFIX << "recompile shaders" << std::endl;
  for (const auto& entry : shaders) {
    const ShaderPtr shader = entry.second;
    shader->program = buildProgram(shader->vertexSource.c_str(), shader->fragmentSource.c_str());
  }
}

}  // namespace Rendering
