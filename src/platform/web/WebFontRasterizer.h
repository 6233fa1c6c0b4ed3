#pragma once

#include <memory>

#include "platform/FontRasterizer.h"

namespace vorlith {

// FontRasterizer on the browser's canvas 2D. The faces are the page's web fonts, loaded by
// WebFonts.js before the game starts: "Vorlith PGothic" (proportional) for text up to 14
// pixels and "Vorlith Gothic" (monospaced) above, as the desktop picks IPAPGothic and
// IPAGothic; the face name asked for is not looked up (the page ships only these two).
// The pixel size is the largest whose line (rounded-up ascent plus descent) fits the height
// asked for. Glyphs are drawn white on a cleared canvas and read back as alpha coverage.
// Kerning is 0: the IPA faces carry no kerning table, so the desktop's is 0 as well.
class WebFontRasterizer : public FontRasterizer {
 public:
  ~WebFontRasterizer() override;

  // Null when the height is not positive or too large, or the page's face is not loaded.
  static std::unique_ptr<WebFontRasterizer> Open(const FontDesc& desc);

  int GetLineHeight() const override { return lineHeight; }
  bool Measure(const std::string& utf8, int& width, int& height) override;
  bool RenderGlyph(char32_t codePoint, Glyph& glyph) override;
  int GetKerning(char32_t, char32_t) override { return 0; }

 private:
  WebFontRasterizer(int handle, int lineHeight) : handle(handle), lineHeight(lineHeight) {}
  int Advance(char32_t codePoint);

  int handle;  // the font's entry on the JavaScript side
  int lineHeight;
};

}  // namespace vorlith
