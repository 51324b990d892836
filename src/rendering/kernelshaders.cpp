// The table of GLSL programs by name, their builds, the current program and its uniforms.

#include <iostream>
#include <string>
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

// A uniform of the programs, and the name its "getting" messages give it: they keep an old
// misspelling that log readers may search for.
struct Uniform {
  const char* name;
  const char* gettingName;
};

const Uniform viewMatrixUniform = {"viewMatrix", "viewMatirx"};
const Uniform modelMatrixUniform = {"modelMatrix", "modelMatirx"};
const Uniform shadowMapUniform = {"shadowMap", "shadowMap"};

// The location of the uniform, or -1, with why when the GL refused the query. A program
// without that uniform gives -1 and no reason.
GLint locate(const Data::Geometry::Shader& shader, const Uniform& uniform, std::string& refusal) {
  const GLint location = glGetUniformLocation(shader.program, uniform.name);
  if (location != -1) return location;
  const GLenum error = glGetError();
  if (error == GL_INVALID_VALUE || error == GL_INVALID_OPERATION) {
    refusal = std::string(": getting uniform ") + uniform.gettingName + ": " +
              (error == GL_INVALID_VALUE ? "invalid value" : "invalid operation");
  }
  return -1;
}

// Locates the uniform and sets it through set(location); gives what the GL refused, as the
// text after the program's name, or nothing.
template <typename Set>
std::string setUniform(const Data::Geometry::Shader& shader, const Uniform& uniform, Set set) {
  std::string refusal;
  const GLint location = locate(shader, uniform, refusal);
  if (location == -1) return refusal;
  set(location);
  const GLenum error = glGetError();
  if (error == GL_INVALID_OPERATION || error == GL_INVALID_VALUE) {
    refusal = std::string(": setting uniform ") + uniform.name + " generates " +
              (error == GL_INVALID_VALUE ? "GL_INVALID_VALUE" : "GL_INVALID_OPERATION");
  }
  return refusal;
}

}  // namespace

void Kernel::setUniforms() {
  if (!currentShader || !currentShader->loaded) return;
  const Data::Geometry::Shader& shader = *currentShader;
  // Only the errors of the calls below should be judged.
  glGetError();
  const std::string refusals[] = {
      setUniform(shader, viewMatrixUniform,
                 [this](GLint at) { glUniformMatrix4fv(at, 1, GL_FALSE, viewMatrix[0]); }),
      setUniform(shader, modelMatrixUniform,
                 [this](GLint at) { glUniformMatrix4fv(at, 1, GL_FALSE, modelMatrix[0]); }),
      // The shadow map is always on texture unit 1.
      setUniform(shader, shadowMapUniform, [](GLint at) { glUniform1i(at, 1); })};
  for (const std::string& refusal : refusals) {
    if (!refusal.empty() && uniformMessagesWritten.insert(shader.name + refusal).second) {
      std::cerr << LOG_PREFIX << "shader " << shader.name << refusal << std::endl;
    }
  }
}

void Kernel::recompileShaders() {
  std::cout << LOG_PREFIX << "recompile shaders" << std::endl;
  uniformMessagesWritten.clear();
  for (const auto& entry : shaders) {
    const ShaderPtr shader = entry.second;
    shader->program = buildProgram(shader->vertexSource.c_str(), shader->fragmentSource.c_str());
  }
}

}  // namespace Rendering
