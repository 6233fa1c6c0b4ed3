#include "platform/headless/HeadlessRenderDevice.h"

#include <fstream>

#include "platform/Window.h"

namespace vorlith {

HeadlessRenderDevice::~HeadlessRenderDevice() = default;

bool HeadlessRenderDevice::UsableSize(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSize && height <= kMaxSize;
}

bool HeadlessRenderDevice::Create(int width, int height, bool depthBuffer) {
  if (createFails || !UsableSize(width, height)) return false;
  created = true;
  this->depthBuffer = depthBuffer;
  this->width = width;
  this->height = height;
  viewport = Viewport{0, 0, width, height, 0.0f, 1.0f};
  return true;
}

bool HeadlessRenderDevice::Reset(int width, int height) {
  if (!created || resetFails || !UsableSize(width, height)) return false;
  if (TestCooperativeLevel() == Status::Lost) return false;
  ++resetCount;
  wasLost = false;
  if (statusForced && forcedStatus == Status::NotReset) forcedStatus = Status::Ok;
  this->width = width;
  this->height = height;
  viewport = Viewport{0, 0, width, height, 0.0f, 1.0f};
  return true;
}

RenderDevice::Status HeadlessRenderDevice::TestCooperativeLevel() {
  if (statusForced) return forcedStatus;
  if (window && window->IsMinimized()) {
    wasLost = true;
    return Status::Lost;
  }
  return wasLost ? Status::NotReset : Status::Ok;
}

bool HeadlessRenderDevice::BeginScene() {
  if (!created || beginSceneFails || inScene) return false;
  ++beginSceneCount;
  inScene = true;
  clears.clear();
  texts.clear();
  return true;
}

void HeadlessRenderDevice::EndScene() {
  inScene = false;
}

void HeadlessRenderDevice::Present() {
  if (!created) return;
  ++presentCount;
  if (pauseLabel) ++labelledPresentCount;
}

bool HeadlessRenderDevice::GetBackBufferSize(int& width, int& height) const {
  if (!created) return false;
  width = this->width;
  height = this->height;
  return true;
}

void HeadlessRenderDevice::Clear(std::uint32_t argb, bool clearDepth) {
  clears.push_back(ClearCall{viewport, argb, clearDepth && depthBuffer});
}

void HeadlessRenderDevice::SetViewport(const Viewport& viewport) {
  this->viewport = viewport;
}

void HeadlessRenderDevice::SetTransform(TransformState which, const Matrix& matrix) {
  transforms[static_cast<int>(which)] = matrix;
}

void HeadlessRenderDevice::SetLight(int index, const Light& light) {
  lights[index] = light;
}

void HeadlessRenderDevice::EnableLight(int index, bool on) {
  lightsOn[index] = on;
}

MeshId HeadlessRenderDevice::CreateMesh(const MeshData& mesh) {
  const MeshId id = NextId();
  meshes[id] = mesh.subsets.size();
  return id;
}

void HeadlessRenderDevice::DrawSubset(MeshId, int) {}

void HeadlessRenderDevice::ReleaseMesh(MeshId mesh) {
  meshes.erase(mesh);
}

TextureId HeadlessRenderDevice::CreateTextureFromFile(const std::string& path) {
  if (!std::ifstream(path, std::ios::binary)) return 0;
  const TextureId id = NextId();
  textures[id] = path;
  return id;
}

void HeadlessRenderDevice::ReleaseTexture(TextureId texture) {
  textures.erase(texture);
}

FontId HeadlessRenderDevice::CreateFont(const FontDesc& desc) {
  std::unique_ptr<FontRasterizer> rasterizer = FontRasterizer::Create(desc);
  if (!rasterizer) return 0;
  const FontId id = NextId();
  fonts[id] = std::move(rasterizer);
  return id;
}

bool HeadlessRenderDevice::MeasureText(FontId font, const std::string& utf8, int& width,
                                       int& height) {
  const auto it = fonts.find(font);
  if (it == fonts.end()) return false;
  return it->second->Measure(utf8, width, height);
}

void HeadlessRenderDevice::DrawText(FontId font, const std::string& utf8, int x, int y,
                                    std::uint32_t argb) {
  if (!fonts.count(font)) return;
  texts.push_back(TextCall{font, utf8, x, y, argb, viewport});
}

void HeadlessRenderDevice::ReleaseFont(FontId font) {
  fonts.erase(font);
}

void HeadlessRenderDevice::DrawPolyline(const float*, int, float, std::uint32_t, bool,
                                        std::uint32_t, float) {}

bool HeadlessRenderDevice::ReadBackBuffer(std::vector<std::uint8_t>&, int&, int&) {
  return false;
}

}  // namespace vorlith
