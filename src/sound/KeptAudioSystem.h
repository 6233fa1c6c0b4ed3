#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/AudioDevice.h"

namespace vorlith {

// Keeps one device of another audio system open across the devices it hands out: each stage
// still opens and releases a device of its own (its buffers and voices go with it), but the
// output behind them is opened once, when the first is asked for, and closed with this
// system. Opening and closing a real output costs several milliseconds (a mixer thread
// started and joined), every stage start. A second device asked for while one is out comes
// straight from the other system.
class KeptAudioSystem : public AudioSystem {
 public:
  explicit KeptAudioSystem(std::unique_ptr<AudioSystem> system);
  ~KeptAudioSystem() override;

  std::unique_ptr<AudioDevice> OpenDevice() override;
  void SetPaused(bool paused) override { system->SetPaused(paused); }

 private:
  class Lease;

  std::unique_ptr<AudioSystem> system;
  std::unique_ptr<AudioDevice> device;  // the kept output, once opened
  bool claimed = false;
  bool mixed = false;
  bool leased = false;
};

}  // namespace vorlith
