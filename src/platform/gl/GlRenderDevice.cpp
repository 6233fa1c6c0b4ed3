#include "platform/gl/GlRenderDevice.h"

#include <SDL.h>
#include <SDL_image.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/ForeignAllocationScope.h"
#include "platform/MatrixMath.h"
#include "platform/gl/GlLineRenderer.h"
#include "platform/gl/GlProgram.h"
#include "platform/gl/GlTextRenderer.h"
#include "platform/sdl/SdlWindow.h"

namespace vorlith {
namespace {

// The fixed-function pipeline of one directional light, per vertex: emissive + material
// ambient x (global ambient + light ambient) + material diffuse x light diffuse x max(0, N.-L),
// alpha from the material's diffuse, then modulated by the texture when there is one.
// Depth arrives in 0..1 as the projection matrices make it and is mapped to GL's -1..1.
const char* const kMeshVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;
uniform mat4 world;
uniform mat4 worldViewProjection;
uniform bool lighting;
uniform bool lightOn;
uniform vec3 lightDirection;
uniform vec4 lightDiffuse;
uniform vec4 lightAmbient;
uniform vec4 globalAmbient;
uniform vec4 materialDiffuse;
uniform vec4 materialAmbient;
uniform vec4 materialEmissive;
out vec4 vColour;
out vec2 vTexCoord;
void main() {
  vec4 clip = worldViewProjection * vec4(position, 1.0);
  gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
  vTexCoord = texCoord;
  if (!lighting) {
    vColour = vec4(1.0);
    return;
  }
  vec3 colour = materialEmissive.rgb + materialAmbient.rgb * globalAmbient.rgb;
  if (lightOn) {
    vec3 n = mat3(world) * normal;
    float len = length(n);
    float intensity = len > 0.0 ? max(0.0, dot(n / len, -lightDirection)) : 0.0;
    colour += materialAmbient.rgb * lightAmbient.rgb;
    colour += materialDiffuse.rgb * lightDiffuse.rgb * intensity;
  }
  vColour = vec4(clamp(colour, 0.0, 1.0), clamp(materialDiffuse.a, 0.0, 1.0));
}
)";

const char* const kMeshFragmentShader = R"(#version 330 core
in vec4 vColour;
in vec2 vTexCoord;
uniform bool textured;
uniform sampler2D textureMap;
out vec4 fragColour;
void main() {
  vec4 colour = vColour;
  if (textured) colour *= texture(textureMap, vTexCoord);
  fragColour = colour;
}
)";

void SetColour(GLint location, const ColorValue& c) {
  glUniform4f(location, c.r, c.g, c.b, c.a);
}

