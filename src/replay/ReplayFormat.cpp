#include "replay/ReplayFormat.h"

namespace vorlith {
namespace {

using replay_format::kControlCount;
using replay_format::kControlLetters;

bool Held(ReplayControls controls, int bit) {
  return (controls >> bit) & 1u;
}

float Direction(bool negative, bool positive) {
  if (negative) return -1.0f;
  if (positive) return 1.0f;
  return 0.0f;
}

}  // namespace

int ControlBitOfLetter(char letter) {
  for (int bit = 0; bit < kControlCount; ++bit) {
    if (kControlLetters[bit] == letter) return bit;
  }
  return -1;
}

std::string ControlsToText(ReplayControls controls) {
  std::string text;
  for (int bit = 0; bit < kControlCount; ++bit) {
    if (Held(controls, bit)) text += kControlLetters[bit];
  }
  return text.empty() ? "-" : text;
}

ReplayControls ControlsFromPad(const PadState& pad) {
  const bool held[kControlCount] = {pad.up != 0,         pad.down != 0,       pad.left != 0,
                                    pad.right != 0,      pad.buttons[0] != 0, pad.buttons[1] != 0,
                                    pad.buttons[2] != 0, pad.buttons[3] != 0};
  ReplayControls controls = 0;
  for (int bit = 0; bit < kControlCount; ++bit) {
    if (held[bit]) controls |= static_cast<ReplayControls>(1u << bit);
  }
  return controls;
}

PadState PadFromControls(ReplayControls controls) {
  PadState pad;
  pad.up = Held(controls, 0);
  pad.down = Held(controls, 1);
  pad.left = Held(controls, 2);
  pad.right = Held(controls, 3);
  for (int button = 0; button < 4; ++button) pad.buttons[button] = Held(controls, 4 + button);
  pad.stickY = Direction(pad.up, pad.down);
  pad.stickX = Direction(pad.left, pad.right);
  return pad;
}

}  // namespace vorlith
