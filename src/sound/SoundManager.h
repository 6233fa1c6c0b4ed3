#pragma once

#include <map>
#include <memory>

namespace vorlith {

class AudioDevice;
class AudioSystem;
class Sound;

// The stage's sound device and its sound effects by slot.
class SoundManager {
 public:
  SoundManager() = default;
  ~SoundManager();
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  // Opens the device from the given audio system (borrowed).
  bool Init(AudioSystem* audio);
  void RegisterSound(int slot, const char* fileName);
  bool LoadAllSounds();
  void Play(int slot);
  void ReleaseAllSounds();
  void ReleaseDevice();

 private:
  std::unique_ptr<AudioDevice> device;
  std::map<int, Sound*> sounds;
};

}  // namespace vorlith
