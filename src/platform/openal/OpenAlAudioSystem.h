#pragma once

#include <memory>

#include "platform/AudioDevice.h"

namespace vorlith {

// Audio devices on OpenAL Soft: the default output device, one context at 44100 Hz, one AL
// buffer per sound and one source per voice. Where no output device can be opened (no sound
// card or sound server) it says so once on stderr and hands out silent devices, so that the
// game plays on without sound.
class OpenAlAudioSystem : public AudioSystem {
 public:
  std::unique_ptr<AudioDevice> OpenDevice() override;

 private:
  bool toldNoOutput = false;
};

}  // namespace vorlith
