#include "platform/gl/GlWarmUp.h"

#include "base/MatrixMath.h"
#include "platform/RenderDevice.h"

namespace vorlith {

void WarmUpPipeline(RenderDevice& device) {
  int width = 0, height = 0;
  if (!device.GetBackBufferSize(width, height)) return;
  // The status panel's and the playfield's clears: each of a viewport.
  device.SetViewport(Viewport{0, 0, width / 2, height, 0.0f, 1.0f});
  device.Clear(0xFF000000, true);
  device.SetViewport(Viewport{0, 0, width, height, 0.0f, 1.0f});

  // A model as the playfield draws one, a triangle facing the viewer over the whole buffer.
  MeshData mesh;
  mesh.vertices = {MeshVertex{-1, -1, 0.5f, 0, 0, -1, 0, 0},
                   MeshVertex{-1, 1, 0.5f, 0, 0, -1, 0, 0},
                   MeshVertex{1, -1, 0.5f, 0, 0, -1, 0, 0}};
  mesh.indices = {0, 1, 2};
  mesh.subsets = {{0, 3}};
  mesh.hasNormals = true;
  if (const MeshId triangle = device.CreateMesh(mesh)) {
    for (TransformState which :
         {TransformState::World, TransformState::View, TransformState::Projection}) {
      device.SetTransform(which, MatrixIdentity());
    }
    device.SetCullMode(CullMode::CounterClockwise);
    device.SetLighting(true);
    device.SetDepthTest(true);
    device.SetAlphaBlend(true);
    device.SetTextureFilter(TextureFilter::Linear);
    device.SetTexture(0);
    device.SetLight(0, Light{});
    device.EnableLight(0, true);
    device.DrawSubset(triangle, 0);
    device.ReleaseMesh(triangle);
  }

  // A hit-point gauge.
  const float gauge[] = {1.0f, 1.0f, static_cast<float>(width - 1), static_cast<float>(height - 1)};
  device.DrawPolyline(gauge, 2, 2.0f, 0xFFFFFFFF, true, 1, 1.0f);
  device.EndScene();
}

}  // namespace vorlith
