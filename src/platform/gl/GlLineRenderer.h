#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gl/GlApi.h"
#include "platform/gl/GlProgram.h"

namespace vorlith {

// Screen-space polylines: each segment a quad of the line's width, with a soft edge one
// pixel wide when antialiased. Positions are back-buffer pixels, origin top-left; the caller
// sets the whole back buffer as the GL viewport.
class GlLineRenderer {
 public:
  static constexpr int kMaxPoints = 100;

  ~GlLineRenderer();
  void Start();                   // starts building the program
  bool Init(std::string& error);  // after Start
  void Draw(const float* xy, int count, float width, std::uint32_t argb, bool antialias,
            int backWidth, int backHeight);

 private:
  static constexpr int kFloatsPerVertex = 3;
  static constexpr int kMaxVertices = (kMaxPoints - 1) * 6;

  int BuildSegments(const float* xy, int count, float halfExtent);

  GlProgram program;
  GLint screenSizeLocation = -1, colourLocation = -1, halfWidthLocation = -1,
        antialiasLocation = -1;
  GLuint vertexArray = 0, vertexBuffer = 0;
  std::array<float, kMaxVertices * kFloatsPerVertex> scratch{};
};

}  // namespace vorlith
