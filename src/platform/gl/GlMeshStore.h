#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/RenderTypes.h"

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
//
// Draws are gathered, not sent one by one: the subsets one model draws in a row, each with its
// own material, under one world matrix, are an instance, and the instances of the same mesh
// that follow each other with the same subsets, materials and state go to GL as one instanced
// draw. Every triangle reaches the screen in the order it was asked for, with the same
// numbers: a mesh's subsets lie one after the other in its index buffer, each vertex knows its
// subset (and so its material), and GL draws instance after instance. Whatever ends the run
// (another mesh, a state change, anything else drawn or read: Flush) sends it first.
class GlMeshStore {
 public:
  GlMeshStore();
  ~GlMeshStore();
  GlMeshStore(const GlMeshStore&) = delete;
  GlMeshStore& operator=(const GlMeshStore&) = delete;

  // The lighting program, started (GlProgram::Finish tells whether it built).
  static std::unique_ptr<GlProgram> StartProgram();
  // Takes the program to draw with, once.
  void Adopt(std::unique_ptr<GlProgram> built);
  bool HasProgram() const { return program != nullptr; }

  MeshId Create(const MeshData& mesh);
  // Draws with Adopt's program, which must be there: now, or with the draws that follow.
  void Draw(MeshId mesh, int subset, const GlMeshTarget& target, const GlTextureStore& textures);
  // Sends what Draw gathered.
  void Flush();
  void Release(MeshId mesh);
  void ForgetState() {
    Flush();
    stateKnown = false;
  }

  void SetTransform(TransformState which, const Matrix& matrix);
  void SetCullMode(CullMode mode) { Change(cullMode, mode); }
  void SetLighting(bool on) {
    if (Change(lighting, on)) dirtyUniforms |= kLightUniforms;
  }
  void SetDepthTest(bool on) { Change(depthTest, on); }
  void SetAlphaBlend(bool on) { Change(alphaBlend, on); }
  void SetAmbient(std::uint32_t argb) {
    if (Change(ambient, argb)) dirtyUniforms |= kLightUniforms;
  }
  void SetTextureFilter(TextureFilter filter) { Change(textureFilter, filter); }
  void SetLight(int index, const Light& light);
  void EnableLight(int index, bool on);
  void SetMaterial(const Material& material) { this->material = material; }
  void SetTexture(TextureId texture) { Change(this->texture, texture); }
  TextureId Texture() const { return texture; }

 private:
  static constexpr int kMaxBatchSubsets = 16;  // the shader's material arrays
  static constexpr std::size_t kMaxBatchInstances = 1024;

  struct GpuMesh {
    unsigned vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    std::vector<MeshData::Subset> subsets;  // one after the other in the index buffer
  };
  // What one instance adds to its vertices: the matrices, as the vertex shader takes them.
  struct Instance {
    float worldViewProjection[16];
    float world[12];  // its first three rows: what turns the normals
  };
  // The draws gathered: instances of one mesh, each drawing the subsets from firstSubset
  // to endSubset (the last one may stop short, at nextSubset).
  struct Batch {
    MeshId mesh = 0;
    GlMeshTarget target;
    const GlTextureStore* textures = nullptr;
    int firstSubset = 0, endSubset = 0, nextSubset = 0;
    Material materials[kMaxBatchSubsets];  // by subset - firstSubset
    std::vector<Instance> instances;
  };
  struct Uniforms;
  enum : unsigned { kLightUniforms = 4, kMaterialUniforms = 8, kAllUniforms = 12 };

  // Sets a piece of drawing state, sending what was gathered under the old value first.
  template <typename T>
  bool Change(T& field, const T& value) {
    if (field == value) return false;
    Flush();
    field = value;
    return true;
  }
  bool Append(MeshId mesh, int subset, const GlMeshTarget& target);
  void Start(MeshId mesh, int subset, const GlMeshTarget& target, const GlTextureStore& textures);
  void AddInstance();
  void DrawInstances(const GpuMesh& gpu, const Instance* first, std::size_t count, int endSubset);
  void ApplyState(const GlMeshTarget& target, const GlTextureStore& textures);
  void UploadUniforms();

  Matrix world, view, projection, viewProjection;
  bool worldChanged = true;  // the next draw starts an instance
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
  unsigned sampler = 0, instanceBuffer = 0;
  std::vector<GpuMesh> meshes;  // MeshId - 1
  Batch batch;
  Material sentMaterials[kMaxBatchSubsets];  // what the material uniforms hold
  int sentMaterialCount = 0;
};

}  // namespace vorlith
