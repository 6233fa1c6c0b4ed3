#include "platform/sdl/TtfFontRasterizer.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>

#include "base/Utf8.h"

namespace vorlith {
namespace {

constexpr int kMaxPixelHeight = 1024;    // larger fonts are refused rather than rasterised
constexpr int kLargestCrispHeight = 14;  // pixel heights up to this are hinted to whole pixels

// Code points a face can possibly hold (0 ends strings, so it is never drawn).
bool Renderable(char32_t codePoint) {
  return codePoint > 0 && codePoint <= 0x10FFFF;
}

// Largest point size whose line height does not exceed the wanted pixel height.
void FitHeight(TTF_Font* font, int wanted) {
  int size = wanted;
  TTF_SetFontSize(font, size);
  const int first = std::max(1, TTF_FontHeight(font));
  size = std::max(1, wanted * wanted / first);
  TTF_SetFontSize(font, size);
  while (size > 1 && TTF_FontHeight(font) > wanted) TTF_SetFontSize(font, --size);
  while (true) {
    TTF_SetFontSize(font, size + 1);
    if (TTF_FontHeight(font) > wanted) break;
    ++size;
  }
  TTF_SetFontSize(font, size);
}

}  // namespace

std::unique_ptr<FontRasterizer> FontRasterizer::Create(const FontDesc& desc) {
  return TtfFontRasterizer::Open(desc);
}

std::unique_ptr<TtfFontRasterizer> TtfFontRasterizer::Open(const FontDesc& desc) {
  if (desc.height <= 0 || desc.height > kMaxPixelHeight) return nullptr;
  int faceIndex = 0;
  // Small text is set in a proportional face where there is one: a fixed-pitch face squeezes
  // wide letters ("m", "w") into half a cell, too narrow for their stems to stand apart.
  const bool small = desc.height <= kLargestCrispHeight;
  const std::string path = FindFontFile(desc.faceName, faceIndex, small);
  if (path.empty()) return nullptr;
  if (TTF_Init() != 0) return nullptr;
  TTF_Font* font = TTF_OpenFontIndex(path.c_str(), desc.height, faceIndex);
  if (!font) {
    TTF_Quit();
    return nullptr;
  }
  // Small text is hinted to whole pixels, as renderers of non-antialiased screen text do:
  // smoothed, the stems of small letters blur into grey blocks.
  if (small) TTF_SetFontHinting(font, TTF_HINTING_MONO);
  FitHeight(font, desc.height);
  if (desc.weight >= 600) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
  return std::unique_ptr<TtfFontRasterizer>(new TtfFontRasterizer(font));
}

TtfFontRasterizer::~TtfFontRasterizer() {
  TTF_CloseFont(font);
  TTF_Quit();
}

int TtfFontRasterizer::GetLineHeight() const {
  return TTF_FontHeight(font);
}

int TtfFontRasterizer::Advance(char32_t codePoint) {
  if (!Renderable(codePoint) || !TTF_GlyphIsProvided32(font, codePoint)) return 0;
  int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
  if (TTF_GlyphMetrics32(font, codePoint, &minX, &maxX, &minY, &maxY, &advance) != 0) return 0;
  return advance;
}

bool TtfFontRasterizer::Measure(const std::string& utf8, int& width, int& height) {
  int pen = 0;
  char32_t previous = 0;
  for (char32_t cp : DecodeUtf8(utf8)) {
    if (previous) pen += GetKerning(previous, cp);
    pen += Advance(cp);
    previous = cp;
  }
  width = pen;
  height = GetLineHeight();
  return true;
}

bool TtfFontRasterizer::RenderGlyph(char32_t codePoint, Glyph& glyph) {
  glyph = Glyph{};
  if (!Renderable(codePoint) || !TTF_GlyphIsProvided32(font, codePoint)) return false;
  int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
  if (TTF_GlyphMetrics32(font, codePoint, &minX, &maxX, &minY, &maxY, &advance) != 0) {
    return false;
  }
  glyph.advance = advance;
  SDL_Surface* rendered = TTF_RenderGlyph32_Blended(font, codePoint, SDL_Color{255, 255, 255, 255});
  if (!rendered) return true;  // nothing visible (a space), but it still advances
  SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (!surface) return true;
  // Crop to the covered pixels; the surface's origin is the pen at the line's top, moved
  // left by a negative left bearing.
  const int originX = std::min(0, minX);
  int left = surface->w, top = surface->h, right = -1, bottom = -1;
  SDL_LockSurface(surface);
  auto alphaAt = [surface](int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
    return static_cast<std::uint8_t>(reinterpret_cast<const std::uint32_t*>(row)[x] >> 24);
  };
  for (int y = 0; y < surface->h; ++y) {
    for (int x = 0; x < surface->w; ++x) {
      if (!alphaAt(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right >= left) {
    // A glyph reaching above the ascent grows the surface upward; the line's top then sits
    // lower in it, where the glyph's metrics put it.
    int lineTop = 0;
    if (surface->h > TTF_FontHeight(font))
      lineTop = std::max(0, top - (TTF_FontAscent(font) - maxY));
    glyph.width = right - left + 1;
    glyph.height = bottom - top + 1;
    glyph.offsetX = originX + left;
    glyph.offsetY = top - lineTop;
    glyph.alpha.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    for (int y = 0; y < glyph.height; ++y) {
      for (int x = 0; x < glyph.width; ++x) {
        glyph.alpha[static_cast<std::size_t>(y) * glyph.width + x] = alphaAt(left + x, top + y);
      }
    }
  }
  SDL_UnlockSurface(surface);
  SDL_FreeSurface(surface);
  return true;
}

int TtfFontRasterizer::GetKerning(char32_t previous, char32_t next) {
  if (!Renderable(previous) || !Renderable(next)) return 0;
  return TTF_GetFontKerningSizeGlyphs32(font, previous, next);
}

}  // namespace vorlith
