#include "platform/gl/GlMeshStore.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "base/ForeignAllocationScope.h"
#include "base/MatrixMath.h"
#include "platform/gl/GlApi.h"
#include "platform/gl/GlProgram.h"
#include "platform/gl/GlShaders.h"
#include "platform/gl/GlTextureStore.h"

namespace vorlith {
namespace {

// The vertex of a mesh as GL takes it: the model's, with the subset it belongs to.
struct GpuVertex {
  MeshVertex vertex;
  std::int32_t subset = 0;
};

// The attribute locations of the mesh vertex shader.
enum : GLuint {
  kPositionAttribute = 0,
  kNormalAttribute = 1,
  kTexCoordAttribute = 2,
  kSubsetAttribute = 3,
  kWorldViewProjectionAttribute = 4,  // four columns
  kWorldAttribute = 8,                // three columns
};

void SetVertexAttribute(GLuint location, GLint size, GLsizei stride, std::size_t offset) {
  glEnableVertexAttribArray(location);
  glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offset));
}

void SetInstanceAttribute(GLuint location, GLsizei stride, std::size_t offset) {
  SetVertexAttribute(location, 4, stride, offset);
  glVertexAttribDivisor(location, 1);
}

// Each subset's triangles, in subset order, over vertices of their own: a vertex that two
// subsets share is there once for each.
void SplitBySubset(const MeshData& mesh, std::vector<GpuVertex>& vertices,
                   std::vector<std::uint32_t>& indices, std::vector<MeshData::Subset>& subsets) {
  std::vector<std::uint32_t> made(mesh.vertices.size());
  for (std::size_t s = 0; s < mesh.subsets.size(); ++s) {
    const MeshData::Subset& subset = mesh.subsets[s];
    std::fill(made.begin(), made.end(), UINT32_MAX);
    subsets.push_back({static_cast<std::uint32_t>(indices.size()), subset.indexCount});
    for (std::uint32_t i = 0; i < subset.indexCount; ++i) {
      const std::uint32_t index = mesh.indices[subset.firstIndex + i];
      if (made[index] == UINT32_MAX) {
        made[index] = static_cast<std::uint32_t>(vertices.size());
        vertices.push_back({mesh.vertices[index], static_cast<std::int32_t>(s)});
      }
      indices.push_back(made[index]);
    }
  }
}

}  // namespace

struct GlMeshStore::Uniforms {
  GLint lighting = -1, lightOn = -1;
  GLint lightDirection = -1, lightDiffuse = -1, lightAmbient = -1, globalAmbient = -1;
  GLint materialBase = -1, materialDiffuse = -1, materialAmbient = -1, materialEmissive = -1;
  GLint textured = -1, textureMap = -1;

  void Find(const GlProgram& program) {
    lighting = program.Uniform("lighting");
    lightOn = program.Uniform("lightOn");
    lightDirection = program.Uniform("lightDirection");
    lightDiffuse = program.Uniform("lightDiffuse");
    lightAmbient = program.Uniform("lightAmbient");
    globalAmbient = program.Uniform("globalAmbient");
    materialBase = program.Uniform("materialBase");
    materialDiffuse = program.Uniform("materialDiffuse");
    materialAmbient = program.Uniform("materialAmbient");
    materialEmissive = program.Uniform("materialEmissive");
    textured = program.Uniform("textured");
    textureMap = program.Uniform("textureMap");
  }
};

GlMeshStore::GlMeshStore() {
  batch.instances.reserve(kMaxBatchInstances);  // gathering never allocates
}

GlMeshStore::~GlMeshStore() {
  for (GpuMesh& mesh : meshes) {
    glDeleteBuffers(1, &mesh.vertexBuffer);
    glDeleteBuffers(1, &mesh.indexBuffer);
    glDeleteVertexArrays(1, &mesh.vertexArray);
  }
  if (sampler != 0) glDeleteSamplers(1, &sampler);
  if (instanceBuffer != 0) glDeleteBuffers(1, &instanceBuffer);
}

std::unique_ptr<GlProgram> GlMeshStore::StartProgram() {
  auto started = std::make_unique<GlProgram>();
  started->Start(kMeshVertexShader, kMeshFragmentShader);
  return started;
}

