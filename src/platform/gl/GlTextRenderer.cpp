#include "platform/gl/GlTextRenderer.h"

#include <algorithm>

#include "base/Utf8.h"
#include "platform/gl/GlShaders.h"

namespace vorlith {
namespace {

constexpr int kPadding = 1;  // empty texels between glyphs, so filtering never bleeds
constexpr int kFloatsPerVertex = 4;

}  // namespace

GlTextRenderer::~GlTextRenderer() {
  if (atlasFramebuffer != 0) glDeleteFramebuffers(1, &atlasFramebuffer);
  if (atlas != 0) glDeleteTextures(1, &atlas);
  if (vertexBuffer != 0) glDeleteBuffers(1, &vertexBuffer);
  if (vertexArray != 0) glDeleteVertexArrays(1, &vertexArray);
}

void GlTextRenderer::Start() {
  program.Start(ScreenSpaceVertexShader("vec2").c_str(), kTextFragmentShader);
}

bool GlTextRenderer::Init(std::string& error) {
  if (!program.Finish(error)) return false;
  screenSizeLocation = program.Uniform("screenSize");
  colourLocation = program.Uniform("colour");
  atlasLocation = program.Uniform("atlas");
  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &vertexBuffer);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  const GLsizei stride = kFloatsPerVertex * sizeof(float);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(2 * sizeof(float)));
  glBindVertexArray(0);
  glGenTextures(1, &atlas);
  glBindTexture(GL_TEXTURE_2D, atlas);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, kAtlasSize, kAtlasSize, 0, GL_RED, GL_UNSIGNED_BYTE,
               nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (!MakeAtlasFramebuffer()) {
    error = "the glyph atlas cannot be drawn into";
    return false;
  }
  ResetAtlas();
  return true;
}

// The atlas is cleared by the GPU, through a framebuffer of its own: nothing to fill and send.
bool GlTextRenderer::MakeAtlasFramebuffer() {
  GLint drawFramebuffer = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
  glGenFramebuffers(1, &atlasFramebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, atlasFramebuffer);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, atlas, 0);
  const bool complete = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
  return complete;
}

FontId GlTextRenderer::CreateFont(const FontDesc& desc) {
  std::unique_ptr<FontRasterizer> rasterizer = FontRasterizer::Create(desc);
  if (!rasterizer) return 0;
  auto font = std::make_unique<Font>();
  font->rasterizer = std::move(rasterizer);
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    if (!fonts[i]) {
      fonts[i] = std::move(font);
      return static_cast<FontId>(i + 1);
    }
  }
  fonts.push_back(std::move(font));
  return static_cast<FontId>(fonts.size());
}

void GlTextRenderer::ReleaseFont(FontId font) {
  if (font != 0 && font <= fonts.size()) fonts[font - 1].reset();
}

GlTextRenderer::Font* GlTextRenderer::Find(FontId font) {
  return font != 0 && font <= fonts.size() ? fonts[font - 1].get() : nullptr;
}

bool GlTextRenderer::Measure(FontId font, const std::string& utf8, int& width, int& height) {
  Font* found = Find(font);
  if (!found) return false;
  return found->rasterizer->Measure(utf8, width, height);
}

// Starts the atlas afresh (every font rasterises its glyphs again as it needs them).
void GlTextRenderer::ResetAtlas() {
  for (auto& font : fonts) {
    if (font) font->glyphs.clear();
  }
  shelfX = shelfY = shelfHeight = 0;
  // Called between draws too: the clip and the target are put back. (Colours are never masked;
  // asking the driver for the mask would wait for it in the browser.)
  GLint drawFramebuffer = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
  const GLboolean clipped = glIsEnabled(GL_SCISSOR_TEST);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, atlasFramebuffer);
  glDisable(GL_SCISSOR_TEST);
  const GLfloat zero[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glClearBufferfv(GL_COLOR, 0, zero);
  if (clipped) glEnable(GL_SCISSOR_TEST);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
}

// Shelf packing: left to right, a new shelf below when the row is full.
bool GlTextRenderer::Place(int width, int height, int& x, int& y) {
  if (width + kPadding > kAtlasSize || height + kPadding > kAtlasSize) return false;
  if (shelfX + width + kPadding > kAtlasSize) {
    shelfY += shelfHeight;
    shelfX = 0;
    shelfHeight = 0;
  }
  if (shelfY + height + kPadding > kAtlasSize) return false;
  x = shelfX;
  y = shelfY;
  shelfX += width + kPadding;
  shelfHeight = std::max(shelfHeight, height + kPadding);
  return true;
}

