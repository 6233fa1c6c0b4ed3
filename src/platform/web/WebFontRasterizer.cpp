#include "platform/web/WebFontRasterizer.h"

#include <emscripten.h>

#include "base/Utf8.h"

namespace vorlith {
namespace {

constexpr int kMaxPixelHeight = 1024;    // larger fonts are refused rather than rasterised
constexpr int kLargestCrispHeight = 14;  // up to this, the proportional face

// Each font is an entry of Module.vorlithFonts: its canvas, its CSS font and its metrics.
// 0 when the face or its code points are not loaded (WebFonts.js loads both before the game
// runs).
EM_JS(int, vorlith_font_open, (const char* family, int height, int bold), {
  var name = UTF8ToString(family);
  var loaded = false;
  document.fonts.forEach(function(face) {
    var family = face.family.split(String.fromCharCode(34)).join("");
    if (family == name && face.status == "loaded") loaded = true;
  });
  if (!loaded || !Module.vorlithFontGlyphs || !Module.vorlithFontGlyphs[name]) return 0;
  var canvas = document.createElement("canvas");
  canvas.width = canvas.height = 1;  // grown to the largest glyph drawn (vorlith_font_render)
  var ctx = canvas.getContext("2d", {willReadFrequently : true});
  var weight = bold ? "bold " : "";
  var best = 1, ascent = 1, line = 1;
  var sized = {};
  function lineAt(size) {
    ctx.font = weight + size + "px \"" + name + "\"";
    var m = ctx.measureText("M");
    var a = Math.ceil(m.fontBoundingBoxAscent);
    sized[size] = [ a, a + Math.ceil(m.fontBoundingBoxDescent) ];
    return sized[size][1];
  }
  // The largest size whose line (ascent and descent) fits the height; size 1 when none does.
  // A line only grows with the size, so halving the range finds it.
  if (height >= 1) {
    var low = 1, high = height;
    while (low < high) {
      var mid = (low + high + 1) >> 1;
      if (lineAt(mid) > height)
        high = mid - 1;
      else
        low = mid;
    }
    if (!sized[low]) lineAt(low);
    best = low;
    ascent = sized[low][0];
    line = sized[low][1];
  }
  var fonts = Module.vorlithFonts || (Module.vorlithFonts = [null]);
  fonts.push({
    family : name,
    canvas : canvas,
    ctx : ctx,
    css : weight + best + "px \"" + name + "\"",
    ascent : ascent,
    line : line,
    alpha : null
  });
  return fonts.length - 1;
});

EM_JS(int, vorlith_font_line_height, (int handle), { return Module.vorlithFonts[handle].line; });

EM_JS(void, vorlith_font_close, (int handle), { Module.vorlithFonts[handle] = null; });

// Whether the face has the glyph, from the code points the page loaded with it (canvas text
// would silently fall back to another face).
EM_JS(int, vorlith_font_has_glyph, (int handle, int codePoint), {
  var glyphs = Module.vorlithFontGlyphs[Module.vorlithFonts[handle].family];
  return glyphs && glyphs.has(codePoint) ? 1 : 0;
});

EM_JS(int, vorlith_font_advance, (int handle, int codePoint), {
  var f = Module.vorlithFonts[handle];
  f.ctx.font = f.css;
  return Math.round(f.ctx.measureText(String.fromCodePoint(codePoint)).width);
});

// Draws one glyph white on a cleared canvas, keeps the covered pixels' alpha for
// vorlith_font_copy and writes width, height, offsetX, offsetY (from the pen at the line's
// top) and advance to info.
EM_JS(void, vorlith_font_render, (int handle, int codePoint, int* info), {
  var f = Module.vorlithFonts[handle];
  var text = String.fromCodePoint(codePoint);
  var ctx = f.ctx;
  ctx.font = f.css;
  var m = ctx.measureText(text);
  var left = Math.max(0, Math.ceil(m.actualBoundingBoxLeft));
  var right = Math.max(0, Math.ceil(m.actualBoundingBoxRight));
  var up = Math.max(f.ascent, Math.ceil(m.actualBoundingBoxAscent));
  var down = Math.max(f.line - f.ascent, Math.ceil(m.actualBoundingBoxDescent));
  var w = left + right + 4, h = up + down + 4;
  var penX = left + 2, baseline = up + 2;
  // The canvas grows when a glyph needs more room (which clears it and resets its state), else
  // is cleared: a new size each glyph costs the browser a new bitmap.
  if (w > f.canvas.width || h > f.canvas.height) {
    f.canvas.width = Math.max(w, f.canvas.width);
    f.canvas.height = Math.max(h, f.canvas.height);
  } else {
    ctx.clearRect(0, 0, f.canvas.width, f.canvas.height);
  }
  ctx.font = f.css;
  ctx.fillStyle = "#fff";
  ctx.textBaseline = "alphabetic";
  ctx.fillText(text, penX, baseline);
  var pixels = ctx.getImageData(0, 0, w, h).data;
  var x0 = w, y0 = h, x1 = -1, y1 = -1;
  for (var y = 0; y < h; ++y) {
    for (var x = 0; x < w; ++x) {
      if (pixels[(y * w + x) * 4 + 3] == 0) continue;
      if (x < x0) x0 = x;
      if (x > x1) x1 = x;
      if (y < y0) y0 = y;
      if (y > y1) y1 = y;
    }
  }
  var cw = x1 >= x0 ? x1 - x0 + 1 : 0, ch = x1 >= x0 ? y1 - y0 + 1 : 0;
  f.alpha = new Uint8Array(cw * ch);
  for (var row = 0; row < ch; ++row) {
    for (var col = 0; col < cw; ++col) {
      f.alpha[row * cw + col] = pixels[((y0 + row) * w + x0 + col) * 4 + 3];
    }
  }
  var at = info >> 2;
  HEAP32[at] = cw;
  HEAP32[at + 1] = ch;
  HEAP32[at + 2] = cw ? x0 - penX : 0;
  HEAP32[at + 3] = ch ? y0 - (baseline - f.ascent) : 0;
  HEAP32[at + 4] = Math.round(m.width);
});

EM_JS(void, vorlith_font_copy, (int handle, unsigned char* to),
      { HEAPU8.set(Module.vorlithFonts[handle].alpha, to); });

}  // namespace

std::unique_ptr<FontRasterizer> FontRasterizer::Create(const FontDesc& desc) {
  return WebFontRasterizer::Open(desc);
}

std::unique_ptr<WebFontRasterizer> WebFontRasterizer::Open(const FontDesc& desc) {
  if (desc.height <= 0 || desc.height > kMaxPixelHeight) return nullptr;
  const char* family = desc.height <= kLargestCrispHeight ? "Vorlith PGothic" : "Vorlith Gothic";
  const int handle = vorlith_font_open(family, desc.height, desc.weight >= 600 ? 1 : 0);
  if (handle == 0) return nullptr;
  return std::unique_ptr<WebFontRasterizer>(
      new WebFontRasterizer(handle, vorlith_font_line_height(handle)));
}

WebFontRasterizer::~WebFontRasterizer() {
  vorlith_font_close(handle);
}

int WebFontRasterizer::Advance(char32_t codePoint) {
  if (codePoint == 0 || codePoint > 0x10FFFF) return 0;
  if (!vorlith_font_has_glyph(handle, static_cast<int>(codePoint))) return 0;
  return vorlith_font_advance(handle, static_cast<int>(codePoint));
}

bool WebFontRasterizer::Measure(const std::string& utf8, int& width, int& height) {
  int pen = 0;
  for (char32_t codePoint : DecodeUtf8(utf8)) pen += Advance(codePoint);
  width = pen;
  height = lineHeight;
  return true;
}

bool WebFontRasterizer::RenderGlyph(char32_t codePoint, Glyph& glyph) {
  glyph = Glyph{};
  if (codePoint == 0 || codePoint > 0x10FFFF) return false;
  if (!vorlith_font_has_glyph(handle, static_cast<int>(codePoint))) return false;
  int info[5] = {};
  vorlith_font_render(handle, static_cast<int>(codePoint), info);
  glyph.width = info[0];
  glyph.height = info[1];
  glyph.offsetX = info[2];
  glyph.offsetY = info[3];
  glyph.advance = info[4];
  glyph.alpha.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
  if (!glyph.alpha.empty()) vorlith_font_copy(handle, glyph.alpha.data());
  return true;
}

}  // namespace vorlith
