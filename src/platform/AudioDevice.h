#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vorlith {

struct PcmFormat {
  int channels = 0;       // 1 or 2
  int bitsPerSample = 0;  // 8 or 16
  int sampleRate = 0;
};

// One open audio output. Buffers hold sample data; voices play a buffer once each.
// Ids are non-zero; 0 means failure.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Output mix format; false when the device refuses it (the caller reports and plays on).
  virtual bool SetOutputFormat(int sampleRate, int channels, int bitsPerSample) = 0;
  virtual std::uint32_t CreateBuffer(const PcmFormat& format, const void* data,
                                     std::size_t bytes) = 0;
  virtual void ReleaseBuffer(std::uint32_t buffer) = 0;
  virtual std::uint32_t CreateVoice(std::uint32_t buffer) = 0;
  virtual void ReleaseVoice(std::uint32_t voice) = 0;
  virtual void SetGain(std::uint32_t voice, float gain) = 0;  // linear
  // Starts the voice from the beginning when it has finished; a voice still sounding
  // carries on undisturbed.
  virtual void Play(std::uint32_t voice) = 0;
  virtual void Stop(std::uint32_t voice) = 0;
  virtual bool IsPlaying(std::uint32_t voice) = 0;
};

// Opens audio devices: the real one on OpenAL Soft, or a silent one.
class AudioSystem {
 public:
  virtual ~AudioSystem() = default;
  // Null when no device can be opened.
  virtual std::unique_ptr<AudioDevice> OpenDevice() = 0;
};

}  // namespace vorlith
