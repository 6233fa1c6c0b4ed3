#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RenderDevice.h"

namespace vorlith {

// A render device for tests that draws nothing and remembers what it was asked to do.
class RecordingRenderDevice : public RenderDevice {
 public:
  struct SubsetDraw {
    MeshId mesh;
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

  int width = 640, height = 480;
  bool hasBackBuffer = true;
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
  std::vector<std::string> loadableTextures;
  std::vector<TextureId> releasedTextures;
  std::vector<SubsetDraw> draws;
  std::vector<Polyline> polylines;

  bool Create(int, int, bool) override { return true; }
  bool Reset(int, int) override { return true; }
  Status TestCooperativeLevel() override { return Status::Ok; }
  bool BeginScene() override { return true; }
  void EndScene() override {}
  void Present() override {}
  bool GetBackBufferSize(int& w, int& h) const override {
    if (!hasBackBuffer) return false;
    w = width;
    h = height;
    return true;
  }
  void Clear(std::uint32_t, bool) override {}
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
  void DrawSubset(MeshId mesh, int subset) override {
    draws.push_back({mesh, subset, world, material, texture, alphaBlend});
  }
  void ReleaseMesh(MeshId mesh) override { releasedMeshes.push_back(mesh); }
  TextureId CreateTextureFromFile(const std::string& path) override {
    texturePaths.push_back(path);
    for (const std::string& loadable : loadableTextures) {
      if (loadable == path) return static_cast<TextureId>(100 + texturePaths.size());
    }
    return 0;
  }
  void ReleaseTexture(TextureId t) override { releasedTextures.push_back(t); }
  FontId CreateFont(const FontDesc&) override { return 0; }
  bool MeasureText(FontId, const std::string&, int&, int&) override { return false; }
  void DrawText(FontId, const std::string&, int, int, std::uint32_t) override {}
  void ReleaseFont(FontId) override {}
  void DrawPolyline(const float* xy, int count, float w, std::uint32_t argb, bool antialias,
                    std::uint32_t, float) override {
    polylines.push_back({std::vector<float>(xy, xy + 2 * count), w, argb, antialias, texture});
  }
  bool ReadBackBuffer(std::vector<std::uint8_t>&, int&, int&) override { return false; }
};

}  // namespace vorlith
