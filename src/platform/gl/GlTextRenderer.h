#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/RenderTypes.h"
#include "platform/FontRasterizer.h"
#include "platform/gl/GlApi.h"
#include "platform/gl/GlProgram.h"

namespace vorlith {

// Text in back-buffer pixels: every glyph is rasterised once into a shared atlas texture and
// each string is drawn as one batch of quads. The caller sets the whole back buffer as the
// GL viewport, blending and the clip.
class GlTextRenderer {
 public:
  static constexpr int kAtlasSize = 1024;

  ~GlTextRenderer();
  void Start();                   // starts building the program
  bool Init(std::string& error);  // after Start

  FontId CreateFont(const FontDesc& desc);
  bool Measure(FontId font, const std::string& utf8, int& width, int& height);
  void Draw(FontId font, const std::string& utf8, int x, int y, std::uint32_t argb, int backWidth,
            int backHeight);
  void ReleaseFont(FontId font);

 private:
  struct GlyphSlot {
    bool drawable = false;
    int x = 0, y = 0, width = 0, height = 0;
    int offsetX = 0, offsetY = 0, advance = 0;
  };
  struct Font {
    std::unique_ptr<FontRasterizer> rasterizer;
    std::unordered_map<char32_t, GlyphSlot> glyphs;
  };

  Font* Find(FontId font);
  const GlyphSlot* Glyph(Font& font, char32_t codePoint);
  bool Place(int width, int height, int& x, int& y);
  bool MakeAtlasFramebuffer();
  void ResetAtlas();
  bool BuildQuads(Font& font, const std::u32string& text, int x, int y);

  GlProgram program;
  GLint screenSizeLocation = -1, colourLocation = -1, atlasLocation = -1;
  GLuint vertexArray = 0, vertexBuffer = 0, atlas = 0, atlasFramebuffer = 0;
  std::size_t bufferFloats = 0;
  int shelfX = 0, shelfY = 0, shelfHeight = 0;
  std::vector<std::unique_ptr<Font>> fonts;  // FontId - 1; null once released
  std::vector<float> scratch;
};

}  // namespace vorlith
