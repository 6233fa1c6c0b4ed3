#include "platform/gl/GlPauseLabel.h"

#include <algorithm>

#include "platform/gl/GlApi.h"

namespace vorlith {
namespace {

constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kLetters = 5, kPadding = 3;

// "PAUSE" in a 5 x 7 pixel font, top row first, bit 4 the leftmost column.
constexpr unsigned char kGlyphs[kLetters][kGlyphHeight] = {
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},  // P
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // U
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E},  // S
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F},  // E
};

// Fills a rectangle given from the top left in cells of `cell` pixels.
void FillCells(int originX, int originTop, int cell, int column, int row, int columns, int rows) {
  glScissor(originX + column * cell, originTop - (row + rows) * cell, columns * cell, rows * cell);
  glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

void GlPauseLabel::Draw(int drawableWidth, int drawableHeight) const {
  if (!shown || drawableWidth <= 0 || drawableHeight <= 0) return;
  const int cell = std::max(2, drawableHeight / 160);
  const int columns = kLetters * (kGlyphWidth + 1) - 1 + 2 * kPadding;
  const int rows = kGlyphHeight + 2 * kPadding;
  const int left = (drawableWidth - columns * cell) / 2;
  const int top = (drawableHeight + rows * cell) / 2;  // GL rows count from the bottom
  glEnable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  FillCells(left, top, cell, 0, 0, columns, rows);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  for (int letter = 0; letter < kLetters; ++letter) {
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int column = 0; column < kGlyphWidth; ++column) {
        if (!(kGlyphs[letter][row] & (0x10 >> column))) continue;
        FillCells(left, top, cell, kPadding + letter * (kGlyphWidth + 1) + column, kPadding + row,
                  1, 1);
      }
    }
  }
  glDisable(GL_SCISSOR_TEST);
}

}  // namespace vorlith
