#include <gtest/gtest.h>

#include <algorithm>

#include "platform/TtfFontRasterizer.h"
#include "platform/Utf8.h"

namespace vorlith {
namespace {

FontDesc Desc(int height, const std::string& face = "") {
  FontDesc desc;
  desc.height = height;
  desc.weight = 300;
  desc.faceName = face;
  return desc;
}

TEST(TtfFontRasterizerTest, LineHeightComesCloseToThePixelHeightAskedFor) {
  for (int height : {12, 18, 30}) {
    auto font = FontRasterizer::Create(Desc(height));
    ASSERT_TRUE(font) << height;
    EXPECT_LE(font->GetLineHeight(), height);
    EXPECT_GE(font->GetLineHeight(), height - 2);
  }
}

TEST(TtfFontRasterizerTest, AMissingFaceFallsBackToAJapaneseCapableOne) {
  int index = 0;
  EXPECT_FALSE(TtfFontRasterizer::FindFontFile("HGP創英角ﾎﾟｯﾌﾟ体", index).empty());
  auto font = FontRasterizer::Create(Desc(18, "HGP創英角ﾎﾟｯﾌﾟ体"));
  ASSERT_TRUE(font);
  FontRasterizer::Glyph glyph;
  EXPECT_TRUE(font->RenderGlyph(U'自', glyph));
  EXPECT_GT(glyph.width, 4);
  EXPECT_GT(glyph.advance, 8);
}

TEST(TtfFontRasterizerTest, UnusableHeightsGiveNoFont) {
  EXPECT_FALSE(FontRasterizer::Create(Desc(0)));
  EXPECT_FALSE(FontRasterizer::Create(Desc(-12)));
  EXPECT_FALSE(FontRasterizer::Create(Desc(100000)));
}

TEST(TtfFontRasterizerTest, MeasureIsThePenRunOfTheGlyphs) {
  auto font = FontRasterizer::Create(Desc(30));
  ASSERT_TRUE(font);
  const std::string text = "Press Z key";
  int pen = 0;
  char32_t previous = 0;
  for (char32_t cp : DecodeUtf8(text)) {
    FontRasterizer::Glyph glyph;
    ASSERT_TRUE(font->RenderGlyph(cp, glyph));
    if (previous) pen += font->GetKerning(previous, cp);
    pen += glyph.advance;
    previous = cp;
  }
  int width = 0, height = 0;
  ASSERT_TRUE(font->Measure(text, width, height));
  EXPECT_EQ(width, pen);
  EXPECT_EQ(height, font->GetLineHeight());
  EXPECT_GT(width, 100);
  ASSERT_TRUE(font->Measure("", width, height));
  EXPECT_EQ(width, 0);
}

TEST(TtfFontRasterizerTest, GlyphBitmapsAreCroppedAndSitInsideTheLine) {
  auto font = FontRasterizer::Create(Desc(30));
  ASSERT_TRUE(font);
  FontRasterizer::Glyph space, letter, low;
  ASSERT_TRUE(font->RenderGlyph(U' ', space));
  EXPECT_EQ(space.width, 0);
  EXPECT_TRUE(space.alpha.empty());
  EXPECT_GT(space.advance, 0);

  ASSERT_TRUE(font->RenderGlyph(U'P', letter));
  ASSERT_EQ(letter.alpha.size(), static_cast<std::size_t>(letter.width * letter.height));
  EXPECT_GT(*std::max_element(letter.alpha.begin(), letter.alpha.end()), 200);
  // Cropped: the first and last rows and columns all hold ink.
  auto rowInk = [&](int y) {
    return std::any_of(letter.alpha.begin() + y * letter.width,
                       letter.alpha.begin() + (y + 1) * letter.width, [](auto a) { return a; });
  };
  EXPECT_TRUE(rowInk(0));
  EXPECT_TRUE(rowInk(letter.height - 1));
  EXPECT_GE(letter.offsetY, 0);
  EXPECT_LE(letter.offsetY + letter.height, font->GetLineHeight());

  ASSERT_TRUE(font->RenderGlyph(U'y', low));  // the descender reaches below the capital
  EXPECT_GT(low.offsetY + low.height, letter.offsetY + letter.height);
}

TEST(Utf8Test, DecodesAndReplacesBadBytes) {
  EXPECT_EQ(DecodeUtf8("Az"), U"Az");
  EXPECT_EQ(DecodeUtf8("自機ﾎﾟ"), U"自機ﾎﾟ");
  EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80"), U"\U0001F600");
  EXPECT_EQ(DecodeUtf8("a\xFF"
                       "b"),
            U"a\uFFFDb");
  EXPECT_EQ(DecodeUtf8("\xE3\x81"), U"\uFFFD\uFFFD");            // cut short
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");  // surrogate
}

}  // namespace
}  // namespace vorlith
