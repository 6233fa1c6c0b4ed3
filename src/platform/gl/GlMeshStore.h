#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/RenderTypes.h"

namespace vorlith {

class GlProgram;
class GlTextureStore;

// Where GlMeshStore draws: the back buffer's framebuffer, its height in pixels (GL counts rows
// from the bottom), whether it has depth, and the viewport.
struct GlMeshTarget {
  unsigned framebuffer = 0;
  int height = 0;
  bool hasDepth = false;
  Viewport viewport;
};

// The meshes by MeshId (1 up; a released id is reused), the fixed-function state they are
// drawn with (transforms, light, material, texture, culling, depth, blending) and the lighting
// program that draws them. Keeps what the context was last given for meshes and sends only
// what changed; ForgetState after anyone else touches the context. Needs the device's context
// current for every call, its destructor included.
class GlMeshStore {
 public:
  GlMeshStore();
  ~GlMeshStore();
  GlMeshStore(const GlMeshStore&) = delete;
  GlMeshStore& operator=(const GlMeshStore&) = delete;

  // The lighting program; null (with the compiler's log in error) when it does not build.
  static std::unique_ptr<GlProgram> BuildProgram(std::string& error);
  // Takes the program to draw with, once.
  void Adopt(std::unique_ptr<GlProgram> built);
  bool HasProgram() const { return program != nullptr; }

  MeshId Create(const MeshData& mesh);
  // Draws with Adopt's program, which must be there.
  void Draw(MeshId mesh, int subset, const GlMeshTarget& target, const GlTextureStore& textures);
  void Release(MeshId mesh);
  void ForgetState() { stateKnown = false; }

  void SetTransform(TransformState which, const Matrix& matrix);
  void SetCullMode(CullMode mode) { cullMode = mode; }
  void SetLighting(bool on) {
    lighting = on;
    dirtyUniforms |= kLightUniforms;
  }
  void SetDepthTest(bool on) { depthTest = on; }
  void SetAlphaBlend(bool on) { alphaBlend = on; }
  void SetAmbient(std::uint32_t argb) {
    ambient = argb;
    dirtyUniforms |= kLightUniforms;
  }
  void SetTextureFilter(TextureFilter filter) { textureFilter = filter; }
  void SetLight(int index, const Light& light);
  void EnableLight(int index, bool on);
  void SetMaterial(const Material& material);
  void SetTexture(TextureId texture) { this->texture = texture; }
  TextureId Texture() const { return texture; }

 private:
  struct GpuMesh {
    unsigned vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    std::vector<MeshData::Subset> subsets;
  };
  struct Uniforms;
  enum : unsigned {
    kWorldUniform = 1,
    kViewUniforms = 2,
    kLightUniforms = 4,
    kMaterialUniforms = 8,
    kAllUniforms = 15
  };

  void ApplyState(const GlMeshTarget& target, const GlTextureStore& textures);
  void UploadUniforms();

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

  std::unique_ptr<GlProgram> program;
  std::unique_ptr<Uniforms> uniforms;
  unsigned sampler = 0;
  std::vector<GpuMesh> meshes;  // MeshId - 1
};

}  // namespace vorlith
