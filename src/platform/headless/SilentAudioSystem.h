#pragma once

#include <memory>

#include "platform/AudioDevice.h"

namespace vorlith {

// Opens devices that play nothing and take every playable format. A silent voice has
// finished the moment it starts.
class SilentAudioSystem : public AudioSystem {
 public:
  std::unique_ptr<AudioDevice> OpenDevice() override { return MakeDevice(); }

  // A silent device on its own, for a real system that has no output to open.
  static std::unique_ptr<AudioDevice> MakeDevice();
};

}  // namespace vorlith
