// Draws glyphs of WebFontRasterizer onto the page's canvas and logs each font's metrics and
// each glyph's box as one JSON line ("font ..." / "glyph ..."), then "font page done".
#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/Utf8.h"
#include "platform/web/WebFontRasterizer.h"

namespace {

EM_JS(void, put_glyph, (int x, int y, int w, int h, const unsigned char* alpha), {
  var ctx = document.getElementById("glyphs").getContext("2d");
  if (w == 0 || h == 0) return;
  var image = ctx.createImageData(w, h);
  for (var i = 0; i < w * h; ++i) {
    image.data[i * 4] = image.data[i * 4 + 1] = image.data[i * 4 + 2] = 255;
    image.data[i * 4 + 3] = HEAPU8[alpha + i];
  }
  ctx.putImageData(image, x, y);
});

void DrawLine(vorlith::FontRasterizer& font, const std::string& text, int top) {
  int pen = 8;
  for (char32_t c : vorlith::DecodeUtf8(text)) {
    vorlith::FontRasterizer::Glyph g;
    const bool drawn = font.RenderGlyph(c, g);
    std::printf(
        "glyph "
        "{\"top\":%d,\"cp\":%u,\"drawn\":%s,\"w\":%d,\"h\":%d,\"x\":%d,\"y\":%d,\"adv\":%d}\n",
        top, static_cast<unsigned>(c), drawn ? "true" : "false", g.width, g.height, g.offsetX,
        g.offsetY, g.advance);
    put_glyph(pen + g.offsetX, top + g.offsetY, g.width, g.height, g.alpha.data());
    pen += g.advance;
  }
}

}  // namespace

int main() {
  const std::string text = "Score 012 Wg 自機が登録";
  int top = 4;
  for (int height : {12, 14, 20, 32}) {
    vorlith::FontDesc desc;
    desc.height = height;
    desc.weight = height == 32 ? 700 : 400;
    std::unique_ptr<vorlith::FontRasterizer> font = vorlith::FontRasterizer::Create(desc);
    if (!font) {
      std::printf("font {\"height\":%d,\"open\":false}\n", height);
      continue;
    }
    int width = 0, lineHeight = 0;
    font->Measure(text, width, lineHeight);
    std::printf("font {\"height\":%d,\"open\":true,\"line\":%d,\"width\":%d,\"top\":%d}\n", height,
                font->GetLineHeight(), width, top);
    DrawLine(*font, text, top);
    vorlith::FontRasterizer::Glyph missing;
    std::printf("missing {\"height\":%d,\"drawn\":%s}\n", height,
                font->RenderGlyph(U'\U0001F600', missing) ? "true" : "false");
    top += lineHeight + 8;
  }
  vorlith::FontDesc tooLarge;
  tooLarge.height = 5000;
  std::printf("toolarge {\"open\":%s}\n",
              vorlith::FontRasterizer::Create(tooLarge) ? "true" : "false");
  std::printf("font page done\n");
  return 0;
}
