#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontRasterizer.h"
#include "platform/RenderDevice.h"

namespace vorlith {

// A drawing device that draws nothing and is never lost. It keeps what the game reads back
// (back buffer size, viewport), measures text with real fonts and, like the real device,
// makes no texture from a file that cannot be read.
class HeadlessRenderDevice : public RenderDevice {
 public:
  HeadlessRenderDevice();
  ~HeadlessRenderDevice() override;

  bool Create(int width, int height, bool depthBuffer) override;
  bool Reset(int width, int height) override;
  Status TestCooperativeLevel() override { return Status::Ok; }
  bool BeginScene() override;
  void EndScene() override { inScene = false; }
  void Present() override {}
  bool GetBackBufferSize(int& width, int& height) const override;

  void Clear(std::uint32_t, bool) override {}
  void SetViewport(const Viewport& viewport) override { this->viewport = viewport; }
  Viewport GetViewport() const override { return viewport; }

  void SetTransform(TransformState, const Matrix&) override {}
  void SetCullMode(CullMode) override {}
  void SetLighting(bool) override {}
  void SetDepthTest(bool) override {}
  void SetAlphaBlend(bool) override {}
  void SetAmbient(std::uint32_t) override {}
  void SetTextureFilter(TextureFilter) override {}
  void SetLight(int, const Light&) override {}
  void EnableLight(int, bool) override {}
  void SetMaterial(const Material&) override {}
  void SetTexture(TextureId) override {}

  MeshId CreateMesh(const MeshData&) override { return NextId(); }
  void DrawSubset(MeshId, int) override {}
  void ReleaseMesh(MeshId) override {}

  TextureId CreateTextureFromFile(const std::string& path) override;
  void ReleaseTexture(TextureId) override {}

  FontId CreateFont(const FontDesc& desc) override;
  bool MeasureText(FontId font, const std::string& utf8, int& width, int& height) override;
  void DrawText(FontId, const std::string&, int, int, std::uint32_t) override {}
  void ReleaseFont(FontId font) override { fonts.erase(font); }

  void DrawPolyline(const float*, int, float, std::uint32_t, bool, std::uint32_t, float) override {}

  bool ReadBackBuffer(std::vector<std::uint8_t>&, int&, int&) override { return false; }

  // Largest back buffer side the device accepts.
  static constexpr int kMaxSize = 16384;

 private:
  std::uint32_t NextId() { return ++lastId; }

  bool created = false;
  bool inScene = false;
  int width = 0, height = 0;
  Viewport viewport;
  std::uint32_t lastId = 0;
  std::map<FontId, std::unique_ptr<FontRasterizer>> fonts;
};

}  // namespace vorlith
