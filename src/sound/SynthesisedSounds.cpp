// The game's resource table in the page: its two sounds made by the synthesiser, the same
// bytes as data/sound/se_sad04.wav and se_sob02.wav.
#include <vector>

#include "sound/ModuleResources.h"
#include "sound/SoundSynth.h"

namespace vorlith {
namespace {

const std::vector<std::uint8_t> kShot = SoundSynth::MakeShotWave();
const std::vector<std::uint8_t> kExplosion = SoundSynth::MakeExplosionWave();

}  // namespace

extern const EmbeddedResource kGameResources[] = {
    {"./sound/se_sad04.wav", "WAVE", kShot.data(), kShot.size()},
    {"./sound/se_sob02.wav", "WAVE", kExplosion.data(), kExplosion.size()},
};
extern const std::size_t kGameResourcesCount = 2;

}  // namespace vorlith