void GlMeshStore::Adopt(std::unique_ptr<GlProgram> built) {
  program = std::move(built);
  uniforms = std::make_unique<Uniforms>();
  uniforms->Find(*program);
  glGenSamplers(1, &sampler);
}

void GlMeshStore::SetTransform(TransformState which, const Matrix& matrix) {
  if (which == TransformState::World) {
    world = matrix;
    worldChanged = true;
    return;
  }
  Flush();
  (which == TransformState::View ? view : projection) = matrix;
  viewProjection = MatrixMultiply(view, projection);
}

void GlMeshStore::SetLight(int index, const Light& light) {
  if (index != 0 || std::memcmp(&light, &this->light, sizeof light) == 0) return;
  Flush();
  this->light = light;
  dirtyUniforms |= kLightUniforms;
}

void GlMeshStore::EnableLight(int index, bool on) {
  if (index == 0 && Change(lightEnabled, on)) dirtyUniforms |= kLightUniforms;
}

void GlMeshStore::ApplyState(const GlMeshTarget& target, const GlTextureStore& textures) {
  const bool known = stateKnown;
  stateKnown = true;
  if (!known) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glDisable(GL_SCISSOR_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glCullFace(GL_BACK);
    // Colour blends; the back buffer keeps the alpha it was cleared to (pictures stay opaque).
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, sampler);
    glUseProgram(program->Id());
  }
  const Viewport& viewport = target.viewport;
  if (!known || std::memcmp(&viewport, &appliedViewport, sizeof viewport) != 0) {
    glViewport(viewport.x, target.height - (viewport.y + viewport.height),
               std::max(0, viewport.width), std::max(0, viewport.height));
    glDepthRange(viewport.minZ, viewport.maxZ);
    appliedViewport = viewport;
  }
  const bool depth = depthTest && target.hasDepth;
  if (!known || depth != appliedDepthTest) {
    depth ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    appliedDepthTest = depth;
  }
  if (!known || cullMode != appliedCull) {
    // The winding that counts is the one seen on screen; GL culls its back faces.
    cullMode == CullMode::None ? glDisable(GL_CULL_FACE) : glEnable(GL_CULL_FACE);
    glFrontFace(cullMode == CullMode::CounterClockwise ? GL_CW : GL_CCW);
    appliedCull = cullMode;
  }
  if (!known || alphaBlend != appliedBlend) {
    alphaBlend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    appliedBlend = alphaBlend;
  }
  const unsigned name = textures.Name(texture);
  if (!known || name != appliedTexture) {
    glBindTexture(GL_TEXTURE_2D, name);
    glUniform1i(uniforms->textured, name != 0 ? 1 : 0);
    appliedTexture = name;
  }
  const bool linear = textureFilter == TextureFilter::Linear;
  if (!known || linear != appliedLinear) {
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                        linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
    appliedLinear = linear;
  }
}

// Uploads what changed since the last meshes drawn; the mesh program keeps its uniforms while
// other programs draw text and lines.
void GlMeshStore::UploadUniforms() {
  if (dirtyUniforms & kLightUniforms) {
    glUniform1i(uniforms->lighting, lighting ? 1 : 0);
    glUniform1i(uniforms->lightOn, lightEnabled ? 1 : 0);
    glUniform3f(uniforms->lightDirection, light.direction.x, light.direction.y, light.direction.z);
    SetColourUniform(uniforms->lightDiffuse, light.diffuse);
    SetColourUniform(uniforms->lightAmbient, light.ambient);
    SetColourUniform(uniforms->globalAmbient, ColourFromArgb(ambient));
  }
  const int count = batch.endSubset - batch.firstSubset;
  if ((dirtyUniforms & kMaterialUniforms) || count != sentMaterialCount ||
      std::memcmp(batch.materials, sentMaterials, count * sizeof(Material)) != 0) {
    float diffuse[kMaxBatchSubsets][4], ambient[kMaxBatchSubsets][4], emissive[kMaxBatchSubsets][4];
    for (int i = 0; i < count; ++i) {
      std::memcpy(diffuse[i], &batch.materials[i].diffuse, sizeof diffuse[i]);
      std::memcpy(ambient[i], &batch.materials[i].ambient, sizeof ambient[i]);
      std::memcpy(emissive[i], &batch.materials[i].emissive, sizeof emissive[i]);
      sentMaterials[i] = batch.materials[i];
    }
    glUniform4fv(uniforms->materialDiffuse, count, &diffuse[0][0]);
    glUniform4fv(uniforms->materialAmbient, count, &ambient[0][0]);
    glUniform4fv(uniforms->materialEmissive, count, &emissive[0][0]);
    sentMaterialCount = count;
  }
  glUniform1i(uniforms->materialBase, batch.firstSubset);
  dirtyUniforms = 0;
}

