#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/AudioDevice.h"

namespace vorlith {

// A device whose output is held until Start. Before it, everything the game makes is kept
// here (sample data copied) and accepted as a device would accept it, and what plays is not
// heard; Start opens the real device of a system and hands it what is kept, so that voices
// sound from their next play on. Where the real device cannot be had or claimed, the device
// stays silent. Ids are this device's own throughout.
class HeldAudioDevice : public AudioDevice {
 public:
  // Once; later calls do nothing.
  void Start(AudioSystem& system);

  bool Claim() override;
  bool CreateMix() override;
  bool SetOutputFormat(int sampleRate, int channels, int bitsPerSample) override;
  std::uint32_t CreateBuffer(const PcmFormat& format, const void* data, std::size_t bytes) override;
  void ReleaseBuffer(std::uint32_t buffer) override;
  std::uint32_t CreateVoice(std::uint32_t buffer) override;
  void ReleaseVoice(std::uint32_t voice) override;
  void SetGain(std::uint32_t voice, float gain) override;
  void Play(std::uint32_t voice) override;
  void Stop(std::uint32_t voice) override;
  bool IsPlaying(std::uint32_t voice) override;

 private:
  struct Buffer {
    PcmFormat format;
    std::vector<std::uint8_t> data;  // until Start
    std::uint32_t real = 0;
  };
  struct Voice {
    std::uint32_t buffer = 0;
    float gain = 1.0f;
    std::uint32_t real = 0;
  };

  bool Handover();
  std::uint32_t RealVoice(std::uint32_t voice) const;

  std::unique_ptr<AudioDevice> real;
  bool started = false;
  bool claimed = false;
  bool mixed = false;
  PcmFormat output;  // the mix format asked for; channels 0 while none was
  std::map<std::uint32_t, Buffer> buffers;
  std::map<std::uint32_t, Voice> voices;
  std::uint32_t lastId = 0;
};

}  // namespace vorlith
