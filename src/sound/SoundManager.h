#pragma once

#include <map>
#include <memory>

namespace vorlith {

class AudioDevice;
class AudioSystem;
class Dialogs;
class Sound;

// The stage's sound device and its sound effects by slot.
class SoundManager {
 public:
  explicit SoundManager(Dialogs& dialogs);  // borrowed; where failures are shown
  ~SoundManager();
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  // Opens the device from the given audio system (borrowed, outlives the manager).
  bool Init(AudioSystem* audio);
  // Replaces (and releases) whatever sound the slot held. Must follow Init.
  void RegisterSound(int slot, const char* fileName);
  bool LoadAllSounds();
  void Play(int slot);
  void ReleaseAllSounds();
  // Also lets go of the registered sounds, which cannot play without the device.
  void ReleaseDevice();

  const Sound* GetSound(int slot) const;
  AudioDevice* GetDevice() const { return device.get(); }

 private:
  void ShowError(const char* text);

  Dialogs& dialogs;
  AudioSystem* audio = nullptr;
  std::unique_ptr<AudioDevice> device;
  std::map<int, std::unique_ptr<Sound>> sounds;
};

}  // namespace vorlith