MeshId GlMeshStore::Create(const MeshData& mesh) {
  if (mesh.vertices.empty() || mesh.indices.empty()) return 0;
  const std::size_t vertexCount = mesh.vertices.size();
  if (std::any_of(mesh.indices.begin(), mesh.indices.end(),
                  [&](std::uint32_t index) { return index >= vertexCount; })) {
    return 0;
  }
  for (const MeshData::Subset& subset : mesh.subsets) {
    if (subset.firstIndex > mesh.indices.size() ||
        subset.indexCount > mesh.indices.size() - subset.firstIndex) {
      return 0;
    }
  }
  std::vector<GpuVertex> vertices;
  std::vector<std::uint32_t> indices;
  GpuMesh gpu;
  SplitBySubset(mesh, vertices, indices, gpu.subsets);
  if (vertices.empty()) return 0;
  glGenVertexArrays(1, &gpu.vertexArray);
  glBindVertexArray(gpu.vertexArray);
  glGenBuffers(1, &gpu.vertexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, gpu.vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, vertices.size() * sizeof(GpuVertex), vertices.data(),
               GL_STATIC_DRAW);
  glGenBuffers(1, &gpu.indexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.indexBuffer);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(std::uint32_t), indices.data(),
               GL_STATIC_DRAW);
  const GLsizei stride = sizeof(GpuVertex);
  SetVertexAttribute(kPositionAttribute, 3, stride, offsetof(GpuVertex, vertex.px));
  SetVertexAttribute(kNormalAttribute, 3, stride, offsetof(GpuVertex, vertex.nx));
  SetVertexAttribute(kTexCoordAttribute, 2, stride, offsetof(GpuVertex, vertex.u));
  glEnableVertexAttribArray(kSubsetAttribute);
  glVertexAttribIPointer(kSubsetAttribute, 1, GL_INT, stride,
                         reinterpret_cast<const void*>(offsetof(GpuVertex, subset)));
  if (instanceBuffer == 0) glGenBuffers(1, &instanceBuffer);  // before any mesh points at it
  glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
  const GLsizei instanceStride = sizeof(Instance);
  for (GLuint column = 0; column < 4; ++column) {
    SetInstanceAttribute(kWorldViewProjectionAttribute + column, instanceStride,
                         offsetof(Instance, worldViewProjection) + column * 4 * sizeof(float));
  }
  for (GLuint column = 0; column < 3; ++column) {
    SetInstanceAttribute(kWorldAttribute + column, instanceStride,
                         offsetof(Instance, world) + column * 4 * sizeof(float));
  }
  glBindVertexArray(0);
  for (std::size_t i = 0; i < meshes.size(); ++i) {
    if (meshes[i].vertexArray == 0) {
      meshes[i] = std::move(gpu);
      return static_cast<MeshId>(i + 1);
    }
  }
  meshes.push_back(std::move(gpu));
  return static_cast<MeshId>(meshes.size());
}

void GlMeshStore::Draw(MeshId mesh, int subset, const GlMeshTarget& target,
                       const GlTextureStore& textures) {
  if (mesh == 0 || mesh > meshes.size()) return;
  const GpuMesh& gpu = meshes[mesh - 1];
  if (gpu.vertexArray == 0 || subset < 0 || subset >= static_cast<int>(gpu.subsets.size())) return;
  if (gpu.subsets[subset].indexCount == 0) return;
  if (!Append(mesh, subset, target)) {
    Flush();
    Start(mesh, subset, target, textures);
  }
  worldChanged = false;
}

