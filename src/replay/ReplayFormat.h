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
// nothing held. Empty lines and text after '#' are ignored. Before the first of those,
// two optional lines tell where the replay comes from:
//   "version GAME RULES": the game version that made it and the number of its rules; a
//                         replay of other rules would not play the same and is refused;
//   "combo COUNT TIMER":  the combo counter at its first frame (kills so far, frames since
//                         the last), when a run started with a combo still open.
//
// A frame's controls are one byte, one bit per letter: bit i is kControlLetters[i].
namespace replay_format {

constexpr const char* kHeader = "vorlith-replay 1";
// The game's rules: raised whenever a change makes a replay play differently.
constexpr int kRules = 1;
constexpr std::int64_t kMaxFrames = 1'000'000'000;
// Longer lines are refused as soon as they pass this length (comments included).
constexpr std::size_t kMaxLineBytes = 4096;

// Up, down, left, right, then pad buttons 0 to 3 (Z, X, C, V).
constexpr char kControlLetters[] = "UDLRZXCV";
constexpr int kControlCount = 8;

}  // namespace replay_format

using ReplayControls = std::uint8_t;

// What the optional lines at a replay's start say (all empty or 0 without them).
struct ReplayOrigin {
  std::string version;  // "0.24"
  std::int64_t rules = 0;
  std::int32_t comboCount = 0;
  std::int32_t comboTimer = 0;
};

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
