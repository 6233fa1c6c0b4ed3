#pragma once

#include "stage/StageRequest.h"

namespace vorlith {

class TextFont;
struct PadState;

// "Game Over" and "Stage Clear!!" over the running field, and the request the player's key
// leaves for the game.
class ResultOverlay {
 public:
  // The request after this drawn frame (`request` is the one left so far). Keys are read as
  // held.
  static StageRequest Step(bool shipFinished, bool bossFinished, const PadState& pad,
                           StageRequest request);
  // Draws the overlay the two states call for; on the last stage "Stage Clear!!" says that
  // C ends the run.
  static void Draw(bool shipFinished, bool bossFinished, bool lastStage, const TextFont& largeFont,
                   const TextFont& mediumFont);
};

}  // namespace vorlith