// Whether the draw continues the batch: the next subset of the instance (passing over only
// empty ones), or a new instance with the same subsets and materials as the first.
bool GlMeshStore::Append(MeshId mesh, int subset, const GlMeshTarget& target) {
  const GlMeshTarget& was = batch.target;
  if (batch.instances.empty() || mesh != batch.mesh || target.framebuffer != was.framebuffer ||
      target.height != was.height || target.hasDepth != was.hasDepth ||
      std::memcmp(&target.viewport, &was.viewport, sizeof target.viewport) != 0) {
    return false;
  }
  const std::vector<MeshData::Subset>& subsets = meshes[mesh - 1].subsets;
  const bool first = batch.instances.size() == 1 && !worldChanged;
  const int from = worldChanged ? batch.firstSubset : batch.nextSubset;
  if (worldChanged &&
      (batch.nextSubset != batch.endSubset || batch.instances.size() == kMaxBatchInstances)) {
    return false;  // the last instance stopped short, or the batch is full
  }
  if (subset < from || subset >= batch.firstSubset + kMaxBatchSubsets) return false;
  for (int skipped = from; skipped < subset; ++skipped) {
    if (subsets[skipped].indexCount != 0) return false;
  }
  Material* slot = &batch.materials[subset - batch.firstSubset];
  if (first) {
    for (Material* m = &batch.materials[batch.endSubset - batch.firstSubset]; m <= slot; ++m) {
      *m = material;
    }
    batch.endSubset = subset + 1;
  } else if (subset >= batch.endSubset || std::memcmp(slot, &material, sizeof material) != 0) {
    return false;
  }
  if (worldChanged) AddInstance();
  batch.nextSubset = subset + 1;
  return true;
}

void GlMeshStore::Start(MeshId mesh, int subset, const GlMeshTarget& target,
                        const GlTextureStore& textures) {
  batch.mesh = mesh;
  batch.target = target;
  batch.textures = &textures;
  batch.firstSubset = subset;
  batch.endSubset = batch.nextSubset = subset + 1;
  batch.materials[0] = material;
  AddInstance();
}

void GlMeshStore::AddInstance() {
  // Our matrices are row-vector and stored row by row, which is exactly GL's column-major
  // layout of the transposed (column-vector) matrix: rows become the attributes' columns.
  const Matrix all = MatrixMultiply(world, viewProjection);
  Instance& instance = batch.instances.emplace_back();
  std::memcpy(instance.worldViewProjection, &all.m[0][0], sizeof instance.worldViewProjection);
  std::memcpy(instance.world, &world.m[0][0], sizeof instance.world);
}

void GlMeshStore::Flush() {
  if (batch.instances.empty()) return;
  // State setters and the device's other calls flush too, some outside the device's own scope.
  ForeignAllocationScope driverAllocations;
  const GpuMesh& gpu = meshes[batch.mesh - 1];
  ApplyState(batch.target, *batch.textures);
  UploadUniforms();
  glBindVertexArray(gpu.vertexArray);
  const std::size_t count = batch.instances.size();
  if (batch.nextSubset == batch.endSubset) {
    DrawInstances(gpu, batch.instances.data(), count, batch.endSubset);
  } else {
    DrawInstances(gpu, batch.instances.data(), count - 1, batch.endSubset);
    DrawInstances(gpu, &batch.instances.back(), 1, batch.nextSubset);
  }
  batch.instances.clear();
}

void GlMeshStore::DrawInstances(const GpuMesh& gpu, const Instance* first, std::size_t count,
                                int endSubset) {
  if (count == 0) return;
  glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Instance)), first,
               GL_STREAM_DRAW);
  const std::uint32_t begin = gpu.subsets[batch.firstSubset].firstIndex;
  const MeshData::Subset& last = gpu.subsets[endSubset - 1];
  glDrawElementsInstanced(
      GL_TRIANGLES, static_cast<GLsizei>(last.firstIndex + last.indexCount - begin),
      GL_UNSIGNED_INT, reinterpret_cast<const void*>(begin * sizeof(std::uint32_t)),
      static_cast<GLsizei>(count));
}

void GlMeshStore::Release(MeshId mesh) {
  if (mesh == 0 || mesh > meshes.size()) return;
  if (batch.mesh == mesh) Flush();
  GpuMesh& gpu = meshes[mesh - 1];
  if (gpu.vertexArray == 0) return;
  glDeleteBuffers(1, &gpu.vertexBuffer);
  glDeleteBuffers(1, &gpu.indexBuffer);
  glDeleteVertexArrays(1, &gpu.vertexArray);
  gpu = GpuMesh{};
}

}  // namespace vorlith
