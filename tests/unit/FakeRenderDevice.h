#pragma once

#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontRasterizer.h"
#include "platform/RenderDevice.h"
#include "platform/Window.h"

namespace vorlith {

// A drawing device for tests: draws nothing, remembers what it was asked to do and can be
// told to fail. Text is measured with real fonts. Like the real device it is lost while its
// window is minimized and not reset after that until Reset.
class FakeRenderDevice : public RenderDevice {
 public:
  struct SubsetDraw {
    int subset;
    Matrix world;
    Material material;
    TextureId texture;
    bool alphaBlend;
  };
  struct Polyline {
    std::vector<float> xy;
    float width;
    std::uint32_t argb;
    bool antialias;
    TextureId texture;
  };
  struct ClearCall {
    Viewport viewport;
    std::uint32_t argb = 0;
    bool depth = false;
  };
  struct TextCall {
    FontId font = 0;
    std::string text;
    int x = 0, y = 0;
    std::uint32_t argb = 0;
  };

  // The window decides lost and not-reset states; null for a device that is never lost.
  explicit FakeRenderDevice(const Window* window = nullptr) : window(window) {}

  // Told to fail.
  bool hasBackBuffer = true, createFails = false, resetFails = false, beginSceneFails = false;

  // What happened.
  bool created = false, depthBuffer = false, pauseLabel = false, inScene = false;
  int width = 640, height = 480;
  int resetCount = 0, presentCount = 0, labelledPresentCount = 0;  // labelled: with the label on
  Viewport viewport;
  Matrix world, view, projection;
  CullMode cullMode = CullMode::None;
  bool lighting = false, depthTest = false, alphaBlend = false, lightEnabled = false;
  std::uint32_t ambient = 0;
  TextureFilter filter = TextureFilter::Point;
  Light light;
  Material material;
  TextureId texture = 0;
  std::vector<MeshData> meshes;
  std::vector<MeshId> releasedMeshes;
  std::vector<std::string> texturePaths;  // every file asked for
  std::vector<TextureId> releasedTextures;
  std::vector<SubsetDraw> draws;
  std::vector<Polyline> polylines;
  std::vector<ClearCall> clears;  // since the last successful BeginScene, like texts
  std::vector<TextCall> texts;
  std::map<FontId, std::unique_ptr<FontRasterizer>> fonts;

  bool Create(int w, int h, bool depth) override {
    if (createFails || !UsableSize(w, h)) return false;
    created = true;
    depthBuffer = depth;
    Resize(w, h);
    return true;
  }
  bool Reset(int w, int h) override {
    if (!created || resetFails || !UsableSize(w, h)) return false;
    if (TestCooperativeLevel() == Status::Lost) return false;
    ++resetCount;
    wasLost = false;
    Resize(w, h);
    return true;
  }
  Status TestCooperativeLevel() override {
    const bool minimized = window && window->IsMinimized();
    wasLost = wasLost || minimized;
    return minimized ? Status::Lost : wasLost ? Status::NotReset : Status::Ok;
  }
  bool BeginScene() override {
    if (!created || beginSceneFails || inScene) return false;
    inScene = true;
    clears.clear();
    texts.clear();
    return true;
  }
  void EndScene() override { inScene = false; }
  void Present() override {
    presentCount += created;
    labelledPresentCount += created && pauseLabel;
  }
  void SetPauseLabel(bool shown) override { pauseLabel = shown; }
  bool GetBackBufferSize(int& w, int& h) const override {
    if (!hasBackBuffer) return false;
    w = width;
    h = height;
    return true;
  }
  void Clear(std::uint32_t argb, bool clearDepth) override {
    clears.push_back({viewport, argb, clearDepth && depthBuffer});
  }
  void SetViewport(const Viewport& v) override { viewport = v; }
  Viewport GetViewport() const override { return viewport; }
  void SetTransform(TransformState which, const Matrix& m) override {
    (which == TransformState::World  ? world
     : which == TransformState::View ? view
                                     : projection) = m;
  }
  void SetCullMode(CullMode mode) override { cullMode = mode; }
  void SetLighting(bool on) override { lighting = on; }
  void SetDepthTest(bool on) override { depthTest = on; }
  void SetAlphaBlend(bool on) override { alphaBlend = on; }
  void SetAmbient(std::uint32_t argb) override { ambient = argb; }
  void SetTextureFilter(TextureFilter f) override { filter = f; }
  void SetLight(int, const Light& l) override { light = l; }
  void EnableLight(int, bool on) override { lightEnabled = on; }
  void SetMaterial(const Material& m) override { material = m; }
  void SetTexture(TextureId t) override { texture = t; }
  MeshId CreateMesh(const MeshData& mesh) override {
    meshes.push_back(mesh);
    return static_cast<MeshId>(meshes.size());
  }
  void DrawSubset(MeshId, int subset) override {
    draws.push_back({subset, world, material, texture, alphaBlend});
  }
  void ReleaseMesh(MeshId mesh) override { releasedMeshes.push_back(mesh); }
  TextureId CreateTextureFromFile(const std::string& path) override {
    texturePaths.push_back(path);
    if (!std::ifstream(path, std::ios::binary)) return 0;
    return static_cast<TextureId>(100 + texturePaths.size());
  }
  void ReleaseTexture(TextureId t) override { releasedTextures.push_back(t); }
  FontId CreateFont(const FontDesc& desc) override {
    std::unique_ptr<FontRasterizer> rasterizer = FontRasterizer::Create(desc);
    if (!rasterizer) return 0;
    fonts[++lastFont] = std::move(rasterizer);
    return lastFont;
  }
  bool MeasureText(FontId font, const std::string& utf8, int& w, int& h) override {
    const auto it = fonts.find(font);
    return it != fonts.end() && it->second->Measure(utf8, w, h);
  }
  void DrawText(FontId font, const std::string& utf8, int x, int y, std::uint32_t argb) override {
    if (fonts.count(font)) texts.push_back({font, utf8, x, y, argb});
  }
  void ReleaseFont(FontId font) override { fonts.erase(font); }
  void DrawPolyline(const float* xy, int count, float w, std::uint32_t argb, bool antialias,
                    std::uint32_t, float) override {
    polylines.push_back({std::vector<float>(xy, xy + 2 * count), w, argb, antialias, texture});
  }
  bool ReadBackBuffer(std::vector<std::uint8_t>&, int&, int&) override { return false; }

 private:
  static bool UsableSize(int w, int h) { return w > 0 && h > 0 && w <= 16384 && h <= 16384; }
  void Resize(int w, int h) {
    width = w;
    height = h;
    viewport = Viewport{0, 0, w, h, 0.0f, 1.0f};
  }

  const Window* window;
  bool wasLost = false;
  FontId lastFont = 0;
};

}  // namespace vorlith
