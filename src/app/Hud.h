#pragma once

#include <cstdint>

namespace vorlith {

class CStage;
struct MoverCounts;
class TextFont;

// The texts of a play frame that the game application draws around the stage: the HUD line
// at the top of the field and the debug overlay in the left panel; and the rule by which the
// stage's points join the score.
class Hud {
 public:
  // The score after a gain: when the score ends in 99 and the gain in 01, the last two
  // digits do not carry (99 + 1 stays 99, 199 + 101 gives 299).
  static std::uint32_t AddGain(std::uint32_t score, std::uint32_t gain);

  // "Stage %d" at (200, 15) and the score as "%09u" at (500, 15), both white.
  static void DrawLine(const TextFont& font, std::int32_t stageNumber, std::uint32_t score);

  // Six white lines from (20, 45), 15 pixels apart: ship position, drawn bullets and
  // enemies (both counts then start again), kills, `currentTime` (then + 1) and `fps`.
  static void DrawDebug(TextFont& font, const CStage& stage, MoverCounts& counts,
                        std::int32_t& currentTime, std::int32_t fps);
};

}  // namespace vorlith
