#pragma once

namespace vorlith {

class CStage;

// The stages' scripts. Each fills a freshly initialised stage with its sounds, models and
// movers and returns true when the stage is ready; at the first failing step it returns false
// at once (the step has told the user), leaving the stage partly filled.

// Stage 1: enemies from t = 50 and 100, items from t = 100 to 300, the boss at t = 5000.
bool SetUpStage1(CStage& stage);
// Stage 2 registers no models, so its first bullet is refused and it never gets a ship.
bool SetUpStage2(CStage& stage);

// The last stage with a playable set-up: clearing it completes the game.
constexpr int kLastPlayableStage = 1;

}  // namespace vorlith
