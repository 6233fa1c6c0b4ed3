#pragma once

#include <memory>

#include "platform/AudioDevice.h"

namespace vorlith {

// Audio devices on SDL's audio output (WASAPI or DirectSound on Windows): each device opens
// the default output as stereo float at 44100 Hz and mixes its voices in software
// (AudioMixer), every buffer converted to that format by SDL when it is made. Where no output
// can be opened it says so once on stderr and hands out the devices of whenNoOutput (silent
// ones, so that the game plays on without sound), or none without it.
class SdlAudioSystem : public AudioSystem {
 public:
  explicit SdlAudioSystem(std::unique_ptr<AudioSystem> whenNoOutput = nullptr);
  ~SdlAudioSystem() override;

  std::unique_ptr<AudioDevice> OpenDevice() override;
  // Pauses the devices: SDL then calls none of their mixers.
  void SetPaused(bool paused) override;

  // The devices open now, shared with them (each leaves when it closes).
  struct OpenDevices;

 private:
  std::unique_ptr<AudioSystem> whenNoOutput;
  bool audioStarted = false;
  bool toldNoOutput = false;
  std::shared_ptr<OpenDevices> openDevices;
};

}  // namespace vorlith
