#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/RenderDevice.h"
#include "platform/gl/GlContext.h"
#include "platform/gl/GlMeshStore.h"
#include "platform/gl/GlPauseLabel.h"

namespace vorlith {

class GlLineRenderer;
class GlPresentCopy;
class GlTextRenderer;
class GlTextureStore;

// The drawing device on OpenGL 3.3 core. Draws into an offscreen framebuffer (an RGBA8
// texture, 16-bit depth) of the back buffer's size; Present scales it, letterboxed, onto the
// surface of its context (GlContext.h); on a context without a surface (a hidden window of
// its own: tools, tests) it only draws offscreen.

class GlRenderDevice : public RenderDevice {
 public:
  ~GlRenderDevice() override;
  GlRenderDevice(const GlRenderDevice&) = delete;
  GlRenderDevice& operator=(const GlRenderDevice&) = delete;

  // A device drawing with context; null when context is.
  static std::unique_ptr<GlRenderDevice> Open(std::unique_ptr<GlContext> context);

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

  void SetTransform(TransformState which, const Matrix& matrix) override {
    meshStore->SetTransform(which, matrix);
  }
  void SetCullMode(CullMode mode) override { meshStore->SetCullMode(mode); }
  void SetLighting(bool on) override { meshStore->SetLighting(on); }
  void SetDepthTest(bool on) override { meshStore->SetDepthTest(on); }
  void SetAlphaBlend(bool on) override { meshStore->SetAlphaBlend(on); }
  void SetAmbient(std::uint32_t argb) override { meshStore->SetAmbient(argb); }
  void SetTextureFilter(TextureFilter filter) override { meshStore->SetTextureFilter(filter); }
  void SetLight(int index, const Light& light) override { meshStore->SetLight(index, light); }
  void EnableLight(int index, bool on) override { meshStore->EnableLight(index, on); }
  void SetMaterial(const Material& material) override { meshStore->SetMaterial(material); }
  void SetTexture(TextureId texture) override { meshStore->SetTexture(texture); }

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
  GlRenderDevice() = default;
  bool MakeCurrent() { return context->MakeCurrent(); }
  bool MakeFramebuffer(int width, int height);
  void DeleteFramebuffer();
  void UseFramebuffer();
  bool ScissorToViewport();
  bool Begin2D();
  void WarmUp();

  std::unique_ptr<GlContext> context;

  unsigned framebuffer = 0, colourTexture = 0, depthRenderbuffer = 0;
  int backWidth = 0, backHeight = 0;
  bool hasDepth = false;
  bool created = false;
  bool lost = false;
  bool presented = false, warmedUp = false;

  Viewport viewport;
  std::unique_ptr<GlMeshStore> meshStore;
  std::unique_ptr<GlTextureStore> textureStore;
  std::unique_ptr<GlLineRenderer> lines;
  std::unique_ptr<GlTextRenderer> text;
  std::unique_ptr<GlPresentCopy> presentCopy;
  GlPauseLabel pauseLabel;
};

}  // namespace vorlith
