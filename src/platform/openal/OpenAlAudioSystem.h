#pragma once

#include <memory>

#include "platform/AudioDevice.h"

namespace vorlith {

// Audio devices on OpenAL Soft: the default output device, one context at 44100 Hz, one AL
// buffer per sound and one source per voice. Where no output device can be opened (no sound
// card or sound server) it says so once on stderr and hands out the devices of whenNoOutput
// (silent ones, so that the game plays on without sound), or none without it.
class OpenAlAudioSystem : public AudioSystem {
 public:
  explicit OpenAlAudioSystem(std::unique_ptr<AudioSystem> whenNoOutput = nullptr);
  ~OpenAlAudioSystem() override;

  std::unique_ptr<AudioDevice> OpenDevice() override;
  // Pauses the devices through ALC_SOFT_pause_device, which stops their mixing threads.
  void SetPaused(bool paused) override;

  // The devices open now, shared with them (each leaves when it closes).
  struct OpenDevices;

 private:
  std::unique_ptr<AudioSystem> whenNoOutput;
  bool toldNoOutput = false;
  std::shared_ptr<OpenDevices> openDevices;
};

}  // namespace vorlith