// The glyph's place in the atlas, rasterised on first use; null when the atlas is full.
const GlTextRenderer::GlyphSlot* GlTextRenderer::Glyph(Font& font, char32_t codePoint) {
  const auto found = font.glyphs.find(codePoint);
  if (found != font.glyphs.end()) return &found->second;
  FontRasterizer::Glyph bitmap;
  GlyphSlot slot;
  if (font.rasterizer->RenderGlyph(codePoint, bitmap)) {
    slot.advance = bitmap.advance;
    slot.offsetX = bitmap.offsetX;
    slot.offsetY = bitmap.offsetY;
    const bool visible = bitmap.width > 0 && bitmap.height > 0 &&
                         bitmap.alpha.size() >= static_cast<std::size_t>(bitmap.width) *
                                                    static_cast<std::size_t>(bitmap.height);
    if (visible) {
      if (!Place(bitmap.width, bitmap.height, slot.x, slot.y)) return nullptr;
      slot.drawable = true;
      slot.width = bitmap.width;
      slot.height = bitmap.height;
      glBindTexture(GL_TEXTURE_2D, atlas);
      glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
      glTexSubImage2D(GL_TEXTURE_2D, 0, slot.x, slot.y, slot.width, slot.height, GL_RED,
                      GL_UNSIGNED_BYTE, bitmap.alpha.data());
    }
  }
  return &font.glyphs.emplace(codePoint, slot).first->second;
}

// Fills scratch with the string's quads; false when the atlas ran out of room.
bool GlTextRenderer::BuildQuads(Font& font, const std::u32string& text, int x, int y) {
  scratch.clear();
  int pen = x;
  char32_t previous = 0;
  const float texel = 1.0f / kAtlasSize;
  for (char32_t codePoint : text) {
    if (codePoint == U'\n') {  // a line break starts the next line under the first
      pen = x;
      y += font.rasterizer->GetLineHeight();
      previous = 0;
      continue;
    }
    if (previous) pen += font.rasterizer->GetKerning(previous, codePoint);
    previous = codePoint;
    const GlyphSlot* glyph = Glyph(font, codePoint);
    if (!glyph) return false;
    if (glyph->drawable) {
      const float left = static_cast<float>(pen + glyph->offsetX);
      const float top = static_cast<float>(y + glyph->offsetY);
      const float right = left + glyph->width, bottom = top + glyph->height;
      const float u0 = glyph->x * texel, v0 = glyph->y * texel;
      const float u1 = (glyph->x + glyph->width) * texel, v1 = (glyph->y + glyph->height) * texel;
      const float quad[6][4] = {{left, top, u0, v0},     {right, top, u1, v0},
                                {right, bottom, u1, v1}, {left, top, u0, v0},
                                {right, bottom, u1, v1}, {left, bottom, u0, v1}};
      for (const auto& vertex : quad) scratch.insert(scratch.end(), vertex, vertex + 4);
    }
    pen += glyph->advance;
  }
  return true;
}

void GlTextRenderer::Draw(FontId font, const std::string& utf8, int x, int y, std::uint32_t argb,
                          int backWidth, int backHeight) {
  Font* found = Find(font);
  if (!found || utf8.empty()) return;
  const std::u32string text = DecodeUtf8(utf8);
  if (!BuildQuads(*found, text, x, y)) {
    ResetAtlas();
    BuildQuads(*found, text, x, y);  // draws what fits in an empty atlas
  }
  if (scratch.empty()) return;
  glUseProgram(program.Id());
  glUniform2f(screenSizeLocation, static_cast<float>(backWidth), static_cast<float>(backHeight));
  SetColourUniform(colourLocation, ColourFromArgb(argb));
  glUniform1i(atlasLocation, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, atlas);
  glBindSampler(0, 0);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  if (scratch.size() > bufferFloats) {
    bufferFloats = std::max<std::size_t>(scratch.size(), 4096);
    glBufferData(GL_ARRAY_BUFFER, bufferFloats * sizeof(float), nullptr, GL_DYNAMIC_DRAW);
  }
  glBufferSubData(GL_ARRAY_BUFFER, 0, scratch.size() * sizeof(float), scratch.data());
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(scratch.size() / kFloatsPerVertex));
  glBindVertexArray(0);
}

}  // namespace vorlith
