#pragma once

namespace vorlith {

class RenderDevice;

// The screen-space 2D drawing state the title screen draws in: no culling, no lighting,
// no depth test, alpha blending, point sampling, and the whole back buffer as viewport.
class ScreenQuad {
 public:
  void Init(RenderDevice* device) { this->device = device; }
  void Release() { device = nullptr; }
  void Begin2D();

 private:
  RenderDevice* device = nullptr;
};

}  // namespace vorlith
