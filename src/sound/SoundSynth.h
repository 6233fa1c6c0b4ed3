#pragma once

#include <cstdint>
#include <vector>

namespace vorlith {

// The game's two sound effects, made by a deterministic synthesiser as whole WAVE files:
// 16-bit PCM mono at 44100 Hz, the same bytes on every run and in every build (the files
// under data/sound/ are its output). Both start and end on silence, with short fades, so
// that they can overlap many times a second without clicks.
class SoundSynth {
 public:
  // se_sad04.wav, the shot.
  static std::vector<std::uint8_t> MakeShotWave();
  // se_sob02.wav, an enemy's destruction.
  static std::vector<std::uint8_t> MakeExplosionWave();
};

}  // namespace vorlith
