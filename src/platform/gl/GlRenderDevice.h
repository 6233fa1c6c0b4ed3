#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/RenderDevice.h"
#include "platform/gl/GlPauseLabel.h"

struct SDL_Window;

namespace vorlith {

class SdlWindow;
class GlProgram;
class GlLineRenderer;
class GlTextRenderer;

// The drawing device on OpenGL 3.3 core. Draws into an offscreen framebuffer (RGBA8, 16-bit
// depth) of the back buffer's size; Present scales it, letterboxed, onto the window. Without
// a window it makes a hidden one of its own and only draws offscreen (tools, tests).
// Null when no OpenGL 3.3 context can be had.
std::unique_ptr<RenderDevice> CreateGlRenderDevice(SdlWindow* window);
std::unique_ptr<RenderDevice> CreateGlRenderDeviceOn(SDL_Window* window);

class GlRenderDevice : public RenderDevice {
 public:
  ~GlRenderDevice() override;
  GlRenderDevice(const GlRenderDevice&) = delete;
  GlRenderDevice& operator=(const GlRenderDevice&) = delete;

  // Makes the context on the given window, or on a hidden window of its own when null.
  static std::unique_ptr<GlRenderDevice> Open(SDL_Window* window);

  bool Create(int width, int height, bool depthBuffer) override;
  bool Reset(int width, int height) override;
  Status TestCooperativeLevel() override;
  bool BeginScene() override;
  void EndScene() override;
  void Present() override;
  void SetPauseLabel(bool shown) override { pauseLabel.SetShown(shown); }
  bool GetBackBufferSize(int& width, int& height) const override;

  void Clear(std::uint32_t argb, bool clearDepth) override;
  void SetViewport(const Viewport& viewport) override;
  Viewport GetViewport() const override { return viewport; }

  void SetTransform(TransformState which, const Matrix& matrix) override;
  void SetCullMode(CullMode mode) override { cullMode = mode; }
  void SetLighting(bool on) override {
    lighting = on;
    dirtyUniforms |= kLightUniforms;
  }
  void SetDepthTest(bool on) override { depthTest = on; }
  void SetAlphaBlend(bool on) override { alphaBlend = on; }
  void SetAmbient(std::uint32_t argb) override {
    ambient = argb;
    dirtyUniforms |= kLightUniforms;
  }
  void SetTextureFilter(TextureFilter filter) override { textureFilter = filter; }
  void SetLight(int index, const Light& light) override;
  void EnableLight(int index, bool on) override;
  void SetMaterial(const Material& material) override;
  void SetTexture(TextureId texture) override { this->texture = texture; }

  MeshId CreateMesh(const MeshData& mesh) override;
  void DrawSubset(MeshId mesh, int subset) override;
  void ReleaseMesh(MeshId mesh) override;

  TextureId CreateTextureFromFile(const std::string& path) override;
  void ReleaseTexture(TextureId texture) override;

  FontId CreateFont(const FontDesc& desc) override;
  bool MeasureText(FontId font, const std::string& utf8, int& width, int& height) override;
  void DrawText(FontId font, const std::string& utf8, int x, int y, std::uint32_t argb) override;
  void ReleaseFont(FontId font) override;

  void DrawPolyline(const float* xy, int count, float width, std::uint32_t argb, bool antialias,
                    std::uint32_t pattern, float patternScale) override;

  bool ReadBackBuffer(std::vector<std::uint8_t>& rgba, int& width, int& height) override;

  // Waits until everything drawn so far is in the back buffer (for measuring).
  void Finish();

 private:
  struct GpuMesh {
    unsigned vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    std::vector<MeshData::Subset> subsets;
  };
  struct MeshUniforms;
  enum : unsigned {
    kWorldUniform = 1,
    kViewUniforms = 2,
    kLightUniforms = 4,
    kMaterialUniforms = 8,
    kAllUniforms = 15
  };

  GlRenderDevice() = default;
  bool OpenContext(SDL_Window* target);
  bool MakeFramebuffer(int width, int height);
  void DeleteFramebuffer();
  void UseFramebuffer();
  void ApplyViewport();
  void ApplyMeshState();
  void UploadMeshUniforms();
  bool ScissorToViewport();
  bool Begin2D();
  bool WindowPresentable() const;

  SDL_Window* window = nullptr;
  SDL_Window* ownWindow = nullptr;
  void* context = nullptr;
  bool videoInitialised = false;

  unsigned framebuffer = 0, colourBuffer = 0, depthRenderbuffer = 0;
  int backWidth = 0, backHeight = 0;
  bool hasDepth = false;
  bool created = false;
  bool lost = false;

  Viewport viewport;
  Matrix world, view, projection, viewProjection;
  CullMode cullMode = CullMode::CounterClockwise;
  bool lighting = true, depthTest = false, alphaBlend = false;
  std::uint32_t ambient = 0;
  TextureFilter textureFilter = TextureFilter::Point;
  Light light;
  bool lightEnabled = false;
  Material material;
  TextureId texture = 0;

  // What the GL context was last given for meshes; stateKnown false means anything.
  bool stateKnown = false;
  bool appliedDepthTest = false, appliedBlend = false, appliedLinear = false;
  CullMode appliedCull = CullMode::None;
  unsigned appliedTexture = 0;
  Viewport appliedViewport;
  unsigned dirtyUniforms = kAllUniforms;

  std::unique_ptr<GlProgram> meshProgram;
  std::unique_ptr<MeshUniforms> uniforms;
  unsigned sampler = 0;
  std::vector<GpuMesh> meshes;     // MeshId - 1
  std::vector<unsigned> textures;  // TextureId - 1; 0 for a released slot
  std::unique_ptr<GlLineRenderer> lines;
  std::unique_ptr<GlTextRenderer> text;
  GlPauseLabel pauseLabel;
};

}  // namespace vorlith