ColorValue FromArgb(std::uint32_t argb) {
  return ColorValue{((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f,
                    (argb & 0xFF) / 255.0f, ((argb >> 24) & 0xFF) / 255.0f};
}

}  // namespace

struct GlRenderDevice::MeshUniforms {
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

std::unique_ptr<RenderDevice> CreateGlRenderDevice(SdlWindow* window) {
  return CreateGlRenderDeviceOn(window ? window->GetSdlWindow() : nullptr);
}

std::unique_ptr<RenderDevice> CreateGlRenderDeviceOn(SDL_Window* window) {
  return GlRenderDevice::Open(window);
}

std::unique_ptr<GlRenderDevice> GlRenderDevice::Open(SDL_Window* window) {
  std::unique_ptr<GlRenderDevice> device(new GlRenderDevice());
  if (!device->OpenContext(window)) return nullptr;
  return device;
}

GlRenderDevice::~GlRenderDevice() {
  ForeignAllocationScope driverAllocations;
  if (context) {
    SDL_GL_MakeCurrent(window, context);
    for (GpuMesh& mesh : meshes) {
      glDeleteBuffers(1, &mesh.vertexBuffer);
      glDeleteBuffers(1, &mesh.indexBuffer);
      glDeleteVertexArrays(1, &mesh.vertexArray);
    }
    for (GLuint name : textures) {
      if (name != 0) glDeleteTextures(1, &name);
    }
    if (sampler != 0) glDeleteSamplers(1, &sampler);
    lines.reset();
    text.reset();
    meshProgram.reset();
    DeleteFramebuffer();
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
  }
  if (ownWindow) SDL_DestroyWindow(ownWindow);
  if (videoInitialised) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool GlRenderDevice::OpenContext(SDL_Window* target) {
  ForeignAllocationScope driverAllocations;
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoInitialised = true;
  }
  // An accelerated context first, then whatever the system offers.
  for (int accelerated : {1, -1}) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, accelerated);
    window = target;
    if (!window) {
      if (ownWindow) SDL_DestroyWindow(ownWindow);
      ownWindow = SDL_CreateWindow("vorlith", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16,
                                   16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
      window = ownWindow;
    }
    if (!window) continue;
    context = SDL_GL_CreateContext(window);
    if (context) break;
  }
  if (!context) return false;
  SDL_GL_MakeCurrent(window, context);
  if (const int version = epoxy_gl_version(); version < 33) {
    SDL_SetError("the driver offers OpenGL %d.%d only", version / 10, version % 10);
    return false;
  }
  if (!ownWindow) SDL_GL_SetSwapInterval(1);
  return true;
}

bool GlRenderDevice::Create(int width, int height, bool depthBuffer) {
  ForeignAllocationScope driverAllocations;
  if (!context) return false;
  if (width <= 0 || height <= 0) {
    SDL_SetError("a back buffer of %d x %d pixels cannot be made", width, height);
    return false;
  }
  SDL_GL_MakeCurrent(window, context);
  if (!meshProgram) {
    std::string error;
    auto program = std::make_unique<GlProgram>();
    if (!program->Build(kMeshVertexShader, kMeshFragmentShader, error)) {
      SDL_SetError("mesh shader: %s", error.c_str());
      return false;
    }
    auto lineRenderer = std::make_unique<GlLineRenderer>();
    if (!lineRenderer->Init(error)) {
      SDL_SetError("line shader: %s", error.c_str());
      return false;
    }
    auto textRenderer = std::make_unique<GlTextRenderer>();
    if (!textRenderer->Init(error)) {
      SDL_SetError("text shader: %s", error.c_str());
      return false;
    }
    text = std::move(textRenderer);
    meshProgram = std::move(program);
    uniforms = std::make_unique<MeshUniforms>();
    uniforms->Find(*meshProgram);
    lines = std::move(lineRenderer);
    glGenSamplers(1, &sampler);
  }
  hasDepth = depthBuffer;
  created = MakeFramebuffer(width, height);
  // Let the driver finish its first frame (and start whatever it starts lazily) here.
  glFinish();
  return created;
}

bool GlRenderDevice::Reset(int width, int height) {
  ForeignAllocationScope driverAllocations;
  if (!context || !meshProgram || width <= 0 || height <= 0) return false;
  SDL_GL_MakeCurrent(window, context);
  created = MakeFramebuffer(width, height);
  if (created) lost = false;
  return created;
}

bool GlRenderDevice::MakeFramebuffer(int width, int height) {
  stateKnown = false;
  DeleteFramebuffer();
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glGenRenderbuffers(1, &colourBuffer);
  glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
  if (hasDepth) {
    glGenRenderbuffers(1, &depthRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              depthRenderbuffer);
  }
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    SDL_SetError("OpenGL cannot make a back buffer of %d x %d pixels (at most %d x %d)", width,
                 height, static_cast<int>(largest), static_cast<int>(largest));
    DeleteFramebuffer();
    return false;
  }
  backWidth = width;
  backHeight = height;
  viewport = Viewport{0, 0, width, height, 0.0f, 1.0f};
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);
  glDepthMask(GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | (hasDepth ? GL_DEPTH_BUFFER_BIT : 0));
  return true;
}

void GlRenderDevice::DeleteFramebuffer() {
  if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
  if (colourBuffer != 0) glDeleteRenderbuffers(1, &colourBuffer);
  if (depthRenderbuffer != 0) glDeleteRenderbuffers(1, &depthRenderbuffer);
  framebuffer = colourBuffer = depthRenderbuffer = 0;
  backWidth = backHeight = 0;
}

