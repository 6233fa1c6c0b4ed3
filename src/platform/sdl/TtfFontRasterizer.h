#pragma once

#include <string>

#include "platform/FontRasterizer.h"

typedef struct _TTF_Font TTF_Font;

namespace vorlith {

// FontRasterizer on SDL_ttf. The face is matched by fontconfig with "<face>:lang=ja" (an
// empty face asks for a Japanese-capable sans face); the point size is chosen so that the
// font's line height comes as close to the requested pixel height as it can without
// exceeding it.
class TtfFontRasterizer : public FontRasterizer {
 public:
  ~TtfFontRasterizer() override;

  // Null when no face matches or the file cannot be opened, or the height is not positive.
  static std::unique_ptr<TtfFontRasterizer> Open(const FontDesc& desc);
  // Path of the font file fontconfig picks for a face name (asked for a proportional face
  // first when `proportional`); empty when none.
  static std::string FindFontFile(const std::string& faceName, int& faceIndex,
                                  bool proportional = false);

  int GetLineHeight() const override;
  bool Measure(const std::string& utf8, int& width, int& height) override;
  bool RenderGlyph(char32_t codePoint, Glyph& glyph) override;
  int GetKerning(char32_t previous, char32_t next) override;

 private:
  explicit TtfFontRasterizer(TTF_Font* font) : font(font) {}
  int Advance(char32_t codePoint);

  TTF_Font* font;
};

}  // namespace vorlith
