#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "input/PadState.h"

namespace vorlith {

// The replay file format, in one place.
//
// Text: the first line is kHeader; every further line is "COUNT CONTROLS" (hold CONTROLS
// for COUNT frames), CONTROLS being letters of kControlLetters in any order or "-" for
// nothing held. Empty lines and text after '#' are ignored.
//
// A frame's controls are one byte, one bit per letter: bit i is kControlLetters[i].
namespace replay_format {

constexpr const char* kHeader = "vorlith-replay 1";
constexpr std::int64_t kMaxFrames = 1'000'000'000;
// Longer lines are refused as soon as they pass this length (comments included).
constexpr std::size_t kMaxLineBytes = 4096;

// Up, down, left, right, then pad buttons 0 to 3 (Z, X, C, V).
constexpr char kControlLetters[] = "UDLRZXCV";
constexpr int kControlCount = 8;

}  // namespace replay_format

using ReplayControls = std::uint8_t;

// The bit of a control, by its letter.
constexpr ReplayControls ControlBit(char letter) {
  for (int bit = 0; bit < replay_format::kControlCount; ++bit) {
    if (replay_format::kControlLetters[bit] == letter)
      return static_cast<ReplayControls>(1u << bit);
  }
  return 0;
}

// The bit of a control letter; -1 for any other character.
int ControlBitOfLetter(char letter);
// The letters of the held controls in kControlLetters order, or "-" for none.
std::string ControlsToText(ReplayControls controls);

// What a replay keeps of a frame's pad: the four directions and buttons 0 to 3.
ReplayControls ControlsFromPad(const PadState& pad);
// The pad a replayed frame plays with: the pad a keyboard holding those keys gives.
PadState PadFromControls(ReplayControls controls);

}  // namespace vorlith
