#include "stage/ResultOverlay.h"

#include "graphics/TextFont.h"
#include "input/PadState.h"

namespace vorlith {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlue = 0xFF0000FF;

bool Held(const PadState& pad, int button) {
  return pad.buttons[button] != 0;
}

}  // namespace

StageRequest ResultOverlay::Step(bool shipFinished, bool bossFinished, const PadState& pad,
                                 StageRequest request) {
  if (shipFinished) {
    if (Held(pad, 2)) {
      request = StageRequest::kSameStage;
    } else if (Held(pad, 3)) {
      request = StageRequest::kTitle;
    }
  } else {
    request = StageRequest::kNone;
  }
  if (bossFinished && !shipFinished && Held(pad, 2)) request = StageRequest::kNextStage;
  return request;
}

void ResultOverlay::Draw(bool shipFinished, bool bossFinished, bool lastStage,
                         const TextFont& largeFont, const TextFont& mediumFont) {
  if (shipFinished) {
    largeFont.DrawText("Game Over", 330, 200, kWhite, TopLeft);
    mediumFont.DrawText("(Continue ... C Key)", 320, 250, kBlue, TopLeft);
    mediumFont.DrawText("(Return Start ... V Key)", 320, 270, kBlue, TopLeft);
  }
  if (bossFinished && !shipFinished) {
    largeFont.DrawText("Stage Clear!!", 330, 200, kWhite, TopLeft);
    mediumFont.DrawText(lastStage ? "(Game Complete ... C Key)" : "(Next Stage ... C Key)", 320,
                        250, kBlue, TopLeft);
  }
}

}  // namespace vorlith
