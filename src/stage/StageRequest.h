#pragma once

namespace vorlith {

// What the result overlays leave for the game to do with the running stage; the values are
// the letters the traces show.
enum class StageRequest : char {
  kNone = 0,
  kNextStage = 'b',  // C on "Stage Clear!!"
  kSameStage = 'c',  // C on "Game Over": the stage again, the score kept
  kTitle = 'v',      // V on "Game Over": back to the title, the score gone
};

}  // namespace vorlith
