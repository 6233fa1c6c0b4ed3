#include "app/ScreenQuad.h"

#include "platform/RenderDevice.h"

namespace vorlith {

void ScreenQuad::Begin2D() {
  if (!device) return;
  device->SetCullMode(CullMode::None);
  device->SetLighting(false);
  device->SetDepthTest(false);
  device->SetAlphaBlend(true);
  device->SetTextureFilter(TextureFilter::Point);
  int width = 0, height = 0;
  if (!device->GetBackBufferSize(width, height)) width = height = 0;
  device->SetViewport(Viewport{0, 0, width, height, 0.0f, 1.0f});
}

}  // namespace vorlith
