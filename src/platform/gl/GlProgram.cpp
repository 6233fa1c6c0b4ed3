#include "platform/gl/GlProgram.h"

#include <vector>

namespace vorlith {
namespace {

std::string ShaderLog(GLuint shader) {
  GLint length = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
  glGetShaderInfoLog(shader, length, nullptr, log.data());
  return log.data();
}

GLuint Compile(GLenum type, const char* source, std::string& error) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    error = ShaderLog(shader);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

GlProgram::~GlProgram() {
  if (program != 0) glDeleteProgram(program);
}

bool GlProgram::Build(const char* vertexSource, const char* fragmentSource, std::string& error) {
  GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource, error);
  if (vertex == 0) return false;
  GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource, error);
  if (fragment == 0) {
    glDeleteShader(vertex);
    return false;
  }
  program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok == GL_TRUE) return true;
  GLint length = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
  glGetProgramInfoLog(program, length, nullptr, log.data());
  error = log.data();
  glDeleteProgram(program);
  program = 0;
  return false;
}

GLint GlProgram::Uniform(const char* name) const {
  return glGetUniformLocation(program, name);
}

std::string ScreenSpaceVertexShader(const char* valueType) {
  const std::string type = valueType;
  return "#version 330 core\n"
         "layout(location = 0) in vec2 position;\n"
         "layout(location = 1) in " +
         type +
         " value;\n"
         "uniform vec2 screenSize;\n"
         "out " +
         type +
         " vValue;\n"
         "void main() {\n"
         "  vValue = value;\n"
         "  gl_Position = vec4(position.x / screenSize.x * 2.0 - 1.0,\n"
         "                     1.0 - position.y / screenSize.y * 2.0, 0.0, 1.0);\n"
         "}\n";
}

}  // namespace vorlith
