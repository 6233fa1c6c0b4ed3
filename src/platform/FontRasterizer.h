#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/RenderTypes.h"

namespace vorlith {

// One font face at one pixel size, found through fontconfig (asked with lang=ja so that a
// Japanese-capable face stands in for faces that are not installed) and rasterised with
// SDL_ttf. Pure CPU: used by the drawing device to fill its glyph atlas and by the headless
// device to measure text.
class FontRasterizer {
 public:
  struct Glyph {
    int width = 0, height = 0;        // bitmap size in pixels
    int offsetX = 0, offsetY = 0;     // bitmap's top-left relative to the pen at the line's top
    int advance = 0;                  // pen advance in pixels
    std::vector<std::uint8_t> alpha;  // width * height coverage values, top row first
  };

  virtual ~FontRasterizer() = default;

  // Null when no face can be found or opened.
  static std::unique_ptr<FontRasterizer> Create(const FontDesc& desc);

  virtual int GetLineHeight() const = 0;
  // Extent of a UTF-8 string as DrawText places it.
  virtual bool Measure(const std::string& utf8, int& width, int& height) = 0;
  // False for code points the face cannot render (drawn as nothing, advance 0).
  virtual bool RenderGlyph(char32_t codePoint, Glyph& glyph) = 0;
  // Pen advance adjustment between two code points (kerning), in pixels.
  virtual int GetKerning(char32_t previous, char32_t next) = 0;
};

}  // namespace vorlith
