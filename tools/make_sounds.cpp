// Writes the game's two sound effects (sound/SoundSynth.h), the same bytes on every run:
//   make_sounds <directory>   ->  <directory>/se_sad04.wav (the shot)
//                                 <directory>/se_sob02.wav (an enemy's destruction)
#include <cstdio>
#include <string>
#include <vector>

#include "sound/SoundSynth.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  using vorlith::SoundSynth;
  const std::string directory = argv[1];
  bool ok = WriteFile(directory + "/se_sad04.wav", SoundSynth::MakeShotWave()) &&
            WriteFile(directory + "/se_sob02.wav", SoundSynth::MakeExplosionWave());
  if (!ok) {
    std::fprintf(stderr, "make_sounds: cannot write to %s\n", directory.c_str());
    return 1;
  }
  return 0;
}
