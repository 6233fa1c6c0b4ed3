#pragma once

#include <cstdint>

namespace vorlith {

// What the debug panel counts: bullets and enemies drawn since the panel last read them, and
// enemies destroyed since start-up. The game keeps one for the whole run (the drawn counts of
// a stage's last frame still show in the next stage's first); every stage adds to it.
struct MoverCounts {
  std::int32_t visibleBullets = 0;
  std::int32_t visibleEnemies = 0;
  std::int32_t killedEnemies = 0;
};

}  // namespace vorlith