void GlRenderDevice::UseFramebuffer() {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

bool GlRenderDevice::WindowPresentable() const {
  if (!window || ownWindow) return true;
  const Uint32 flags = SDL_GetWindowFlags(window);
  return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

RenderDevice::Status GlRenderDevice::TestCooperativeLevel() {
  if (!WindowPresentable()) {
    lost = true;
    return Status::Lost;
  }
  if (lost || !created) return Status::NotReset;
  return Status::Ok;
}

bool GlRenderDevice::BeginScene() {
  stateKnown = false;
  ForeignAllocationScope driverAllocations;
  if (!created || SDL_GL_MakeCurrent(window, context) != 0) return false;
  UseFramebuffer();
  return true;
}

void GlRenderDevice::EndScene() {
  glFlush();
}

void GlRenderDevice::Present() {
  ForeignAllocationScope driverAllocations;
  if (!created || ownWindow || !window || lost || !WindowPresentable()) return;
  stateKnown = false;
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
  if (drawableWidth <= 0 || drawableHeight <= 0) return;
  const double scale = std::min(static_cast<double>(drawableWidth) / backWidth,
                                static_cast<double>(drawableHeight) / backHeight);
  const int shownWidth = static_cast<int>(std::lround(backWidth * scale));
  const int shownHeight = static_cast<int>(std::lround(backHeight * scale));
  const int left = (drawableWidth - shownWidth) / 2, bottom = (drawableHeight - shownHeight) / 2;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  const bool sameSize = shownWidth == backWidth && shownHeight == backHeight;
  glBlitFramebuffer(0, 0, backWidth, backHeight, left, bottom, left + shownWidth,
                    bottom + shownHeight, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
  pauseLabel.Draw(drawableWidth, drawableHeight);
  SDL_GL_SwapWindow(window);
  UseFramebuffer();
}

bool GlRenderDevice::GetBackBufferSize(int& width, int& height) const {
  if (!created) return false;
  width = backWidth;
  height = backHeight;
  return true;
}

// Limits the following draws to the current viewport; false when it covers no pixel.
bool GlRenderDevice::ScissorToViewport() {
  const int x0 = std::clamp(viewport.x, 0, backWidth);
  const int y0 = std::clamp(viewport.y, 0, backHeight);
  const int x1 = std::clamp(viewport.x + viewport.width, 0, backWidth);
  const int y1 = std::clamp(viewport.y + viewport.height, 0, backHeight);
  glEnable(GL_SCISSOR_TEST);
  glScissor(x0, backHeight - y1, std::max(0, x1 - x0), std::max(0, y1 - y0));
  return x1 > x0 && y1 > y0;
}

void GlRenderDevice::Clear(std::uint32_t argb, bool clearDepth) {
  ForeignAllocationScope driverAllocations;
  if (!created) return;
  UseFramebuffer();
  if (ScissorToViewport()) {
    const ColorValue c = FromArgb(argb);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(c.r, c.g, c.b, c.a);
    GLbitfield bits = GL_COLOR_BUFFER_BIT;
    if (clearDepth && hasDepth) {
      glDepthMask(GL_TRUE);
      glClearDepth(1.0);
      bits |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(bits);
  }
  glDisable(GL_SCISSOR_TEST);
}

void GlRenderDevice::SetViewport(const Viewport& viewport) {
  this->viewport = viewport;
}

void GlRenderDevice::ApplyViewport() {
  glViewport(viewport.x, backHeight - (viewport.y + viewport.height), std::max(0, viewport.width),
             std::max(0, viewport.height));
  glDepthRange(viewport.minZ, viewport.maxZ);
}

void GlRenderDevice::SetTransform(TransformState which, const Matrix& matrix) {
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

void GlRenderDevice::SetMaterial(const Material& material) {
  if (std::memcmp(&material, &this->material, sizeof material) == 0) return;
  this->material = material;
  dirtyUniforms |= kMaterialUniforms;
}

void GlRenderDevice::SetLight(int index, const Light& light) {
  if (index != 0) return;
  this->light = light;
  dirtyUniforms |= kLightUniforms;
}

void GlRenderDevice::EnableLight(int index, bool on) {
  if (index != 0) return;
  lightEnabled = on;
  dirtyUniforms |= kLightUniforms;
}

void GlRenderDevice::ApplyMeshState() {
  const bool known = stateKnown;
  stateKnown = true;
  if (!known) {
    UseFramebuffer();
    glDisable(GL_SCISSOR_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glCullFace(GL_BACK);
    // Colour blends; the back buffer keeps the alpha it was cleared to (pictures stay opaque).
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, sampler);
    glUseProgram(meshProgram->Id());
  }
  if (!known || std::memcmp(&viewport, &appliedViewport, sizeof viewport) != 0) {
    ApplyViewport();
    appliedViewport = viewport;
  }
  const bool depth = depthTest && hasDepth;
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
  const bool textured = texture != 0 && texture <= textures.size() && textures[texture - 1] != 0;
  const unsigned name = textured ? textures[texture - 1] : 0;
  if (!known || name != appliedTexture) {
    glBindTexture(GL_TEXTURE_2D, name);
    glUniform1i(uniforms->textured, textured ? 1 : 0);
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
void GlRenderDevice::UploadMeshUniforms() {
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
    SetColour(uniforms->lightDiffuse, light.diffuse);
    SetColour(uniforms->lightAmbient, light.ambient);
    SetColour(uniforms->globalAmbient, FromArgb(ambient));
  }
  if (dirtyUniforms & kMaterialUniforms) {
    SetColour(uniforms->materialDiffuse, material.diffuse);
    SetColour(uniforms->materialAmbient, material.ambient);
    SetColour(uniforms->materialEmissive, material.emissive);
  }
  dirtyUniforms = 0;
}

MeshId GlRenderDevice::CreateMesh(const MeshData& mesh) {
  stateKnown = false;
  ForeignAllocationScope driverAllocations;
  if (!context || mesh.vertices.empty() || mesh.indices.empty()) return 0;
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

void GlRenderDevice::DrawSubset(MeshId mesh, int subset) {
  ForeignAllocationScope driverAllocations;
  if (!created || mesh == 0 || mesh > meshes.size()) return;
  const GpuMesh& gpu = meshes[mesh - 1];
  if (gpu.vertexArray == 0 || subset < 0 || subset >= static_cast<int>(gpu.subsets.size())) return;
  const MeshData::Subset& range = gpu.subsets[subset];
  if (range.indexCount == 0) return;
  ApplyMeshState();
  UploadMeshUniforms();
  glBindVertexArray(gpu.vertexArray);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.indexCount), GL_UNSIGNED_INT,
                 reinterpret_cast<const void*>(range.firstIndex * sizeof(std::uint32_t)));
}

void GlRenderDevice::ReleaseMesh(MeshId mesh) {
  stateKnown = false;
  if (!context || mesh == 0 || mesh > meshes.size()) return;
  GpuMesh& gpu = meshes[mesh - 1];
  if (gpu.vertexArray == 0) return;
  glDeleteBuffers(1, &gpu.vertexBuffer);
  glDeleteBuffers(1, &gpu.indexBuffer);
  glDeleteVertexArrays(1, &gpu.vertexArray);
  gpu = GpuMesh{};
}

TextureId GlRenderDevice::CreateTextureFromFile(const std::string& path) {
  stateKnown = false;
  ForeignAllocationScope driverAllocations;
  if (!context) return 0;
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return 0;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
  SDL_FreeSurface(loaded);
  if (!rgba) return 0;
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
  // Rows go up top row first, so texture v = 0 is the image's top as the model files expect.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               rgba->pixels);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glGenerateMipmap(GL_TEXTURE_2D);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glBindTexture(GL_TEXTURE_2D, 0);
  SDL_FreeSurface(rgba);
  for (std::size_t i = 0; i < textures.size(); ++i) {
    if (textures[i] == 0) {
      textures[i] = name;
      return static_cast<TextureId>(i + 1);
    }
  }
  textures.push_back(name);
  return static_cast<TextureId>(textures.size());
}

void GlRenderDevice::ReleaseTexture(TextureId texture) {
  stateKnown = false;
  if (!context || texture == 0 || texture > textures.size()) return;
  GLuint& name = textures[texture - 1];
  if (name != 0) glDeleteTextures(1, &name);
  name = 0;
  if (this->texture == texture) this->texture = 0;
}

FontId GlRenderDevice::CreateFont(const FontDesc& desc) {
  if (!text) return 0;
  ForeignAllocationScope driverAllocations;
  return text->CreateFont(desc);
}

bool GlRenderDevice::MeasureText(FontId font, const std::string& utf8, int& width, int& height) {
  width = height = 0;
  return text && text->Measure(font, utf8, width, height);
}

void GlRenderDevice::DrawText(FontId font, const std::string& utf8, int x, int y,
                              std::uint32_t argb) {
  if (!created || !text) return;
  ForeignAllocationScope driverAllocations;
  if (Begin2D()) text->Draw(font, utf8, x, y, argb, backWidth, backHeight);
  glDisable(GL_SCISSOR_TEST);
}

void GlRenderDevice::ReleaseFont(FontId font) {
  if (text) text->ReleaseFont(font);
}

// Screen-space drawing: back-buffer pixels over the whole buffer, clipped to the current
// viewport, blended, no depth test. False when the viewport covers no pixel.
bool GlRenderDevice::Begin2D() {
  stateKnown = false;
  UseFramebuffer();
  if (!ScissorToViewport()) return false;
  glViewport(0, 0, backWidth, backHeight);
  glDepthRange(0.0, 1.0);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
  return true;
}

void GlRenderDevice::DrawPolyline(const float* xy, int count, float width, std::uint32_t argb,
                                  bool antialias, std::uint32_t, float) {
  if (!created || !lines) return;
  ForeignAllocationScope driverAllocations;
  if (Begin2D()) lines->Draw(xy, count, width, argb, antialias, backWidth, backHeight);
  glDisable(GL_SCISSOR_TEST);
}

void GlRenderDevice::Finish() {
  if (context) glFinish();
}

bool GlRenderDevice::ReadBackBuffer(std::vector<std::uint8_t>& rgba, int& width, int& height) {
  ForeignAllocationScope driverAllocations;
  if (!created) return false;
  UseFramebuffer();
  glFinish();
  const std::size_t rowBytes = static_cast<std::size_t>(backWidth) * 4;
  rgba.resize(rowBytes * backHeight);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, backWidth, backHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  // GL reads the bottom row first.
  for (int top = 0, bottom = backHeight - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(rgba.begin() + top * rowBytes, rgba.begin() + (top + 1) * rowBytes,
                     rgba.begin() + bottom * rowBytes);
  }
  width = backWidth;
  height = backHeight;
  return true;
}

}  // namespace vorlith
