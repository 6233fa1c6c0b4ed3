#include <gtest/gtest.h>

#include <algorithm>

#include "base/Utf8.h"
#include "platform/sdl/TtfFontRasterizer.h"

namespace vorlith {
namespace {

std::unique_ptr<FontRasterizer> Create(int height, const std::string& face = "") {
  return FontRasterizer::Create(FontDesc{.height = height, .weight = 300, .faceName = face});
}

// Unusable heights give no font; at 30 pixels, glyphs sit on the baseline inside the line.
TEST(TtfFontRasterizerTest, LineHeightIsNearThePixelHeightAndGlyphsSitInsideTheLine) {
  for (int height : {0, -12, 100000}) EXPECT_FALSE(Create(height)) << height;
  std::unique_ptr<FontRasterizer> font;
  for (int height : {12, 18, 30}) {
    font = Create(height);
    ASSERT_TRUE(font) << height;
    EXPECT_LE(font->GetLineHeight(), height);
    EXPECT_GE(font->GetLineHeight(), height - 2);
  }
  FontRasterizer::Glyph letter, low;
  ASSERT_TRUE(font->RenderGlyph(U'P', letter));
  ASSERT_EQ(letter.alpha.size(), static_cast<std::size_t>(letter.width * letter.height));
  EXPECT_GT(*std::max_element(letter.alpha.begin(), letter.alpha.end()), 200);
  EXPECT_GE(letter.offsetY, 0);
  EXPECT_LE(letter.offsetY + letter.height, font->GetLineHeight());
  ASSERT_TRUE(font->RenderGlyph(U'y', low));  // the descender reaches below the capital
  EXPECT_GT(low.offsetY + low.height, letter.offsetY + letter.height);
  EXPECT_LE(low.offsetY + low.height, font->GetLineHeight());
}

// The most separate runs of ink (pixels at least half covered) in a row of the glyph; two
// runs are separate when some pixel between them is at most a quarter covered (an open gap,
// not a grey smear).
int MostOpenRuns(const FontRasterizer::Glyph& glyph) {
  int most = 0;
  for (int y = 0; y < glyph.height; ++y) {
    int runs = 0, gapMin = 0;
    bool inInk = false;
    for (int x = 0; x < glyph.width; ++x) {
      const int alpha = glyph.alpha[static_cast<std::size_t>(y) * glyph.width + x];
      if (alpha >= 128) {
        if (!inInk && (runs == 0 || gapMin <= 64)) ++runs;
        inInk = true;
        gapMin = 255;
      } else {
        inInk = false;
        gapMin = std::min(gapMin, alpha);
      }
    }
    most = std::max(most, runs);
  }
  return most;
}

// Small text stays legible: the stems of "m" stand apart with both its counters open, at the
// debug overlay's size and the HUD's. A missing face falls back to a Japanese-capable one.
TEST(TtfFontRasterizerTest, TheStemsOfMStandApartAtSmallSizesAndAMissingFaceFallsBack) {
  for (const auto& [height, face] :
       {std::pair<int, std::string>{12, ""}, {12, "HGP創英角ﾎﾟｯﾌﾟ体"}, {18, "HGP創英角ﾎﾟｯﾌﾟ体"}}) {
    auto font = Create(height, face);
    ASSERT_TRUE(font);
    FontRasterizer::Glyph glyph;
    ASSERT_TRUE(font->RenderGlyph(U'm', glyph));
    std::string picture;
    for (int y = 0; y < glyph.height; ++y, picture += '\n') {
      for (int x = 0; x < glyph.width; ++x)
        picture += " .:#"[glyph.alpha[static_cast<std::size_t>(y) * glyph.width + x] / 64];
    }
    EXPECT_EQ(MostOpenRuns(glyph), 3) << height << " " << face << "\n" << picture;
    ASSERT_TRUE(font->RenderGlyph(U'自', glyph));
    EXPECT_GT(glyph.width, 4);
    EXPECT_GT(glyph.advance, 8);
  }
}

TEST(Utf8Test, DecodesAndReplacesBadBytes) {
  const std::pair<const char*, std::u32string> cases[] = {
      {"自機ﾎﾟ", U"自機ﾎﾟ"},
      {"\xF0\x9F\x98\x80", U"\U0001F600"},
      {"a\xFF\x62", U"a\uFFFDb"},               // \x62: b
      {"\xE3\x81", U"\uFFFD\uFFFD"},            // cut short
      {"\xC0\xAF", U"\uFFFD\uFFFD"},            // overlong
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},  // surrogate
  };
  for (const auto& [bytes, decoded] : cases) EXPECT_EQ(DecodeUtf8(bytes), decoded) << bytes;
}

}  // namespace
}  // namespace vorlith
