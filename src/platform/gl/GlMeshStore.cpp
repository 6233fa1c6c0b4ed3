#include "platform/gl/GlMeshStore.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/MatrixMath.h"
#include "platform/gl/GlApi.h"
#include "platform/gl/GlProgram.h"
#include "platform/gl/GlShaders.h"
#include "platform/gl/GlTextureStore.h"

namespace vorlith {
struct GlMeshStore::Uniforms {
  GLint world = -1, worldViewProjection = -1, lighting = -1, lightOn = -1;
  GLint lightDirection = -1, lightDiffuse = -1, lightAmbient = -1, globalAmbient = -1;
  GLint materialDiffuse = -1, materialAmbient = -1, materialEmissive = -1;
  GLint textured = -1, textureMap = -1;

  void Find(const GlProgram& program) {
    world = program.Uniform("world");
    worldViewProjection = program.Uniform("worldViewProjection");
    lighting = program.Uniform("lighting");
    lightOn = program.Uniform("lightOn");
    lightDirection = program.Uniform("lightDirection");
    lightDiffuse = program.Uniform("lightDiffuse");
    lightAmbient = program.Uniform("lightAmbient");
    globalAmbient = program.Uniform("globalAmbient");
    materialDiffuse = program.Uniform("materialDiffuse");
    materialAmbient = program.Uniform("materialAmbient");
    materialEmissive = program.Uniform("materialEmissive");
    textured = program.Uniform("textured");
    textureMap = program.Uniform("textureMap");
  }
};

GlMeshStore::GlMeshStore() = default;

GlMeshStore::~GlMeshStore() {
  for (GpuMesh& mesh : meshes) {
    glDeleteBuffers(1, &mesh.vertexBuffer);
    glDeleteBuffers(1, &mesh.indexBuffer);
    glDeleteVertexArrays(1, &mesh.vertexArray);
  }
  if (sampler != 0) glDeleteSamplers(1, &sampler);
}

std::unique_ptr<GlProgram> GlMeshStore::BuildProgram(std::string& error) {
  auto built = std::make_unique<GlProgram>();
  if (!built->Build(kMeshVertexShader, kMeshFragmentShader, error)) return nullptr;
  return built;
}

void GlMeshStore::Adopt(std::unique_ptr<GlProgram> built) {
  program = std::move(built);
  uniforms = std::make_unique<Uniforms>();
  uniforms->Find(*program);
  glGenSamplers(1, &sampler);
}

void GlMeshStore::SetTransform(TransformState which, const Matrix& matrix) {
  switch (which) {
    case TransformState::World:
      world = matrix;
      dirtyUniforms |= kWorldUniform;
      break;
    case TransformState::View:
      view = matrix;
      dirtyUniforms |= kViewUniforms;
      break;
    case TransformState::Projection:
      projection = matrix;
      dirtyUniforms |= kViewUniforms;
      break;
  }
}

void GlMeshStore::SetMaterial(const Material& material) {
  if (std::memcmp(&material, &this->material, sizeof material) == 0) return;
  this->material = material;
  dirtyUniforms |= kMaterialUniforms;
}

void GlMeshStore::SetLight(int index, const Light& light) {
  if (index != 0) return;
  this->light = light;
  dirtyUniforms |= kLightUniforms;
}

void GlMeshStore::EnableLight(int index, bool on) {
  if (index != 0) return;
  lightEnabled = on;
  dirtyUniforms |= kLightUniforms;
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

// Uploads what changed since the last mesh drawn; the mesh program keeps its uniforms while
// other programs draw text and lines.
void GlMeshStore::UploadUniforms() {
  // Our matrices are row-vector and stored row by row, which is exactly GL's column-major
  // layout of the transposed (column-vector) matrix.
  if (dirtyUniforms & kViewUniforms) viewProjection = MatrixMultiply(view, projection);
  if (dirtyUniforms & (kWorldUniform | kViewUniforms)) {
    const Matrix all = MatrixMultiply(world, viewProjection);
    glUniformMatrix4fv(uniforms->world, 1, GL_FALSE, &world.m[0][0]);
    glUniformMatrix4fv(uniforms->worldViewProjection, 1, GL_FALSE, &all.m[0][0]);
  }
  if (dirtyUniforms & kLightUniforms) {
    glUniform1i(uniforms->lighting, lighting ? 1 : 0);
    glUniform1i(uniforms->lightOn, lightEnabled ? 1 : 0);
    glUniform3f(uniforms->lightDirection, light.direction.x, light.direction.y, light.direction.z);
    SetColourUniform(uniforms->lightDiffuse, light.diffuse);
    SetColourUniform(uniforms->lightAmbient, light.ambient);
    SetColourUniform(uniforms->globalAmbient, ColourFromArgb(ambient));
  }
  if (dirtyUniforms & kMaterialUniforms) {
    SetColourUniform(uniforms->materialDiffuse, material.diffuse);
    SetColourUniform(uniforms->materialAmbient, material.ambient);
    SetColourUniform(uniforms->materialEmissive, material.emissive);
  }
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
  GpuMesh gpu;
  gpu.subsets = mesh.subsets;
  glGenVertexArrays(1, &gpu.vertexArray);
  glBindVertexArray(gpu.vertexArray);
  glGenBuffers(1, &gpu.vertexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, gpu.vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, vertexCount * sizeof(MeshVertex), mesh.vertices.data(),
               GL_STATIC_DRAW);
  glGenBuffers(1, &gpu.indexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.indexBuffer);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, mesh.indices.size() * sizeof(std::uint32_t),
               mesh.indices.data(), GL_STATIC_DRAW);
  const GLsizei stride = sizeof(MeshVertex);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(MeshVertex, px)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(MeshVertex, nx)));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(MeshVertex, u)));
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
  const MeshData::Subset& range = gpu.subsets[subset];
  if (range.indexCount == 0) return;
  ApplyState(target, textures);
  UploadUniforms();
  glBindVertexArray(gpu.vertexArray);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.indexCount), GL_UNSIGNED_INT,
                 reinterpret_cast<const void*>(range.firstIndex * sizeof(std::uint32_t)));
}

void GlMeshStore::Release(MeshId mesh) {
  if (mesh == 0 || mesh > meshes.size()) return;
  GpuMesh& gpu = meshes[mesh - 1];
  if (gpu.vertexArray == 0) return;
  glDeleteBuffers(1, &gpu.vertexBuffer);
  glDeleteBuffers(1, &gpu.indexBuffer);
  glDeleteVertexArrays(1, &gpu.vertexArray);
  gpu = GpuMesh{};
}

}  // namespace vorlith
