#include "platform/gl/GlLineRenderer.h"

#include <algorithm>
#include <cmath>

#include "platform/gl/GlShaders.h"

namespace vorlith {

GlLineRenderer::~GlLineRenderer() {
  if (vertexBuffer != 0) glDeleteBuffers(1, &vertexBuffer);
  if (vertexArray != 0) glDeleteVertexArrays(1, &vertexArray);
}

void GlLineRenderer::Start() {
  program.Start(ScreenSpaceVertexShader("float").c_str(), kLineFragmentShader);
}

bool GlLineRenderer::Init(std::string& error) {
  if (!program.Finish(error)) return false;
  screenSizeLocation = program.Uniform("screenSize");
  colourLocation = program.Uniform("colour");
  halfWidthLocation = program.Uniform("halfWidth");
  antialiasLocation = program.Uniform("antialias");
  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &vertexBuffer);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof scratch, nullptr, GL_DYNAMIC_DRAW);
  const GLsizei stride = kFloatsPerVertex * sizeof(float);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 1, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(2 * sizeof(float)));
  glBindVertexArray(0);
  return true;
}

// Fills scratch with two triangles per segment of non-zero length; returns the vertex count.
int GlLineRenderer::BuildSegments(const float* xy, int count, float halfExtent) {
  int vertices = 0;
  for (int i = 0; i + 1 < count; ++i) {
    const float x0 = xy[2 * i], y0 = xy[2 * i + 1];
    const float x1 = xy[2 * i + 2], y1 = xy[2 * i + 3];
    const float length = std::hypot(x1 - x0, y1 - y0);
    if (!(length > 0.0f) || !std::isfinite(length)) continue;
    const float nx = -(y1 - y0) / length * halfExtent, ny = (x1 - x0) / length * halfExtent;
    const float corners[6][3] = {{x0 + nx, y0 + ny, halfExtent},  {x1 + nx, y1 + ny, halfExtent},
                                 {x1 - nx, y1 - ny, -halfExtent}, {x0 + nx, y0 + ny, halfExtent},
                                 {x1 - nx, y1 - ny, -halfExtent}, {x0 - nx, y0 - ny, -halfExtent}};
    for (const auto& corner : corners) {
      std::copy(corner, corner + 3, scratch.begin() + vertices * kFloatsPerVertex);
      ++vertices;
    }
  }
  return vertices;
}

void GlLineRenderer::Draw(const float* xy, int count, float width, std::uint32_t argb,
                          bool antialias, int backWidth, int backHeight) {
  if (!xy || count < 2 || backWidth <= 0 || backHeight <= 0 || !(width > 0.0f)) return;
  count = std::min(count, kMaxPoints);
  const float halfWidth = width * 0.5f;
  const int vertices = BuildSegments(xy, count, antialias ? halfWidth + 1.0f : halfWidth);
  if (vertices == 0) return;
  glUseProgram(program.Id());
  glUniform2f(screenSizeLocation, static_cast<float>(backWidth), static_cast<float>(backHeight));
  SetColourUniform(colourLocation, ColourFromArgb(argb));
  glUniform1f(halfWidthLocation, halfWidth);
  glUniform1i(antialiasLocation, antialias ? 1 : 0);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glBufferSubData(GL_ARRAY_BUFFER, 0, vertices * kFloatsPerVertex * sizeof(float), scratch.data());
  glDrawArrays(GL_TRIANGLES, 0, vertices);
  glBindVertexArray(0);
}

}  // namespace vorlith
