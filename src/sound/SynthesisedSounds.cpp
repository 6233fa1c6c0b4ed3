// The game's resources in the page: its two sounds, the same bytes as data/sound/se_sad04.wav
// and se_sob02.wav, made by the synthesiser when a sound is first looked up (at the first
// stage start), not before the title.
#include <vector>

#include "sound/ModuleResources.h"
#include "sound/SoundSynth.h"

namespace vorlith {

// The table of resources made at build time holds nothing here.
extern const EmbeddedResource kGameResources[] = {{"", "", nullptr, 0}};
extern const std::size_t kGameResourcesCount = 0;

namespace {

void MakeSounds() {
  static const std::vector<std::uint8_t> shot = SoundSynth::MakeShotWave();
  static const std::vector<std::uint8_t> explosion = SoundSynth::MakeExplosionWave();
  static const EmbeddedResource table[] = {
      {"./sound/se_sad04.wav", "WAVE", shot.data(), shot.size()},
      {"./sound/se_sob02.wav", "WAVE", explosion.data(), explosion.size()},
  };
  AddModuleResources(table, 2);
}

[[maybe_unused]] const bool kAdded = AddModuleResourceMaker(MakeSounds);

}  // namespace
}  // namespace vorlith
