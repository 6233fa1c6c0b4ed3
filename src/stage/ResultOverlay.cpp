#include "stage/ResultOverlay.h"

#include "graphics/TextFont.h"
#include "input/PadState.h"

namespace vorlith {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlue = 0xFF0000FF;

bool Held(const PadState* pad, int button) {
  return pad && pad->buttons[button];
}

}  // namespace

char ResultOverlay::Step(bool shipFinished, bool bossFinished, const PadState* pad,
                         TextFont& largeFont, TextFont& mediumFont, char request) {
  if (shipFinished) {
    largeFont.DrawText("Game Over", 330, 200, kWhite, TopLeft);
    mediumFont.DrawText("(Continue ... C Key)", 320, 250, kBlue, TopLeft);
    mediumFont.DrawText("(Return Start ... V Key)", 320, 270, kBlue, TopLeft);
    if (Held(pad, 2)) {
      request = 'c';
    } else if (Held(pad, 3)) {
      request = 'v';
    }
  } else {
    request = 0;
  }
  if (bossFinished && !shipFinished) {
    largeFont.DrawText("Stage Clear!!", 330, 200, kWhite, TopLeft);
    mediumFont.DrawText("(Next Stage ... C Key)", 320, 250, kBlue, TopLeft);
    if (Held(pad, 2)) request = 'b';
  }
  return request;
}

}  // namespace vorlith
