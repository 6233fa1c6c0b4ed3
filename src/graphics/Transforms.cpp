#include "graphics/Transforms.h"

#include "base/MatrixMath.h"
#include "platform/RenderDevice.h"

namespace vorlith {
namespace {

// The 90-degree base turn about X and the degrees-to-radians factor, as single floats.
constexpr float kBaseTurn = 1.5707964f;
constexpr float kDegreesToRadians = 0.017453292f;

constexpr std::uint32_t kAmbient = 0x006F6F6F;
constexpr Vec3 kEye{50.0f, 50.0f, 100.0f};
constexpr Vec3 kLookAt{50.0f, 50.0f, 0.0f};
constexpr Vec3 kUp{0.0f, -1.0f, 0.0f};
constexpr float kViewSize = 150.0f;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 1000.0f;
constexpr float kLightRange = 1000.0f;

}  // namespace

Matrix MakeWorldMatrix(float x, float y, float z, float rotX, float rotY, float rotZ, float scale) {
  Matrix world = MatrixIdentity();
  if (scale != 1.0f) world = MatrixMultiply(world, MatrixScaling(scale, scale, scale));
  world = MatrixMultiply(world, MatrixRotationX(kBaseTurn));
  if (rotX != 0.0f) world = MatrixMultiply(world, MatrixRotationX(rotX * kDegreesToRadians));
  if (rotY != 0.0f) world = MatrixMultiply(world, MatrixRotationY(rotY * kDegreesToRadians));
  if (rotZ != 0.0f) world = MatrixMultiply(world, MatrixRotationZ(rotZ * kDegreesToRadians));
  return MatrixMultiply(world, MatrixTranslation(x, y, z));
}

void ApplyDefaultRenderStates(RenderDevice* graphicsDevice) {
  if (!graphicsDevice) return;
  graphicsDevice->SetCullMode(CullMode::CounterClockwise);
  graphicsDevice->SetLighting(true);
  graphicsDevice->SetDepthTest(true);
  graphicsDevice->SetAmbient(kAmbient);
  graphicsDevice->SetTextureFilter(TextureFilter::Linear);
  graphicsDevice->SetTransform(TransformState::World, MatrixIdentity());
}

void SetupPlayfieldScene(RenderDevice* graphicsDevice) {
  if (!graphicsDevice) return;
  ApplyDefaultRenderStates(graphicsDevice);
  graphicsDevice->SetTransform(TransformState::View, MatrixLookAtLH(kEye, kLookAt, kUp));
  graphicsDevice->SetTransform(TransformState::Projection,
                               MatrixOrthoLH(kViewSize, kViewSize, kNearPlane, kFarPlane));
  graphicsDevice->SetLight(0, MakeDirectionalLight(LightType::Directional, -1.0f, -1.0f, -1.0f));
  graphicsDevice->EnableLight(0, true);
  graphicsDevice->SetLighting(true);

  int width = 0, height = 0;
  GetBackBufferSize(graphicsDevice, width, height);
  Viewport viewport;
  viewport.x = width / 4;
  viewport.y = 0;
  viewport.width = (3 * width) / 4;
  viewport.height = height;
  graphicsDevice->SetViewport(viewport);
}

void SetHudViewport(RenderDevice* graphicsDevice) {
  if (!graphicsDevice) return;
  int width = 0, height = 0;
  GetBackBufferSize(graphicsDevice, width, height);
  Viewport viewport;
  viewport.width = width / 4;
  viewport.height = height;
  graphicsDevice->SetViewport(viewport);
}

void GetBackBufferSize(const RenderDevice* graphicsDevice, int& width, int& height) {
  width = 0;
  height = 0;
  int w = 0, h = 0;
  if (graphicsDevice && graphicsDevice->GetBackBufferSize(w, h)) {
    width = w;
    height = h;
  }
}

Light MakeDirectionalLight(LightType type, float x, float y, float z) {
  Light light{};
  light.type = type;
  light.diffuse = ColorValue{1.0f, 1.0f, 1.0f, 0.0f};
  light.position = Vec3{x, y, z};
  light.direction = Vec3Normalize(Vec3{x, y, z});
  light.range = kLightRange;
  return light;
}

}  // namespace vorlith
