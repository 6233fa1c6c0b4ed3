#pragma once

namespace vorlith {

class TextFont;
struct PadState;

// "Game Over" and "Stage Clear!!" over the running field, and the request the player's key
// leaves for the game: 'c' play the stage again, 'v' back to the title, 'b' next stage.
class ResultOverlay {
 public:
  // Draws the overlay the two states call for and returns the new request (`request` is
  // the one left so far). Keys are read as held.
  static char Step(bool shipFinished, bool bossFinished, const PadState* pad, TextFont& largeFont,
                   TextFont& mediumFont, char request);
};

}  // namespace vorlith
